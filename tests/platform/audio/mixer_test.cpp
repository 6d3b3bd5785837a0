#include <gtest/gtest.h>

#include <cstring>

#include "platform/audio/audio_device.h"
#include "platform/audio/pcm_mixer.h"
#include "tests/platform/audio/audio_test_util.h"

using namespace platform;

using namespace audiotest;

TEST(Mixer, SourcesAreSummed) {
  AudioDevice device;
  auto a = Constant(44100, 1000, 8192);   // 0.25
  auto b = Constant(44100, 1000, 16384);  // 0.5
  device.Add(a);
  device.Add(b);
  a->Play(false);
  b->Play(false);
  EXPECT_EQ(device.SourceCount(), 2u);
  const auto out = RenderFloat(device, 100);
  for (std::size_t i = 0; i < out.size(); ++i) ASSERT_FLOAT_EQ(out[i], 0.75f) << i;
}

TEST(Mixer, SumsAboveFullScaleAreClipped) {
  AudioDevice device(PcmFormat{44100, 2, 16});
  auto a = Constant(44100, 100, 24576);  // 0.75
  auto b = Constant(44100, 100, 24576);
  auto c = Constant(44100, 100, -32768);
  device.Add(a);
  device.Add(b);
  a->Play(false);
  b->Play(false);
  std::vector<std::int16_t> pcm(2 * 10);
  device.Render(pcm.data(), 10);
  for (std::int16_t s : pcm) EXPECT_EQ(s, 32767);
  // Downwards too: three sources far below -1.
  device.Remove(a);
  device.Remove(b);
  auto d = Constant(44100, 100, -32768);
  device.Add(c);
  device.Add(d);
  c->Play(false);
  d->Play(false);
  device.Render(pcm.data(), 10);
  for (std::int16_t s : pcm) EXPECT_EQ(s, -32767);
}

TEST(Mixer, MasterGainScalesBeforeClipping) {
  AudioDevice device;
  auto a = Constant(44100, 100, 24576);
  auto b = Constant(44100, 100, 24576);
  device.Add(a);
  device.Add(b);
  a->Play(false);
  b->Play(false);
  device.SetMasterGain(0.5f);
  EXPECT_FLOAT_EQ(device.MasterGain(), 0.5f);
  // 1.5 before the gain would clip; 0.75 after it does not.
  const auto out = RenderFloat(device, 10);
  for (float s : out) EXPECT_FLOAT_EQ(s, 0.75f);
}

TEST(Mixer, EightBitMonoOutput) {
  AudioDevice device(PcmFormat{22050, 1, 8});
  EXPECT_EQ(device.Format(), (PcmFormat{22050, 1, 8}));
  auto v = Voice16(22050, 2, {16384, 0, 16384, 0, -32768, -32768});
  device.Add(v);
  v->Play(false);
  std::uint8_t out[4];
  device.Render(out, 4);
  // Mono is the mean of left and right; 8-bit is offset by 128.
  EXPECT_EQ(out[0], 128 + 32);
  EXPECT_EQ(out[1], 128 + 32);
  EXPECT_EQ(out[2], 128 - 127);
  EXPECT_EQ(out[3], 128);  // ended: silence
}

TEST(Mixer, SixteenBitStereoOutputKeepsChannelsApart) {
  AudioDevice device(PcmFormat{48000, 2, 16});
  auto v = Voice16(48000, 2, {16384, -8192});
  device.Add(v);
  v->Play(true);
  std::int16_t out[6];
  device.Render(out, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(out[2 * i], 16384);
    EXPECT_EQ(out[2 * i + 1], -8192);
  }
}

TEST(Mixer, UnsupportedOutputFormatsAreTakenToTheNearest) {
  AudioDevice device(PcmFormat{1000, 5, 12});
  EXPECT_EQ(device.Format(), (PcmFormat{8000, 2, 16}));
}

TEST(Mixer, LongRendersAreMixedInChunksWithoutSeams) {
  AudioDevice device;
  std::vector<std::int16_t> ramp(3000);
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::int16_t>(i * 10);
  auto v = Voice16(44100, 1, ramp);
  device.Add(v);
  v->Play(false);
  // Over five mixing chunks in one call.
  const auto out = RenderFloat(device, 2600);
  for (std::size_t i = 0; i < 2600; ++i) ASSERT_FLOAT_EQ(out[2 * i], ramp[i] / 32768.0f) << i;
}

TEST(Mixer, RemovedSourcesFallSilent) {
  AudioDevice device;
  auto v = Constant(44100, 10000, 16384);
  device.Add(v);
  v->Play(true);
  EXPECT_GT(Peak(RenderFloat(device, 64)), 0.4f);
  device.Remove(v);
  EXPECT_EQ(device.SourceCount(), 0u);
  EXPECT_EQ(Peak(RenderFloat(device, 64)), 0.0f);
  // The voice itself is still the caller's and still usable.
  EXPECT_TRUE(v->IsPlaying());
  device.Remove(v);  // a second removal is ignored
  device.Add(v);
  device.Add(v);  // and so is a second attachment
  EXPECT_EQ(device.SourceCount(), 1u);
}

TEST(Mixer, NoSourcesRenderSilence) {
  AudioDevice device(PcmFormat{44100, 2, 8});
  std::vector<std::uint8_t> out(64, 0);
  device.Render(out.data(), 32);
  for (std::uint8_t b : out) EXPECT_EQ(b, 128);
}

TEST(GainLaw, HundredthsOfADecibel) {
  EXPECT_FLOAT_EQ(GainFromHundredthsDb(0), 1.0f);
  EXPECT_NEAR(GainFromHundredthsDb(-600), 0.501187f, 1e-5f);  // -6 dB
  EXPECT_NEAR(GainFromHundredthsDb(-2000), 0.1f, 1e-6f);      // -20 dB
  EXPECT_NEAR(GainFromHundredthsDb(-6000), 0.001f, 1e-7f);    // -60 dB
  EXPECT_NEAR(GainFromHundredthsDb(-9999), 1.00115e-5f, 1e-9f);
  EXPECT_EQ(GainFromHundredthsDb(-10000), 0.0f);
  EXPECT_EQ(GainFromHundredthsDb(-20000), 0.0f);
}

TEST(GainLaw, PanAttenuatesTheOtherSide) {
  const StereoGain left = VoiceGain(0, -1000);
  EXPECT_FLOAT_EQ(left.left, 1.0f);
  EXPECT_NEAR(left.right, 0.316228f, 1e-5f);
  const StereoGain right = VoiceGain(-600, 2000);
  EXPECT_NEAR(right.left, 0.501187f * 0.1f, 1e-6f);
  EXPECT_NEAR(right.right, 0.501187f, 1e-5f);
  EXPECT_EQ(VoiceGain(0, kPanLeft).right, 0.0f);
  EXPECT_EQ(VoiceGain(0, kPanRight).left, 0.0f);
  const StereoGain centre = VoiceGain(-300, 0);
  EXPECT_FLOAT_EQ(centre.left, centre.right);
}

TEST(GainLaw, ResampleStepIsTheRateRatio) {
  EXPECT_EQ(ResampleStep(44100, 44100), 1ull << 32);
  EXPECT_EQ(ResampleStep(22050, 44100), 1ull << 31);
  EXPECT_EQ(ResampleStep(88200, 44100), 2ull << 32);
  EXPECT_EQ(ResampleStep(1, 0), 0u);
}
