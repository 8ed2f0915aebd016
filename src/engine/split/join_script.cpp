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

std::string joinScriptBytes(FileSystem& fs, const std::vector<Text>& pieces,
                            const Text& mergeName) {
    // Lengths are counted in the script's own bytes, not in characters: the
    // command processor takes at most that many bytes as one batch line,
    // and in a multibyte code page such as GBK a character takes two.
    const char16_t separator = fs.separator();
    const std::string output = fs.encodeAnsi(quoted(mergeName, separator));
    std::vector<std::string> names;
    names.reserve(pieces.size());
    std::size_t oneLine = 7 + 1 + output.size();  // "copy/B ", " ", output
    for (const Text& piece : pieces) {
        names.push_back(fs.encodeAnsi(quoted(piece, separator)));
        oneLine += names.back().size() + 1;
    }
    if (!names.empty()) {
        --oneLine;  // no "+" after the last piece
    }

    std::string script = "copy/B ";
    if (oneLine <= kMaxLine || names.empty()) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            script += (i == 0 ? "" : "+") + names[i];
        }
        script += " " + output + "\r\n";
        return script;
    }

    // Too long for one line: the first line makes the output from the first
    // pieces, each later line appends more pieces to it ("copy/B out+x+y"
    // combines into its first file). Every line takes at least one piece.
    const std::string firstTail = " " + output;
    std::string line = "copy/B " + names[0];
    std::size_t next = 1;
    while (next < names.size() &&
           line.size() + 1 + names[next].size() + firstTail.size() <= kMaxLine) {
        line += "+" + names[next++];
    }
    script = line + firstTail + "\r\n";
    while (next < names.size()) {
        line = "copy/B " + output;
        do {
            line += "+" + names[next++];
        } while (next < names.size() && line.size() + 1 + names[next].size() <= kMaxLine);
        script += line + "\r\n";
    }
    return script;
}

void writeJoinScriptFile(FileSystem& fs, const Text& path, const std::string& bytes,
                         std::optional<FileId> mustNotBe) {
    auto file = fs.createFile(path, mustNotBe);
    try {
        file->writeAt(0, std::as_bytes(std::span(bytes.data(), bytes.size())));
        file->close();
    } catch (...) {
        file.reset();
        fs.removeFile(path);  // half a script would join half a file
        throw;
    }
}

void writeJoinScript(FileSystem& fs, const Text& target, const std::vector<Text>& pieces,
                     const Text& mergeName, std::optional<FileId> mustNotBe) {
    writeJoinScriptFile(fs, joinScriptPath(target, fs.separator()),
                        joinScriptBytes(fs, pieces, mergeName), mustNotBe);
}

}  // namespace tessark
