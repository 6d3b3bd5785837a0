// The atomic file replace: new contents arrive whole, failures leave the old
// file and no temporary behind.
#include "platform/framework/file_ops.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ReplaceFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "file-ops-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    file = dir / "table.dat";
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, ec);
    fs::remove_all(dir, ec);
  }
  fs::path dir, file;
  const std::vector<std::uint8_t> oldBytes = {1, 2, 3, 4, 5};
  const std::vector<std::uint8_t> newBytes = {9, 8, 7};
};

TEST_F(ReplaceFile, CreatesAMissingFileAndReplacesAnExistingOneWhole) {
  ASSERT_TRUE(platform::ReplaceFileAtomically(file.string(), oldBytes));
  EXPECT_EQ(readBytes(file), oldBytes);
  ASSERT_TRUE(platform::ReplaceFileAtomically(file.string(), newBytes));
  EXPECT_EQ(readBytes(file), newBytes) << "a shorter content leaves no tail of the old one";
  EXPECT_FALSE(fs::exists(dir / "table.dat.tmp"));
}

TEST_F(ReplaceFile, AStaleTemporaryIsDiscarded) {
  writeBytes(dir / "table.dat.tmp", {42, 42, 42, 42, 42, 42, 42});
  ASSERT_TRUE(platform::ReplaceFileAtomically(file.string(), newBytes));
  EXPECT_EQ(readBytes(file), newBytes);
  EXPECT_FALSE(fs::exists(dir / "table.dat.tmp"));
}

TEST_F(ReplaceFile, EmptyContentsGiveAnEmptyFile) {
  writeBytes(file, oldBytes);
  ASSERT_TRUE(platform::ReplaceFileAtomically(file.string(), {}));
  EXPECT_TRUE(fs::is_regular_file(file));
  EXPECT_EQ(fs::file_size(file), 0u);
}

TEST_F(ReplaceFile, ADirectoryInTheWayIsNotReplaced) {
  fs::create_directory(file);
  EXPECT_FALSE(platform::ReplaceFileAtomically(file.string(), newBytes));
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_FALSE(fs::exists(dir / "table.dat.tmp"));
}

TEST_F(ReplaceFile, AMissingFolderFails) {
  EXPECT_FALSE(platform::ReplaceFileAtomically((dir / "nowhere" / "table.dat").string(), newBytes));
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

// Permission checks do not hold for a user who may override them (root,
// usually): asked of the file system, not judged by the user id.
TEST_F(ReplaceFile, AReadOnlyFileOrFolderKeepsTheOldContents) {
  writeBytes(file, oldBytes);
  fs::permissions(file, fs::perms::owner_read);
  if (std::fstream(file, std::ios::in | std::ios::out).is_open()) {
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    GTEST_SKIP() << "this user may write read-only files";
  }
  EXPECT_FALSE(platform::ReplaceFileAtomically(file.string(), newBytes));
  EXPECT_EQ(readBytes(file), oldBytes);
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(platform::ReplaceFileAtomically(file.string(), newBytes));
  fs::permissions(dir, fs::perms::owner_all);
  EXPECT_EQ(readBytes(file), oldBytes);
  EXPECT_FALSE(fs::exists(dir / "table.dat.tmp"));
}

}  // namespace
