#include "library/3d/model_stream.h"

#include <algorithm>
#include <cstring>

#include "library/3d/model_texts.h"
#include "library/debug/exceptions.h"

namespace Morvane3DSystem {

namespace {

// Big enough that a record costs a fraction of a system call, small enough
// to stay in cache.
constexpr std::size_t kBufferSize = 64 * 1024;

// Arrays at least this long skip the buffer and go straight to the stream.
constexpr std::uint64_t kDirectSize = kBufferSize / 2;

}  // namespace

ModelReader::ModelReader(TStream& Stream, const AnsiString& FileName)
    : FStream(Stream), FFileName(FileName), FBuffer(kBufferSize) {
  const std::int64_t left = Stream.Size() - Stream.Position();
  FStreamLeft = left > 0 ? static_cast<std::uint64_t>(left) : 0;
}

ModelReader::~ModelReader() {
  if (FEnd > FPos) FStream.Seek(-static_cast<std::int64_t>(FEnd - FPos), TSeekOrigin::soCurrent);
}

void ModelReader::Fail() const { throw EMv3DFile(ModelTexts::kLoadFailed + FFileName); }

void ModelReader::Require(std::uint64_t Count, std::uint64_t Size) const {
  // Count is at most 2^32 and Size a record field, so the product cannot wrap.
  if (Count * Size > Remaining()) Fail();
}

void ModelReader::Bytes(void* Out, std::uint64_t Count) {
  if (Count > Remaining()) Fail();
  auto* out = static_cast<std::uint8_t*>(Out);
  const std::size_t buffered = std::min<std::uint64_t>(Count, FEnd - FPos);
  std::memcpy(out, FBuffer.data() + FPos, buffered);
  FPos += buffered;
  out += buffered;
  Count -= buffered;
  if (Count == 0) return;
  if (Count >= kDirectSize) {
    const std::int64_t got = FStream.Read(out, static_cast<std::int64_t>(Count));
    if (got != static_cast<std::int64_t>(Count)) Fail();
    FStreamLeft -= Count;
    return;
  }
  const std::size_t want = std::min<std::uint64_t>(kBufferSize, FStreamLeft);
  const std::int64_t got = FStream.Read(FBuffer.data(), static_cast<std::int64_t>(want));
  if (got < static_cast<std::int64_t>(Count)) Fail();
  FStreamLeft -= static_cast<std::uint64_t>(got);
  FEnd = static_cast<std::size_t>(got);
  std::memcpy(out, FBuffer.data(), Count);
  FPos = Count;
}

std::uint32_t ModelReader::Word() {
  std::uint8_t bytes[4];
  Bytes(bytes, sizeof bytes);
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

ModelWriter::ModelWriter(TStream& Stream, const AnsiString& FileName) : FStream(Stream), FFileName(FileName) {
  FBuffer.reserve(kBufferSize);
}

void ModelWriter::put(const void* Data, std::uint64_t Count) {
  if (FStream.Write(Data, static_cast<std::int64_t>(Count)) != static_cast<std::int64_t>(Count)) {
    throw EMv3DFile(ModelTexts::kSaveFailed + FFileName);
  }
}

void ModelWriter::Bytes(const void* Data, std::uint64_t Count) {
  if (Count >= kDirectSize) {
    Flush();
    put(Data, Count);
    return;
  }
  if (FBuffer.size() + Count > kBufferSize) Flush();
  const auto* in = static_cast<const std::uint8_t*>(Data);
  FBuffer.insert(FBuffer.end(), in, in + Count);
}

void ModelWriter::Word(std::uint32_t Value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(Value), static_cast<std::uint8_t>(Value >> 8),
                                 static_cast<std::uint8_t>(Value >> 16),
                                 static_cast<std::uint8_t>(Value >> 24)};
  Bytes(bytes, sizeof bytes);
}

void ModelWriter::Flush() {
  if (FBuffer.empty()) return;
  put(FBuffer.data(), FBuffer.size());
  FBuffer.clear();
}

}  // namespace Morvane3DSystem
