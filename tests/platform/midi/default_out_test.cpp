// The default MIDI output on the system audio device (SDL's dummy driver).
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/audio/audio_device.h"
#include "platform/midi/midi_out.h"
#include "platform/midi/soft_synth.h"

using namespace platform;

namespace {

constexpr const char* kSystemSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

bool waitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace

TEST(DefaultMidiOut, SoundFontPathFollowsTheEnvironment) {
  // A file of the test's own: which SoundFonts this machine has must not matter.
  const auto dir =
      std::filesystem::temp_directory_path() / ("default_out_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string chosen = (dir / "chosen.sf2").string();
  std::ofstream(chosen) << "sfbk";
  ::unsetenv("MORVANE_SOUNDFONT");
  const std::string fallback = DefaultSoundFontPath();
  EXPECT_TRUE(fallback.empty() || fallback == kSystemSoundFont) << fallback;
  ::setenv("MORVANE_SOUNDFONT", chosen.c_str(), 1);
  EXPECT_EQ(DefaultSoundFontPath(), chosen);
  ::setenv("MORVANE_SOUNDFONT", "/nonexistent/none.sf2", 1);
  EXPECT_EQ(DefaultSoundFontPath(), "");
  ::setenv("MORVANE_SOUNDFONT", dir.string().c_str(), 1);
  EXPECT_EQ(DefaultSoundFontPath(), "") << "a folder is no SoundFont";
  ::setenv("MORVANE_SOUNDFONT", "", 1);
  EXPECT_EQ(DefaultSoundFontPath(), fallback) << "an empty variable chooses nothing";
  ::unsetenv("MORVANE_SOUNDFONT");
  std::filesystem::remove_all(dir);
}

TEST(DefaultMidiOut, WithoutASoundFontItIsNull) {
  ::setenv("MORVANE_SOUNDFONT", "/nonexistent/none.sf2", 1);
  auto out = OpenDefaultMidiOut();
  ::unsetenv("MORVANE_SOUNDFONT");
  ASSERT_TRUE(out);
  EXPECT_EQ(out->Name(), "Null");
  out->ShortMsg(0x00643C90);
  out->Reset();
}

TEST(DefaultMidiOut, WithASoundFontTheSynthPlaysOnTheSystemDevice) {
  if (DefaultSoundFontPath().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  auto out = OpenDefaultMidiOut();
  ASSERT_TRUE(out);
  ASSERT_TRUE(SystemAudioDevice().IsOpen()) << SystemAudioDevice().LastError();
  ASSERT_EQ(out->Name(), "SoftSynth");
  auto* synth = dynamic_cast<SoftSynth*>(out.get());
  ASSERT_NE(synth, nullptr);
  // The audio thread takes the messages on its next pass.
  out->ShortMsg(0x000013C0);  // church organ
  out->ShortMsg(0x00643C90);
  EXPECT_TRUE(waitUntil([&] { return synth->ActiveVoices() > 0; }));
  out->Reset();
  EXPECT_TRUE(waitUntil([&] { return synth->ActiveVoices() == 0; }));
  EXPECT_EQ(synth->Dropped(), 0u);
  // A second output shares the same device.
  auto second = OpenDefaultMidiOut();
  EXPECT_EQ(second->Name(), "SoftSynth");
  EXPECT_TRUE(waitUntil([] { return SystemAudioDevice().SourceCount() >= 2; }));
}
