// SPDX-License-Identifier: MIT
#include "scratch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/wait.h>
#ifdef __linux__
#include <sys/mount.h>
#endif
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace tessark::bench {

namespace {

// Published once by arm() and only read afterwards, so the handler may walk
// them without locks or allocation.
std::vector<std::string> gPathStore;
std::vector<const char*> gPathList;
std::string gFolderStore;
const char* const* gPaths = nullptr;
std::size_t gPathCount = 0;
const char* gFolder = nullptr;
std::atomic<pid_t> gChild{0};
std::string gMountStore;
std::atomic<const char*> gMount{nullptr};
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Unlinks whatever else is in the folder, such as a temporary file of an
// interrupted action, whose name nobody knew beforehand. Async-signal-safe.
void sweepFolder(const char* folder) noexcept {
#ifdef __linux__
    alignas(8) static char entries[8192];
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    for (bool removed = true; removed;) {
        removed = false;
        lseek(fd, 0, SEEK_SET);
        for (;;) {
            const ssize_t n = getdents64(fd, entries, sizeof entries);
            if (n <= 0) {
                break;
            }
            for (ssize_t at = 0; at < n;) {
                const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 &&
                    unlinkat(fd, name, 0) == 0) {
                    removed = true;
                }
            }
        }
    }
    close(fd);
#else
    (void)folder;
#endif
}

// Async-signal-safe: only unlink, rmdir, kill, waitpid and umount2 (a plain
// system call, like the others).
void removeEverything() noexcept {
    const int savedErrno = errno;
    if (const pid_t child = gChild.exchange(0); child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
#ifdef __linux__
    // Detached at once even while busy; the loop device goes with the last use.
    if (const char* mount = gMount.exchange(nullptr); mount != nullptr) {
        umount2(mount, MNT_DETACH);
        rmdir(mount);
    }
#endif
    for (std::size_t i = 0; i < gPathCount; ++i) {
        unlink(gPaths[i]);
    }
    if (gFolder != nullptr) {
        sweepFolder(gFolder);
        rmdir(gFolder);
    }
    errno = savedErrno;
}

extern "C" void onInterrupt(int signal) {
    removeEverything();
    static const char note[] = "\ntessark_bench: interrupted, files removed\n";
    [[maybe_unused]] const ssize_t ignored = write(STDERR_FILENO, note, sizeof note - 1);
    _exit(128 + signal);
}

// Holds the signals whose handler cleans up; returns the mask to restore.
sigset_t holdSignals() {
    sigset_t block;
    sigemptyset(&block);
    for (const int s : kSignals) {
        sigaddset(&block, s);
    }
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &block, &previous);
    return previous;
}

}  // namespace

Scratch::Scratch(const std::string& parent) {
    std::string pattern = parent + "/tessark-bench.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder in " + parent + ": " +
                                 std::strerror(errno));
    }
    folder_ = pattern;
    gFolderStore = folder_;
    gFolder = gFolderStore.c_str();
    // Until arm() the folder is empty and an interrupt only has to remove it.
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals) {
        sigaddset(&action.sa_mask, s);
    }
    for (const int s : kSignals) {
        sigaction(s, &action, nullptr);
    }
}

Scratch::~Scratch() {
    const sigset_t previous = holdSignals();
    removeEverything();
    for (const int s : kSignals) {
        std::signal(s, SIG_DFL);
    }
    gPaths = nullptr;
    gPathCount = 0;
    gFolder = nullptr;
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

std::string Scratch::path(std::string_view name) const {
    return folder_ + "/" + std::string(name);
}

void Scratch::arm(std::vector<std::string> paths) {
    // Swap the lists in with the signals held, so that the handler never sees
    // a half-built list.
    const sigset_t previous = holdSignals();
    gPathStore = std::move(paths);
    gPathList.clear();
    for (const auto& p : gPathStore) {
        gPathList.push_back(p.c_str());
    }
    gPaths = gPathList.data();
    gPathCount = gPathList.size();
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void Scratch::setChild(pid_t pid) noexcept {
    gChild.store(pid);
}

void Scratch::setMount(const std::string& mountPoint) {
    const sigset_t previous = holdSignals();
    gMountStore = mountPoint;
    gMount.store(mountPoint.empty() ? nullptr : gMountStore.c_str());
    sigprocmask(SIG_SETMASK, &previous, nullptr);
}

}  // namespace tessark::bench
