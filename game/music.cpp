#include "game/music.h"

#include <set>
#include <utility>

namespace dovrex {

// NOTE: stands in until the MIDI component is part of the build; only this
// file changes when it arrives.
struct GameMusic::Impl {
  std::set<std::string> pieces;
};

GameMusic::GameMusic(MusicOutput) : impl_(std::make_unique<Impl>()) {}

GameMusic::~GameMusic() = default;

void GameMusic::Init() {}

void GameMusic::CreateData(const std::string& name, const std::string&) { impl_->pieces.insert(name); }

void GameMusic::Stop() {}

void GameMusic::Play(const std::string& name, bool) { started_ = name; }

void GameMusic::SetFadeOut(int) {}

std::optional<std::string> GameMusic::TakeStarted() { return std::exchange(started_, std::nullopt); }

int GameMusic::PieceCount() const { return static_cast<int>(impl_->pieces.size()); }

}  // namespace dovrex
