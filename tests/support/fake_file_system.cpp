// SPDX-License-Identifier: MIT
#include "fake_file_system.h"

#include <algorithm>
#include <cstring>

#include "engine/core/runtime_error.h"
#include "engine/core/wildcard.h"

namespace tessark::test {

namespace {

class FakeInput : public InputFile {
  public:
    FakeInput(FakeFileSystem& fs, Text path, std::shared_ptr<FakeFileSystem::Entry> entry)
        : fs_(fs), path_(std::move(path)), entry_(std::move(entry)) {
        ++fs_.openHandleCount();
    }
    ~FakeInput() override { --fs_.openHandleCount(); }
    FileId id() const override { return FakeFileSystem::idOf(*entry_); }
    std::size_t readAt(std::int64_t offset, std::span<std::byte> buffer) override {
        if (fs_.beforeTransfer) {
            fs_.beforeTransfer();
        }
        if (fs_.chunk > 0) {
            buffer = buffer.first(std::min(buffer.size(), static_cast<std::size_t>(fs_.chunk)));
        }
        fs_.checkFault(FakeFileSystem::Op::Read, path_);
        const auto size = static_cast<std::int64_t>(entry_->bytes.size());
        if (offset >= size) {
            return 0;
        }
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(size - offset, static_cast<std::int64_t>(buffer.size())));
        std::memcpy(buffer.data(), entry_->bytes.data() + offset, n);
        return n;
    }

  private:
    FakeFileSystem& fs_;
    Text path_;
    std::shared_ptr<FakeFileSystem::Entry> entry_;
};

class FakeOutput : public OutputFile {
  public:
    FakeOutput(FakeFileSystem& fs, Text path, std::shared_ptr<FakeFileSystem::Entry> entry)
        : fs_(fs), path_(std::move(path)), entry_(std::move(entry)) {
        ++fs_.openHandleCount();
    }
    ~FakeOutput() override {
        if (open_) {
            --fs_.openHandleCount();
        }
    }
    void writeAt(std::int64_t offset, std::span<const std::byte> data) override {
        fs_.checkFault(FakeFileSystem::Op::Write, path_);
        const auto end = static_cast<std::size_t>(offset) + data.size();
        if (end > entry_->bytes.size()) {
            const auto growth = static_cast<std::int64_t>(end - entry_->bytes.size());
            if (fs_.capacity() >= 0 && fs_.usedBytes() + growth > fs_.capacity()) {
                raise(err::DiskFull);
            }
            entry_->bytes.resize(end);
        }
        std::memcpy(entry_->bytes.data() + offset, data.data(), data.size());
    }
    void close() override {
        if (open_) {
            open_ = false;
            --fs_.openHandleCount();
            fs_.checkFault(FakeFileSystem::Op::Close, path_);
        }
    }

  private:
    FakeFileSystem& fs_;
    Text path_;
    std::shared_ptr<FakeFileSystem::Entry> entry_;
    bool open_ = true;
};

// The new content goes to a named temporary file beside the (resolved) target
// and is moved over it on commit, so the fault injection of Create and Replace
// reaches the staging as well.
class FakeStaged : public StagedFile {
  public:
    FakeStaged(FakeFileSystem& fs, Text target) : fs_(fs), target_(std::move(target)) {
        const auto folder = folderToLookUp(target_, fs_.separator());
        if (!folder) {
            raise(err::PathNotFound);
        }
        file_ = fs_.createTempFile(*folder, temp_);
    }
    ~FakeStaged() override {
        if (!committed_) {
            file_.reset();
            fs_.removeFile(temp_);
        }
    }
    void writeAt(std::int64_t offset, std::span<const std::byte> data) override {
        file_->writeAt(offset, data);
    }
    void close() override { file_->close(); }
    void commit() override {
        file_->close();
        fs_.replaceFile(temp_, target_);
        committed_ = true;
    }

  private:
    FakeFileSystem& fs_;
    Text target_;
    Text temp_;
    std::unique_ptr<OutputFile> file_;
    bool committed_ = false;
};

}  // namespace

