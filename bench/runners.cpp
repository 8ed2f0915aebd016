// SPDX-License-Identifier: MIT
#include "runners.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>

#include <variant>

#include "engine/merge/merge_plan.h"
#include "engine/platform/native_file_system.h"
#include "engine/platform/posix_file_system.h"
#include "engine/split/split_plan.h"
#include "forms/refusal_box.h"
#include "scratch.h"

extern char** environ;

namespace tessark::bench {

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds(const rusage& usage) {
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ownCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpuSeconds(usage);
}

// A field of /proc/self/status in KiB, or -1. Reads into the stack so that
// looking does not itself allocate.
std::int64_t statusKiB(const char* field) {
    char text[8192];
    const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    if (n <= 0) {
        return -1;
    }
    text[n] = '\0';
    const char* at = std::strstr(text, field);
    if (at == nullptr) {
        return -1;
    }
    return std::strtoll(at + std::strlen(field), nullptr, 10);
}

// Resident memory watch over one run: resets the kernel's high-water mark to
// the present resident size, then reports how far above it the run went.
class MemoryWatch {
  public:
    MemoryWatch() {
        const int fd = open("/proc/self/clear_refs", O_WRONLY | O_CLOEXEC);
        if (fd >= 0) {
            reset_ = write(fd, "5", 1) == 1;
            close(fd);
        }
        idle_ = statusKiB("VmRSS:");
    }
    std::int64_t peakAboveIdleKiB() const {
        const std::int64_t peak = statusKiB("VmHWM:");
        return reset_ && idle_ >= 0 && peak >= 0 ? peak - idle_ : -1;
    }

  private:
    bool reset_ = false;
    std::int64_t idle_ = -1;
};

std::unique_ptr<FileSystem> makeFileSystem(CopyPath path) {
    return path == CopyPath::Native ? makeNativeFileSystem() : makePosixFileSystem(false);
}

// Wall-clock time, processor time and peak memory of one of our actions.
OurRun measured(const std::function<void()>& action) {
    const MemoryWatch memory;
    const double cpuStart = ownCpuSeconds();
    const auto start = Clock::now();
    action();
    const double seconds = secondsSince(start);
    return {seconds, ownCpuSeconds() - cpuStart, memory.peakAboveIdleKiB()};
}

bool keepGoing(const Progress&) {
    return true;
}

OurRun splitHere(const std::string& source, const std::string& target, std::int64_t block,
                 std::int64_t expectedPieces, CopyPath path, Sums sums, int recoverySlices) {
    auto fs = makeFileSystem(path);
    SplitRequest request{fromUtf8(source), fromUtf8(target), BlockSize::ofBytes(block), true};
    request.writeChecksum = sums == Sums::With;
    request.recoverySlices = recoverySlices;
    // Planning is part of the action: it reads the disk and makes the names.
    return measured([&] {
        const auto checked = planSplit(*fs, request);
        if (const auto* refusal = std::get_if<SplitRefusal>(&checked)) {
            throw std::runtime_error("the split was refused: " +
                                     toUtf8(refusalBox(*refusal).message));
        }
        const auto& plan = std::get<SplitPlan>(checked);
        if (plan.pieceCount() != expectedPieces) {
            throw std::runtime_error("the split planned " + std::to_string(plan.pieceCount()) +
                                     " pieces, not " + std::to_string(expectedPieces));
        }
        if (runSplit(*fs, plan, keepGoing) != RunOutcome::Completed) {
            throw std::runtime_error("the split stopped");
        }
    });
}

OurRun mergeHere(const std::vector<std::string>& pieces, const std::string& output, CopyPath path,
                 Sums sums) {
    auto fs = makeFileSystem(path);
    MergeRequest request{fromUtf8(output), {}};
    for (const auto& piece : pieces) {
        request.pieces.push_back(fromUtf8(piece));
    }
    request.verify = sums == Sums::With;
    return measured([&] {
        const auto checked = planMerge(*fs, request);
        if (const auto* refusal = std::get_if<MergeRefusal>(&checked)) {
            throw std::runtime_error("the merge was refused: " +
                                     toUtf8(refusalBox(*refusal).message));
        }
        const auto& plan = std::get<MergePlan>(checked);
        if (request.verify && !plan.checks.whole) {
            throw std::runtime_error("the merge found no checksum file for the whole set");
        }
        if (runMerge(*fs, plan, keepGoing).result != MergeResult::Joined) {
            throw std::runtime_error("the merge stopped");
        }
    });
}

// A forked child maps the program's code and other file pages anew as it
// touches them, which would count as memory the action needs. Mapping them
// all up front makes the child's idle state the parent's.
void mapFilePages() {
#ifdef MADV_POPULATE_READ
    FILE* maps = std::fopen("/proc/self/maps", "r");
    if (maps == nullptr) {
        return;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, maps) != nullptr) {
        unsigned long start = 0;
        unsigned long end = 0;
        char perms[8] = {};
        int pathAt = 0;
        if (std::sscanf(line, "%lx-%lx %7s %*s %*s %*s %n", &start, &end, perms, &pathAt) >= 3 &&
            perms[0] == 'r' && line[pathAt] == '/') {
            madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_READ);
        }
    }
    std::fclose(maps);
