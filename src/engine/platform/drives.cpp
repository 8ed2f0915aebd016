// SPDX-License-Identifier: MIT
#include "engine/platform/drives.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessark {

namespace {

// Mount tables write a space, tab, newline or backslash inside a field as a
// backslash and three octal digits.
std::string unescapeField(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                           std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                       field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                                       [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool isPseudoFileSystem(std::string_view type) {
    static constexpr std::string_view kPseudo[] = {
        "autofs",     "binfmt_misc", "bpf",       "cgroup",   "cgroup2", "configfs",
        "debugfs",    "devpts",      "devtmpfs",  "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",     "nsfs",        "overlay",   "proc",     "pstore",  "ramfs",
        "rpc_pipefs", "securityfs",  "selinuxfs", "sysfs",    "tmpfs",   "tracefs"};
    return std::ranges::find(kPseudo, type) != std::end(kPseudo);
}

// `path` is `folder` or lies inside it.
bool isWithin(std::string_view path, std::string_view folder) {
    return path == folder ||
           (path.starts_with(folder) && path.size() > folder.size() && path[folder.size()] == '/');
}

bool isWithinAny(std::string_view path, std::initializer_list<std::string_view> folders) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](std::string_view folder) { return isWithin(path, folder); });
}

bool isReadOnly(std::string_view options) {
    std::istringstream list{std::string(options)};
    for (std::string option; std::getline(list, option, ',');) {
        if (option == "ro") {
            return true;
        }
    }
    return false;
}

bool isPickable(std::string_view mountPoint, std::string_view type, std::string_view options) {
    if (isPseudoFileSystem(type) || mountPoint.empty() || mountPoint.front() != '/') {
        return false;
    }
    if (isWithinAny(mountPoint, {"/home", "/media", "/mnt", "/run/media"})) {
        return true;
    }
    if (isWithinAny(mountPoint, {"/boot", "/dev", "/efi", "/etc", "/opt", "/proc", "/run", "/snap",
                                 "/sys", "/tmp", "/usr", "/var"})) {
        return false;
    }
    return !isReadOnly(options);
}

char16_t upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

bool sameText(TextView a, TextView b, bool ignoreCase) {
    if (!ignoreCase) {
        return a == b;
    }
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return upper(x) == upper(y); });
}

class NativeDriveSource : public DriveSource {
  public:
    std::vector<Text> drives() override {
#ifdef _WIN32
        std::vector<Text> letters;
        const DWORD mask = GetLogicalDrives();
        for (int i = 0; i < 26; ++i) {
            if (mask & (DWORD{1} << i)) {
                letters.push_back(Text{static_cast<char16_t>(u'A' + i), u':', u'\\'});
            }
        }
        return letters;
#else
        std::ifstream table("/proc/self/mounts");
        const std::string content{std::istreambuf_iterator<char>(table),
                                  std::istreambuf_iterator<char>()};
        return pickableMountPoints(content);
#endif
    }
};

}  // namespace

std::vector<Text> pickableMountPoints(std::string_view mountTable) {
    // A later mount on the same point hides the earlier one.
    std::map<std::string, bool> pickable;
    std::istringstream lines{std::string(mountTable)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device, mountPoint, type, options;
        if (!(fields >> device >> mountPoint >> type >> options)) {
            continue;
        }
        mountPoint = unescapeField(mountPoint);
        pickable[mountPoint] = isPickable(mountPoint, type, options);
    }
    std::vector<Text> result{u"/"};
    for (const auto& [mountPoint, keep] : pickable) {
        if (keep && mountPoint != "/") {
            result.push_back(fromUtf8(mountPoint));
        }
    }
    return result;
}

std::optional<std::size_t> driveHolding(TextView path, const std::vector<Text>& drives,
                                        char16_t separator) {
    const bool ignoreCase = separator == u'\\';
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const TextView drive = drives[i];
        if (drive.empty() || drive.size() > path.size() ||
            !sameText(path.substr(0, drive.size()), drive, ignoreCase)) {
            continue;
        }
        const bool whole = drive.size() == path.size() || drive.back() == separator ||
                           path[drive.size()] == separator;
        if (whole && (!best || drive.size() > drives[*best].size())) {
            best = i;
        }
    }
    return best;
}

std::unique_ptr<DriveSource> makeNativeDriveSource() {
    return std::make_unique<NativeDriveSource>();
}

}  // namespace tessark
