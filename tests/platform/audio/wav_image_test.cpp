#include "platform/audio/wav_image.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/audio/wav_builder.h"

using namespace platform;

using namespace wavtest;

namespace {

// The result points into the image, so the image must outlive it: no temporaries.
std::optional<WavImage> parse(const std::vector<std::uint8_t>& image) { return ParseWavImage(image); }
std::optional<WavImage> parse(std::vector<std::uint8_t>&&) = delete;

// For tests that look only at whether an image parses.
bool parses(const std::vector<std::uint8_t>& image) { return ParseWavImage(image).has_value(); }

}  // namespace

TEST(WavImage, PlainPcmIsReadInPlace) {
  const auto image = Wav16(22050, 1, {100, -200, 300});
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->format, (PcmFormat{22050, 1, 16}));
  ASSERT_EQ(wav->data.size(), 6u);
  // The data points into the caller's image: no copy was made.
  EXPECT_EQ(wav->data.data(), image.data() + 44);
  EXPECT_EQ(wav->data[0], 100);
  EXPECT_EQ(wav->data[2], static_cast<std::uint8_t>(-200 & 0xFF));
}

TEST(WavImage, EightBitStereo) {
  const auto image = Wav8(11025, 2, {0x80, 0x90, 0x70, 0x60});
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->format, (PcmFormat{11025, 2, 8}));
  EXPECT_EQ(wav->data.size(), 4u);
}

TEST(WavImage, DataBeforeFormatIsFound) {
  const auto image = Riff({{"data", Samples16({1, 2, 3, 4}), {}}, {"fmt ", FmtBody(1, 2, 44100, 16), {}}});
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->format, (PcmFormat{44100, 2, 16}));
  EXPECT_EQ(wav->data.size(), 8u);
}

TEST(WavImage, OtherChunksAreSkippedWithTheirPadding) {
  const auto image = Riff({{"LIST", {'I', 'N', 'F', 'O', 'x'}, {}},  // odd size: one pad byte follows
                           {"fmt ", FmtBody(1, 1, 8000, 8), {}},
                           {"fact", {1, 0, 0, 0}, {}},
                           {"data", {0x10, 0x20, 0x30}, {}}});
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->format, (PcmFormat{8000, 1, 8}));
  ASSERT_EQ(wav->data.size(), 3u);
  EXPECT_EQ(wav->data[0], 0x10);
  EXPECT_EQ(wav->data[2], 0x30);
}

TEST(WavImage, LongerFormatChunkIsSkippedWhole) {
  auto fmt = FmtBody(1, 1, 44100, 16);
  fmt.insert(fmt.end(), {0, 0, 'd', 'a'});  // cbSize and stray bytes that look like a chunk id
  const auto image = Riff({{"fmt ", fmt, {}}, {"data", Samples16({7, 8}), {}}});
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->data.size(), 4u);
}

TEST(WavImage, ExtensiblePcmIsAccepted) {
  const auto image =
      Riff({{"fmt ", ExtensibleFmtBody(1, 2, 48000, 16), {}}, {"data", Samples16({1, 2}), {}}});
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->format, (PcmFormat{48000, 2, 16}));
}

TEST(WavImage, TruncatedDataPlaysAsFarAsItGoes) {
  // The chunk claims 1000 bytes; 7 arrive, which is three whole 16-bit frames.
  auto image = Riff({{"fmt ", FmtBody(1, 1, 22050, 16), {}}, {"data", {1, 0, 2, 0, 3, 0, 4}, 1000u}});
  image.pop_back();  // the pad byte the builder added after the odd body
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->data.size(), 6u);
}

TEST(WavImage, TruncatedStereoKeepsWholeFramesOnly) {
  auto image = Wav16(44100, 2, {1, 2, 3, 4, 5, 6});
  image.resize(image.size() - 3);  // the last frame loses three of its four bytes
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->data.size(), 8u);
}