std::shared_ptr<FakeFileSystem::Entry> FakeFileSystem::newEntry(std::string bytes, bool hidden) {
    return std::make_shared<Entry>(Entry{std::move(bytes), hidden, nextIndex_++});
}

std::shared_ptr<FakeFileSystem::Entry> FakeFileSystem::find(const Text& path) const {
    const auto it = files_.find(resolve(path));
    return it == files_.end() ? nullptr : it->second;
}

Text FakeFileSystem::resolve(const Text& path) const {
    Text current = path;
    // As many hops as a real system allows before it calls it a loop.
    for (int hop = 0; hop < 40; ++hop) {
        bool replaced = false;
        for (std::size_t end = 1; end <= current.size() && !replaced; ++end) {
            if (end == current.size() || current[end] == separator_) {
                const auto link = symlinks_.find(current.substr(0, end));
                if (link != symlinks_.end()) {
                    current = link->second + current.substr(end);
                    replaced = true;
                }
            }
        }
        if (!replaced) {
            return current;
        }
    }
    raise(err::PathNotFound);
}

void FakeFileSystem::addHardLink(const Text& existing, const Text& link) {
    files_[link] = find(existing);
}

void FakeFileSystem::addSymlink(const Text& link, const Text& target) {
    symlinks_[link] = target;
}

void FakeFileSystem::addFolder(const Text& path) {
    Text current;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == separator_) {
            if (!current.empty()) {
                folders_.insert(current);
            }
        }
        if (i < path.size()) {
            current += path[i];
        }
    }
}

void FakeFileSystem::addFile(const Text& path, std::string bytes, bool hidden) {
    if (auto folder = folderPart(path, separator_); folder && !folder->empty()) {
        addFolder(*folder);
    }
    files_[path] = newEntry(std::move(bytes), hidden);
}

std::optional<std::string> FakeFileSystem::contents(const Text& path) const {
    const auto it = files_.find(path);
    if (it == files_.end()) {
        return std::nullopt;
    }
    return it->second->bytes;
}

std::vector<Text> FakeFileSystem::allFiles() const {
    std::vector<Text> names;
    for (const auto& [name, entry] : files_) {
        names.push_back(name);
    }
    return names;
}

void FakeFileSystem::injectFault(Op op, const Text& path, int number, int skip) {
    faults_.push_back({op, path, number, skip});
}

void FakeFileSystem::checkFault(Op op, const Text& path) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->op == op && (it->path.empty() || it->path == path)) {
            if (it->skip > 0) {
                --it->skip;
                return;
            }
            const int number = it->number;
            faults_.erase(it);
            raise(number);
        }
    }
}

std::int64_t FakeFileSystem::usedBytes() const {
    std::int64_t used = 0;
    for (const auto& [name, entry] : files_) {
        used += static_cast<std::int64_t>(entry->bytes.size());
    }
    return used;
}

bool FakeFileSystem::fileExists(const Text& path) {
    checkFault(Op::Exists, path);
    return find(path) != nullptr;
}

bool FakeFileSystem::folderExists(const Text& path) {
    checkFault(Op::Exists, path);
    const Text real = resolve(path);
    return folders_.count(real) != 0 || files_.count(real) != 0 ||
           (real.size() == 1 && real[0] == separator_);
}

FileKind FakeFileSystem::kind(const Text& path) {
    checkFault(Op::Exists, path);
    const Text real = resolve(path);
    if (files_.count(real) != 0) {
        return FileKind::Regular;
    }
    if (folders_.count(real) != 0 || (real.size() == 1 && real[0] == separator_)) {
        return FileKind::Folder;
    }
    // A link that leads nowhere is still something under its name.
    return symlinks_.count(path) != 0 ? FileKind::Other : FileKind::None;
}

std::int64_t FakeFileSystem::fileLength(const Text& path) {
    checkFault(Op::Length, path);
    const auto entry = find(path);
    if (!entry) {
        raise(err::FileNotFound);
    }
    return static_cast<std::int64_t>(entry->bytes.size());
}

bool FakeFileSystem::sameFile(const Text& a, const Text& b) {
    const auto first = find(a);
    return first && first == find(b);
}

