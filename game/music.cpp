#include "game/music.h"

#include <utility>

#include "library/midi/Mvmidi.h"
#include "platform/midi/midi_out.h"
#include "platform/midi/recording_midi_out.h"

namespace dovrex {

struct GameMusic::Impl {
  explicit Impl(MusicOutput output) : chmid(nullptr, setupFor(output)) {}

  MorvaneMidiSystem::TMorvaneMidiSetup setupFor(MusicOutput output) {
    MorvaneMidiSystem::TMorvaneMidiSetup setup;
    switch (output) {
      case MusicOutput::SoftSynth:
        break;  // the platform's default output
      case MusicOutput::Null:
        setup.Opener = [] { return std::unique_ptr<platform::MidiOut>(new platform::NullMidiOut()); };
        break;
      case MusicOutput::Recording:
        setup.Opener = [this] {
          auto out = std::make_unique<platform::RecordingMidiOut>();
          recording = out.get();
          return std::unique_ptr<platform::MidiOut>(std::move(out));
        };
        break;
    }
    return setup;
  }

  platform::RecordingMidiOut* recording = nullptr;  // owned by chmid once opened
  MorvaneMidiSystem::TMorvaneMidi chmid;
};

GameMusic::GameMusic(MusicOutput output) : impl_(std::make_unique<Impl>(output)) {}

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

const platform::RecordingMidiOut* GameMusic::Recording() const { return impl_->recording; }

}  // namespace dovrex
