#include "platform/audio/effect_player.h"

#include <gtest/gtest.h>

#include "platform/audio/audio_device.h"
#include "tests/platform/audio/audio_test_util.h"
#include "tests/platform/audio/wav_builder.h"

using namespace platform;

using namespace audiotest;
using namespace wavtest;

namespace {

std::vector<std::uint8_t> constantWav(std::uint32_t rate, std::size_t frames, std::int16_t value) {
  return Wav16(rate, 1, std::vector<std::int16_t>(frames, value));
}

// Frames from the start of `out` that are not silent.
std::size_t soundingFrames(const std::vector<float>& out) {
  std::size_t n = 0;
  while (2 * n < out.size() && out[2 * n] != 0.0f) ++n;
  return n;
}

}  // namespace

TEST(EffectPlayer, PlaysAnImageOnceAndEnds) {
  AudioDevice device;
  EffectPlayer player(device);
  EXPECT_FALSE(player.IsPlaying());
  ASSERT_TRUE(player.Play(constantWav(44100, 300, 16384)));
  EXPECT_TRUE(player.IsPlaying());
  const auto out = RenderFloat(device, 1000);
  EXPECT_EQ(soundingFrames(out), 300u);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_FLOAT_EQ(out[1], 0.5f);
  EXPECT_EQ(Peak(out, 600), 0.0f);
  EXPECT_FALSE(player.IsPlaying());
}

TEST(EffectPlayer, ANewEffectCutsOffTheOldOne) {
  AudioDevice device;
  EffectPlayer player(device);
  ASSERT_TRUE(player.Play(constantWav(44100, 10000, 16384)));
  RenderFloat(device, 100);
  std::vector<std::int16_t> ramp(200);
  for (int i = 0; i < 200; ++i) ramp[i] = static_cast<std::int16_t>(-100 * i);
  ASSERT_TRUE(player.Play(Wav16(44100, 1, ramp)));
  const auto out = RenderFloat(device, 400);
  // Only the new effect sounds, from its own start; the old one is gone.
  for (int i = 0; i < 200; ++i) ASSERT_FLOAT_EQ(out[2 * i], ramp[i] / 32768.0f) << i;
  EXPECT_EQ(Peak(out, 400), 0.0f);
  EXPECT_FALSE(player.IsPlaying());
}

TEST(EffectPlayer, ReplayingTheSameImageRestartsIt) {
  AudioDevice device;
  EffectPlayer player(device);
  const auto image = constantWav(44100, 300, 8192);
  ASSERT_TRUE(player.Play(image));
  RenderFloat(device, 200);
  ASSERT_TRUE(player.Play(image));
  EXPECT_EQ(soundingFrames(RenderFloat(device, 1000)), 300u);
}

TEST(EffectPlayer, SeveralPlaysBetweenTwoPassesKeepTheLast) {
  AudioDevice device;
  EffectPlayer player(device);
  ASSERT_TRUE(player.Play(constantWav(44100, 100, 8192)));
  ASSERT_TRUE(player.Play(constantWav(44100, 100, 16384)));
  ASSERT_TRUE(player.Play(constantWav(44100, 50, -16384)));
  const auto out = RenderFloat(device, 200);
  EXPECT_EQ(soundingFrames(out), 50u);
  EXPECT_FLOAT_EQ(out[0], -0.5f);
}

TEST(EffectPlayer, ResamplesToTheDeviceRate) {
  AudioDevice device(PcmFormat{44100, 2, 16});
  EffectPlayer player(device);
  ASSERT_TRUE(player.Play(Wav8(11025, 1, std::vector<std::uint8_t>(100, 0xC0))));
  EXPECT_EQ(soundingFrames(RenderFloat(device, 1000)), 400u);
}

TEST(EffectPlayer, UnplayableDataPlaysNothingAndNeverCrashes) {
  AudioDevice device;
  EffectPlayer player(device);
  const std::vector<std::uint8_t> zeros(30000, 0);  // a sound file that was missing
  EXPECT_FALSE(player.Play(zeros));
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(Peak(RenderFloat(device, 500)), 0.0f);
  EXPECT_FALSE(player.Play({}));
  auto garbage = constantWav(44100, 100, 1000);
  garbage[20] = 0x55;  // format tag no longer PCM
  EXPECT_FALSE(player.Play(garbage));
  EXPECT_EQ(Peak(RenderFloat(device, 500)), 0.0f);
}

TEST(EffectPlayer, AnUnplayableRequestStillCutsTheOldEffect) {
  AudioDevice device;
  EffectPlayer player(device);
  ASSERT_TRUE(player.Play(constantWav(44100, 10000, 16384)));
  RenderFloat(device, 10);
  EXPECT_FALSE(player.Play(std::vector<std::uint8_t>(64, 0)));
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(Peak(RenderFloat(device, 100)), 0.0f);
}

TEST(EffectPlayer, TruncatedImagePlaysWhatIsThere) {
  AudioDevice device;
  EffectPlayer player(device);
  // The data chunk claims 1000 frames; 300 are present.
  const auto image = Riff({{"fmt ", FmtBody(1, 1, 44100, 16), {}},
                           {"data", Samples16(std::vector<std::int16_t>(300, 4096)), 2000u}});
  ASSERT_TRUE(player.Play(image));
  EXPECT_EQ(soundingFrames(RenderFloat(device, 2000)), 300u);
}

TEST(EffectPlayer, TheImageNeedNotOutliveTheCall) {
  AudioDevice device;
  EffectPlayer player(device);
  {
    const auto image = constantWav(44100, 100, 16384);
    ASSERT_TRUE(player.Play(image));
  }
  // Reading freed memory here would be caught by AddressSanitizer.
  EXPECT_EQ(soundingFrames(RenderFloat(device, 200)), 100u);
}

TEST(EffectPlayer, StopSilencesAndOtherSourcesMixAlongside) {
  AudioDevice device;
  EffectPlayer player(device);
  auto voice = Constant(44100, 100000, 8192);
  device.Add(voice);
  voice->Play(true);
  ASSERT_TRUE(player.Play(constantWav(44100, 10000, 8192)));
  EXPECT_FLOAT_EQ(RenderFloat(device, 1)[0], 0.5f);
  player.Stop();
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_FLOAT_EQ(RenderFloat(device, 1)[0], 0.25f);
}

TEST(EffectPlayer, DestroyingThePlayerDetachesIt) {
  AudioDevice device;
  {
    EffectPlayer player(device);
    EXPECT_EQ(device.SourceCount(), 1u);
    player.Play(constantWav(44100, 10000, 8192));
  }
  EXPECT_EQ(device.SourceCount(), 0u);
  EXPECT_EQ(Peak(RenderFloat(device, 100)), 0.0f);
}
