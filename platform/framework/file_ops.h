#pragma once
// File operations that keep what is on disk whole: a replace either leaves
// the complete new contents or the old file untouched.
#include <cstdint>
#include <span>
#include <string>

namespace platform {

// Replaces the file at path with bytes: they go to "path.tmp" beside it,
// which is synced and then renamed over the old file. A file at path must be
// a writable regular file (as opening it for writing would require); a
// stale temporary from an interrupted replace is discarded first. Returns
// false, with the old file unchanged and no temporary left, on any failure.
bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace platform
