// Runs the mvsound example on files built here and reads what it prints and
// writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>

#include "platform/audio/wav_image.h"
#include "sound_rig.h"
#include "tests/support/program_run.h"

namespace {

using namespace sound_test;

ProgramRun mvsound(const TempDir& dir, const std::string& arguments) {
  const std::string errFile = (dir.Path() / "stderr.txt").string();
  return RunProgram(std::string(MVSOUND_PROGRAM) + " " + arguments, errFile);
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MvsoundExample, InfoPrintsTheHeader) {
  TempDir dir;
  const std::string file = dir.Write("a.wav", wavtest::Riff({{"fmt ", wavtest::FmtBody(1, 2, 44100, 16), {}},
                                                             {"LIST", Bytes(5, 'x'), {}},
                                                             {"data", wavtest::Samples16(Ramp(1000)), {}}}));
  const ProgramRun run = mvsound(dir, "info " + file);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "format tag: 1\n"
            "channels: 2\n"
            "rate: 44100\n"
            "bytes per second: 176400\n"
            "block alignment: 4\n"
            "bits: 16\n"
            "DataStart: 58\n"
            "DataSize: 2000\n"
            "duration: 0.011 s\n"
            "HalfSize: 352800\n");
}

TEST(MvsoundExample, RenderIsOfflineExactAndRepeatable) {
  TempDir dir;
  const auto samples = Ramp(6000, 9);
  const std::string file = dir.Write("a.wav", wavtest::Wav16(8000, 1, samples));
  const std::string one = (dir.Path() / "one.wav").string();
  const std::string two = (dir.Path() / "two.wav").string();
  const std::string options = " --stream --loop --seconds 5 --rate 8000 --channels 1 --bits 16";
  ASSERT_EQ(mvsound(dir, "render " + file + " " + one + options).status, 0);
  ASSERT_EQ(mvsound(dir, "render " + file + " " + two + options).status, 0);
  const Bytes first = ReadFile(one);
  EXPECT_EQ(first, ReadFile(two));

  const auto image = platform::ParseWavImage(first);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->format, (platform::PcmFormat{8000, 1, 16}));
  ASSERT_EQ(image->data.size(), 5u * 8000u * 2u);
  for (std::size_t i = 0; i < image->data.size() / 2; ++i) {
    const auto value = static_cast<std::int16_t>(image->data[2 * i] | (image->data[2 * i + 1] << 8));
    ASSERT_EQ(value, Mixed16(samples[i % samples.size()])) << i;
  }
}

TEST(MvsoundExample, RenderAppliesTheControls) {
  TempDir dir;
  const std::string file = dir.Write("a.wav", wavtest::Wav16(8000, 1, Ramp(800)));
  const std::string out = (dir.Path() / "o.wav").string();
  // Played at twice its rate the sound lasts half as long.
  ASSERT_EQ(mvsound(dir, "render " + file + " " + out + " --rate 8000 --channels 1 --frequency 16000").status,
            0);
  const Bytes bytes = ReadFile(out);
  const auto image = platform::ParseWavImage(bytes);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->data.size(), 512u * 2u);  // one block
  const ProgramRun quiet =
      mvsound(dir, "render " + file + " " + out + " --rate 8000 --channels 1 --volume -10000");
  ASSERT_EQ(quiet.status, 0);
  const Bytes silent = ReadFile(out);
  const auto silentImage = platform::ParseWavImage(silent);
  ASSERT_TRUE(silentImage.has_value());
  for (std::uint8_t b : silentImage->data) ASSERT_EQ(b, 0);
}

TEST(MvsoundExample, ErrorsPrintTheComponentsMessage) {
  TempDir dir;
  const std::string missing = (dir.Path() / "none.wav").string();
  const ProgramRun run = mvsound(dir, "info " + missing);
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.err,
            "TMorvaneSoundBuffer エラー\n\nWAVEの読み込みに失敗しました。\nファイル名：" + missing + "\n");

  const std::string file = dir.Write("a.wav", wavtest::Wav16(8000, 1, Ramp(80)));
  const ProgramRun pan =
      mvsound(dir, "render " + file + " " + (dir.Path() / "o.wav").string() + " --pan 99999");
  EXPECT_NE(pan.status, 0);
  EXPECT_EQ(pan.err, "TMorvaneSound エラー\n\nパンの設定に失敗しました。\nバッファ名：" + file + "\n");

  const ProgramRun usage = mvsound(dir, "render " + file);
  EXPECT_NE(usage.status, 0);
  EXPECT_NE(usage.err.find("usage: mvsound"), std::string::npos);
  EXPECT_NE(mvsound(dir, "dance").status, 0);
  EXPECT_NE(mvsound(dir, "play " + file + " --seconds x").status, 0);

  const ProgramRun help = mvsound(dir, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("mvsound render FILE OUT.wav"), std::string::npos);
}

