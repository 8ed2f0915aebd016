// SPDX-License-Identifier: MIT
// The Windows file system through the wide-character Win32 API. Every failure
// is read from GetLastError and turned into a run-time error number by
// win32_error_map.
#pragma once

#include "engine/core/file_system.h"

namespace tessark {

class Win32FileSystem final : public FileSystem {
  public:
    char16_t separator() const override { return u'\\'; }

    bool fileExists(const Text& path) override;
    bool folderExists(const Text& path) override;
    std::int64_t fileLength(const Text& path) override;
    bool sameFile(const Text& a, const Text& b) override;
    std::optional<FileId> fileId(const Text& path) override;
    FileKind kind(const Text& path) override;

    std::unique_ptr<InputFile> openRead(const Text& path) override;
    std::unique_ptr<OutputFile> createFile(const Text& path,
                                           std::optional<FileId> mustNotBe = std::nullopt) override;
    std::unique_ptr<StagedFile> createStaged(const Text& target) override;
    std::unique_ptr<OutputFile> createTempFile(const Text& folder, Text& path) override;
    void replaceFile(const Text& from, const Text& to) override;
    void removeFile(const Text& path) noexcept override;
    void removeAbandonedStaging(const Text& folder) noexcept override;

    std::vector<Text> findFiles(const Text& pattern) override;
    void forEachFile(const Text& pattern, const std::function<void(Text&&)>& visit) override;
    std::vector<Text> listFolders(const Text& folder) override;

    bool isDeviceName(const Text& path) const override;
    std::string encodeAnsi(const Text& text) const override;
};

}  // namespace tessark
