// The main window run headless: start-up with its failure paths, the paced
// frame, music requests, asset loading and shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "game/presentation/assets.h"
#include "game/presentation/bitmap_text.h"
#include "game/shell/input.h"
#include "game/world/pools.h"
#include "platform/audio/audio_device.h"
#include "platform/audio/effect_player.h"
#include "platform/midi/recording_midi_out.h"
#include "shell_data.h"

namespace dovrex::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCreateMessage = "M_score.dat を作成します。";

int countOf(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

bool allBlack(const platform::Bitmap& image) {
  return std::all_of(image.Pixels().begin(), image.Pixels().end(), [](platform::Color c) { return c == 0; });
}

// Gives the test its own bmp/ (links to each shared file) so one can go missing.
void ownPictures(GameDir& dir) {
  fs::remove(dir / "bmp");
  fs::create_directory(dir / "bmp");
  for (const auto& entry : fs::directory_iterator(SharedGameData() / "bmp")) {
    fs::create_symlink(entry.path(), dir.Path() / "bmp" / entry.path().filename());
  }
}

TEST(ShellStartUp, RunsAllFifteenStepsToTheIdleHook) {
  HeadlessGame game;
  TForm1& form = game.Start();
  EXPECT_TRUE(form.Started());
  EXPECT_FALSE(form.StartupError().has_value());
  EXPECT_TRUE(static_cast<bool>(game.app.OnIdle));
  EXPECT_EQ(countOf(game.app.ShownMessages(), kCreateMessage), 1);
  EXPECT_EQ(game.app.ShownMessages().size(), 1u);

  GameRecord& rec = game.Rec();
  EXPECT_EQ(rec.gameMode, 0);
  EXPECT_EQ(rec.player.shield, 2);
  EXPECT_EQ(rec.game.laserStock, 2);
  EXPECT_EQ(rec.game.musicRequest, 1);
  EXPECT_EQ(rec.highScores[0], 60000);
  EXPECT_EQ(rec.cosTable[0], 16);
  EXPECT_EQ(rec.sinTable[12], -15);
  EXPECT_EQ(form.Music().PieceCount(), 3);

  EXPECT_TRUE(form.Window().Borderless());
  EXPECT_TRUE(form.Window().CursorHidden());
  EXPECT_TRUE(form.Window().FullScreen());
  EXPECT_TRUE(form.DisplayTaken());
  game.app.ProcessMessages();
  EXPECT_EQ(form.Window().Caption(), "Dovrex");
}

TEST(ShellStartUp, TheSplashSaysLoadingAndIsReleased) {
  HeadlessGame game;
  TForm1& form = game.Start();
  ASSERT_NE(form.Splash(), nullptr);
  EXPECT_TRUE(form.Splash()->Window().Visible());
  game.app.ProcessMessages();
  EXPECT_TRUE(form.Splash()->Window().Released());
  EXPECT_FALSE(form.Splash()->Window().Visible());
  int cyan = 0;
  const platform::Bitmap& picture = form.Splash()->Picture();
  for (int y = 5; y < 30; ++y) {
    for (int x = 35; x < 160; ++x) cyan += picture.Pixel(x, y) == platform::Rgb(0, 255, 255) ? 1 : 0;
  }
  EXPECT_GT(cyan, 20) << "\"loading...\" in cyan at (35, 5)";
  EXPECT_EQ(picture.Width(), 375);
  EXPECT_EQ(picture.Height(), 155);
}

TEST(ShellStartUp, BackdropIsTheFarLayerTwice) {
  HeadlessGame game;
  TForm1& form = game.Start();
  for (int y = 0; y < 240; ++y) {
    ASSERT_EQ(form.Backdrop().Pixel(100, y), FarLayerColor(y)) << y;
    ASSERT_EQ(form.Backdrop().Pixel(100, y + 240), FarLayerColor(y)) << y;
  }
}

TEST(ShellAssets, EveryListHasItsCellsInFileOrder) {
  HeadlessGame game;
  TForm1& form = game.Start();
  SpriteSheets& sheets = form.Sheets();
  EXPECT_EQ(sheets.IT.Count(), 1);
  EXPECT_EQ(sheets.BK.Count(), 2);
  EXPECT_EQ(sheets.Font0.Count(), 36);
  EXPECT_EQ(sheets.Font1.Count(), 10);
  EXPECT_EQ(sheets.ITs.Count(), 2);
  EXPECT_EQ(sheets.Spa8.Count(), 6);
  EXPECT_EQ(sheets.IL16.Count(), 25);
  EXPECT_EQ(sheets.IL36.Count(), 48);
  int files = 3;
  const auto ranges = SpriteFileRanges();
  for (int l = 0; l < static_cast<int>(ranges.size()); ++l) {
    platform::ImageList& list = sheets.*ranges[l].list;
    ASSERT_EQ(list.Count(), ranges[l].count) << ranges[l].prefix;
    files += list.Count();
    platform::Image probe(list.Width(), list.Height());
    for (int k = 0; k < list.Count(); ++k) {
      list.Draw(probe.canvas, 0, 0, k);
      ASSERT_EQ(probe.bitmap.Pixel(0, 0), SpriteColor(l, ranges[l].firstFile + k))
          << ranges[l].prefix << " " << k;
    }
  }
  EXPECT_EQ(files, 467);
}

TEST(ShellAssets, Il200CellKComesFromFileKPlusTen) {
  HeadlessGame game;
  TForm1& form = game.Start();
  platform::ImageList& il200 = form.Sheets().IL200;
  platform::Image probe(200, 200);
  il200.Draw(probe.canvas, 0, 0, 0);
  EXPECT_EQ(probe.bitmap.Pixel(5, 1), SpriteColor(12, 10));
  il200.Draw(probe.canvas, 0, 0, 65);
  EXPECT_EQ(probe.bitmap.Pixel(5, 1), SpriteColor(12, 75));
  EXPECT_EQ(SpriteFileName("200", 75), "bmp/200_75.bmp");
  EXPECT_EQ(SpriteFileName("86", 100), "bmp/86_100.bmp");
  EXPECT_EQ(SpriteFileName("24", 6), "bmp/24_06.bmp");
}

TEST(ShellAssets, SoundsAreWholeFilesWithATrailingZero) {
  HeadlessGame game;
  TForm1& form = game.Start();
  for (int n = 1; n <= 9; ++n) {
    const auto buffer = SoundBuffer(form.Record().game, n);
    ASSERT_EQ(static_cast<int>(buffer.size()), SoundFileBytes(n) + 1);
    const auto file = MakeWav(SoundFileBytes(n));
    EXPECT_TRUE(std::equal(file.begin(), file.end(), buffer.begin())) << n;
    EXPECT_EQ(buffer.back(), 0) << n;
  }
}

TEST(ShellAssets, AMissingWaveGivesOneMessageAndACloseRequest) {
  HeadlessGame game;
  fs::remove(game.dir / "wav/s03.wav");
  TForm1& form = game.Start();
  EXPECT_TRUE(form.Started()) << "loading goes on";
  EXPECT_EQ(countOf(game.app.ShownMessages(), kMissingWaveMessage), 1);
  GameState& state = form.Record().game;
  const auto silent = SoundBuffer(state, 3);
  EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(SoundBuffer(state, 4)[0], 'R') << "the others still load";
  // A zero buffer is no WAV image: the effect stays silent.
  platform::AudioDevice device;
  platform::EffectPlayer player(device);
  EXPECT_FALSE(player.Play(silent));
  // The close request is served before the first frame and saves as any close does.
  EXPECT_FALSE(game.Frame());
  EXPECT_EQ(form.Shutdowns(), 1);
  EXPECT_EQ(ReadFile(game.dir / "M_score.dat").size(), 52u);
}

TEST(ShellAssets, TwoMissingWavesGiveTwoMessagesAndOneShutdown) {
  HeadlessGame game;
  fs::remove(game.dir / "wav/s01.wav");
  fs::remove(game.dir / "wav/s09.wav");
  TForm1& form = game.Start();
  EXPECT_EQ(countOf(game.app.ShownMessages(), kMissingWaveMessage), 2);
  EXPECT_FALSE(game.Frame());
  EXPECT_EQ(form.Shutdowns(), 1);
}

TEST(ShellAssets, AMissingPictureStopsStartUpButClosingStillSaves) {
  HeadlessGame game;
  ownPictures(game.dir);
  fs::remove(game.dir / "bmp/86_57.bmp");
  TForm1& form = game.Start();
  EXPECT_FALSE(form.Started());
  ASSERT_TRUE(form.StartupError().has_value());
  EXPECT_NE(form.StartupError()->find("86_57"), std::string::npos) << *form.StartupError();
  EXPECT_EQ(countOf(game.app.ShownMessages(), *form.StartupError()), 1) << "shown in the exception box";
  EXPECT_EQ(form.Sheets().IL86.Count(), 57) << "the lists filled so far keep their cells";
  EXPECT_EQ(form.Music().PieceCount(), 0) << "later steps did not run";
  EXPECT_FALSE(form.DisplayTaken());
  EXPECT_FALSE(static_cast<bool>(game.app.OnIdle));
  game.app.ProcessMessages();
  EXPECT_TRUE(form.Splash()->Window().Visible()) << "the splash stays on screen";

  for (int i = 0; i < 5; ++i) ASSERT_TRUE(game.Frame());
  EXPECT_EQ(form.Window().PresentedFrames(), 0) << "no frame ever runs";
  EXPECT_EQ(form.Record().gameMode, 0);

  game.KeyDown(kVkEscape);
  EXPECT_FALSE(game.Frame());
  EXPECT_EQ(form.Shutdowns(), 1);
  EXPECT_EQ(ReadFile(game.dir / "M_score.dat").size(), 52u);
}

TEST(ShellAssets, AMissingPieceOfMusicStopsStartUpLikeAPicture) {
  HeadlessGame game;
  fs::remove(game.dir / "mid");
  fs::create_directory(game.dir / "mid");
  writeBytes(game.dir / "mid/m0.mid", MakeMidi());
  writeBytes(game.dir / "mid/m2.mid", MakeMidi());
  TForm1& form = game.Start();
  EXPECT_FALSE(form.Started());
  ASSERT_TRUE(form.StartupError().has_value());
  EXPECT_EQ(form.StartupError()->rfind("TMorvaneMidi エラー\n\n", 0), 0u) << *form.StartupError();
  EXPECT_EQ(form.Music().PieceCount(), 1) << "m0 registered, m1 failed, m2 never tried";
  EXPECT_EQ(game.Rec().game.musicRequest, 0);
  game.KeyDown(kVkEscape);
  EXPECT_FALSE(game.Frame());
  EXPECT_EQ(form.Shutdowns(), 1);
}

TEST(ShellFrame, TheFirstFrameBootsAndStartsM0) {
  HeadlessGame game;
  TForm1& form = game.Start();
  EXPECT_FALSE(form.Music().Playing());
  ASSERT_TRUE(game.Frame());
  EXPECT_EQ(form.FrameMusic(), std::optional<std::string>("m0"));
  EXPECT_TRUE(form.Music().Playing());
  ASSERT_NE(game.Recording(), nullptr);
  const auto sent = game.Recording()->Messages();
  const std::vector<std::uint8_t> gmSystemOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [&](const platform::RecordedMidiMessage& m) {
    return m.kind == platform::MidiMessageKind::Long && m.bytes == gmSystemOn;
  })) << "the piece starts with GM System On";
  EXPECT_EQ(game.Mode(), 1);
  EXPECT_EQ(game.Rec().game.buttonLatch, 1);
  EXPECT_EQ(game.Rec().game.musicRequest, 0);
  ASSERT_TRUE(game.Frame());
  EXPECT_FALSE(form.FrameMusic().has_value());
  EXPECT_EQ(form.Window().PresentedFrames(), 2);
}

