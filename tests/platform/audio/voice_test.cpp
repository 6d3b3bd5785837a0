#include "platform/audio/voice.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/audio/audio_device.h"
#include "tests/platform/audio/audio_test_util.h"

using namespace platform;

using namespace audiotest;

namespace {

constexpr float kHalf = 16384 / 32768.0f;

// Renders one frame and returns it (left, right).
std::pair<float, float> frame(AudioDevice& device) {
  const auto out = RenderFloat(device, 1);
  return {out[0], out[1]};
}

}  // namespace

TEST(VoiceVolume, FollowsTheDecibelLaw) {
  AudioDevice device;
  auto v = Constant(44100, 100000, 16384);
  device.Add(v);
  v->Play(true);
  for (const int level : {0, -100, -600, -2000, -4500}) {
    ASSERT_TRUE(v->SetVolume(level));
    EXPECT_EQ(v->Volume(), level);
    const auto [l, r] = frame(device);
    const float expected = kHalf * static_cast<float>(std::pow(10.0, level / 2000.0));
    EXPECT_NEAR(l, expected, 1e-6f) << level;
    EXPECT_NEAR(r, expected, 1e-6f) << level;
  }
  ASSERT_TRUE(v->SetVolume(kSilentLevel));
  EXPECT_EQ(frame(device).first, 0.0f);
}

TEST(VoiceVolume, OutOfRangeIsRefusedAndKeepsTheOldValue) {
  auto v = Constant(44100, 10, 0);
  ASSERT_TRUE(v->SetVolume(-1234));
  EXPECT_FALSE(v->SetVolume(1));
  EXPECT_FALSE(v->SetVolume(-10001));
  EXPECT_EQ(v->Volume(), -1234);
  EXPECT_FALSE(v->SetPan(10001));
  EXPECT_FALSE(v->SetPan(-10001));
  EXPECT_EQ(v->Pan(), 0);
}

TEST(VoicePan, NegativeLowersTheRightPositiveTheLeft) {
  AudioDevice device;
  auto v = Constant(44100, 100000, 16384);
  device.Add(v);
  v->Play(true);
  ASSERT_TRUE(v->SetPan(-1000));
  auto [l, r] = frame(device);
  EXPECT_NEAR(l, kHalf, 1e-6f);
  EXPECT_NEAR(r, kHalf * 0.316228f, 1e-5f);
  ASSERT_TRUE(v->SetPan(2000));
  std::tie(l, r) = frame(device);
  EXPECT_NEAR(l, kHalf * 0.1f, 1e-6f);
  EXPECT_NEAR(r, kHalf, 1e-6f);
  // Pan and volume multiply.
  ASSERT_TRUE(v->SetVolume(-600));
  std::tie(l, r) = frame(device);
  EXPECT_NEAR(l, kHalf * 0.1f * 0.501187f, 1e-6f);
  EXPECT_NEAR(r, kHalf * 0.501187f, 1e-6f);
  ASSERT_TRUE(v->SetVolume(0));
  ASSERT_TRUE(v->SetPan(kPanLeft));
  std::tie(l, r) = frame(device);
  EXPECT_NEAR(l, kHalf, 1e-6f);
  EXPECT_EQ(r, 0.0f);
  ASSERT_TRUE(v->SetPan(kPanRight));
  std::tie(l, r) = frame(device);
  EXPECT_EQ(l, 0.0f);
  EXPECT_NEAR(r, kHalf, 1e-6f);
}

TEST(VoicePan, StereoDataKeepsItsChannels) {
  AudioDevice device;
  auto v = Voice16(44100, 2, std::vector<std::int16_t>{16384, -16384, 16384, -16384});
  device.Add(v);
  v->Play(true);
  ASSERT_TRUE(v->SetPan(-2000));
  const auto [l, r] = frame(device);
  EXPECT_NEAR(l, kHalf, 1e-6f);
  EXPECT_NEAR(r, -kHalf * 0.1f, 1e-6f);
}

TEST(VoiceFrequency, DurationFollowsTheRateRatio) {
  struct Case {
    std::uint32_t dataRate;
    std::uint32_t frequency;  // 0: the data's own
    std::size_t expectedFrames;
  };
  for (const Case& c : {Case{44100, 0, 1000}, Case{22050, 0, 2000}, Case{88200, 0, 500},
                        Case{22050, 11025, 4000}, Case{22050, 44100, 1000}, Case{44100, 33075, 1334}}) {
    AudioDevice device;
    auto v = Constant(c.dataRate, 1000, 16384);
    device.Add(v);
    ASSERT_TRUE(v->SetFrequency(c.frequency));
    EXPECT_EQ(v->Frequency(), c.frequency != 0 ? c.frequency : c.dataRate);
    v->Play(false);
    const auto out = RenderFloat(device, 5000);
    std::size_t sounding = 0;
    while (sounding < 5000 && out[2 * sounding] != 0.0f) ++sounding;
    EXPECT_EQ(sounding, c.expectedFrames) << c.dataRate << " Hz played at " << c.frequency;
    for (std::size_t i = sounding; i < 5000; ++i) ASSERT_EQ(out[2 * i], 0.0f);
    EXPECT_FALSE(v->IsPlaying());
  }
}

