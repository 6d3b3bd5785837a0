// LoadFile: the chunk walk, bounded headers, format checks, error texts, and
// nothing left behind by a failed load.
#include <gtest/gtest.h>

#include "library/debug/exceptions.h"
#include "sound_rig.h"

namespace {

using namespace sound_test;
using namespace wavtest;

constexpr char kBufferPrefix[] = "TMorvaneSoundBuffer エラー\n\n";

class WavLoader : public ::testing::Test {
 protected:
  std::shared_ptr<platform::AudioDevice> device = std::make_shared<platform::AudioDevice>();
  TempDir dir;
  TMorvaneSoundBuffer buffer;

  // Loads the image from a file; returns the error message, empty on success.
  std::string Load(const Bytes& image, unsigned char mode = kModeStatic) {
    dir.Write("a.wav", image);
    try {
      buffer.LoadFile(device, "snd", mode, path);
    } catch (const MorvaneSoundSystem::EMvSoundBuffer& e) {
      return e.Message;
    }
    return {};
  }

  Bytes SlotBytes(int slot) const {
    Bytes out(buffer.GetSlot(slot)->Size());
    buffer.GetSlot(slot)->Read(0, out);
    return out;
  }

  // Every image is loaded from this one file.
  const std::string path = (dir.Path() / "a.wav").string();
};

TEST_F(WavLoader, PlainFileLoadsWithFourSharedCopies) {
  const auto samples = Ramp(1000);
  ASSERT_EQ(Load(Wav16(22050, 2, samples)), "");
  EXPECT_EQ(buffer.GetMode(), kModeStatic);
  EXPECT_EQ(buffer.GetName(), "snd");
  EXPECT_EQ(buffer.GetFileName(), path);
  EXPECT_EQ(buffer.GetDataStart(), 44u);
  EXPECT_EQ(buffer.GetDataSize(), 2000u);
  EXPECT_EQ(SlotBytes(0), Samples16(samples));
  for (int slot = 1; slot < kSlotCount; ++slot) EXPECT_EQ(SlotBytes(slot), SlotBytes(0)) << slot;
  EXPECT_EQ(device->SourceCount(), 4u);
}

TEST_F(WavLoader, OtherChunksAreSkippedWithTheirPadByte) {
  const auto samples = Ramp(64);
  // An even chunk, an odd one (followed by its pad byte), then the data.
  const Bytes image = Riff({{"fmt ", FmtBody(1, 1, 8000, 16), {}},
                            {"LIST", Bytes(10, 'x'), {}},
                            {"junk", Bytes(7, 'y'), {}},
                            {"data", Samples16(samples), {}}});
  ASSERT_EQ(Load(image), "");
  EXPECT_EQ(buffer.GetDataStart(), 12u + 24u + 18u + 16u + 8u);
  EXPECT_EQ(SlotBytes(0), Samples16(samples));
}

TEST_F(WavLoader, DataBeforeFormatIsFound) {
  const auto samples = Ramp(100);
  ASSERT_EQ(Load(Riff({{"data", Samples16(samples), {}}, {"fmt ", FmtBody(1, 2, 11025, 16), {}}})), "");
  EXPECT_EQ(buffer.GetDataStart(), 20u);
  EXPECT_EQ(buffer.GetFormat().SamplesPerSec, 11025u);
  EXPECT_EQ(SlotBytes(0), Samples16(samples));
}

TEST_F(WavLoader, ExtensibleFormatWithPcmSubFormatPlaysAsPcm) {
  const auto samples = Ramp(50);
  const Bytes image =
      Riff({{"fmt ", ExtensibleFmtBody(1, 2, 44100, 16), {}}, {"data", Samples16(samples), {}}});
  ASSERT_EQ(Load(image), "");
  EXPECT_EQ(buffer.GetFormat().FormatTag, kWaveFormatExtensible);
  EXPECT_EQ(buffer.GetFormat().SubFormatTag, kWaveFormatPcm);
  EXPECT_EQ(buffer.GetDataStart(), 12u + 8u + 40u + 8u);
  EXPECT_EQ(SlotBytes(0), Samples16(samples));

  // The same layout with a float sub-format is refused.
  EXPECT_EQ(Load(Riff({{"fmt ", ExtensibleFmtBody(3, 2, 44100, 16), {}}, {"data", Samples16(samples), {}}})),
            kBufferPrefix + std::string("ファイルフォーマットが不正です。\nファイル名：") + path);
}

TEST_F(WavLoader, FormatChunkOfEighteenBytesKeepsTheExtraSize) {
  Bytes fmt = FmtBody(1, 1, 8000, 8);
  put16(fmt, 0);
  ASSERT_EQ(Load(Riff({{"fmt ", fmt, {}}, {"data", Bytes(9, 200), {}}})), "");
  EXPECT_EQ(buffer.GetDataStart(), 12u + 8u + 18u + 8u);
  EXPECT_EQ(buffer.GetDataSize(), 9u);
}

TEST_F(WavLoader, DataSizeIsCutToTheBytesPresent) {
  const auto samples = Ramp(100);
  const Bytes image =
      Riff({{"fmt ", FmtBody(1, 1, 8000, 16), {}}, {"data", Samples16(samples), 0x7FFFFFF0u}});
  ASSERT_EQ(Load(image), "");
  EXPECT_EQ(buffer.GetDataSize(), 200u);
  EXPECT_EQ(buffer.GetSlot(0)->Size(), 200u);

  // Streamed as well: the size says what the refills may read.
  ASSERT_EQ(Load(image, kModeStream), "");
  EXPECT_EQ(buffer.GetDataSize(), 200u);
}

TEST_F(WavLoader, StreamModeHalvesAreTwoSecondsOfSound) {
  ASSERT_EQ(Load(Wav16(44100, 2, Ramp(1000)), kModeStream), "");
  EXPECT_EQ(buffer.GetMode(), kModeStream);
  EXPECT_EQ(buffer.GetHalfSize(), 352800u);
  EXPECT_EQ(buffer.GetBitsPerSample(), 16u);
  ASSERT_NE(buffer.GetSlot(0), nullptr);
  EXPECT_EQ(buffer.GetSlot(0)->Size(), 2u * 352800u);
  for (int slot = 1; slot < kSlotCount; ++slot) EXPECT_EQ(buffer.GetSlot(slot), nullptr);

  ASSERT_EQ(Load(Wav8(8000, 1, Bytes(10, 1)), kModeStream), "");
  EXPECT_EQ(buffer.GetHalfSize(), 16000u);
  EXPECT_EQ(buffer.GetBitsPerSample(), 8u);
}

TEST_F(WavLoader, FormatsTheMixerCannotPlayAreRefused) {
  const auto withFormat = [](std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                             std::uint16_t bits) {
    return Riff({{"fmt ", FmtBody(tag, channels, rate, bits), {}}, {"data", Bytes(64, 1), {}}});
  };
  Bytes badRate = withFormat(1, 2, 22050, 16);
  badRate[12 + 8 + 8] = 0xFF;  // bytes per second no longer rate x alignment
  badRate[12 + 8 + 11] = 0x7F;
  Bytes badAlign = withFormat(1, 2, 22050, 16);
  badAlign[12 + 8 + 12] = 3;
  Bytes fmt14 = FmtBody(1, 1, 8000, 8);
  fmt14.resize(14);
  const Bytes shortFmt = Riff({{"fmt ", fmt14, {}}, {"data", Bytes(8, 1), {}}});
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"float", withFormat(3, 2, 44100, 16)},
      {"no channels", withFormat(1, 0, 44100, 16)},
      {"three channels", withFormat(1, 3, 44100, 16)},
      {"24 bits", withFormat(1, 2, 44100, 24)},
      {"4 bits", withFormat(1, 1, 44100, 4)},
      {"rate 0", withFormat(1, 1, 0, 16)},
      {"rate beyond the mixer", withFormat(1, 1, 1000000, 16)},
      {"absurd bytes per second", badRate},
      {"block alignment", badAlign},
      {"format chunk too short", shortFmt},
      {"no data", Riff({{"fmt ", FmtBody(1, 1, 8000, 8), {}}})},
      {"empty data", Riff({{"fmt ", FmtBody(1, 1, 8000, 8), {}}, {"data", {}, {}}})},
      {"no format", Riff({{"data", Bytes(8, 1), {}}})},
      {"data cut to nothing", Riff({{"fmt ", FmtBody(1, 1, 8000, 8), {}}, {"data", {}, 100u}})},
  };
  for (const auto& [what, image] : cases) {
    for (unsigned char mode : {kModeStatic, kModeStream}) {
      EXPECT_EQ(Load(image, mode),
                kBufferPrefix + std::string("ファイルフォーマットが不正です。\nファイル名：") + path)
          << what;
      EXPECT_EQ(buffer.GetMode(), kModeNone) << what;
      EXPECT_EQ(buffer.GetHalfSize(), 0u) << what;
    }
  }
}

