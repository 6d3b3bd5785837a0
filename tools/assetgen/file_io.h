#pragma once
// Writing generated files, creating folders as needed.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace assetgen {

// Writes the bytes to path; throws std::runtime_error naming the path on failure.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The whole file; throws std::runtime_error naming the path when unreadable.
std::string ReadTextFile(const std::filesystem::path& path);

}  // namespace assetgen
