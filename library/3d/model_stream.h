#pragma once
// Buffered, bounded access to a stream for the model file. The framework's
// streams go to the system on every call; a model is many small fields, so
// they are gathered here into large reads and writes.
#include <cstdint>
#include <vector>

#include "platform/framework/ansi_string.h"
#include "platform/framework/streams.h"

namespace Morvane3DSystem {

// Reads from the stream's position up to its end. Every shortfall raises
// EMv3DFile with the load text and the file name.
class ModelReader {
 public:
  ModelReader(TStream& Stream, const AnsiString& FileName);
  // Puts back what was read ahead, so the stream stands after the last byte used.
  ~ModelReader();
  ModelReader(const ModelReader&) = delete;
  ModelReader& operator=(const ModelReader&) = delete;

  void Bytes(void* Out, std::uint64_t Count);
  std::uint32_t Word();
  // Bytes the stream still holds, read-ahead included.
  std::uint64_t Remaining() const { return FStreamLeft + (FEnd - FPos); }
  // Raises the load failure unless Count items of Size bytes are still there.
  void Require(std::uint64_t Count, std::uint64_t Size) const;
  [[noreturn]] void Fail() const;

 private:
  TStream& FStream;
  const AnsiString& FFileName;
  std::uint64_t FStreamLeft = 0;
  std::vector<std::uint8_t> FBuffer;
  std::size_t FPos = 0;
  std::size_t FEnd = 0;
};

// Writes to the stream; a stream that takes fewer bytes raises EMv3DFile
// with the save text and the file name.
class ModelWriter {
 public:
  ModelWriter(TStream& Stream, const AnsiString& FileName);
  ModelWriter(const ModelWriter&) = delete;
  ModelWriter& operator=(const ModelWriter&) = delete;

  void Bytes(const void* Data, std::uint64_t Count);
  void Word(std::uint32_t Value);
  // Hands everything held to the stream; call before the stream is closed.
  void Flush();

 private:
  void put(const void* Data, std::uint64_t Count);

  TStream& FStream;
  const AnsiString& FFileName;
  std::vector<std::uint8_t> FBuffer;
};

}  // namespace Morvane3DSystem
