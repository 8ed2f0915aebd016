// SPDX-License-Identifier: MIT
#include "engine/split/join_script.h"

#include "engine/core/file_system.h"
#include "engine/core/runtime_error.h"

namespace tessark {

namespace {

// The longest line the command processor accepts, in bytes.
constexpr std::size_t kMaxLine = 8191;

// A quoted name as the command processor reads it inside a batch file, where
// a single "%" would start a variable.
Text quoted(TextView path, char16_t separator) {
    Text out = u"\"";
    for (const char16_t c : GetFileName(path, separator)) {
        out += c;
        if (c == u'%') {
            out += u'%';
        }
    }
    return out + u"\"";
}

}  // namespace

bool safeInScript(TextView fileName) {
    for (const char16_t c : fileName) {
        if (c == u'"' || c < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

Text joinScriptPath(const Text& target, char16_t separator) {
    const auto folder = folderPart(target, separator);
    if (!folder) {
        raise(err::InvalidArgument);
    }
    return *folder + separator + u"Link.bat";
}

namespace {

ScriptPieces listed(const std::vector<Text>& pieces) {
    return {static_cast<std::int64_t>(pieces.size()),
            [&pieces](std::int64_t i) { return pieces[static_cast<std::size_t>(i)]; }};
}

}  // namespace

void joinScriptLines(FileSystem& fs, const ScriptPieces& pieces, const Text& mergeName,
                     const std::function<void(const std::string&)>& emit) {
    // Lengths are counted in the script's own bytes, not in characters: the
    // command processor takes at most that many bytes as one batch line,
    // and in a multibyte code page such as GBK a character takes two.
    const char16_t separator = fs.separator();
    const std::string output = fs.encodeAnsi(quoted(mergeName, separator));
    const auto nameAt = [&](std::int64_t i) {
        return fs.encodeAnsi(quoted(pieces.nameAt(i), separator));
    };
    const std::int64_t count = pieces.count;
    // Measured only as far as needed to know that one line cannot hold them.
    std::size_t oneLine = 7 + 1 + output.size();  // "copy/B ", " ", output
    for (std::int64_t i = 0; i < count && oneLine <= kMaxLine + 1; ++i) {
        oneLine += nameAt(i).size() + 1;
    }
    if (count > 0) {
        --oneLine;  // no "+" after the last piece
    }

    if (oneLine <= kMaxLine || count == 0) {
        std::string script = "copy/B ";
        for (std::int64_t i = 0; i < count; ++i) {
            script += (i == 0 ? "" : "+") + nameAt(i);
        }
        emit(script + " " + output + "\r\n");
        return;
    }

    // Too long for one line: the first line makes the output from the first
    // pieces, each later line appends more pieces to it ("copy/B out+x+y"
    // combines into its first file). Every line takes at least one piece.
    const std::string firstTail = " " + output;
    std::string line = "copy/B " + nameAt(0);
    std::int64_t next = 1;
    std::string name = next < count ? nameAt(next) : std::string();
    const auto take = [&] {
        line += "+" + name;
        ++next;
        name = next < count ? nameAt(next) : std::string();
    };
    while (next < count && line.size() + 1 + name.size() + firstTail.size() <= kMaxLine) {
        take();
    }
    emit(line + firstTail + "\r\n");
    while (next < count) {
        line = "copy/B " + output;
        do {
            take();
        } while (next < count && line.size() + 1 + name.size() <= kMaxLine);
        emit(line + "\r\n");
    }
}

std::string joinScriptBytes(FileSystem& fs, const std::vector<Text>& pieces,
                            const Text& mergeName) {
    std::string script;
    joinScriptLines(fs, listed(pieces), mergeName,
                    [&](const std::string& line) { script += line; });
    return script;
}

void writeJoinScriptFile(FileSystem& fs, const Text& path, const ScriptPieces& pieces,
                         const Text& mergeName, std::optional<FileId> mustNotBe) {
    // Lines are gathered into blocks of about this many bytes between writes.
    constexpr std::size_t kBlock = std::size_t{64} << 10;
    auto file = fs.createFile(path, mustNotBe);
    try {
        std::string block;
        std::int64_t offset = 0;
        const auto flush = [&] {
            file->writeAt(offset, std::as_bytes(std::span(block.data(), block.size())));
            offset += static_cast<std::int64_t>(block.size());
            block.clear();
        };
        joinScriptLines(fs, pieces, mergeName, [&](const std::string& line) {
            block += line;
            if (block.size() >= kBlock) {
                flush();
            }
        });
        if (!block.empty()) {
            flush();
        }
        file->close();
    } catch (...) {
        file.reset();
        fs.removeFile(path);  // half a script would join half a file
        throw;
    }
}

void writeJoinScript(FileSystem& fs, const Text& target, const std::vector<Text>& pieces,
                     const Text& mergeName, std::optional<FileId> mustNotBe) {
    writeJoinScriptFile(fs, joinScriptPath(target, fs.separator()), listed(pieces), mergeName,
                        mustNotBe);
}

}  // namespace tessark
