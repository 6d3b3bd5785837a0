#include "platform/framework/streams.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/framework/exception.h"

namespace {

std::filesystem::path tempFile(const char* name) { return std::filesystem::temp_directory_path() / name; }

TEST(FileStream, WritesThenReadsBackWithSeekAndSize) {
  const auto path = tempFile("morvane_stream_test.bin");
  {
    TFileStream out(path.string(), fmCreate);
    EXPECT_EQ(out.Write("abcdef", 6), 6);
  }
  TFileStream in(path.string(), fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(in.Size(), 6);
  EXPECT_EQ(in.Seek(2, TSeekOrigin::soBeginning), 2);
  char buffer[8] = {};
  EXPECT_EQ(in.Read(buffer, 8), 4) << "a read stops at the end of the file";
  EXPECT_STREQ(buffer, "cdef");
  EXPECT_EQ(in.Read(buffer, 1), 0);
  std::filesystem::remove(path);
}

TEST(FileStream, MissingFileRaisesOpenError) {
  EXPECT_THROW(TFileStream("/nonexistent/dir/file.bin", fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(std::filesystem::temp_directory_path().string(), fmOpenRead), EFOpenError);
}

TEST(MemoryStream, ReadsAreBoundedBySize) {
  TMemoryStream stream("xyz", 3);
  char buffer[5] = {};
  EXPECT_EQ(stream.Read(buffer, 5), 3);
  EXPECT_EQ(stream.Seek(-10, TSeekOrigin::soCurrent), 0);
  EXPECT_EQ(stream.Seek(10, TSeekOrigin::soBeginning), 3);
  EXPECT_EQ(stream.Read(buffer, -1), 0);
  stream.Seek(1, TSeekOrigin::soBeginning);
  stream.Write("QRS", 3);
  EXPECT_EQ(stream.Size(), 4);
  EXPECT_EQ(stream.Memory()[3], 'S');
}

}  // namespace