TEST(MvsoundExample, OptionsInfoAndErrorsSayWhatAUserNeeds) {
  TempDir dir;
  const std::string file = dir.Write("a.wav", wavtest::Wav16(8000, 1, Ramp(6000)));
  const std::string out = (dir.Path() / "o.wav").string();

  // Seconds with a fraction.
  ASSERT_EQ(
      mvsound(dir, "render " + file + " " + out + " --loop --seconds 0.45 --rate 8000 --channels 1").status,
      0);
  const auto image = platform::ParseWavImage(ReadFile(out));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->data.size(), 3600u * 2u);

  // The duration, and a file it cannot play described before the reason.
  EXPECT_NE(mvsound(dir, "info " + file).out.find("duration: 0.750 s\n"), std::string::npos);
  const struct {
    std::string name;
    Bytes fmt;
    std::string shown;
  } refused[] = {
      {"deep.wav", wavtest::FmtBody(1, 2, 44100, 24), "bits: 24\n"},
      {"float.wav", wavtest::FmtBody(3, 1, 44100, 32), "format tag: 3\n"},
      {"wide.wav", wavtest::FmtBody(1, 3, 44100, 16), "channels: 3\n"},
  };
  for (const auto& r : refused) {
    const std::string path =
        dir.Write(r.name, wavtest::Riff({{"fmt ", r.fmt, {}}, {"data", Bytes(600, 1), {}}}));
    const ProgramRun run = mvsound(dir, "info " + path);
    EXPECT_EQ(run.status, 1) << r.name;
    EXPECT_NE(run.out.find(r.shown), std::string::npos) << r.name << run.out;
    EXPECT_NE(run.out.find("duration: "), std::string::npos) << r.name << run.out;
    const std::string refusal =
        "TMorvaneSoundBuffer エラー\n\nファイルフォーマットが不正です。\nファイル名：" + path + "\n";
    ASSERT_GT(run.err.size(), refusal.size()) << r.name << run.err;
    EXPECT_EQ(run.err.substr(0, 10 + path.size()), "mvsound: " + path + ":") << r.name;
    EXPECT_EQ(run.err.substr(run.err.size() - refusal.size()), refusal) << r.name;
  }

  // Errors about a sound name its file.
  const ProgramRun volume = mvsound(dir, "render " + file + " " + out + " --volume 5");
  EXPECT_EQ(volume.status, 1);
  EXPECT_EQ(volume.err, "TMorvaneSound エラー\n\n音量の設定に失敗しました。\nバッファ名：" + file + "\n");

  // Without an audio output the system's reason is given as well.
  const ProgramRun silent = RunProgram(
      "SDL_AUDIODRIVER=mvsound_test_no_such_driver " + std::string(MVSOUND_PROGRAM) + " play " + file,
      (dir.Path() / "stderr.txt").string());
  EXPECT_EQ(silent.status, 1);
  const std::string component = "TMorvaneSound エラー\n\nDirectSoundの初期化に失敗しました。\n";
  EXPECT_EQ(silent.err.substr(0, component.size()), component) << silent.err;
  const std::string reason = "mvsound: no audio output: ";
  const std::size_t at = silent.err.find(reason);
  ASSERT_NE(at, std::string::npos) << silent.err;
  EXPECT_GT(silent.err.size(), at + reason.size() + 1) << silent.err;

  // A bad output format is a usage error, whatever its size.
  for (const std::string bad : {"--rate 5", "--rate 4294975296", "--channels 3", "--channels 4294967297",
                                "--bits 24", "--bits 4294967304"}) {
    const ProgramRun run = mvsound(dir, "render " + file + " " + out + " " + bad);
    EXPECT_EQ(run.status, 2) << bad;
    EXPECT_NE(run.err.find("usage: mvsound"), std::string::npos) << bad;
  }

  const ProgramRun help = mvsound(dir, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--seconds S"), std::string::npos);
  EXPECT_NE(help.out.find("duration"), std::string::npos);
}

TEST(MvsoundExample, PlayRunsOnTheOutputAndLogs) {
  TempDir dir;
  const std::string file = dir.Write("a.wav", wavtest::Wav16(22050, 1, Ramp(2000)));
  const ProgramRun run = mvsound(dir, "play " + file + " " + file + " --log");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("TMorvaneSound::バッファ作成  FileName:" + file + "  BufferName:" + file + "\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("TMorvaneSound::バッファ作成  FileName:" + file + "  BufferName:" + file + " (2)\n"),
            std::string::npos);
}

}  // namespace
