#include "platform/framework/resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string readAll(TStream& stream) {
  std::string text(static_cast<std::size_t>(stream.Size()), '\0');
  stream.Read(text.data(), stream.Size());
  return text;
}

TEST(Resources, FoundByTypeAndNameIgnoringCase) {
  const auto blob = FindResource("midi", "TUNE.MID");
  ASSERT_TRUE(blob.has_value());
  EXPECT_EQ(std::string(blob->begin(), blob->end()), "embedded-bytes");
  EXPECT_FALSE(FindResource("WAVE", "tune.mid").has_value());
}

TEST(Resources, ResourceIsPreferredOverTheFileOnDisk) {
  // data/tune.mid holds other bytes; a resource has its name.
  auto stream = OpenResourceOrFile("MIDI", FRAMEWORK_TEST_DATA_DIR "/tune.mid");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(readAll(*stream), "embedded-bytes");
}

TEST(Resources, FallsBackToDiskAcceptingEitherSeparator) {
  auto stream = OpenResourceOrFile("MIDI", FRAMEWORK_TEST_DATA_DIR "\\tune.mid");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(readAll(*stream), "disk-bytes");
  EXPECT_EQ(OpenResourceOrFile("MIDI", FRAMEWORK_TEST_DATA_DIR "/none.mid"), nullptr);
}

}  // namespace
