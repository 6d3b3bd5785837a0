// The software synth rendered offline: an AudioDevice that is never opened,
// mixed by calling Render on this thread.
#include "platform/midi/soft_synth.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/audio/audio_device.h"

using namespace platform;

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kChurchOrgan = 19;
// The synth's effects leave a noise floor far below anything audible.
constexpr float kSilence = 1e-5f;  // sustains for as long as the key is down

std::uint32_t pack(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0) {
  return status | (data1 << 8) | (data2 << 16);
}

class SoftSynthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    soundFont = DefaultSoundFontPath();
    if (soundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    std::string error;
    synth = SoftSynth::Create(device, soundFont, &error);
    ASSERT_TRUE(synth) << error;
  }

  // Peak level of the next `ms` milliseconds.
  float renderPeak(int ms) {
    std::vector<float> out(2 * kRate * ms / 1000);
    device.RenderFloat(out.data(), out.size() / 2);
    float peak = 0.0f;
    for (float s : out) peak = std::max(peak, std::fabs(s));
    return peak;
  }

  void holdOrgan() {
    synth->ShortMsg(pack(0xC0, kChurchOrgan));
    synth->ShortMsg(pack(0x90, 60, 110));
  }

  AudioDevice device{PcmFormat{kRate, 2, 16}};
  std::string soundFont;
  std::unique_ptr<SoftSynth> synth;
};

const std::vector<std::uint8_t> kGmSystemOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
const std::vector<std::uint8_t> kGsReset = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
const std::vector<std::uint8_t> kGsReverbMacro4 = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40,
                                                   0x01, 0x30, 0x04, 0x0B, 0xF7};

}  // namespace

TEST_F(SoftSynthTest, SilentUntilANoteIsPlayed) {
  EXPECT_EQ(synth->Name(), "SoftSynth");
  EXPECT_EQ(device.SourceCount(), 1u);
  EXPECT_LT(renderPeak(100), kSilence);
}

TEST_F(SoftSynthTest, NoteOnIsAudible) {
  holdOrgan();
  EXPECT_GT(renderPeak(200), 0.02f);
  EXPECT_GT(synth->ActiveVoices(), 0);
  EXPECT_EQ(synth->Program(0), static_cast<int>(kChurchOrgan));
}

TEST_F(SoftSynthTest, ResetSilencesEveryNote) {
  holdOrgan();
  synth->ShortMsg(pack(0xB5, 64, 127));  // sustain pedal down on another channel
  synth->ShortMsg(pack(0x95, 67, 100));
  synth->ShortMsg(pack(0x85, 67, 0));  // held by the pedal
  synth->ShortMsg(pack(0x99, 38, 120));
  EXPECT_GT(renderPeak(200), 0.02f);
  synth->Reset();
  renderPeak(1500);  // the reverb tail dies away
  EXPECT_EQ(synth->ActiveVoices(), 0);
  EXPECT_LT(renderPeak(100), kSilence);
}

TEST_F(SoftSynthTest, WithoutResetTheHeldNoteKeepsSounding) {
  // The counterpart of the test above: what the reset silenced was sounding.
  holdOrgan();
  renderPeak(1700);
  EXPECT_GT(synth->ActiveVoices(), 0);
  EXPECT_GT(renderPeak(100), 0.02f);
}

TEST_F(SoftSynthTest, GeneralMidiResetReachesTheSynth) {
  holdOrgan();
  renderPeak(50);
  synth->LongMsg(kGmSystemOn);
  renderPeak(1500);
  EXPECT_EQ(synth->Program(0), 0);
  EXPECT_EQ(synth->ActiveVoices(), 0);
}

TEST_F(SoftSynthTest, GsResetReachesTheSynth) {
  holdOrgan();
  renderPeak(50);
  synth->LongMsg(kGsReset);
  renderPeak(1500);
  EXPECT_EQ(synth->Program(0), 0);
  EXPECT_EQ(synth->ActiveVoices(), 0);
}

TEST_F(SoftSynthTest, OtherSystemExclusiveLeavesTheChannelsAlone) {
  holdOrgan();
  synth->LongMsg(kGsReverbMacro4);
  EXPECT_GT(renderPeak(300), 0.02f);
  EXPECT_EQ(synth->Program(0), static_cast<int>(kChurchOrgan));
}

