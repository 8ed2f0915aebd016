// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/core/runtime_error.h"
#include "engine/platform/win32_error_map.h"
#include "forms/disk_error_report.h"

namespace tessark {
namespace {

struct Mapping {
    DWORD code;
    int number;
};

void PrintTo(const Mapping& m, std::ostream* os) {
    *os << "Win32 error " << m.code << " -> " << m.number;
}

class Win32ErrorMap : public ::testing::TestWithParam<Mapping> {};

TEST_P(Win32ErrorMap, GivesTheRunTimeErrorOfItsMeaning) {
    EXPECT_EQ(runtimeErrorFromWin32(GetParam().code), GetParam().number);
    try {
        raiseWin32(GetParam().code);
        FAIL() << "raiseWin32 returned";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), GetParam().number);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Win32ErrorMap,
    ::testing::Values(
        // Not there.
        Mapping{ERROR_FILE_NOT_FOUND, 53}, Mapping{ERROR_PATH_NOT_FOUND, 76},
        Mapping{ERROR_BAD_NETPATH, 76}, Mapping{ERROR_BAD_NET_NAME, 76},
        // Protected file or write-protected medium.
        Mapping{ERROR_ACCESS_DENIED, 70}, Mapping{ERROR_WRITE_PROTECT, 70},
        Mapping{ERROR_NETWORK_ACCESS_DENIED, 70},
        // In use by someone else: a path/file access error, not a protection.
        Mapping{ERROR_SHARING_VIOLATION, 75}, Mapping{ERROR_LOCK_VIOLATION, 75},
        Mapping{ERROR_USER_MAPPED_FILE, 75}, Mapping{ERROR_DIR_NOT_EMPTY, 75},
        // Full.
        Mapping{ERROR_DISK_FULL, 61}, Mapping{ERROR_HANDLE_DISK_FULL, 61},
        Mapping{1295 /* quota exceeded */, 61},
        // No medium.
        Mapping{ERROR_NOT_READY, 71}, Mapping{ERROR_NO_MEDIA_IN_DRIVE, 71},
        Mapping{ERROR_WRONG_DISK, 71},
        // Medium faults.
        Mapping{ERROR_CRC, 57}, Mapping{ERROR_SEEK, 57}, Mapping{ERROR_SECTOR_NOT_FOUND, 57},
        Mapping{ERROR_WRITE_FAULT, 57}, Mapping{ERROR_READ_FAULT, 57},
        Mapping{ERROR_GEN_FAILURE, 57}, Mapping{ERROR_IO_DEVICE, 57},
        // No such drive.
        Mapping{ERROR_INVALID_DRIVE, 68}, Mapping{ERROR_BAD_UNIT, 68},
        Mapping{ERROR_DEV_NOT_EXIST, 68},
        // Names the system will not take.
        Mapping{ERROR_INVALID_NAME, 52}, Mapping{ERROR_BAD_PATHNAME, 52},
        Mapping{ERROR_FILENAME_EXCED_RANGE, 52},
        // The rest.
        Mapping{ERROR_FILE_EXISTS, 58}, Mapping{ERROR_ALREADY_EXISTS, 58},
        Mapping{ERROR_TOO_MANY_OPEN_FILES, 67}, Mapping{ERROR_NOT_ENOUGH_MEMORY, 7},
        Mapping{ERROR_OUTOFMEMORY, 7}, Mapping{ERROR_INVALID_PARAMETER, 5},
        // A failure with no closer meaning still stops the action with the
        // I/O message rather than silently.
        Mapping{ERROR_NOT_SUPPORTED, 57}, Mapping{ERROR_INVALID_FUNCTION, 57},
        Mapping{0xDEADu, 57}));

// Every number the map gives for a medium or name fault is one the report
// shows a message for; a user never meets a silent disk-full or not-ready.
TEST(Win32ErrorMapReport, MediumFaultsAllHaveMessages) {
    for (const DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT,
                             ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL, ERROR_NOT_READY, ERROR_CRC,
                             ERROR_INVALID_DRIVE, ERROR_INVALID_NAME}) {
        EXPECT_TRUE(diskErrorMessage(runtimeErrorFromWin32(code), ErrorTable::Full).has_value())
            << "code " << code << " gives " << runtimeErrorFromWin32(code);
    }
}

}  // namespace
}  // namespace tessark
