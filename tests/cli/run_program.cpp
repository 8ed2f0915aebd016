// SPDX-License-Identifier: MIT
#include "run_program.h"

#include <fstream>

#include <iterator>
#include <stdexcept>
#include "engine/core/text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;
#endif

namespace tessark::test {
namespace {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::filesystem::path ownFolder() {
#ifdef _WIN32
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) {
        throw std::runtime_error("cannot find the test program's own path");
    }
    path.resize(length);
    return std::filesystem::path(path).parent_path();
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

#ifdef _WIN32
// One argument as CommandLineToArgvW reads it back: quoted, with the
// backslashes before a quote doubled.
std::wstring quoted(const std::wstring& arg) {
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(backslashes * 2, L'\\');
    return text + L"\"";
}

HANDLE inheritable(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    const HANDLE handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &attributes, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return handle;
}
#else
std::vector<std::string> argvOf(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{cliProgram().string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
}

int spawn(const std::vector<std::string>& arguments, const std::filesystem::path& scratch) {
    const std::vector<std::string> argv = argvOf(arguments);
    std::vector<char*> pointers;
    for (const auto& a : argv) {
        pointers.push_back(const_cast<char*>(a.c_str()));
    }
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (scratch / "stdout").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (scratch / "stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
    }
    return pid;
}

int waitFor(int pid, int options) {
    int status = 0;
    int got = 0;
    while ((got = waitpid(pid, &status, options)) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
        }
    }
    return got == 0 ? -1 : status;
}

Finished collected(int status, const std::filesystem::path& scratch) {
    Finished finished;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    finished.out = readAll(scratch / "stdout");
    finished.err = readAll(scratch / "stderr");
    return finished;
}
#endif

}  // namespace

std::filesystem::path cliProgram() {
    return (ownFolder() / TESSARK_CLI_FROM_TESTS).lexically_normal();
}

#ifdef _WIN32
Finished runCli(const std::vector<std::string>& arguments, const std::filesystem::path& scratch) {
    std::wstring line = quoted(cliProgram().wstring());
    for (const auto& arg : arguments) {
        line += L" " + quoted(std::filesystem::path(fromUtf8(arg)).wstring());
    }
    const HANDLE in = inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = inheritable(scratch / "stdout", GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = inheritable(scratch / "stderr", GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    const DWORD startError = GetLastError();
    CloseHandle(in);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) {
        throw std::runtime_error("cannot start tessark-cli: error " + std::to_string(startError));
    }
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!ended) {
        throw std::runtime_error("cannot wait for tessark-cli: error " +
                                 std::to_string(GetLastError()));
    }
    return {static_cast<int>(code), readAll(scratch / "stdout"), readAll(scratch / "stderr")};
}
#else
Finished runCli(const std::vector<std::string>& arguments, const std::filesystem::path& scratch) {
    return collected(waitFor(spawn(arguments, scratch), 0), scratch);
}

Running::Running(const std::vector<std::string>& arguments, const std::filesystem::path& scratch)
    : pid_(spawn(arguments, scratch)), scratch_(scratch) {}

Running::~Running() {
    if (pid_ != 0 && status_ < 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void Running::signal(int number) {
    if (kill(pid_, number) != 0) {
        throw std::runtime_error(std::string("kill: ") + std::strerror(errno));
    }
}

bool Running::ended() {
    if (status_ < 0) {
        status_ = waitFor(pid_, WNOHANG);
    }
    return status_ >= 0;
}

bool Running::holdsFileIn(const std::filesystem::path& folder) const {
    std::string prefix = folder.string();
    if (!prefix.ends_with('/')) {
        prefix += '/';
    }
    std::error_code error;
    for (const auto& fd :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", error)) {
        const auto target = std::filesystem::read_symlink(fd.path(), error);
        if (!error && target.string().starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

Finished Running::wait() {
    const int status = status_ >= 0 ? status_ : waitFor(pid_, 0);
    pid_ = 0;
    return collected(status, scratch_);
}
#endif

}  // namespace tessark::test
