// SPDX-License-Identifier: MIT
#include "engine/core/runtime_error.h"

#include <new>
#include <string>
#include <utility>

namespace tessark {

RuntimeError::RuntimeError(int number, Text path, FileAction action, SystemCode code)
    : std::runtime_error("RuntimeError " + std::to_string(number)),
      number_(number),
      path_(std::move(path)),
      action_(action),
      code_(code) {}

RuntimeError::RuntimeError(int number, Text path, FileAction action, ErrorCause cause)
    : RuntimeError(number, std::move(path), action) {
    cause_ = cause;
}

RuntimeError RuntimeError::about(Text path) const {
    RuntimeError copy(number_, std::move(path), action_, code_);
    copy.cause_ = cause_;
    return copy;
}

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
