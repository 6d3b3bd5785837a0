#include "platform/framework/streams.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/framework/exception.h"

TFileStream::TFileStream(const AnsiString& fileName, unsigned mode) {
  int flags = O_RDONLY;
  if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
    flags = O_RDWR | O_CREAT | O_TRUNC;
  } else if ((mode & 3) == fmOpenWrite) {
    flags = O_WRONLY;
  } else if ((mode & 3) == fmOpenReadWrite) {
    flags = O_RDWR;
  }
  FHandle = ::open(fileName.c_str(), flags | O_CLOEXEC, 0666);
  if (FHandle < 0) {
    throw EFOpenError("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
  }
  struct stat info {};
  if (::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    throw EFOpenError("Cannot open file \"" + fileName + "\": is a directory");
  }
  if (mode != fmCreate && (mode & fmShareDenyWrite)) {
    ::flock(FHandle, LOCK_SH | LOCK_NB);  // refused locks are not fatal
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  std::int64_t total = 0;
  auto* out = static_cast<char*>(buffer);
  while (total < count) {
    const ssize_t got = ::read(FHandle, out + total, static_cast<std::size_t>(count - total));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += got;
  }
  return total;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  std::int64_t total = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (total < count) {
    const ssize_t put = ::write(FHandle, in + total, static_cast<std::size_t>(count - total));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    total += put;
  }
  return total;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                        : SEEK_END;
  const off_t result = ::lseek(FHandle, static_cast<off_t>(offset), whence);
  return result < 0 ? -1 : static_cast<std::int64_t>(result);
}

std::int64_t TFileStream::Size() {
  struct stat info {};
  return ::fstat(FHandle, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

TMemoryStream::TMemoryStream(const void* data, std::size_t size)
    : FData(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size) {}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t available = std::max<std::int64_t>(0, Size() - FPosition);
  const std::int64_t n = std::clamp<std::int64_t>(count, 0, available);
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const auto end = static_cast<std::size_t>(FPosition + count);
  if (end > FData.size()) FData.resize(end);
  std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
  FPosition += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const std::int64_t base = origin == TSeekOrigin::soBeginning ? 0
                            : origin == TSeekOrigin::soCurrent ? FPosition
                                                               : Size();
  FPosition = std::clamp<std::int64_t>(base + offset, 0, Size());
  return FPosition;
}
