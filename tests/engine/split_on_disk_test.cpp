// SPDX-License-Identifier: MIT
// The split with the native file system, on real files in a temporary folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "engine/platform/native_file_system.h"
#include "engine/platform/posix_io.h"
#include "fake_window.h"
#include "forms/split_form.h"
#include "forwarding_file_system.h"
#include "temp_folder.h"

namespace tessark {
namespace {

namespace fsys = std::filesystem;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SplitOnDisk : public ::testing::Test {
  protected:
    void split(FileSystem& files) {
        auto controls = w.controls();
        startSplit(controls, files);
    }
    void use(const std::string& source, const std::string& target, const Text& customKb) {
        w.Text1.value = fromUtf8(source);
        w.Text2.value = fromUtf8(target);
        w.Option1.isSelected = customKb.empty();
        w.Text3.value = customKb;
    }
    Text lastPrompt() const {
        return w.messages.shown.empty() ? Text() : w.messages.shown.back().prompt;
    }

    test::TempFolder dir;
    std::unique_ptr<FileSystem> fs = makeNativeFileSystem();
    test::FakeWindow w;
};

TEST_F(SplitOnDisk, RandomSizesRejoinByteForByte) {
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 8; ++round) {
        const std::size_t length = std::uniform_int_distribution<std::size_t>(1, 400000)(random);
        const int tenthsOfKb = std::uniform_int_distribution<int>(1, 1000)(random);
        std::string bytes(length, '\0');
        for (char& b : bytes) {
            b = static_cast<char>(random());
        }
        const std::string folder = dir.path() + "/round" + std::to_string(round);
        fsys::create_directory(folder);
        writeAll(folder + "/source.bin", bytes);
        use(folder + "/source.bin", folder + "/source$.bin",
            decimal(tenthsOfKb / 10) + u"." + decimal(tenthsOfKb % 10));
        w.messages.shown.clear();
        split(*fs);

        const auto block = static_cast<std::size_t>(std::nearbyint(tenthsOfKb * 102.4));
        SCOPED_TRACE("length " + std::to_string(length) + ", block " + std::to_string(block));
        if (block > length) {
            EXPECT_EQ(lastPrompt(), u"块文件比要分割的文件还要大!没必要分割!");
            continue;
        }
        const std::size_t pieces = (length + block - 1) / block;
        ASSERT_EQ(w.List1.count(), static_cast<std::int64_t>(pieces));
        std::string joined;
        for (std::size_t n = 1; n <= pieces; ++n) {
            const std::string piece =
                readAll(toUtf8(w.List1.item(static_cast<std::int64_t>(n - 1))));
            EXPECT_EQ(piece.size(), n < pieces ? block : length - (pieces - 1) * block);
            joined += piece;
        }
        EXPECT_TRUE(joined == bytes);
        EXPECT_EQ(w.Text4.value, fromUtf8(folder + "/source(1).bin"));
        EXPECT_TRUE(readAll(folder + "/Link.bat").starts_with("copy/B \"source$.bin.001\""));
        EXPECT_EQ(lastPrompt(), fromUtf8(folder + "/source.bin") +
                                    u" 分割完成!\r\r你可以执行分割文件目录下的 Link "
                                    u"程序合并文件\r也可以用合并功能合并文件!");
    }
}

// The native file system, except that stretches of the sparse source with no
// data are not read but left as holes in the pieces: cutting gigabytes of
// nothing then costs neither time nor disk space, while every byte of data
// still goes through the native reads and writes.
class HoleSkippingFileSystem : public FileSystem {
  public:
    HoleSkippingFileSystem(FileSystem& inner, const std::string& source)
        : inner_(inner), fd_(::open(source.c_str(), O_RDONLY)) {}
    ~HoleSkippingFileSystem() override { ::close(fd_); }

    std::int64_t transfer(InputFile& in, std::int64_t inOffset, OutputFile& out,
                          std::int64_t outOffset, std::int64_t count) override {
        const off_t data = ::lseek(fd_, inOffset, SEEK_DATA);
        if (data != inOffset) {  // a hole up to the next data, or to the end
            const std::int64_t hole =
                data < 0 ? count : std::min<std::int64_t>(count, data - inOffset);
            const std::byte zero{};
            out.writeAt(outOffset + hole - 1, std::span(&zero, 1));
            return hole;
        }
        const std::int64_t dataEnd = ::lseek(fd_, inOffset, SEEK_HOLE);
        return inner_.transfer(in, inOffset, out, outOffset,
                               std::min<std::int64_t>(count, dataEnd - inOffset));
    }

    char16_t separator() const override { return inner_.separator(); }
    bool fileExists(const Text& p) override { return inner_.fileExists(p); }
    bool folderExists(const Text& p) override { return inner_.folderExists(p); }
    std::int64_t fileLength(const Text& p) override { return inner_.fileLength(p); }
    bool sameFile(const Text& a, const Text& b) override { return inner_.sameFile(a, b); }
    std::unique_ptr<InputFile> openRead(const Text& p) override { return inner_.openRead(p); }
    std::optional<FileId> fileId(const Text& p) override { return inner_.fileId(p); }
    FileKind kind(const Text& p) override { return inner_.kind(p); }
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
    std::vector<Text> findFiles(const Text& p) override { return inner_.findFiles(p); }
    std::vector<Text> listFolders(const Text& f) override { return inner_.listFolders(f); }
    std::string encodeAnsi(const Text& t) const override { return inner_.encodeAnsi(t); }