TEST(ShellFrame, MusicRequestsOutOfRangeAreClearedNegativeOnesKept) {
  HeadlessGame game;
  TForm1& form = game.Start();
  game.Frames(2);
  std::int32_t& request = game.Rec().game.musicRequest;
  ASSERT_TRUE(form.Music().Playing());
  request = 4;
  game.Frame();
  EXPECT_EQ(request, 0);
  EXPECT_FALSE(form.FrameMusic().has_value());
  EXPECT_TRUE(form.Music().Playing()) << "the current piece is not stopped";
  request = 99;
  game.Frame();
  EXPECT_EQ(request, 0);
  request = -3;
  game.Frame();
  EXPECT_EQ(request, -3);
  EXPECT_FALSE(form.FrameMusic().has_value());
  request = 2;
  game.Frame();
  EXPECT_EQ(form.FrameMusic(), std::optional<std::string>("m1"));
  request = 3;
  game.Frame();
  EXPECT_EQ(form.FrameMusic(), std::optional<std::string>("m2"));
  EXPECT_EQ(request, 0);
}

TEST(ShellFrame, FramesStartTwentyTwoMillisecondsApartAndALateOneAtOnce) {
  HeadlessGame game;
  TForm1& form = game.Start();
  game.Frame();
  const std::uint32_t first = form.LastFrameTime();
  EXPECT_EQ(game.clock.NowMs(), first);
  game.clock.Advance(5);  // a quick frame
  game.Frame();
  EXPECT_EQ(form.LastFrameTime(), first + 22) << "waits out the rest of the period";
  game.clock.Advance(40);  // a frame whose work took 40 ms
  game.Frame();
  EXPECT_EQ(form.LastFrameTime(), first + 22 + 40) << "followed at once, nothing caught up";
  game.clock.Advance(22);
  game.Frame();
  EXPECT_EQ(form.LastFrameTime(), first + 22 + 40 + 22);
}

