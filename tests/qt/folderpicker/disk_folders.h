// SPDX-License-Identifier: MIT
// Folders listed by the machine's own file system, with the in-memory fake's
// fault injection, so a test can make any listing fail with any run-time
// error number.
#pragma once

#include "fake_file_system.h"
#include "engine/platform/drives.h"
#include "engine/platform/native_file_system.h"

namespace tessark::test {

class DiskFolders : public FakeFileSystem {
  public:
    DiskFolders() : FakeFileSystem(makeNativeFileSystem()->separator()) {}

    std::vector<Text> listFolders(const Text& folder) override {
        checkFault(Op::ListFolders, folder);
        return native_->listFolders(folder);
    }

  private:
    std::unique_ptr<FileSystem> native_ = makeNativeFileSystem();
};

class FixedDrives : public DriveSource {
  public:
    explicit FixedDrives(std::vector<Text> list) : list_(std::move(list)) {}
    std::vector<Text> drives() override { return list_; }

  private:
    std::vector<Text> list_;
};

}  // namespace tessark::test
