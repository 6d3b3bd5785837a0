// The component under the debug log: its trace lines, exceptions traced once
// per operation they pass, and a profile scope for every operation.
#include <gtest/gtest.h>

#include <string>

#include "library/debug/Mvdebug.h"
#include "sound_rig.h"
#include "tests/support/trace_log.h"

namespace {

using namespace sound_test;
using MorvaneDebugSystem::TMorvaneDebug;

class SoundTrace : public test_support::TraceLogTest {
 protected:
  SoundTrace() : TraceLogTest("sound.log") {}
};

TEST_F(SoundTrace, OperationsWriteTheirTraceLines) {
  const std::string file = dir.Write("a.wav", wavtest::Wav16(8000, 1, Ramp(100)));
  {
    TMorvaneSound sound(nullptr, {LeaveOutputClosed});
    sound.Init(nullptr);
    sound.CreateBuffer("a", file, false);
    sound.CreateBuffer("a", file, false);  // taken: no line
    sound.DeleteBuffer("a");
    sound.DeleteAllBuffer();
  }
  EXPECT_EQ(Traced(),
            "TMorvaneSound::初期化開始\n"
            "TMorvaneSound::クリーンアップ\n"
            "TMorvaneSound::COMオブジェクトの生成に成功\n"
            "TMorvaneSound::DirectSoundの初期化に成功\n"
            "TMorvaneSound::プライマリバッファの作成に成功\n"
            "TMorvaneSound::ウェブフォーマットの設定に成功\n"
            "TMorvaneSound::バッファ作成  FileName:" +
                file +
                "  BufferName:a\n"
                "TMorvaneSound::バッファ削除BufferName:a\n"
                "TMorvaneSound::全バッファの削除\n"
                "TMorvaneSound::クリーンアップ\n");
}

TEST_F(SoundTrace, ALoadErrorIsTracedByEachOperationItPasses) {
  TMorvaneSound sound(nullptr, {LeaveOutputClosed});
  sound.Init(nullptr);
  const std::string file = (dir.Path() / "missing.wav").string();
  const std::string message =
      "TMorvaneSoundBuffer エラー\n\nWAVEの読み込みに失敗しました。\nファイル名：" + file;
  const std::size_t before = Traced().size();
  EXPECT_THROW(sound.CreateBuffer("m", file, true), MorvaneSoundSystem::EMvSoundBuffer);
  EXPECT_EQ(Traced().substr(before), message + "\n" + message + "\n");

  const std::size_t later = Traced().size();
  EXPECT_THROW(sound.Play("m", false), MorvaneSoundSystem::EMvSound);
  EXPECT_EQ(Traced().substr(later), "TMorvaneSound エラー\n\nバッファが存在しません。\nバッファ名：m\n");
}

TEST_F(SoundTrace, EveryOperationHasItsProfileScope) {
  const std::string file = dir.Write("a.wav", wavtest::Wav16(8000, 1, Ramp(100)));
  {
    OfflineSound rig(8000, false, sb16bit);
    rig.sound.CreateBuffer("a", file, false);
    rig.sound.CreateBuffer("s", file, true);
    for (const char* name : {"a", "s"}) {
      rig.sound.SetPan(name, 0);
      rig.sound.SetVolume(name, 0);
      rig.sound.SetFrequency(name, 0);
      rig.sound.Play(name, false);
      rig.sound.IsPlaying(name);
      rig.Render(512);
      rig.sound.Stop(name);
    }
    rig.sound.SetPrimaryVolume(-10);
    rig.sound.GetBuffer("a");
    rig.sound.DeleteBuffer("a");
    rig.sound.DeleteAllBuffer();
  }
  const auto names = ProfiledNames();
  for (const char* name : {"TMorvaneSound::TMorvaneSound",
                           "TMorvaneSound::~TMorvaneSound",
                           "TMorvaneSound::Init",
                           "TMorvaneSound::CleanUp",
                           "TMorvaneSound::CreateBuffer",
                           "TMorvaneSound::DeleteBuffer",
                           "TMorvaneSound::DeleteAllBuffer",
                           "TMorvaneSound::Play",
                           "TMorvaneSound::Stop",
                           "TMorvaneSound::IsPlaying",
                           "TMorvaneSound::SetPan",
                           "TMorvaneSound::SetVolume",
                           "TMorvaneSound::SetFrequency",
                           "TMorvaneSound::SetStereo",
                           "TMorvaneSound::SetSamplingRatio",
                           "TMorvaneSound::SetBits",
                           "TMorvaneSound::SetPrimaryVolume",
                           "TMorvaneSound::GetBuffer",
                           "TMorvaneSound::WaitForStreams",
                           "TMorvaneSoundBuffer::TMorvaneSoundBuffer",
                           "TMorvaneSoundBuffer::~TMorvaneSoundBuffer",
                           "TMorvaneSoundBuffer::LoadFile"}) {
    EXPECT_TRUE(names.contains(name)) << name;
  }
  // Streaming threads open no scopes: every one opened was closed in order.
  EXPECT_EQ(TMorvaneDebug::GetProfiler()->OpenScopes(), 0u);
}

TEST(SoundTraceOff, NothingIsProfiledWhileTheLogIsClosed) {
  ASSERT_EQ(TMorvaneDebug::GetProfiler(), nullptr);
  OfflineSound rig(8000, false, sb16bit);
  EXPECT_EQ(TMorvaneDebug::GetProfiler(), nullptr);
}

}  // namespace