TEST(VoiceFrequency, InterpolatesBetweenFrames) {
  AudioDevice device;
  auto v = Voice16(22050, 1, {0, 1000, 3000, 3000});
  device.Add(v);
  v->Play(false);
  const auto out = RenderFloat(device, 8);
  const float expected[] = {0, 500, 1000, 2000, 3000, 3000, 3000, 3000};
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(out[2 * i] * 32768.0f, expected[i], 0.01f) << i;
}

TEST(VoiceFrequency, OutOfRangeIsRefused) {
  auto v = Constant(22050, 10, 0);
  EXPECT_FALSE(v->SetFrequency(99));
  EXPECT_FALSE(v->SetFrequency(200001));
  EXPECT_TRUE(v->SetFrequency(100));
  EXPECT_TRUE(v->SetFrequency(200000));
  EXPECT_EQ(v->Frequency(), 200000u);
}

TEST(VoiceLoop, WrapsToTheStartWithoutAGap) {
  AudioDevice device;
  std::vector<std::int16_t> ramp(100);
  for (int i = 0; i < 100; ++i) ramp[i] = static_cast<std::int16_t>(i * 100);
  auto v = Voice16(44100, 1, ramp);
  device.Add(v);
  v->Play(true);
  EXPECT_TRUE(v->IsLooping());
  const auto out = RenderFloat(device, 250);
  for (int i = 0; i < 250; ++i) ASSERT_FLOAT_EQ(out[2 * i], ramp[i % 100] / 32768.0f) << i;
  EXPECT_TRUE(v->IsPlaying());
  EXPECT_EQ(v->Position(), 50u * 2);
  // Clearing the loop flag lets it run out at the end of the pass.
  v->Play(false);
  const auto rest = RenderFloat(device, 100);
  EXPECT_NE(rest[2 * 49], 0.0f);
  EXPECT_EQ(rest[2 * 50], 0.0f);
  EXPECT_FALSE(v->IsPlaying());
}

TEST(VoicePosition, IsInBytesAndKeptByStop) {
  AudioDevice device;
  auto v = Voice16(44100, 2, std::vector<std::int16_t>(2000, 1000));
  device.Add(v);
  EXPECT_EQ(v->Size(), 4000u);
  v->SetPosition(401);  // cut to a whole 4-byte frame
  EXPECT_EQ(v->Position(), 400u);
  v->Play(false);
  RenderFloat(device, 300);
  EXPECT_EQ(v->Position(), 400u + 300 * 4);
  v->Stop();
  RenderFloat(device, 300);
  EXPECT_EQ(v->Position(), 1600u);
  EXPECT_FALSE(v->IsPlaying());
  v->SetPosition(100000);  // clamped to the end
  EXPECT_EQ(v->Position(), 4000u);
  v->SetPosition(3996);
  v->Play(false);
  RenderFloat(device, 10);
  // Having played to the end it stops and goes back to the start.
  EXPECT_FALSE(v->IsPlaying());
  EXPECT_EQ(v->Position(), 0u);
}

TEST(VoiceNotifications, RaisedWhenTheCursorPassesAnOffset) {
  AudioDevice device;
  auto v = Constant(44100, 1000, 1000);  // 2000 bytes
  device.Add(v);
  auto event = std::make_shared<AudioEvent>();
  ASSERT_TRUE(v->SetNotifications(
      {{0, event, 1}, {1000, event, 2}, {1998, event, 4}, {VoiceNotification::kStop, event, 8}}));
  EXPECT_EQ(event->Take(), 0u);
  v->Play(false);
  RenderFloat(device, 10);
  EXPECT_EQ(event->Take(), 1u);  // the start is passed at once
  RenderFloat(device, 489);      // frames 10..498
  EXPECT_EQ(event->Take(), 0u);
  RenderFloat(device, 2);  // frames 499, 500: offset 1000 is frame 500
  EXPECT_EQ(event->Take(), 2u);
  RenderFloat(device, 498);  // up to frame 998
  EXPECT_EQ(event->Take(), 0u);
  RenderFloat(device, 5);  // the last frame, then the end
  EXPECT_EQ(event->Take(), 4u | 8u);
  RenderFloat(device, 100);
  EXPECT_EQ(event->Take(), 0u);
}