TEST(ShellFrame, PresentCopiesTheComposedFrameAndTheHudLiesUnderTheMode) {
  HeadlessGame game;
  TForm1& form = game.Start();
  game.Frames(3);
  EXPECT_TRUE(form.Visible() == form.Composing());
  // Title: the HUD's "SCORE" in Font0 and the title picture.
  EXPECT_EQ(form.Visible().Pixel(17, 4), Font0Color(BitmapTextCell('S')));
  EXPECT_EQ(form.Visible().Pixel(60, 85), TitleColor());
  // The window shows I2 at x 80 of a 640 x 480 black screen.
  EXPECT_EQ(form.Window().LastScreen().PixelColor(10, 10), platform::kBlack);
  EXPECT_NE(form.Window().LastScreen().PixelColor(80 + 60, 85), platform::kBlack);
}

TEST(ShellFrame, TheTransitionCoversEverythingButLateParticles) {
  HeadlessGame game;
  TForm1& form = game.Start();
  game.Frames(3);
  GameRecord& rec = game.Rec();
  ClearPool(rec.particles);
  rec.gameMode = 6;
  rec.transitionTimer = 0;
  rec.game.stage = 1;
  game.Frame();
  EXPECT_TRUE(allBlack(form.Visible())) << "background and HUD drawn before the mode step";
}

