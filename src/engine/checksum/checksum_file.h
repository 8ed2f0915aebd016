// SPDX-License-Identifier: MIT
// TARGET.sha256: the digests of a set's pieces and of the whole file, in the
// text form every system's own checksum tools read ("<64 hex>  <name>", one
// file a line). The file travels with the pieces, so reading it treats it as
// untrusted input: names must be plain file names, lines and the file are
// bounded, and anything else makes the whole file unrecognised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/progress.h"
#include "engine/core/sha256.h"
#include "engine/core/text.h"

namespace tessark {

class FileSystem;

struct ChecksumEntry {
    Text name;  // a plain file name, beside the checksum file
    Sha256Digest digest;
    friend bool operator==(const ChecksumEntry&, const ChecksumEntry&) = default;
};

// The longest line read, in bytes; a name of 255 characters fits several times.
inline constexpr std::size_t kMaxChecksumLine = 4096;
// The most entries a checksum file may hold: far beyond any set worth cutting,
// and a bound on what a hostile file can make the reader keep. A split whose
// checksum file would go beyond it, or beyond kMaxChecksumFile, is refused.
inline constexpr std::size_t kMaxChecksumEntries = std::size_t{1} << 22;

// One line with its LF: "<hex>  <name>", or "\<hex>  <escaped name>" when the
// name holds a "\" or a line break ("\\", "\n", "\r"), as the GNU tools
// write it.
std::string checksumLine(const Sha256Digest& digest, TextView name);

// "folder/m.sha256" for the target "folder/m".
Text checksumPath(const Text& target);

// Whether `name` may be opened as a file beside the checksum file on a system
// whose separator is `separator`: not empty, not "." or "..", no "/" (a
// separator everywhere), no `separator`, no control character, and on Windows
// no ":" (a drive, or a stream of another file).
bool plainFileName(TextView name, char16_t separator);

// Reads checksum text as it arrives, line by line, keeping no more than one
// line besides the entries. Blank lines and "#" comments are passed over; a
// text or binary marker ("  " or " *") is accepted, hex digits in either case,
// LF or CR LF line ends.
//
// A name given twice is found by sorting the names once the text is in, so
// the time grows as n log n whatever the names: a hash of fixed seed would
// let a file of names made to collide take hours. `stop` is asked every few
// thousand lines and while sorting; when it answers true, ReadStopped is
// thrown.
class ChecksumReader {
  public:
    explicit ChecksumReader(char16_t separator, StopFn stop = {})
        : separator_(separator), stop_(std::move(stop)) {}
    // False once the text can no longer be a checksum file.
    bool feed(std::string_view bytes);
    // The entries in file order; nothing when the text was not a checksum
    // file (a malformed or overlong line, a name twice, no entry at all).
    std::optional<std::vector<ChecksumEntry>> finish();

  private:
    bool takeLine(std::string_view line);
    void checkStop();
    bool namesDistinct();

    char16_t separator_;
    StopFn stop_;
    std::string line_;
    std::vector<ChecksumEntry> entries_;
    std::size_t sinceStopAsked_ = 0;
    bool bad_ = false;
};

std::optional<std::vector<ChecksumEntry>> parseChecksumText(std::string_view text,
                                                            char16_t separator);

// The most bytes a checksum file may hold: a larger one is not read at all.
// The parse keeps at most about two bytes per byte of the file (names widen
// to UTF-16, each entry has its digest and its place in the sort), so this
// bounds its memory near 512 MiB. At 68 bytes or more a line, it also keeps
// the entries below kMaxChecksumEntries.
inline constexpr std::int64_t kMaxChecksumFile = std::int64_t{1} << 28;

// The entries of the checksum file at `path`; nothing when it cannot be read,
// is larger than kMaxChecksumFile (refused by its size, before a byte is
// read) or is not a checksum file. Never holds more than a chunk and a line
// of its text. Throws ReadStopped when `stop` asks to.
std::optional<std::vector<ChecksumEntry>> readChecksumFile(FileSystem& fs, const Text& path,
                                                           const StopFn& stop = {});

}  // namespace tessark
