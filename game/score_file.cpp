#include "game/score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace dovrex {

namespace {

constexpr const char* kCreateMessage = "M_score.dat を作成します。";
constexpr const char* kAccessMessage = "M_score.dat へのアクセスに失敗しました。";

std::int32_t decodeLittleEndian(const unsigned char* b) {
  const std::uint32_t u = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                          (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return static_cast<std::int32_t>(u);
}

void encodeLittleEndian(std::int32_t value, unsigned char* b) {
  const auto u = static_cast<std::uint32_t>(value);
  b[0] = static_cast<unsigned char>(u);
  b[1] = static_cast<unsigned char>(u >> 8);
  b[2] = static_cast<unsigned char>(u >> 16);
  b[3] = static_cast<unsigned char>(u >> 24);
}

bool writeAll(int fd, const unsigned char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, bytes, count);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += n;
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

// Whether the table may be replaced at path: a file there must be a writable
// regular file, as opening it for writing would have required.
bool replaceable(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT;
  return S_ISREG(info.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

bool writeReplacing(const std::string& path, const unsigned char* bytes, std::size_t count) {
  if (!replaceable(path)) return false;
  const std::string temporary = path + ".tmp";
  // A temporary left behind by an interrupted save is stale: start afresh.
  ::unlink(temporary.c_str());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes, count) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
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
  unsigned char bytes[kScoreFileBytes];
  for (int i = 0; i < kHighScoreCount; ++i) encodeLittleEndian(rec.highScores[i], bytes + 4 * i);
  if (writeReplacing(path, bytes, sizeof bytes)) return true;
  host.ShowMessage(kAccessMessage);
  return false;
}

}  // namespace dovrex
