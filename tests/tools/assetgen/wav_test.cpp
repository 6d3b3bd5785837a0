#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tools/assetgen/sound_table.h"
#include "tools/assetgen/sounds.h"
#include "tools/assetgen/wav_writer.h"

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

// Checks the RIFF structure: every chunk inside the form, form within the file.
void expectValidWav(const std::vector<std::uint8_t>& b, std::size_t total) {
  ASSERT_EQ(b.size(), total);
  EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
  EXPECT_EQ(std::memcmp(b.data() + 8, "WAVE", 4), 0);
  EXPECT_EQ(std::memcmp(b.data() + 12, "fmt ", 4), 0);
  EXPECT_EQ(le32(b, 16), 16u);
  EXPECT_EQ(le16(b, 20), 1);  // PCM
  EXPECT_EQ(le16(b, 22), 1);  // mono
  const std::uint32_t rate = le32(b, 24);
  EXPECT_EQ(le32(b, 28), rate * 2);
  EXPECT_EQ(le16(b, 32), 2);
  EXPECT_EQ(le16(b, 34), 16);
  EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
  const std::uint32_t data = le32(b, 40);
  EXPECT_EQ(data % 2, 0u);
  const std::uint32_t form = le32(b, 4);
  EXPECT_EQ(form, 36 + data);
  EXPECT_LE(form + 8, total);
  EXPECT_GE(form + 8 + 1, total);  // at most the one odd trailing byte
}

TEST(WavWriter, ExactSizeForEveryGameSound) {
  for (const auto& file : assetgen::kSoundFiles) {
    SCOPED_TRACE(file.name);
    const std::vector<std::int16_t> samples(10, 1000);
    const auto bytes = assetgen::MakeWav(samples, assetgen::kSoundRate, file.bytes);
    expectValidWav(bytes, file.bytes);
    EXPECT_EQ(le32(bytes, 40), file.bytes - 44);
  }
}

TEST(WavWriter, OddTotalKeepsWholeSamplesAndAValidForm) {
  const std::vector<std::int16_t> samples{1, -2, 3};
  const auto bytes = assetgen::MakeWav(samples, 22050, 51);
  expectValidWav(bytes, 51);
  EXPECT_EQ(le32(bytes, 40), 6u);
  EXPECT_EQ(le32(bytes, 4), 42u);
  EXPECT_EQ(bytes[50], 0);
}

TEST(WavWriter, SamplesLittleEndianPaddedWithSilence) {
  const std::vector<std::int16_t> samples{0x1234, -2};
  const auto bytes = assetgen::MakeWav(samples, 8000, 44 + 8);
  EXPECT_EQ(bytes[44], 0x34);
  EXPECT_EQ(bytes[45], 0x12);
  EXPECT_EQ(bytes[46], 0xFE);
  EXPECT_EQ(bytes[47], 0xFF);
  EXPECT_EQ(bytes[48], 0);
  EXPECT_EQ(bytes[51], 0);
  EXPECT_EQ(assetgen::MakeWav(samples, 8000, 44).size(), 44u);
  EXPECT_THROW(assetgen::MakeWav(samples, 8000, 43), std::invalid_argument);
}

TEST(Sounds, EveryEffectIsAudibleBoundedAndEndsSilent) {
  for (int n = 1; n <= 9; ++n) {
    SCOPED_TRACE(n);
    const std::size_t count = assetgen::WavSampleCapacity(assetgen::kSoundFiles[n - 1].bytes);
    const auto s = assetgen::SynthesizeSound(n, count);
    ASSERT_EQ(s.size(), count);
    int peak = 0;
    double energy = 0;
    for (auto v : s) {
      peak = std::max(peak, std::abs(static_cast<int>(v)));
      energy += static_cast<double>(v) * v;
    }
    EXPECT_GT(peak, 16000);
    EXPECT_LT(peak, 32767);
    EXPECT_GT(std::sqrt(energy / count), 300.0);
    EXPECT_EQ(s.back(), 0);
    // The last 5 ms fade out.
    for (std::size_t i = count - 110; i < count; ++i) EXPECT_LT(std::abs(s[i]), 4000);
  }
  EXPECT_THROW(assetgen::SynthesizeSound(0, 10), std::out_of_range);
  EXPECT_THROW(assetgen::SynthesizeSound(10, 10), std::out_of_range);
}

TEST(Sounds, FileBytesAreDeterministic) {
  EXPECT_EQ(assetgen::SoundFileBytes(4), assetgen::SoundFileBytes(4));
  EXPECT_NE(assetgen::SoundFileBytes(4), assetgen::SoundFileBytes(5));
}

}  // namespace