TEST(VoiceNotifications, ALoopingVoiceRaisesThemOnEveryPass) {
  AudioDevice device;
  auto v = Constant(44100, 100, 1000);  // 200 bytes
  device.Add(v);
  auto event = std::make_shared<AudioEvent>();
  // The two halves of a streaming ring.
  ASSERT_TRUE(v->SetNotifications({{0, event, 1}, {100, event, 2}}));
  v->Play(true);
  int starts = 0;
  int middles = 0;
  for (int block = 0; block < 100; ++block) {  // 1000 frames: ten passes
    RenderFloat(device, 10);
    const std::uint32_t bits = event->Take();
    starts += (bits & 1) != 0;
    middles += (bits & 2) != 0;
  }
  EXPECT_EQ(starts, 10);
  EXPECT_EQ(middles, 10);
}

TEST(VoiceNotifications, WholePassesInOneBlockRaiseEveryMarkOnce) {
  AudioDevice device;
  auto v = Constant(8000, 4, 1000);
  device.Add(v);
  auto event = std::make_shared<AudioEvent>();
  ASSERT_TRUE(v->SetNotifications({{0, event, 1}, {4, event, 2}}));
  ASSERT_TRUE(v->SetFrequency(200000));
  v->Play(true);
  RenderFloat(device, 64);
  EXPECT_EQ(event->Take(), 3u);
}

TEST(VoiceNotifications, StopRaisesTheStopMark) {
  AudioDevice device;
  auto v = Constant(44100, 1000, 1000);
  device.Add(v);
  auto event = std::make_shared<AudioEvent>();
  ASSERT_TRUE(v->SetNotifications({{VoiceNotification::kStop, event, 4}}));
  v->Stop();  // not playing: nothing to raise
  EXPECT_EQ(event->Take(), 0u);
  v->Play(true);
  RenderFloat(device, 10);
  v->Stop();
  EXPECT_EQ(event->Take(), 4u);
  RenderFloat(device, 10);
  EXPECT_EQ(event->Take(), 0u);
}

TEST(VoiceNotifications, CannotChangeWhilePlayingOrPointPastTheData) {
  AudioDevice device;
  auto v = Constant(44100, 100, 1000);
  device.Add(v);
  auto event = std::make_shared<AudioEvent>();
  EXPECT_FALSE(v->SetNotifications({{200, event, 1}}));
  ASSERT_TRUE(v->SetNotifications({{198, event, 1}}));
  v->Play(true);
  EXPECT_FALSE(v->SetNotifications({}));
  RenderFloat(device, 100);
  EXPECT_EQ(event->Take(), 1u);
  v->Stop();
  EXPECT_TRUE(v->SetNotifications({}));
  RenderFloat(device, 300);
  EXPECT_EQ(event->Take(), 0u);
}

TEST(VoiceData, WritesAreCutAtTheEndAndSharedByDuplicates) {
  AudioDevice device;
  auto v = Voice::Create(PcmFormat{44100, 1, 8}, 11);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Size(), 11u);
  std::uint8_t probe[11];
  EXPECT_EQ(v->Read(0, probe), 11u);
  for (std::uint8_t b : probe) EXPECT_EQ(b, 0x80);  // 8-bit silence
  const std::uint8_t loud[20] = {0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0,
                                 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0, 0xC0};
  EXPECT_EQ(v->Write(5, loud), 6u);
  EXPECT_EQ(v->Write(11, loud), 0u);
  EXPECT_EQ(v->Fill(0, 2, 0x40), 2u);
  auto copy = v->Duplicate();
  EXPECT_EQ(copy->Size(), 11u);
  EXPECT_FALSE(copy->IsPlaying());
  device.Add(copy);
  copy->Play(false);
  const auto out = RenderFloat(device, 11);
  EXPECT_FLOAT_EQ(out[0], -0.5f);
  EXPECT_FLOAT_EQ(out[2 * 2], 0.0f);
  EXPECT_FLOAT_EQ(out[2 * 5], 0.5f);
  EXPECT_FLOAT_EQ(out[2 * 10], 0.5f);
  // The original has its own cursor and never played.
  EXPECT_FALSE(v->IsPlaying());
  EXPECT_EQ(v->Position(), 0u);
}

TEST(VoiceData, UnplayableFormatsGiveNoVoice) {
  EXPECT_FALSE(Voice::Create(PcmFormat{44100, 3, 16}, 100));
  EXPECT_FALSE(Voice::Create(PcmFormat{44100, 2, 24}, 100));
  EXPECT_FALSE(Voice::Create(PcmFormat{50, 1, 16}, 100));
  auto empty = Voice::Create(PcmFormat{44100, 2, 16}, 3);  // less than one frame
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->Size(), 0u);
  AudioDevice device;
  device.Add(empty);
  empty->Play(true);
  EXPECT_EQ(Peak(RenderFloat(device, 16)), 0.0f);
  EXPECT_FALSE(empty->IsPlaying());
}