  private:
    FileSystem& inner_;
    int fd_;
};

TEST_F(SplitOnDisk, SparseSourceBeyondTwoGigabytes) {
    constexpr std::int64_t kLength = (2LL << 30) + 12345;
    constexpr std::int64_t kBlock = 1000000LL * 1024;
    const std::string source = dir.path() + "/big";
    struct Mark {
        std::int64_t offset;
        char byte;
    };
    const std::vector<Mark> marks = {{0, 'a'},         {kBlock - 1, 'b'},
                                     {kBlock, 'c'},    {(1LL << 31) - 1, 'd'},
                                     {1LL << 31, 'e'}, {kLength - 1, 'f'}};
    {
        const int fd = ::open(source.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, kLength), 0);
        for (const Mark& m : marks) {
            ASSERT_EQ(::pwrite(fd, &m.byte, 1, m.offset), 1);
        }
        ::close(fd);
    }
    HoleSkippingFileSystem holes(*fs, source);
    use(source, dir.path() + "/part", u"1000000");
    split(holes);

    ASSERT_EQ(w.messages.shown.size(), 2u) << toUtf8(lastPrompt());
    const std::vector<std::int64_t> sizes = {kBlock, kBlock, kLength - 2 * kBlock};
    ASSERT_EQ(w.List1.count(), 3);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(static_cast<std::int64_t>(
                      fsys::file_size(toUtf8(w.List1.item(static_cast<std::int64_t>(i))))),
                  sizes[i]);
    }
    for (const Mark& m : marks) {
        const auto piece = m.offset / kBlock;
        const int fd = ::open(toUtf8(w.List1.item(piece)).c_str(), O_RDONLY);
        char byte = 0;
        EXPECT_EQ(::pread(fd, &byte, 1, m.offset - piece * kBlock), 1);
        EXPECT_EQ(byte, m.byte) << "at " << m.offset;
        ::close(fd);
    }
    EXPECT_EQ(w.ProgressBar1.maximum, 2);
    EXPECT_EQ(w.ProgressBar1.values, (std::vector<double>{0, 0, 1, 2, 0}));
}

// The second piece is created on the disk but written to a device that is
// always full (no name of the set may be a device), so the kernel's own
// "disk full" meets the split there.
class FullAtSecondPiece : public test::ForwardingFileSystem {
  public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::unique_ptr<OutputFile> createFile(const Text& p, std::optional<FileId> guard) override {
        auto file = ForwardingFileSystem::createFile(p, guard);
        if (!endsWith(p, u".002")) {
            return file;
        }
        file->close();
        return std::make_unique<posix::PosixOutput>(::open("/dev/full", O_WRONLY | O_CLOEXEC), p);
    }
};

TEST_F(SplitOnDisk, RealDiskFullRemovesThePieceAndResets) {
    const std::string source = dir.path() + "/src.bin";
    writeAll(source, std::string(3000, 's'));
    use(source, dir.path() + "/out", u"1");
    FullAtSecondPiece full(*fs);
    split(full);

    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[1].prompt, u"磁盘满，空间不够!");
    EXPECT_EQ(w.messages.shown[1].style, 16);
    EXPECT_FALSE(w.ProgressBar1.visible);
    EXPECT_EQ(w.ProgressBar1.value, 0);
    EXPECT_EQ(w.pointer.current, pointer::Default);
    EXPECT_EQ(w.List1.items, std::vector<Text>{fromUtf8(dir.path() + "/out.001")});
    EXPECT_EQ(readAll(dir.path() + "/out.001"), std::string(1024, 's'));
    EXPECT_FALSE(fsys::exists(fsys::symlink_status(dir.path() + "/out.002")));
    EXPECT_FALSE(fsys::exists(dir.path() + "/out.003"));
    EXPECT_FALSE(fsys::exists(dir.path() + "/Link.bat"));
}

TEST_F(SplitOnDisk, NeverCutsTheSourceItself) {
    const std::string bytes(3000, 'k');
    fsys::create_directory(dir.path() + "/real");
    fsys::create_directory_symlink(dir.path() + "/real", dir.path() + "/alias");
    writeAll(dir.path() + "/real/a.002", bytes);
    writeAll(dir.path() + "/real/Link.bat", bytes);
    struct Case {
        std::string source, target;
    };
    for (const Case& c : {Case{"/real/a.002", "/alias/a"}, Case{"/alias/a.002", "/real/a"},
                          Case{"/real/Link.bat", "/alias/x"}}) {
        w.messages.shown.clear();
        use(dir.path() + c.source, dir.path() + c.target, u"1");
        split(*fs);
        ASSERT_EQ(w.messages.shown.size(), 1u) << c.source;
        EXPECT_EQ(w.messages.shown[0].prompt, u"指定的目标文件已经存在，请重新取名!");
    }
    EXPECT_EQ(readAll(dir.path() + "/real/a.002"), bytes);
    EXPECT_EQ(readAll(dir.path() + "/real/Link.bat"), bytes);
    EXPECT_FALSE(fsys::exists(dir.path() + "/real/a.001"));
}

}  // namespace
}  // namespace tessark
