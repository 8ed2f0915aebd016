// Test helpers for the Windows build: scratch folders on a real drive, and
// files written and read straight through Win32 so that the file system under
// test is not used to check itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"

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

// The drive (for example "T:") on which the wine fixture put full.bin, the
// host's /dev/full. Under wine without the fixture the calling test fails;
// on Windows it is skipped.
std::optional<Text> wineFixtureDrive();

}  // namespace tessark::test

// Declares `Text drive` holding the fixture drive, or ends the test: a failure
// under wine (the fixture belongs to the test run), a skip on Windows.
#define TESSARK_REQUIRE_FIXTURE_DRIVE(drive)                                                \
    const auto drive##Found = ::tessark::test::wineFixtureDrive();                          \
    if (!drive##Found) {                                                                    \
        if (::tessark::test::runningUnderWine()) {                                          \
            FAIL() << "TESSARK_WINE_FIXTURE_DRIVE is not set: run the tests through ctest"; \
        }                                                                                   \
        GTEST_SKIP() << "needs the wine fixture drive";                                     \
    }                                                                                       \
    const Text drive = *drive##Found