#endif
}

// Runs one of our actions in a new child process, as the tools run in new
// processes: a busy scheduler then treats both alike, where the long-lived
// benchmark process would queue behind the processor time it has used.
OurRun runInChild(const std::function<OurRun()>& action) {
    struct Report {
        OurRun run;
        char error[1024];
    };
    int channel[2];
    if (pipe(channel) != 0) {
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    }
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error(std::string("cannot fork: ") + std::strerror(errno));
    }
    if (pid == 0) {
        // The child never returns into the benchmark: that would run its
        // clean-up twice.
        close(channel[0]);
        mapFilePages();
        Report report{};
        try {
            report.run = action();
        } catch (const std::exception& e) {
            std::snprintf(report.error, sizeof report.error, "%s", e.what());
        }
        const ssize_t ignored = write(channel[1], &report, sizeof report);
        _exit(ignored == static_cast<ssize_t>(sizeof report) ? 0 : 1);
    }
    close(channel[1]);
    Scratch::setChild(pid);
    Report report{};
    std::size_t got = 0;
    while (got < sizeof report) {
        const ssize_t n =
            read(channel[0], reinterpret_cast<char*>(&report) + got, sizeof report - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    Scratch::setChild(0);
    if (got != sizeof report || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the process running our action failed");
    }
    if (report.error[0] != '\0') {
        throw std::runtime_error(report.error);
    }
    return report.run;
}

}  // namespace

OurRun runOurSplit(const std::string& source, const std::string& target, std::int64_t block,
                   std::int64_t expectedPieces, CopyPath path, Sums sums, int recoverySlices) {
    return runInChild([&] {
        return splitHere(source, target, block, expectedPieces, path, sums, recoverySlices);
    });
}

OurRun runOurMerge(const std::vector<std::string>& pieces, const std::string& output, CopyPath path,
                   Sums sums) {
    return runInChild([&] { return mergeHere(pieces, output, path, sums); });
}

OurRun inChild(const std::function<void()>& action) {
    return runInChild([&] { return measured(action); });
}

ToolRun runTool(const std::vector<std::string>& argv, const std::string& stdoutPath,
                const std::vector<std::string>& environment) {
    std::vector<char*> args;
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    std::vector<char*> env;
    for (const auto& e : environment) {
        env.push_back(const_cast<char*>(e.c_str()));
    }
    for (char** e = environ; *e != nullptr; ++e) {
        env.push_back(*e);
    }
    env.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stdoutPath.empty()) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawnError));
    }
    Scratch::setChild(pid);
    int status = 0;
    rusage usage{};
    pid_t waited;
    do {
        waited = wait4(pid, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    const double seconds = secondsSince(start);
    Scratch::setChild(0);
    if (waited != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(argv[0] + " failed (status " + std::to_string(status) + ")");
    }
    return {seconds, cpuSeconds(usage), usage.ru_maxrss};
}

}  // namespace tessark::bench
