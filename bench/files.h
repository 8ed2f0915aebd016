// SPDX-License-Identifier: MIT
// File chores of the benchmark, none of them timed: making the source,
// comparing results byte for byte, removing outputs between runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessark::bench {

// Two reusable read buffers, allocated once so that comparing never changes
// the process's memory between measured runs.
struct CompareBuffers {
    CompareBuffers();
    std::vector<std::byte> first, second;
};

// Writes a new file of `size` bytes from a fast pseudo-random generator, so
// that no file system can compress or deduplicate it.
void writeRandomFile(const std::string& path, std::int64_t size, std::span<std::byte> buffer);

// Makes a new file of `size` bytes that holds no data: a hole throughout.
void makeSparseFile(const std::string& path, std::int64_t size);

// Throws unless the files of `a`, read one after the other, hold exactly the
// bytes of the files of `b` read one after the other.
void expectSameBytes(const std::vector<std::string>& a, const std::vector<std::string>& b,
                     CompareBuffers& buffers);

// Throws unless every file a[i] holds exactly the bytes of b[i].
void expectSamePieces(const std::vector<std::string>& a, const std::vector<std::string>& b,
                      CompareBuffers& buffers);

bool fileExists(const std::string& path);

// Removes the files, then waits until the folder's file system has written
// back whatever is pending, so that no run pays for the previous one.
void removeAndSettle(const std::vector<std::string>& paths, const std::string& folder);

// Waits until the folder's file system has written back whatever is pending.
void settle(const std::string& folder);

// The bytes free for an ordinary user on the folder's file system.
std::int64_t freeBytes(const std::string& folder);

// "tmpfs", "ext4", ... as far as known, else the magic number in hex.
std::string fileSystemName(const std::string& folder);

}  // namespace tessark::bench
