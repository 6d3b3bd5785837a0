// The component on a real output (SDL's dummy driver in tests): streams are
// refilled by their threads on the audio thread's notifications, and
// deleting, replaying and cleaning up while they play leaves no thread
// behind on freed data (run under TSan as well).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sound_rig.h"

namespace {

using namespace sound_test;
using Clock = std::chrono::steady_clock;

class DeviceSound : public ::testing::Test {
 protected:
  void SetUp() override {
    sound = std::make_unique<TMorvaneSound>(nullptr);
    sound->SetSamplingRatio(22050);
    sound->Init(nullptr);
    ASSERT_NE(sound->Device(), nullptr);
    ASSERT_TRUE(sound->Device()->IsOpen());
    shortFile = dir.Write("short.wav", wavtest::Wav16(22050, 1, Ramp(4000)));
    longFile = dir.Write("long.wav", wavtest::Wav16(22050, 2, Ramp(2 * 22050 * 3, 5)));
  }

  bool WaitUntilStopped(const std::string& name, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (sound->IsPlaying(name)) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  TempDir dir;
  std::unique_ptr<TMorvaneSound> sound;
  std::string shortFile;
  std::string longFile;
};

TEST_F(DeviceSound, ShortStreamPlaysItsHalfAndStops) {
  sound->CreateBuffer("s", shortFile, true);
  const auto start = Clock::now();
  sound->Play("s", false);
  EXPECT_TRUE(sound->IsPlaying("s"));
  ASSERT_TRUE(WaitUntilStopped("s", std::chrono::seconds(8)));
  // The half with the sound (two seconds, with its silence) plays in full.
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1800));
  EXPECT_FALSE(sound->GetBuffer("s")->IsStreaming());
}

TEST_F(DeviceSound, StaticCopiesEndOnTheirOwn) {
  sound->CreateBuffer("fx", shortFile, false);
  for (int i = 0; i < 6; ++i) sound->Play("fx", false);
  EXPECT_TRUE(sound->IsPlaying("fx"));
  EXPECT_TRUE(WaitUntilStopped("fx", std::chrono::seconds(5)));
}

TEST_F(DeviceSound, DeleteAndReplayStreamsWhilePlaying) {
  const std::vector<std::string> names = {"a", "b", "c", "d"};
  for (const auto& name : names) sound->CreateBuffer(name, name == "a" ? shortFile : longFile, true);
  sound->CreateBuffer("fx", shortFile, false);
  for (int round = 0; round < 40; ++round) {
    const std::string& name = names[round % names.size()];
    switch (round % 5) {
      case 0:
        sound->Play(name, true);
        break;
      case 1:
        sound->Play(name, false);
        sound->Play(name, true);  // replay while the thread runs
        break;
      case 2:
        sound->DeleteBuffer(name);  // deleted while it plays
        sound->CreateBuffer(name, longFile, true);
        sound->Play(name, false);
        break;
      case 3:
        sound->Stop(name);
        sound->Play("fx", false);
        break;
      case 4:
        sound->SetVolume(name, -200 * (round % 7));
        sound->Play(name, round % 2 == 0);
        break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1 + round % 9));
  }
  for (const auto& name : names) sound->Play(name, true);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  sound->DeleteAllBuffer();
  EXPECT_EQ(sound->BufferCount(), 0);

  // CleanUp and destruction while streams play.
  for (const auto& name : names) {
    sound->CreateBuffer(name, longFile, true);
    sound->Play(name, true);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  sound->CleanUp();
  EXPECT_FALSE(sound->Initialized());
  sound->Init(nullptr);
  for (const auto& name : names) {
    sound->CreateBuffer(name, longFile, true);
    sound->Play(name, true);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  sound.reset();
}

TEST_F(DeviceSound, LoopingStreamKeepsPlayingAcrossRefills) {
  // At 44100 Hz stereo the halves are 2 s; 2.5 s of playing crosses a refill of each.
  sound->CreateBuffer("l", dir.Write("loop.wav", wavtest::Wav16(44100, 2, Ramp(2 * 30000))), true);
  sound->Play("l", true);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_TRUE(sound->IsPlaying("l"));
  EXPECT_TRUE(sound->GetBuffer("l")->IsStreaming());
  sound->Stop("l");
  EXPECT_FALSE(sound->IsPlaying("l"));
  EXPECT_FALSE(sound->GetBuffer("l")->IsStreaming());
}

}  // namespace
