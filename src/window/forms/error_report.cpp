// SPDX-License-Identifier: MIT
#include "forms/error_report.h"

#include <cstdio>
#include <exception>
#include <string>

#include "engine/core/runtime_error.h"
#include "forms/box_style.h"
#include "forms/controls.h"

namespace tessark {

namespace {

// What went wrong, in one line, for the exception being handled.
std::string describeCurrent() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return errorLine(e);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unexpected failure";
    }
}

}  // namespace

std::string errorLine(const RuntimeError& error) {
    std::string line = "运行时错误 " + std::to_string(error.number());
    if (!error.path().empty()) {
        line += "：" + toUtf8(error.path());
    }
    const SystemCode& code = error.systemCode();
    switch (code.origin) {
        case SystemCode::Origin::None:
            break;
        case SystemCode::Origin::Errno:
            line += "（errno " + std::to_string(code.value) + "）";
            break;
        case SystemCode::Origin::Win32:
            line += "（Win32 " + std::to_string(code.value) + "）";
            break;
    }
    return line;
}

void DiskErrorReport(int number, ErrorTable table, MessageBox& messages) {
    if (const auto message = diskErrorMessage(number, table)) {
        messages.show(*message, mb::Critical);
    }
}

void reportCurrentError(ErrorTable table, MessageBox& messages) {
    const std::string line = "tessark: " + describeCurrent() + "\n";
    // Standard error may be closed or full; the box is shown all the same.
    (void)std::fputs(line.c_str(), stderr);
    DiskErrorReport(currentErrorNumber(), table, messages);
}

}  // namespace tessark
