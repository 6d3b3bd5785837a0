#include "game/shell/music.h"

#include <utility>

#include "library/midi/Mvmidi.h"
#include "platform/midi/midi_out.h"

namespace dovrex {

MidiOutOpener SilentMidiOut() {
  return [] { return std::unique_ptr<platform::MidiOut>(new platform::NullMidiOut()); };
}

struct GameMusic::Impl {
  explicit Impl(MidiOutOpener output) : chmid(nullptr, setupFor(std::move(output))) {}

  static MorvaneMidiSystem::TMorvaneMidiSetup setupFor(MidiOutOpener output) {
    MorvaneMidiSystem::TMorvaneMidiSetup setup;
    setup.Opener = std::move(output);
    return setup;
  }

  MorvaneMidiSystem::TMorvaneMidi chmid;
};

GameMusic::GameMusic(MidiOutOpener output) : impl_(std::make_unique<Impl>(std::move(output))) {}

GameMusic::~GameMusic() = default;

void GameMusic::Init() { impl_->chmid.Init(); }

void GameMusic::CreateData(const std::string& name, const std::string& fileName) {
  impl_->chmid.CreateData(name, fileName);
}

void GameMusic::Stop() { impl_->chmid.Stop(); }

void GameMusic::Play(const std::string& name, bool repeat) {
  impl_->chmid.Play(name, repeat);
  started_ = name;
}

void GameMusic::SetFadeOut(int milliseconds) { impl_->chmid.SetFadeOut(milliseconds); }

std::optional<std::string> GameMusic::TakeStarted() { return std::exchange(started_, std::nullopt); }

int GameMusic::PieceCount() const { return impl_->chmid.DataCount(); }

bool GameMusic::Playing() const { return impl_->chmid.Playing(); }

}  // namespace dovrex
