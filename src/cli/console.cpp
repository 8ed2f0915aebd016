// SPDX-License-Identifier: MIT
#include "cli/console.h"

#include <clocale>
#include <cstdio>
#include <cstring>

#include "engine/core/text.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>
#else
#include <langinfo.h>
#include <unistd.h>

#include "engine/platform/posix_file_system.h"
#endif

namespace tessark::cli {
namespace {

#ifdef _WIN32
bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}
#endif

#ifndef _WIN32
// The locale's character set when text must be converted to it.
const char* outputCodeset() {
    const char* codeset = ::nl_langinfo(CODESET);
    if (codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0 ||
        std::strcmp(codeset, "ANSI_X3.4-1968") == 0) {
        return nullptr;
    }
    return codeset;
}
#endif

void write(std::FILE* stream, std::string_view text) {
#ifndef _WIN32
    if (const char* codeset = outputCodeset()) {
        const std::string local = encodeForCodeset(fromUtf8(text), codeset);
        std::fwrite(local.data(), 1, local.size(), stream);
        std::fflush(stream);
        return;
    }
#else
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

void useUserLocale() {
    std::setlocale(LC_ALL, "");
#ifdef LC_MESSAGES
    std::setlocale(LC_MESSAGES, "C");
#endif
    std::setlocale(LC_NUMERIC, "C");
}

std::optional<std::string> malformedArgument(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (toUtf8(fromUtf8(argument)) == argument) {
            continue;  // a malformed sequence would have come back as U+FFFD
        }
        std::string shown;
        for (const char c : argument) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                shown += c;
                continue;
            }
            constexpr char kHex[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
        }
        return shown;
    }
    return std::nullopt;
}

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
