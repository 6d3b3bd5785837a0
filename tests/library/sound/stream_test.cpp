// Streamed sounds rendered offline, block by block, so every byte of the
// output is predictable: the two-half refill, the end and its silence, the
// loop wrap, short files, and replays.
#include <gtest/gtest.h>

#include <filesystem>

#include "sound_rig.h"

namespace {

using namespace sound_test;

Bytes VoiceBytes(const TMorvaneSoundBuffer& buffer, std::size_t offset, std::size_t count) {
  Bytes out(count);
  buffer.GetSlot(0)->Read(offset, out);
  return out;
}

TEST(Stream, ThreeSecondsPlayTwoHalvesThenStop) {
  constexpr std::size_t kFrames = 3 * 44100;
  const auto samples = Ramp(2 * kFrames);
  TempDir dir;
  OfflineSound rig(44100, true, sb16bit);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(44100, 2, samples)), true);
  const TMorvaneSoundBuffer& buffer = *rig.sound.GetBuffer("m");
  ASSERT_EQ(buffer.GetHalfSize(), 352800u);
  const Bytes data = wavtest::Samples16(samples);

  rig.sound.Play("m", false);
  // The first half holds the first two seconds before the voice starts.
  EXPECT_EQ(VoiceBytes(buffer, 0, 352800), Bytes(data.begin(), data.begin() + 352800));
  EXPECT_TRUE(rig.sound.IsPlaying("m"));

  // Playing the first half: the second holds the last second and one of silence.
  auto out = rig.Render16(OfflineSound::kBlock);
  EXPECT_EQ(VoiceBytes(buffer, 352800, 176400), Bytes(data.begin() + 352800, data.end()));
  EXPECT_EQ(VoiceBytes(buffer, 529200, 176400), Bytes(176400, 0));

  const auto rest = rig.Render16(4 * 44100);
  out.insert(out.end(), rest.begin(), rest.end());
  // Everything sounds, exactly and in order, then silence.
  for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(out[i], Mixed16(samples[i])) << i;
  for (std::size_t i = samples.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
  // The stop comes at the end of the second half, four seconds in, within the
  // block that crossed it.
  EXPECT_FALSE(rig.sound.IsPlaying("m"));
  EXPECT_FALSE(buffer.IsStreaming());
  EXPECT_FALSE(buffer.GetLoopFlag());
}

TEST(Stream, StopsAtTheEndOfTheHalfThatHoldsTheLastSound) {
  constexpr std::size_t kHalfFrames = 2 * 8000;
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(8000, 1, Ramp(2 * kHalfFrames + 100))), true);
  rig.sound.Play("m", false);
  std::size_t rendered = 0;
  while (rig.sound.IsPlaying("m") && rendered < 10 * kHalfFrames) {
    rig.Render(OfflineSound::kBlock);
    rendered += OfflineSound::kBlock;
  }
  // Three halves: two full ones and the one with 100 frames of sound.
  EXPECT_GE(rendered, 3 * kHalfFrames);
  EXPECT_LT(rendered, 3 * kHalfFrames + OfflineSound::kBlock + 1);
}

TEST(Stream, SoundShorterThanOneHalfStillPlays) {
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  const auto samples = Ramp(3000);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(8000, 1, samples)), true);
  rig.sound.Play("m", false);
  const auto out = rig.Render16(2 * 16000 + 1024);
  for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(out[i], Mixed16(samples[i])) << i;
  for (std::size_t i = samples.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
  EXPECT_FALSE(rig.sound.IsPlaying("m"));
}

TEST(Stream, DataOfWholeHalvesEndsWithoutRepeating) {
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  const auto samples = Ramp(2 * 16000);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(8000, 1, samples)), true);
  rig.sound.Play("m", false);
  const auto out = rig.Render16(4 * 16000);
  for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(out[i], Mixed16(samples[i])) << i;
  for (std::size_t i = samples.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
  EXPECT_FALSE(rig.sound.IsPlaying("m"));
}

TEST(Stream, LoopWrapsToTheStartInsideARefillWithoutAGap) {
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  // 0.75 s: every refill of 2 s wraps at least twice, at a different offset each time.
  const auto samples = Ramp(6000, 7);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(8000, 1, samples)), true);
  rig.sound.Play("m", true);
  const auto out = rig.Render16(5 * 16000);
  for (std::size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], Mixed16(samples[i % samples.size()])) << i;
  EXPECT_TRUE(rig.sound.IsPlaying("m"));
  EXPECT_TRUE(rig.sound.GetBuffer("m")->GetLoopFlag());
  rig.sound.Stop("m");
  EXPECT_FALSE(rig.sound.IsPlaying("m"));
  EXPECT_FALSE(rig.sound.GetBuffer("m")->IsStreaming());
  EXPECT_FALSE(rig.sound.GetBuffer("m")->GetLoopFlag());
}

TEST(Stream, LoopOfDataWithAPartialLastFrameKeepsItsAlignment) {
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  // 16-bit mono data one byte longer than its whole frames: the stray byte is
  // not sound, and every wrap must still start on a frame.
  const auto samples = Ramp(6000, 5);
  Bytes data = wavtest::Samples16(samples);
  data.push_back(0x7F);
  rig.sound.CreateBuffer(
      "m",
      dir.Write("m.wav", wavtest::Riff({{"fmt ", wavtest::FmtBody(1, 1, 8000, 16), {}}, {"data", data, {}}})),
      true);
  rig.sound.Play("m", true);
  const auto out = rig.Render16(5 * 16000);
  for (std::size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], Mixed16(samples[i % samples.size()])) << i;
  EXPECT_TRUE(rig.sound.IsPlaying("m"));
}

