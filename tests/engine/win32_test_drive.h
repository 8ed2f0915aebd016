// SPDX-License-Identifier: MIT
// Test helpers for the Windows build: scratch folders on a real drive, and
// files written and read straight through Win32 so that the file system under
// test is not used to check itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/core/text.h"

namespace tessark::test {

// A new, empty folder under C:\tessark-tests for one test; removed, with all
// it holds, when the test ends.
class ScratchFolder {
  public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    const Text& path() const { return path_; }
    Text operator/(TextView name) const { return path_ + u'\\' + Text(name); }

  private:
    Text path_;
};

void writeWholeFile(const Text& path, std::string_view bytes);
std::string readWholeFile(const Text& path);
void makeFolder(const Text& path);
void setAttributes(const Text& path, unsigned long attributes);

bool runningUnderWine();

// Removes a folder and all it holds (read-only files too); nothing if absent.
void removeFolder(const Text& path);

// `size` bytes that differ from piece to piece and from one seed to another.
std::string sampleBytes(std::size_t size, unsigned seed);

// Runs `command` with the command processor (cmd /c) in `folder` and returns
// its exit code; its output goes to this process's output.
unsigned long runCommandProcessor(const Text& folder, const Text& command);

// Whether the wine fixture (tests/engine/wine_fixture.sh) prepared the drives
// the tests may use freely: T:, a host folder whose "full.bin" and
// "movie$.avi.002" are the host's /dev/full, D:, an empty host folder, and L:,
// whose "film.avi" is a host symbolic link to "real\film.avi".
// C: is then the test prefix's own drive, made fresh for every run.
bool wineFixtureReady();

}  // namespace tessark::test

// Ends the test unless the wine fixture is there: a failure under wine (the
// fixture belongs to the test run), a skip on Windows, whose drives these
// tests must not touch.
#define TESSARK_REQUIRE_WINE_FIXTURE()                                                        \
    if (!::tessark::test::wineFixtureReady()) {                                               \
        if (::tessark::test::runningUnderWine()) {                                            \
            FAIL() << "TESSARK_WINE_FIXTURE is not set: run the Windows tests through ctest"; \
        }                                                                                     \
        GTEST_SKIP() << "needs the wine fixture drives";                                      \
    }
