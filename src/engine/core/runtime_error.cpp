// SPDX-License-Identifier: MIT
#include "engine/core/runtime_error.h"

#include <new>
#include <string>

namespace tessark {

RuntimeError::RuntimeError(int number)
    : std::runtime_error("run-time error " + std::to_string(number)), number_(number) {}

void raise(int number) {
    throw RuntimeError(number);
}

int currentErrorNumber() noexcept {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e.number();
    } catch (const std::bad_alloc&) {
        return err::OutOfMemory;
    } catch (...) {
        return err::InternalError;
    }
}

}  // namespace tessark
