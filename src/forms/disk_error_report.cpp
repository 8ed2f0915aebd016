// SPDX-License-Identifier: MIT
#include "forms/disk_error_report.h"

#include "engine/core/runtime_error.h"

namespace tessark {

std::optional<Text> diskErrorMessage(int number, ErrorTable table) {
    switch (number) {
        case err::BadFileName:
        case err::DeviceUnavailable:
            return u"指定的磁盘驱动器不可用!\r\r可能不存在此驱动器或驱动器内无磁盘!";
        case err::FileNotFound:
            if (table == ErrorTable::WithoutNotFound) {
                return std::nullopt;
            }
            return u"文件不能被写入!请更换存放位置!";
        case err::DeviceIo:
            return u"磁盘I/0错误，操作被终止!";
        case err::DiskFull:
            return u"磁盘满，空间不够!";
        case err::PermissionDenied:
            return u"磁盘被写保护 或 文件被保护!";
        case err::DiskNotReady:
            return u"磁盘没准备好!";
        default:
            return std::nullopt;
    }
}

}  // namespace tessark
