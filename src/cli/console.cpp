// SPDX-License-Identifier: MIT
#include "cli/console.h"

#include <cstdio>

#include "engine/core/text.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace tessark::cli {
namespace {

#ifdef _WIN32
bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}
#endif

void write(std::FILE* stream, std::string_view text) {
#ifdef _WIN32
    const HANDLE handle = GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (isConsole(handle)) {
        std::fflush(stream);
        const Text wide = fromUtf8(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
#endif
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    std::vector<std::string> arguments;
#ifdef _WIN32
    (void)argv;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        for (int i = 1; i < count; ++i) {
            const std::wstring_view arg(wide[i]);
            arguments.push_back(toUtf8(Text(arg.begin(), arg.end())));
        }
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

bool errorIsTerminal() {
#ifdef _WIN32
    return isConsole(GetStdHandle(STD_ERROR_HANDLE));
#else
    return isatty(STDERR_FILENO) == 1;
#endif
}

void writeOut(std::string_view text) {
    write(stdout, text);
}

void writeError(std::string_view text) {
    write(stderr, text);
}

}  // namespace tessark::cli
