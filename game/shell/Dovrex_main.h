#pragma once
// TForm1, the main window: it owns the game record, the three 480 x 480
// images (I0 backdrop, I1 composing, I2 visible), the image lists and the
// music component for the whole run; runs the start-up sequence, one paced
// frame per idle call, and the shutdown that saves the score file on every
// close.
//
// With a headless application the same class runs without a display: a
// virtual clock, no joystick, a silent sound output and recorded MIDI. That
// is how tests and dovrex-sim run real frames.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "game/record/game_record.h"
#include "game/record/game_services.h"
#include "game/record/shell_host.h"
#include "game/record/sprite_sheets.h"
#include "game/record/world.h"
#include "game/shell/music.h"
#include "game/shell/sp.h"
#include "platform/app/application.h"
#include "platform/app/main_window.h"
#include "platform/graphics/canvas.h"
#include "platform/input/joystick.h"
#include "platform/system/clock.h"
#include "platform/system/frame_pacer.h"

namespace platform {
class AudioDevice;
class EffectPlayer;
}  // namespace platform

namespace dovrex {

inline constexpr std::uint32_t kFramePeriodMs = 22;

// Fills cosTable and sinTable, the 16 directions the enemies and enemy shots
// steer by: 16 x cos and 16 x sin of i x 6.28318 / 16, truncated toward zero:
// +16 for cos 0 but only +-15 at the other quarter turns, because the angle
// constant falls just short of 2 pi.
void BuildTrigTables(GameRecord& rec);

struct TForm1Options {
  // The game's working directory (bmp/, wav/, mid/, M_score.dat); empty for
  // the current one.
  std::string directory;
  // srand(seed) instead of srand(time(NULL)).
  std::optional<unsigned> seed;
  // Not owned; defaults: the system clock, or a virtual clock when headless.
  platform::Clock* clock = nullptr;
  // Not owned; defaults: SDL's joystick 0, or none when headless.
  platform::JoystickSource* joystick = nullptr;
  // Empty: the software synthesizer, or a silent output when headless.
  MidiOutOpener music;
};

class TForm1 final : private ShellHost, private GameServices {
 public:
  // Creates the window and runs FormCreate. An exception during start-up is
  // shown with the application's exception box and ends the start-up where
  // it happened: no idle hook, so no frame ever runs, but closing still works.
  explicit TForm1(platform::Application& app, TForm1Options options = {});
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The start-up sequence (called by the constructor).
  void FormCreate();
  // One frame: pacing, backdrop, background, HUD, particles, mode step,
  // particles, the music request, present. Always sets Done to false.
  void IdleEvent(bool& Done);
  // Shutdown: saves the score file and gives the screen back; never refuses.
  void FormCloseQuery(bool& CanClose);
  // Key flags; Esc closes the window through the ordinary close path.
  void FormKeyDown(int& Key);
  void FormKeyUp(int& Key);

  platform::Application& App() { return app_; }
  platform::MainWindow& Window() { return window_; }
  GameRecord& Record() { return *rec_; }
  World& GameWorld() { return world_; }
  SpriteSheets& Sheets() { return *sheets_; }
  const platform::Bitmap& Backdrop() const { return I0.bitmap; }
  const platform::Bitmap& Composing() const { return I1.bitmap; }
  const platform::Bitmap& Visible() const { return I2.bitmap; }
  GameMusic& Music() { return chmid; }
  // The splash window of start-up, once created.
  TForm2* Splash() { return splash_.get(); }
  platform::Clock& FrameClock() { return *clock_; }

  // Whether start-up completed and the idle hook is set.
  bool Started() const { return started_; }
  // The message of the exception that stopped start-up, if any.
  const std::optional<std::string>& StartupError() const { return startupError_; }
  // Start of the latest frame on the frame clock (ms).
  std::uint32_t LastFrameTime() const { return pacer_.LastFrameTime(); }
  // Whether the screen is taken (between start-up step 14 and shutdown).
  bool DisplayTaken() const { return displayTaken_; }
  // Effect played by the latest frame (1..9), 0 for none.
  int FrameSound() const { return frameSound_; }
  // Piece started by the latest frame's music request.
  const std::optional<std::string>& FrameMusic() const { return frameMusic_; }
  // Times the score file has been saved by a close.
  int Shutdowns() const { return shutdowns_; }

 private:
  // ShellHost
  void ShowMessage(const std::string& text) override;
  void RequestClose() override;
  // GameServices
  bool JoyGetPos(JoyInfo& info) override;
  void PlaySoundMemory(std::span<const std::uint8_t> wavImage) override;
  void SetMusicFadeOut(int milliseconds) override;

  void ServeMusicRequest();

  platform::Application& app_;
  TForm1Options options_;
  platform::MainWindow window_;

  std::unique_ptr<GameRecord> rec_;
  platform::Image I0{480, 480};
  platform::Image I1{480, 480};
  platform::Image I2{480, 480};
  std::unique_ptr<SpriteSheets> sheets_;
  GameMusic chmid;

  std::unique_ptr<platform::Clock> ownClock_;
  platform::Clock* clock_;
  platform::FramePacer pacer_;
  std::unique_ptr<platform::JoystickSource> ownJoystick_;
  platform::JoystickSource* joystick_;
  std::unique_ptr<platform::AudioDevice> ownAudio_;
  std::unique_ptr<platform::EffectPlayer> effects_;

  std::unique_ptr<TForm2> splash_;
  World world_;

  bool started_ = false;
  bool displayTaken_ = false;
  std::optional<std::string> startupError_;
  int frameSound_ = 0;
  std::optional<std::string> frameMusic_;
  int shutdowns_ = 0;
};

}  // namespace dovrex
