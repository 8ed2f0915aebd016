// Folders from the real disk with the in-memory fake's fault injection, so a
// test can make any listing fail with any run-time error number.
#pragma once

#include <filesystem>
#include <system_error>

#include "core/runtime_error.h"
#include "fake_file_system.h"
#include "platform/drives.h"

namespace tessark::test {

class DiskFolders : public FakeFileSystem {
  public:
    DiskFolders() : FakeFileSystem(u'/') {}

    std::vector<Text> listFolders(const Text& folder) override {
        checkFault(Op::ListFolders, folder);
        std::vector<Text> names;
        std::error_code error;
        std::filesystem::directory_iterator it(std::filesystem::path(toUtf8(folder)), error);
        for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
            std::error_code typeError;
            if (it->is_directory(typeError)) {
                names.push_back(fromUtf8(it->path().filename().string()));
            }
        }
        if (error) {
            raise(err::PathNotFound);
        }
        return names;
    }
};

class FixedDrives : public DriveSource {
  public:
    explicit FixedDrives(std::vector<Text> list) : list_(std::move(list)) {}
    std::vector<Text> drives() override { return list_; }

  private:
    std::vector<Text> list_;
};

}  // namespace tessark::test