TEST(Stream, EightBitSilenceIs128) {
  TempDir dir;
  OfflineSound rig(8000, false, sb8bit);
  Bytes samples(5000);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(20 + i % 200);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav8(8000, 1, samples)), true);
  const TMorvaneSoundBuffer& buffer = *rig.sound.GetBuffer("m");
  rig.sound.Play("m", false);
  EXPECT_EQ(VoiceBytes(buffer, 5000, 16000 - 5000), Bytes(11000, 128));
  const Bytes out = rig.Render(2 * 16000 + 1024);
  for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(out[i], Mixed8(samples[i])) << i;
  for (std::size_t i = samples.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 128) << i;
  // The half after the end was silenced too.
  EXPECT_EQ(VoiceBytes(buffer, 16000, 16000), Bytes(16000, 128));
}

TEST(Stream, FileCutShortPlaysSilenceForTheRestAndEnds) {
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  const auto samples = Ramp(20000);
  const std::string file = dir.Write("m.wav", wavtest::Wav16(8000, 1, samples));
  for (bool loop : {false, true}) {
    rig.sound.DeleteAllBuffer();
    std::filesystem::resize_file(file, 44 + 2 * 20000);
    rig.sound.CreateBuffer("m", file, true);
    // The file loses its last 12000 frames after the header was read.
    std::filesystem::resize_file(file, 44 + 2 * 8000);
    rig.sound.Play("m", loop);
    const auto out = rig.Render16(3 * 16000);
    for (std::size_t i = 0; i < 8000; ++i) ASSERT_EQ(out[i], Mixed16(samples[i])) << i << " loop " << loop;
    for (std::size_t i = 8000; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i << " loop " << loop;
    EXPECT_FALSE(rig.sound.IsPlaying("m")) << loop;
  }
}

TEST(Stream, ReplayStartsAgainFromTheBeginning) {
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  const auto samples = Ramp(40000, 3);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(8000, 1, samples)), true);
  for (int round = 0; round < 3; ++round) {
    rig.sound.Play("m", round == 1);
    const auto out = rig.Render16(20000);
    for (std::size_t i = 0; i < out.size(); ++i)
      ASSERT_EQ(out[i], Mixed16(samples[i])) << i << " round " << round;
    EXPECT_TRUE(rig.sound.IsPlaying("m"));
    EXPECT_EQ(rig.sound.GetBuffer("m")->GetLoopFlag(), round == 1);
  }
  // A stopped stream plays again too, and a stopped voice's stop does not end it.
  rig.sound.Stop("m");
  rig.sound.Play("m", false);
  const auto out = rig.Render16(1024);
  EXPECT_EQ(out[1000], Mixed16(samples[1000]));
  EXPECT_TRUE(rig.sound.IsPlaying("m"));
}

TEST(Stream, ReplayWhilePlayingKeepsNoSoundOfTheEarlierPlay) {
  constexpr std::size_t kHalfBytes = 2 * 16000;
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  const auto samples = Ramp(40000, 3);
  const Bytes data = wavtest::Samples16(samples);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(8000, 1, samples)), true);
  const TMorvaneSoundBuffer& buffer = *rig.sound.GetBuffer("m");
  rig.sound.Play("m", true);
  // 2.5 s in, the second half holds seconds 2 to 4 of the earlier play.
  rig.Render(20000);
  ASSERT_EQ(VoiceBytes(buffer, kHalfBytes, kHalfBytes),
            Bytes(data.begin() + kHalfBytes, data.begin() + 2 * kHalfBytes));

  rig.sound.Play("m", false);
  EXPECT_EQ(VoiceBytes(buffer, 0, kHalfBytes), Bytes(data.begin(), data.begin() + kHalfBytes));
  EXPECT_EQ(VoiceBytes(buffer, kHalfBytes, kHalfBytes), Bytes(kHalfBytes, 0));
  // Played from its start, the voice asks for the second half at once.
  const auto out = rig.Render16(OfflineSound::kBlock);
  for (std::size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], Mixed16(samples[i])) << i;
  EXPECT_EQ(VoiceBytes(buffer, kHalfBytes, kHalfBytes),
            Bytes(data.begin() + kHalfBytes, data.begin() + 2 * kHalfBytes));
}

TEST(Stream, ControlsApplyToTheSingleVoice) {
  TempDir dir;
  OfflineSound rig(8000, false, sb16bit);
  rig.sound.CreateBuffer("m", dir.Write("m.wav", wavtest::Wav16(8000, 1, Ramp(100))), true);
  rig.sound.SetVolume("m", -300);
  rig.sound.SetPan("m", -100);
  rig.sound.SetFrequency("m", 16000);
  const platform::Voice& voice = *rig.sound.GetBuffer("m")->GetSlot(0);
  EXPECT_EQ(voice.Volume(), -300);
  EXPECT_EQ(voice.Pan(), -100);
  EXPECT_EQ(voice.Frequency(), 16000u);
  rig.sound.Play("m", false);
  EXPECT_EQ(rig.sound.GetBuffer("m")->GetPlayCount(), 0u);
}

}  // namespace
