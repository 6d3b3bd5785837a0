// TMorvaneSound offline: initialisation and its errors, the four copies of a
// static sound, per-copy controls, and error texts of the playback checks.
#include <gtest/gtest.h>

#include <functional>

#include "library/debug/exceptions.h"
#include "sound_rig.h"

namespace {

using namespace sound_test;

const std::string kPrefix = "TMorvaneSound エラー\n\n";

template <class F>
std::string ErrorOf(F&& body) {
  try {
    body();
  } catch (const MorvaneSoundSystem::EMvSound& e) {
    return e.Message;
  } catch (const MorvaneSoundSystem::EMvSoundBuffer& e) {
    return e.Message;
  }
  return {};
}

TEST(SoundInit, OperationsBeforeInitRaise) {
  TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  const std::string expected = kPrefix + "まだ初期化されてません。";
  EXPECT_EQ(ErrorOf([&] { sound.CreateBuffer("a", "a.wav", false); }), expected);
  EXPECT_EQ(ErrorOf([&] { sound.Play("a", false); }), expected);
  EXPECT_EQ(ErrorOf([&] { sound.Stop("a"); }), expected);
  EXPECT_EQ(ErrorOf([&] { sound.IsPlaying("a"); }), expected);
  EXPECT_EQ(ErrorOf([&] { sound.SetPan("a", 0); }), expected);
  EXPECT_EQ(ErrorOf([&] { sound.SetVolume("a", 0); }), expected);
  EXPECT_EQ(ErrorOf([&] { sound.SetFrequency("a", 0); }), expected);
  EXPECT_FALSE(sound.Initialized());
  EXPECT_EQ(sound.Device(), nullptr);
}

TEST(SoundInit, DefaultsAndPrimaryFormat) {
  TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  EXPECT_TRUE(sound.Stereo());
  EXPECT_EQ(sound.Volume(), 1);
  EXPECT_EQ(sound.SamplingRatio(), 22050);
  EXPECT_EQ(sound.SoundBits(), sb16bit);
  sound.Init(nullptr);
  ASSERT_TRUE(sound.Initialized());
  EXPECT_EQ(sound.Device()->Format(), (platform::PcmFormat{22050, 2, 16}));
}

TEST(SoundInit, FormatChangesWaitForTheNextInit) {
  TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  sound.Init(nullptr);
  TempDir dir;
  sound.CreateBuffer("a", dir.Write("a.wav", wavtest::Wav16(8000, 1, Ramp(10))), false);
  sound.SetSamplingRatio(11025);
  sound.SetStereo(false);
  sound.SetBits(sb8bit);
  EXPECT_EQ(sound.Device()->Format(), (platform::PcmFormat{22050, 2, 16}));
  EXPECT_EQ(sound.BufferCount(), 1);
  sound.Init(nullptr);
  EXPECT_EQ(sound.Device()->Format(), (platform::PcmFormat{11025, 1, 8}));
  // Sounds do not survive a new Init.
  EXPECT_EQ(sound.BufferCount(), 0);
}

TEST(SoundInit, VolumeOneNeverTouchesTheOutput) {
  // The output's own volume, as the system left it.
  const TSoundOutputOpener opener = [](platform::AudioDevice& device) {
    device.SetMasterGain(0.25f);
    return true;
  };
  TMorvaneSound sound(nullptr, {opener});
  sound.Init(nullptr);
  EXPECT_FLOAT_EQ(sound.Device()->MasterGain(), 0.25f);
  sound.SetPrimaryVolume(1);  // unchanged value
  EXPECT_FLOAT_EQ(sound.Device()->MasterGain(), 0.25f);

  sound.SetPrimaryVolume(-600);
  EXPECT_NEAR(sound.Device()->MasterGain(), std::pow(10.0, -0.3), 1e-5);
  // Back to 1 is stored but leaves the output as it is.
  sound.SetPrimaryVolume(1);
  EXPECT_EQ(sound.Volume(), 1);
  EXPECT_NEAR(sound.Device()->MasterGain(), std::pow(10.0, -0.3), 1e-5);

  sound.SetPrimaryVolume(0);
  sound.Init(nullptr);
  EXPECT_FLOAT_EQ(sound.Device()->MasterGain(), 1.0f);
}

TEST(SoundInit, FailuresCleanUpAndSayWhy) {
  {
    TMorvaneSound sound(nullptr, {[](platform::AudioDevice&) { return false; }});
    EXPECT_EQ(ErrorOf([&] { sound.Init(nullptr); }), kPrefix + "DirectSoundの初期化に失敗しました。");
    EXPECT_FALSE(sound.Initialized());
    EXPECT_EQ(sound.Device(), nullptr);
  }
  for (int rate : {1000, 0, -5, 500000}) {
    TMorvaneSound sound(nullptr, {LeaveOutputClosed});
    sound.SetSamplingRatio(rate);
    EXPECT_EQ(ErrorOf([&] { sound.Init(nullptr); }), kPrefix + "ウェブフォーマットの設定に失敗しました。")
        << rate;
    EXPECT_FALSE(sound.Initialized());
    EXPECT_EQ(sound.Device(), nullptr);
  }
  {
    TMorvaneSound sound(nullptr, {LeaveOutputClosed});
    sound.SetPrimaryVolume(5);
    EXPECT_EQ(ErrorOf([&] { sound.Init(nullptr); }), kPrefix + "マスターボリュームの設定に失敗しました。");
    EXPECT_FALSE(sound.Initialized());
    sound.SetPrimaryVolume(-100);
    sound.Init(nullptr);
    EXPECT_EQ(ErrorOf([&] { sound.SetPrimaryVolume(-20000); }),
              kPrefix + "マスターボリュームの設定に失敗しました。");
    EXPECT_EQ(sound.Volume(), -100);
  }
}

class StaticSound : public ::testing::Test {
 protected:
  StaticSound() : rig(8000, false, sb16bit) {
    // One second of sound: long enough that four plays overlap.
    file = dir.Write("s.wav", wavtest::Wav16(8000, 1, Ramp(8000)));
    rig.sound.CreateBuffer("s", file, false);
    buffer = rig.sound.GetBuffer("s");
  }
  std::uint32_t Position(int slot) const { return buffer->GetSlot(slot)->Position(); }