TEST_F(WavLoader, HeaderErrorsNameTheFile) {
  EXPECT_EQ(Load({'R', 'I', 'F'}),
            kBufferPrefix + std::string("RIFFフォーマットではありません。\nファイル名：") + path);
  EXPECT_EQ(Load(Riff({}, "AVI ")),
            kBufferPrefix + std::string("WAVEフォーマットではありません。\nファイル名：") + path);
  Bytes truncated = Riff({});
  truncated.resize(10);
  EXPECT_EQ(Load(truncated),
            kBufferPrefix + std::string("WAVEフォーマットではありません。\nファイル名：") + path);

  const std::string missing = (dir.Path() / "none.wav").string();
  try {
    buffer.LoadFile(device, "snd", kModeStatic, missing);
    ADD_FAILURE() << "a missing file loaded";
  } catch (const MorvaneSoundSystem::EMvSoundBuffer& e) {
    EXPECT_EQ(e.Message,
              kBufferPrefix + std::string("WAVEの読み込みに失敗しました。\nファイル名：") + missing);
  }
}

TEST_F(WavLoader, FailedReloadLeavesNothingBehind) {
  ASSERT_EQ(Load(Wav16(8000, 1, Ramp(100)), kModeStream), "");
  ASSERT_EQ(device->SourceCount(), 1u);
  EXPECT_NE(Load({'n', 'o', 'p', 'e'}), "");
  EXPECT_EQ(buffer.GetMode(), kModeNone);
  EXPECT_EQ(buffer.GetName(), "");
  EXPECT_EQ(buffer.GetDataSize(), 0u);
  for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(buffer.GetSlot(slot), nullptr);
  EXPECT_EQ(device->SourceCount(), 0u);
}

TEST_F(WavLoader, ReloadWithItsOwnNamesKeepsThem) {
  const auto samples = Ramp(300);
  ASSERT_EQ(Load(Wav16(8000, 1, samples)), "");
  for (const unsigned char mode : {kModeStatic, kModeStream}) {
    buffer.LoadFile(device, buffer.GetName(), mode, buffer.GetFileName());
    EXPECT_EQ(buffer.GetMode(), mode);
    EXPECT_EQ(buffer.GetName(), "snd");
    EXPECT_EQ(buffer.GetFileName(), path);
    EXPECT_EQ(buffer.GetDataSize(), 600u);
  }
  EXPECT_EQ(SlotBytes(0).size(), 2u * 32000u);
}

TEST_F(WavLoader, ResourcesComeBeforeFiles) {
  // The embedded sound is 8-bit mono at 11025 Hz; a file of the same name on
  // disk (there is none) would not be asked for.
  buffer.LoadFile(device, "res", kModeStatic, "embedded/tone.wav");
  EXPECT_EQ(buffer.GetFormat().SamplesPerSec, 11025u);
  EXPECT_EQ(buffer.GetFormat().BitsPerSample, 8u);
  EXPECT_GT(buffer.GetDataSize(), 0u);
}

}  // namespace
