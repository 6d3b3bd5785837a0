#include "game/shell/Dovrex_main.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <exception>

#include "game/presentation/assets.h"
#include "game/presentation/background.h"
#include "game/presentation/hud.h"
#include "game/shell/input.h"
#include "game/shell/modes.h"
#include "game/shell/score_file.h"
#include "game/world/effects.h"
#include "platform/audio/audio_device.h"
#include "platform/audio/effect_player.h"
#include "platform/input/sdl_joystick.h"

namespace dovrex {

namespace {

constexpr int kPlayfieldX = 80;  // I2's place in the 640 x 480 window

const char* const kPieceNames[3] = {"m0", "m1", "m2"};
const char* const kPieceFiles[3] = {"mid/m0.mid", "mid/m1.mid", "mid/m2.mid"};

MidiOutOpener musicOutput(const platform::Application& app, MidiOutOpener requested) {
  if (requested || !app.Headless()) return requested;
  return SilentMidiOut();
}

}  // namespace

void BuildTrigTables(GameRecord& rec) {
  // The constant is 6.28318, not 2 pi: the truncated values depend on it.
  constexpr double kFullTurn = 6.28318;
  for (int i = 0; i < 16; ++i) {
    const double angle = i * kFullTurn * 0.0625;
    rec.cosTable[i] = static_cast<std::int32_t>(std::cos(angle) * 16);
    rec.sinTable[i] = static_cast<std::int32_t>(std::sin(angle) * 16);
  }
}

TForm1::TForm1(platform::Application& app, TForm1Options options)
    : app_(app),
      options_(std::move(options)),
      window_(app, "Dovrex"),
      rec_(std::make_unique<GameRecord>()),
      sheets_(std::make_unique<SpriteSheets>()),
      chmid(musicOutput(app, options_.music)),
      ownClock_(options_.clock != nullptr ? nullptr
                : app.Headless()          ? std::unique_ptr<platform::Clock>(new platform::VirtualClock())
                                          : std::unique_ptr<platform::Clock>(new platform::SteadyClock())),
      clock_(options_.clock != nullptr ? options_.clock : ownClock_.get()),
      pacer_(*clock_, kFramePeriodMs),
      world_{*rec_, I1.canvas, *sheets_, *this} {
  rec_->gameRef = &rec_->game;
  rec_->playerRef = &rec_->player;
  if (options_.joystick != nullptr) {
    joystick_ = options_.joystick;
  } else {
    ownJoystick_ = app.Headless() ? std::unique_ptr<platform::JoystickSource>(new platform::NoJoystick())
                                  : std::unique_ptr<platform::JoystickSource>(new platform::SdlJoystick());
    joystick_ = ownJoystick_.get();
  }
  // Headless runs mix into a device that is never opened: the effect player
  // still parses and queues every effect, nothing reaches a speaker.
  platform::AudioDevice* audio = nullptr;
  if (app.Headless()) {
    ownAudio_ = std::make_unique<platform::AudioDevice>();
    audio = ownAudio_.get();
  } else {
    audio = &platform::SystemAudioDevice();
  }
  effects_ = std::make_unique<platform::EffectPlayer>(*audio);

  window_.OnKeyDown = [this](int key) { FormKeyDown(key); };
  window_.OnKeyUp = [this](int key) { FormKeyUp(key); };
  window_.OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };

  try {
    FormCreate();
  } catch (const std::exception& e) {
    startupError_ = e.what();
    app_.ShowException(e);
  }
}

TForm1::~TForm1() {
  if (started_) app_.OnIdle = nullptr;
}