  TempDir dir;
  OfflineSound rig;
  std::string file;
  TMorvaneSoundBuffer* buffer = nullptr;
};

TEST_F(StaticSound, FifthQuickPlayRestartsTheFirstCopy) {
  for (int play = 0; play < 4; ++play) {
    rig.sound.Play("s", false);
    rig.Render(1024);
  }
  EXPECT_EQ(buffer->GetPlayCount(), 4u);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_TRUE(buffer->GetSlot(slot)->IsPlaying()) << slot;
    // Slot 0 started first, so it is furthest on: 4, 3, 2, 1 blocks of 1024 frames.
    EXPECT_EQ(Position(slot), (4u - static_cast<std::uint32_t>(slot)) * 1024u * 2u) << slot;
  }
  rig.sound.Play("s", false);
  EXPECT_EQ(buffer->GetPlayCount(), 5u);
  rig.Render(512);
  EXPECT_EQ(Position(0), 512u * 2u);
  EXPECT_EQ(Position(1), (3u * 1024u + 512u) * 2u);
}

TEST_F(StaticSound, OneCopySoundsExactlyAndEnds) {
  rig.sound.Play("s", false);
  EXPECT_TRUE(rig.sound.IsPlaying("s"));
  const auto out = rig.Render16(8192);
  const auto samples = Ramp(8000);
  for (std::size_t i = 0; i < 8000; ++i) ASSERT_EQ(out[i], Mixed16(samples[i])) << i;
  for (std::size_t i = 8000; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
  EXPECT_FALSE(rig.sound.IsPlaying("s"));
}

TEST_F(StaticSound, LoopingCopyWrapsAndStopSilencesEveryCopy) {
  rig.sound.Play("s", true);
  rig.sound.Play("s", false);
  const auto out = rig.Render16(8192 + 512);
  EXPECT_TRUE(buffer->GetSlot(0)->IsPlaying());
  EXPECT_FALSE(buffer->GetSlot(1)->IsPlaying());
  const auto samples = Ramp(8000);
  // The looping copy alone after the other ended: its wrap has no gap.
  for (std::size_t i = 8000; i < out.size(); ++i) ASSERT_EQ(out[i], Mixed16(samples[i - 8000])) << i;
  rig.sound.Stop("s");
  EXPECT_FALSE(rig.sound.IsPlaying("s"));
}

TEST_F(StaticSound, ControlsGoToTheCopyTheNextPlayUses) {
  rig.sound.Play("s", false);
  rig.sound.SetVolume("s", -1000);
  rig.sound.SetPan("s", 2500);
  rig.sound.SetFrequency("s", 4000);
  EXPECT_EQ(buffer->GetSlot(0)->Volume(), 0);
  EXPECT_EQ(buffer->GetSlot(0)->Pan(), 0);
  EXPECT_EQ(buffer->GetSlot(0)->Frequency(), 8000u);
  EXPECT_EQ(buffer->GetSlot(1)->Volume(), -1000);
  EXPECT_EQ(buffer->GetSlot(1)->Pan(), 2500);
  EXPECT_EQ(buffer->GetSlot(1)->Frequency(), 4000u);
  // Frequency 0 is the sound's own rate.
  rig.sound.SetFrequency("s", 0);
  EXPECT_EQ(buffer->GetSlot(1)->Frequency(), 8000u);

  // The next play sounds at -10 dB: 10^(-1000/2000) of full level.
  rig.sound.SetPan("s", 0);
  rig.sound.Stop("s");
  rig.sound.Play("s", false);
  const auto out = rig.Render16(512);
  const auto samples = Ramp(8000);
  const float gain = platform::GainFromHundredthsDb(-1000);
  EXPECT_EQ(out[100], static_cast<std::int16_t>(std::lrintf(static_cast<float>(samples[100]) *
                                                            (1.0f / 32768.0f) * gain * 32767.0f)));
}

TEST_F(StaticSound, ControlErrorsNameTheSound) {
  EXPECT_EQ(ErrorOf([&] { rig.sound.SetPan("s", 10001); }),
            kPrefix + "パンの設定に失敗しました。\nバッファ名：s");
  EXPECT_EQ(ErrorOf([&] { rig.sound.SetPan("s", -20000); }),
            kPrefix + "パンの設定に失敗しました。\nバッファ名：s");
  EXPECT_EQ(ErrorOf([&] { rig.sound.SetVolume("s", 1); }),
            kPrefix + "音量の設定に失敗しました。\nバッファ名：s");
  EXPECT_EQ(ErrorOf([&] { rig.sound.SetVolume("s", -10001); }),
            kPrefix + "音量の設定に失敗しました。\nバッファ名：s");
  EXPECT_EQ(ErrorOf([&] { rig.sound.SetFrequency("s", 99); }),
            kPrefix + "周波数の設定に失敗しました。\nバッファ名：s");
  EXPECT_EQ(ErrorOf([&] { rig.sound.SetFrequency("s", 0x100000000ul + 8000); }),
            kPrefix + "周波数の設定に失敗しました。\nバッファ名：s");
  EXPECT_EQ(buffer->GetSlot(0)->Frequency(), 8000u);
  for (const auto& call : std::vector<std::function<void()>>{
           [&] { rig.sound.Play("x", false); }, [&] { rig.sound.Stop("x"); },
           [&] { rig.sound.IsPlaying("x"); }, [&] { rig.sound.SetPan("x", 0); },
           [&] { rig.sound.SetVolume("x", 0); }, [&] { rig.sound.SetFrequency("x", 0); }}) {
    EXPECT_EQ(ErrorOf(call), kPrefix + "バッファが存在しません。\nバッファ名：x");
  }
}

TEST_F(StaticSound, RegistryByName) {
  // A taken name keeps its sound, even when the new file would not load.
  rig.sound.CreateBuffer("s", (dir.Path() / "missing.wav").string(), false);
  EXPECT_EQ(rig.sound.GetBuffer("s"), buffer);
  const std::string bad = dir.Write("bad.wav", wavtest::Riff({}, "AVI "));
  EXPECT_EQ(ErrorOf([&] { rig.sound.CreateBuffer("b", bad, true); }),
            "TMorvaneSoundBuffer エラー\n\nWAVEフォーマットではありません。\nファイル名：" + bad);
  EXPECT_EQ(rig.sound.GetBuffer("b"), nullptr);
  EXPECT_EQ(rig.sound.BufferCount(), 1);
  rig.sound.DeleteBuffer("nothing");
  rig.sound.DeleteBuffer("s");
  EXPECT_EQ(rig.sound.BufferCount(), 0);
  EXPECT_EQ(rig.sound.Device()->SourceCount(), 0u);
}

}  // namespace
