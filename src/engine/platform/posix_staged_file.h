// SPDX-License-Identifier: MIT
// New content for a file on POSIX: written to an unnamed file (O_TMPFILE) in
// the target's real folder and given a name only on commit, so that a crash or
// a kill at any moment leaves the old file and nothing else. Where unnamed
// files are not offered, a hidden named file beside the target does the same,
// short of a kill.
#pragma once

#ifndef _WIN32

#include <memory>

#include "engine/core/file_system.h"
#include "engine/platform/posix_io.h"

namespace tessark::posix {

// The real place of `target`: symbolic links (to the file, or folders on the
// way) are followed, so that replacing the file keeps the links. A name that
// does not exist yet, or a link leading nowhere, lives in its folder's real
// place.
Text realTarget(const Text& target);

class PosixStaged final : public StagedFile {
  public:
    // Stages in the unnamed way when `unnamed` is true and the system offers
    // it; otherwise in a named temporary file.
    PosixStaged(const Text& target, bool unnamed);
    ~PosixStaged() override;
    PosixStaged(const PosixStaged&) = delete;
    PosixStaged& operator=(const PosixStaged&) = delete;

    // The file being written, for the kernel copy.
    PosixOutput& output() const { return *output_; }
    // Whether the content is staged in an unnamed file.
    bool unnamed() const { return unnamed_; }

    void writeAt(std::int64_t offset, std::span<const std::byte> data) override;
    void close() override;
    void commit() override;

  private:
    void nameUnnamed();

    Text target_;  // as the caller named it, for messages
    Text real_;    // where the content goes
    Text folder_;  // real_'s folder, where the staging happens
    Text temp_;    // the staging file's name once it has one
    bool unnamed_ = false;
    bool committed_ = false;
    std::unique_ptr<PosixOutput> output_;
    int lock_ = -1;  // shares the file's staging lock; closed last
};

}  // namespace tessark::posix

#endif