void TForm1::FormCreate() {
  // The lists stored with the window exist before its creation handler runs.
  LoadWindowImageLists(*sheets_, options_.directory);

  splash_ = std::make_unique<TForm2>(app_);
  splash_->Show();
  app_.ProcessMessages();  // paint the splash before the long work

  LoadScoreFile(*rec_, GamePath(options_.directory, kScoreFileName), *this);
  BuildTrigTables(*rec_);
  platform::JoystickCaps caps;
  const bool hasJoystick = joystick_->GetCaps(caps);
  CalibrateJoystick(*rec_, hasJoystick ? &caps : nullptr);
  chmid.Init();
  std::srand(options_.seed ? *options_.seed : static_cast<unsigned>(std::time(nullptr)));

  platform::Canvas& backdrop = I0.canvas;
  backdrop.brush.color = platform::kBlack;
  backdrop.brush.style = platform::BrushStyle::Solid;
  backdrop.FillRect({0, 0, 480, 480});

  GameRecord& rec = *rec_;
  rec.gameMode = kModeBoot;
  rec.game.score = 0;
  rec.game.modeTimer = 0;
  rec.game.nearScroll = 0;
  // Shown by the HUD on the title screen before the first game.
  rec.player.shield = 2;
  rec.game.laserStock = 2;
  rec.rankingNext = 0;

  LoadAssets(*sheets_, rec.game, I0.canvas, options_.directory, *this);

  for (int i = 0; i < 3; ++i) chmid.CreateData(kPieceNames[i], GamePath(options_.directory, kPieceFiles[i]));
  rec.game.musicRequest = 1;

  splash_->Release();

  window_.HideCursor();
  window_.SetBorderless(true);
  window_.ShowFullScreen();
  displayTaken_ = true;

  app_.OnIdle = [this](bool& done) { IdleEvent(done); };
  started_ = true;
}

void TForm1::IdleEvent(bool& Done) {
  GameRecord& rec = *rec_;
  frameSound_ = 0;
  frameMusic_.reset();

  pacer_.BeginFrame();

  ClearFrame(rec, I0.canvas, I1.canvas);
  ScrollBackground(world_);
  DrawHud(world_);
  ParticlePassA(world_);
  ModeStep(world_);
  ParticlePassB(world_);
  ServeMusicRequest();
  Present(I1.canvas, I2.canvas);
  window_.Present(I2.bitmap, kPlayfieldX, 0);

  Done = false;
}

void TForm1::ServeMusicRequest() {
  std::int32_t& request = rec_->game.musicRequest;
  if (request <= 0) return;  // negative requests stay as they are
  if (request <= 3) {
    // The component ignores Play while a piece plays, hence Stop first.
    chmid.Stop();
    chmid.Play(kPieceNames[request - 1], true);
    frameMusic_ = chmid.TakeStarted();
  }
  request = 0;
}

void TForm1::FormCloseQuery(bool& /*CanClose*/) {
  SaveScoreFile(*rec_, GamePath(options_.directory, kScoreFileName), *this);
  ++shutdowns_;
  // The window gives the desktop its mode back when it closes.
  displayTaken_ = false;
}

void TForm1::FormKeyDown(int& Key) {
  if (ApplyKey(rec_->game, Key, true)) window_.Close();
}

void TForm1::FormKeyUp(int& Key) { ApplyKey(rec_->game, Key, false); }

void TForm1::ShowMessage(const std::string& text) { app_.ShowMessage(text); }

void TForm1::RequestClose() { window_.Close(); }

bool TForm1::JoyGetPos(JoyInfo& info) {
  platform::JoystickPos pos;
  if (!joystick_->GetPos(pos)) return false;
  info = JoyInfo{pos.wXpos, pos.wYpos, pos.wZpos, pos.wButtons};
  return true;
}

void TForm1::PlaySoundMemory(std::span<const std::uint8_t> wavImage) {
  for (int n = 1; n <= 9; ++n) {
    if (SoundBuffer(rec_->game, n).data() == wavImage.data()) frameSound_ = n;
  }
  effects_->Play(wavImage);
}

void TForm1::SetMusicFadeOut(int milliseconds) { chmid.SetFadeOut(milliseconds); }

}  // namespace dovrex
