#include "split/join_script.h"

#include "core/file_system.h"
#include "core/runtime_error.h"

namespace tessark {

namespace {

// The longest line the command processor accepts.
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

Text joinScriptPath(const Text& target, char16_t separator) {
    const auto folder = folderPart(target, separator);
    if (!folder) {
        raise(err::InvalidArgument);
    }
    return *folder + separator + u"Link.bat";
}

std::string joinScriptBytes(FileSystem& fs, const std::vector<Text>& pieces,
                            const Text& mergeName) {
    const char16_t separator = fs.separator();
    const Text output = quoted(mergeName, separator);
    std::vector<Text> names;
    names.reserve(pieces.size());
    std::size_t oneLine = 7 + 1 + output.size();  // "copy/B ", " ", output
    for (const Text& piece : pieces) {
        names.push_back(quoted(piece, separator));
        oneLine += names.back().size() + 1;
    }
    if (!names.empty()) {
        --oneLine;  // no "+" after the last piece
    }

    Text script = u"copy/B ";
    if (oneLine <= kMaxLine || names.empty()) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            script += (i == 0 ? u"" : u"+") + names[i];
        }
        script += u" " + output + u"\r\n";
        return fs.encodeAnsi(script);
    }

    // Too long for one line: the first line makes the output from the first
    // pieces, each later line appends more pieces to it ("copy/B out+x+y"
    // combines into its first file). Every line takes at least one piece.
    const Text firstTail = u" " + output;
    Text line = u"copy/B " + names[0];
    std::size_t next = 1;
    while (next < names.size() &&
           line.size() + 1 + names[next].size() + firstTail.size() <= kMaxLine) {
        line += u"+" + names[next++];
    }
    script = line + firstTail + u"\r\n";
    while (next < names.size()) {
        line = u"copy/B " + output;
        do {
            line += u"+" + names[next++];
        } while (next < names.size() && line.size() + 1 + names[next].size() <= kMaxLine);
        script += line + u"\r\n";
    }
    return fs.encodeAnsi(script);
}

void writeJoinScript(FileSystem& fs, const Text& target, const std::vector<Text>& pieces,
                     const Text& mergeName) {
    const Text path = joinScriptPath(target, fs.separator());
    const std::string bytes = joinScriptBytes(fs, pieces, mergeName);
    auto file = fs.createFile(path);
    try {
        file->writeAt(0, std::as_bytes(std::span(bytes.data(), bytes.size())));
        file->close();
    } catch (...) {
        file.reset();
        fs.removeFile(path);  // half a script would join half a file
        throw;
    }
}

}  // namespace tessark