TEST_F(SoftSynthTest, LongMessagesCarryChannelMessagesToo) {
  const std::vector<std::uint8_t> bytes = {0xC1, kChurchOrgan, 0x91, 64, 100, 67, 100};
  synth->LongMsg(bytes);
  EXPECT_GT(renderPeak(200), 0.02f);
  EXPECT_EQ(synth->Program(1), static_cast<int>(kChurchOrgan));
  EXPECT_GE(synth->ActiveVoices(), 2);
}

TEST_F(SoftSynthTest, NoteOffEndsTheNote) {
  holdOrgan();
  renderPeak(100);
  synth->ShortMsg(pack(0x80, 60, 0));
  renderPeak(2000);
  EXPECT_EQ(synth->ActiveVoices(), 0);
}

TEST_F(SoftSynthTest, RenderingIsDeterministic) {
  AudioDevice other{PcmFormat{kRate, 2, 16}};
  auto twin = SoftSynth::Create(other, soundFont);
  ASSERT_TRUE(twin);
  std::vector<std::int16_t> a(2 * 4410);
  std::vector<std::int16_t> b(2 * 4410);
  for (int step = 0; step < 20; ++step) {
    for (MidiOut* out : {static_cast<MidiOut*>(synth.get()), static_cast<MidiOut*>(twin.get())}) {
      out->ShortMsg(pack(0x90, static_cast<std::uint8_t>(48 + step), 90));
      if (step % 3 == 2) out->ShortMsg(pack(0x80, static_cast<std::uint8_t>(46 + step), 0));
    }
    device.Render(a.data(), 4410);
    other.Render(b.data(), 4410);
    ASSERT_EQ(a, b) << "step " << step;
  }
}

TEST_F(SoftSynthTest, MessagesBeyondTheQueueAreDroppedAndCounted) {
  EXPECT_EQ(synth->Dropped(), 0u);
  for (int i = 0; i < 20000; ++i) synth->ShortMsg(pack(0x90, 60, 0));
  EXPECT_GT(synth->Dropped(), 0u);
  const std::uint64_t dropped = synth->Dropped();
  renderPeak(20);
  holdOrgan();
  EXPECT_GT(renderPeak(200), 0.02f);
  EXPECT_EQ(synth->Dropped(), dropped);
}

TEST_F(SoftSynthTest, DestroyingTheSynthDetachesIt) {
  synth.reset();
  EXPECT_EQ(device.SourceCount(), 0u);
  EXPECT_EQ(renderPeak(10), 0.0f);  // not even the synth's noise floor
}

TEST(SoftSynth, AMissingSoundFontGivesNoSynthAndSaysWhy) {
  AudioDevice device;
  std::string error;
  EXPECT_FALSE(SoftSynth::Create(device, "/nonexistent/none.sf2", &error));
  EXPECT_NE(error.find("/nonexistent/none.sf2"), std::string::npos) << error;
  EXPECT_EQ(device.SourceCount(), 0u);
  EXPECT_FALSE(SoftSynth::Create(device, "/nonexistent/none.sf2"));
}

TEST_F(SoftSynthTest, TwoSendersWhileAnotherThreadRenders) {
  // The player thread sends notes, the main thread GS settings, while the
  // device is mixed on a third thread.
  std::atomic<bool> stop{false};
  std::atomic<int> passes{0};
  std::thread mixer([&] {
    std::vector<std::int16_t> out(2 * 512);
    while (!stop.load()) {
      device.Render(out.data(), 512);
      ++passes;
    }
  });
  std::thread player([&] {
    for (int i = 0; i < 2000; ++i) {
      synth->ShortMsg(pack(0x90, static_cast<std::uint8_t>(40 + i % 40), 80));
      synth->ShortMsg(pack(0x80, static_cast<std::uint8_t>(40 + (i + 20) % 40), 0));
    }
  });
  for (int i = 0; i < 200; ++i) {
    synth->LongMsg(kGsReverbMacro4);
    if (i % 50 == 0) synth->Reset();
  }
  player.join();
  const int before = passes.load();
  while (passes.load() < before + 2) std::this_thread::yield();
  stop = true;
  mixer.join();
  synth->Reset();
  renderPeak(10);
  EXPECT_GT(passes.load(), 0);
  // The queue holds thousands of messages and the mixer drains it constantly.
  EXPECT_EQ(synth->Dropped(), 0u);
  // The final reset reached the synth after everything else.
  renderPeak(1500);
  EXPECT_EQ(synth->ActiveVoices(), 0);
}