std::optional<FileId> FakeFileSystem::fileId(const Text& path) {
    checkFault(Op::Exists, path);
    const auto entry = find(path);
    if (!entry) {
        return std::nullopt;
    }
    return idOf(*entry);
}

std::unique_ptr<InputFile> FakeFileSystem::openRead(const Text& path) {
    checkFault(Op::OpenRead, path);
    const auto entry = find(path);
    if (!entry) {
        raise(err::FileNotFound);
    }
    return std::make_unique<FakeInput>(*this, path, entry);
}

std::unique_ptr<OutputFile> FakeFileSystem::createFile(const Text& path,
                                                       std::optional<FileId> mustNotBe) {
    checkFault(Op::Create, path);
    const Text real = resolve(path);
    const auto folder = folderPart(real, separator_);
    if (!folder || (!folder->empty() && folders_.count(*folder) == 0)) {
        raise(err::PathNotFound);
    }
    if (folders_.count(real) != 0) {
        raise(err::PathFileAccess);
    }
    auto& entry = files_[real];
    if (!entry) {
        entry = newEntry({});
    } else if (mustNotBe && idOf(*entry) == *mustNotBe) {
        raise(err::PermissionDenied);
    }
    entry->bytes.clear();
    return std::make_unique<FakeOutput>(*this, path, entry);
}

std::unique_ptr<StagedFile> FakeFileSystem::createStaged(const Text& target) {
    return std::make_unique<FakeStaged>(*this, resolve(target));
}

std::unique_ptr<OutputFile> FakeFileSystem::createTempFile(const Text& folder, Text& path) {
    Text base = folder;
    if (base.empty() || base.back() != separator_) {
        base += separator_;
    }
    do {
        path = base + u"~tessark" + decimal(++tempCounter_) + u".tmp";
    } while (files_.count(path) != 0);
    return createFile(path);
}

void FakeFileSystem::replaceFile(const Text& from, const Text& to) {
    checkFault(Op::Replace, to);
    const auto it = files_.find(from);
    if (it == files_.end()) {
        raise(err::FileNotFound);
    }
    if (folders_.count(to) != 0) {
        raise(err::PathFileAccess);
    }
    auto entry = it->second;
    files_.erase(it);
    symlinks_.erase(to);  // a rename replaces a link, not what it leads to
    files_[to] = entry;
}

void FakeFileSystem::removeFile(const Text& path) noexcept {
    if (symlinks_.erase(path) == 0) {
        files_.erase(path);
    }
}

std::vector<Text> FakeFileSystem::findFiles(const Text& pattern) {
    checkFault(Op::Find, pattern);
    const auto given = folderPart(pattern, separator_);
    const Text folder = given ? resolve(*given) : Text();
    const Text namePattern = GetFileName(pattern, separator_);
    std::vector<Text> names;
    for (const auto& [path, entry] : files_) {
        if (!entry->hidden && folderPart(path, separator_).value_or(Text()) == folder &&
            wildcardMatch(namePattern, GetFileName(path, separator_))) {
            names.push_back(GetFileName(path, separator_));
        }
    }
    // A link to a file is listed under its own name, as a directory lists it.
    for (const auto& [link, target] : symlinks_) {
        const auto entry = find(link);
        if (entry && !entry->hidden && folderPart(link, separator_).value_or(Text()) == folder &&
            wildcardMatch(namePattern, GetFileName(link, separator_))) {
            names.push_back(GetFileName(link, separator_));
        }
    }
    std::sort(names.begin(), names.end());
    if (descending_) {
        std::reverse(names.begin(), names.end());
    }
    return names;
}

std::vector<Text> FakeFileSystem::listFolders(const Text& folder) {
    checkFault(Op::ListFolders, folder);
    if (folders_.count(folder) == 0) {
        raise(err::PathNotFound);
    }
    std::vector<Text> names;
    for (const auto& candidate : folders_) {
        if (folderPart(candidate, separator_) == folder) {
            names.push_back(GetFileName(candidate, separator_));
        }
    }
    return names;
}

std::string FakeFileSystem::encodeAnsi(const Text& text) const {
    // A code page that holds ASCII only.
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            ++i;  // a surrogate pair is one character
        }
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

}  // namespace tessark::test