TEST(WavImage, UnplayableImagesGiveNothing) {
  EXPECT_FALSE(parses({}));
  EXPECT_FALSE(parses(std::vector<std::uint8_t>(4096, 0)));  // the zero-filled buffer of a missing file
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 1, 22050, 16), {}}, {"data", Samples16({1}), {}}}, "AVI ")));
  auto notRiff = Wav16(22050, 1, {1, 2});
  notRiff[0] = 'X';
  EXPECT_FALSE(parses(notRiff));
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 1, 22050, 16), {}}})));                     // no data
  EXPECT_FALSE(parses(Riff({{"data", Samples16({1, 2}), {}}})));                            // no format
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 1, 22050, 16), {}}, {"data", {}, {}}})));   // no samples
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 1, 22050, 16), {}}, {"data", {1}, {}}})));  // half a frame
}

TEST(WavImage, FormatsTheMixerCannotPlayAreRefused) {
  const auto data = Chunk{"data", Samples16({1, 2, 3, 4}), {}};
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(3, 1, 22050, 32), {}}, data})));    // float
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(2, 1, 22050, 4), {}}, data})));     // ADPCM
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 1, 22050, 24), {}}, data})));    // 24-bit
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 3, 22050, 16), {}}, data})));    // three channels
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 0, 22050, 16), {}}, data})));    // no channels
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 1, 0, 16), {}}, data})));        // no rate
  EXPECT_FALSE(parses(Riff({{"fmt ", FmtBody(1, 1, 5000000, 16), {}}, data})));  // absurd rate
  EXPECT_FALSE(parses(Riff({{"fmt ", ExtensibleFmtBody(3, 2, 48000, 32), {}}, data})));
  auto shortFmt = FmtBody(1, 1, 22050, 16);
  shortFmt.resize(14);
  EXPECT_FALSE(parses(Riff({{"fmt ", shortFmt, {}}, data})));
}

TEST(WavImage, HugeChunkSizesStayInsideTheImage) {
  // A chunk that claims 4 GiB before the data: the walk stops at the image's end.
  EXPECT_FALSE(parses(
      Riff({{"fmt ", FmtBody(1, 1, 22050, 16), {}}, {"JUNK", {1, 2}, 0xFFFFFFFFu}, {"data", {1, 2}, {}}})));
  // A format chunk that claims more than is there is read only as far as present.
  auto fmt = FmtBody(1, 1, 22050, 16);
  fmt.resize(10);
  EXPECT_FALSE(parses(Riff({{"fmt ", fmt, 0xFFFFFFF0u}})));
  // A header cut inside the chunk header.
  auto image = Wav16(22050, 1, {1, 2});
  image.resize(16);
  EXPECT_FALSE(parses(image));
}

TEST(WavImage, FirstFormatAndDataChunksWin) {
  const auto image = Riff({{"fmt ", FmtBody(1, 1, 11025, 8), {}},
                           {"data", {0x11, 0x22}, {}},
                           {"fmt ", FmtBody(1, 2, 44100, 16), {}},
                           {"data", {0x33, 0x44, 0x55, 0x66}, {}}});
  const auto wav = parse(image);
  ASSERT_TRUE(wav);
  EXPECT_EQ(wav->format, (PcmFormat{11025, 1, 8}));
  EXPECT_EQ(wav->data.size(), 2u);
  EXPECT_EQ(wav->data[0], 0x11);
}

TEST(WavImage, WrittenImagesReadBack) {
  const std::vector<std::uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  for (const PcmFormat& format :
       {PcmFormat{44100, 2, 16}, PcmFormat{22050, 1, 16}, PcmFormat{11025, 1, 8}, PcmFormat{8000, 2, 8}}) {
    const auto image = MakeWavImage(format, samples);
    EXPECT_EQ(image.size(), 44u + samples.size());
    const auto wav = parse(image);
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->format, format);
    EXPECT_TRUE(std::equal(wav->data.begin(), wav->data.end(), samples.begin(), samples.end()));
  }
  // An odd data size gets its pad byte, and the RIFF size counts it.
  const auto odd = MakeWavImage(PcmFormat{8000, 1, 8}, std::vector<std::uint8_t>{1, 2, 3});
  EXPECT_EQ(odd.size(), 48u);
  EXPECT_EQ(odd[4], 40);
  ASSERT_TRUE(parse(odd));
  EXPECT_EQ(parse(odd)->data.size(), 3u);
}
