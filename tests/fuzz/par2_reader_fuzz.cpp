// SPDX-License-Identifier: MIT
// Recovery files on any bytes: one .par2 file beside three pieces, checked as
// a merge checks them, and rebuilt when the check says it can be. Whatever
// the file claims, nothing may crash, hang or take memory of the size it
// claims.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/recovery/par2_check.h"
#include "engine/recovery/par2_rebuild.h"
#include "fake_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessark;
    test::FakeFileSystem fs;
    fs.addFolder(u"D:\\set");
    fs.addFile(u"D:\\set\\m.001", std::string(4096, 'a'));
    fs.addFile(u"D:\\set\\m.002", std::string(4096, 'b'));
    fs.addFile(u"D:\\set\\m.003", std::string(1000, 'c'));
    fs.addFile(u"D:\\set\\m.par2", std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<Text> pieces{u"m.001", u"m.002", u"m.003"};
    Progress progress;
    const auto check = recovery::checkRecovery(fs, u"D:\\set", pieces, {}, progress, {});
    if (check && check->setFound && check->anyDamage() && check->repairable()) {
        recovery::rebuildLost(
            fs, *check, [](std::size_t, std::int64_t, std::span<const std::byte>) {}, progress, {},
            std::int64_t{1} << 20);
    }
    return 0;
}