TEST(ShellShutdown, EscSavesTheTableInEveryMode) {
  for (int mode = 0; mode <= 7; ++mode) {
    HeadlessGame game;
    TForm1& form = game.Start();
    game.Frames(2);
    game.Rec().gameMode = mode;
    game.Rec().highScores[3] = 1000 + mode;
    game.KeyDown(kVkEscape);
    game.KeyUp(kVkEscape);
    EXPECT_FALSE(game.Frame()) << mode;
    EXPECT_EQ(form.Shutdowns(), 1) << mode;
    const auto bytes = ReadFile(game.dir / "M_score.dat");
    ASSERT_EQ(bytes.size(), 52u) << mode;
    EXPECT_EQ(bytes[12] | (bytes[13] << 8), 1000 + mode);
    EXPECT_FALSE(form.DisplayTaken());
  }
}

TEST(ShellShutdown, AFirstRunCreatesTheFileWithTheDefaults) {
  HeadlessGame game;
  game.Start();
  game.Frames(3);
  game.Close();
  const auto bytes = ReadFile(game.dir / "M_score.dat");
  ASSERT_EQ(bytes.size(), 52u);
  std::vector<std::uint8_t> expected;
  for (int i = 0; i < 13; ++i) put32(expected, static_cast<std::uint32_t>(60000 - 5000 * i));
  EXPECT_EQ(bytes, expected);
}

TEST(ShellShutdown, AnUnwritableTableReportsAndStillCloses) {
  HeadlessGame game;
  fs::create_directory(game.dir / "M_score.dat");
  TForm1& form = game.Start();
  game.Frames(2);
  game.Close();
  EXPECT_TRUE(game.app.Terminated());
  EXPECT_EQ(form.Shutdowns(), 1);
  EXPECT_EQ(countOf(game.app.ShownMessages(), "M_score.dat へのアクセスに失敗しました。"), 1);
}

TEST(ShellShutdown, AStoredTableIsLoadedAtStartUp) {
  HeadlessGame game;
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < 13; ++i) put32(bytes, static_cast<std::uint32_t>(1000 * (13 - i)));
  writeBytes(game.dir / "M_score.dat", bytes);
  game.Start();
  EXPECT_EQ(game.Rec().highScores[0], 13000);
  EXPECT_EQ(game.Rec().highScores[12], 1000);
  EXPECT_EQ(countOf(game.app.ShownMessages(), kCreateMessage), 0);
}

}  // namespace
}  // namespace dovrex::testing
