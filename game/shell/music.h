#pragma once
// chmid: the music component as the game drives it (Init, the three pieces,
// Stop then Play on a change, one fade-out), behind one small class so the
// component's construction and output choice live in one place.
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {
class MidiOut;
}  // namespace platform

namespace dovrex {

// Opens the MIDI output the music plays through; an empty one stands for the
// system's default synthesizer. Tests and the simulator pass a recording one.
using MidiOutOpener = std::function<std::unique_ptr<platform::MidiOut>()>;

// An output that plays nothing at all.
MidiOutOpener SilentMidiOut();

class GameMusic {
 public:
  explicit GameMusic(MidiOutOpener output);
  ~GameMusic();
  GameMusic(const GameMusic&) = delete;
  GameMusic& operator=(const GameMusic&) = delete;

  void Init();
  // Raises the component's exception when the file cannot be loaded.
  void CreateData(const std::string& name, const std::string& fileName);
  void Stop();
  void Play(const std::string& name, bool repeat);
  void SetFadeOut(int milliseconds);

  // The piece the last Play asked for since the previous call, then forgets it.
  std::optional<std::string> TakeStarted();
  // Pieces registered so far.
  int PieceCount() const;
  // Whether a piece is playing.
  bool Playing() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::optional<std::string> started_;
};

}  // namespace dovrex
