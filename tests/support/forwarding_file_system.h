// SPDX-License-Identifier: MIT
// A file system that hands every call to another one, for tests that change
// what one call does (a piece that waits, a file that lands on a full
// device) and leave the rest to the real disk.
#pragma once

#include "engine/core/file_system.h"

namespace tessark::test {

class ForwardingFileSystem : public FileSystem {
  public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

    char16_t separator() const override { return inner_.separator(); }
    bool fileExists(const Text& p) override { return inner_.fileExists(p); }
    bool folderExists(const Text& p) override { return inner_.folderExists(p); }
    std::int64_t fileLength(const Text& p) override { return inner_.fileLength(p); }
    bool sameFile(const Text& a, const Text& b) override { return inner_.sameFile(a, b); }
    std::optional<FileId> fileId(const Text& p) override { return inner_.fileId(p); }
    FileKind kind(const Text& p) override { return inner_.kind(p); }
    std::unique_ptr<InputFile> openRead(const Text& p) override { return inner_.openRead(p); }
    std::unique_ptr<OutputFile> createFile(const Text& p, std::optional<FileId> guard) override {
        return inner_.createFile(p, guard);
    }
    std::unique_ptr<StagedFile> createStaged(const Text& t) override {
        return inner_.createStaged(t);
    }
    std::unique_ptr<OutputFile> createTempFile(const Text& f, Text& p) override {
        return inner_.createTempFile(f, p);
    }
    void replaceFile(const Text& from, const Text& to) override { inner_.replaceFile(from, to); }
    void removeFile(const Text& p) noexcept override { inner_.removeFile(p); }
    void removeAbandonedStaging(const Text& f) noexcept override {
        inner_.removeAbandonedStaging(f);
    }
    std::vector<Text> findFiles(const Text& p) override { return inner_.findFiles(p); }
    void forEachFile(const Text& p, const std::function<void(Text&&)>& visit) override {
        inner_.forEachFile(p, visit);
    }
    std::vector<Text> listFolders(const Text& f) override { return inner_.listFolders(f); }
    bool isDeviceName(const Text& p) const override { return inner_.isDeviceName(p); }
    std::string encodeAnsi(const Text& t) const override { return inner_.encodeAnsi(t); }
    std::int64_t transfer(InputFile& in, std::int64_t inOffset, OutputFile& out,
                          std::int64_t outOffset, std::int64_t count) override {
        return inner_.transfer(in, inOffset, out, outOffset, count);
    }

  private:
    FileSystem& inner_;
};

}  // namespace tessark::test
