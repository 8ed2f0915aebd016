// SPDX-License-Identifier: MIT
#include "engine/platform/device_names.h"

#include <gtest/gtest.h>

namespace tessark {
namespace {

// What Windows opens as a device rather than a file, on every system the
// rule is built on.
TEST(DeviceNames, AreTheReservedNamesAndTheDeviceNamespaces) {
    for (const char16_t* device :
         {u"CON", u"nul", u"NUL.001", u"D:\\sets\\nul.001", u"C:\\x\\Con .txt", u"com1",
          u"COM9.bin", u"lpt3:", u"C:aux", u"D:/a/prn.tar.gz", u"COM\u00B9", u"conin$",
          u"\\\\.\\PhysicalDrive0", u"\\\\.\\pipe\\x", u"//./nul",
          u"\\\\?\\GLOBALROOT\\Device\\Null", u"\\\\?\\globalroot\\device\\null"}) {
        EXPECT_TRUE(namesWindowsDevice(device)) << toUtf8(device);
    }
    for (const char16_t* file :
         {u"console", u"nul_", u"COM10", u"COM0x", u"LPT", u"D:\\sets\\m$.avi.001", u"a.con",
          u"\\\\?\\D:\\sets\\nul.001", u"D:\\nul\\m.001", u"\\\\server\\share\\m.001", u""}) {
        EXPECT_FALSE(namesWindowsDevice(file)) << toUtf8(file);
    }
}

}  // namespace
}  // namespace tessark
