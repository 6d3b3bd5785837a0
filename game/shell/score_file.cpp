#include "game/shell/score_file.h"

#include <cstdint>
#include <cstdio>

#include "platform/framework/file_ops.h"

namespace dovrex {

namespace {

constexpr const char* kCreateMessage = "M_score.dat を作成します。";
constexpr const char* kAccessMessage = "M_score.dat へのアクセスに失敗しました。";

std::int32_t decodeLittleEndian(const unsigned char* b) {
  const std::uint32_t u = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                          (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return static_cast<std::int32_t>(u);
}

void encodeLittleEndian(std::int32_t value, std::uint8_t* b) {
  const auto u = static_cast<std::uint32_t>(value);
  b[0] = static_cast<std::uint8_t>(u);
  b[1] = static_cast<std::uint8_t>(u >> 8);
  b[2] = static_cast<std::uint8_t>(u >> 16);
  b[3] = static_cast<std::uint8_t>(u >> 24);
}

}  // namespace

void SetDefaultScores(GameRecord& rec) {
  for (int i = 0; i < kHighScoreCount; ++i) rec.highScores[i] = 60000 - 5000 * i;
}

void LoadScoreFile(GameRecord& rec, const std::string& path, ShellHost& host) {
  // Opened for update, as the table is: a file that cannot be written counts as missing.
  std::FILE* file = std::fopen(path.c_str(), "rb+");
  if (file == nullptr) {
    host.ShowMessage(kCreateMessage);
    SetDefaultScores(rec);
    return;
  }
  ReadScores(rec, file);
  std::fclose(file);
}

void ReadScores(GameRecord& rec, std::FILE* file) {
  for (int i = 0; i < kHighScoreCount; ++i) {
    unsigned char bytes[4];
    // An entry the file holds only part of reads as 0, like the entries past its end.
    rec.highScores[i] = std::fread(bytes, 1, 4, file) == 4 ? decodeLittleEndian(bytes) : 0;
  }
}

bool SaveScoreFile(const GameRecord& rec, const std::string& path, ShellHost& host) {
  std::uint8_t bytes[kScoreFileBytes];
  for (int i = 0; i < kHighScoreCount; ++i) encodeLittleEndian(rec.highScores[i], bytes + 4 * i);
  if (platform::ReplaceFileAtomically(path, bytes)) return true;
  host.ShowMessage(kAccessMessage);
  return false;
}

}  // namespace dovrex
