// The component under the library's debug log: its trace lines, exceptions
// traced once per operation they pass, and one profile row per operation.
#include <gtest/gtest.h>

#include <string>

#include "library/debug/Mvdebug.h"
#include "midi_rig.h"
#include "tests/support/trace_log.h"

namespace {

using namespace midi_test;
using MorvaneDebugSystem::TMorvaneDebug;

class MidiTrace : public test_support::TraceLogTest {
 protected:
  MidiTrace() : TraceLogTest("midi.log") {}
};

TEST_F(MidiTrace, OperationsWriteTheirTraceLines) {
  {
    MidiRig rig;
    rig.Add("m0", Smf({Track().Note(0, 0, 60, 1).End()}));
    rig.midi->DeleteData("m0");
    rig.midi->DeleteAllData();
    rig.midi->CleanUp();
    const std::string file = (rig.dir.Path() / "m0.mid").string();
    EXPECT_EQ(Traced(),
              "TMorvaneMidi::初期化開始\n"
              "TMorvaneMidi::データ作成  FileName:" +
                  file +
                  "  DataName:m0\n"
                  "TMorvaneMidi::データ削除DataName:m0\n"
                  "TMorvaneMidi::全データの削除\n"
                  "TMorvaneMidi::クリーンアップ\n");
  }
}

TEST_F(MidiTrace, ALoadErrorIsTracedByEachOperationItPasses) {
  MidiRig rig;
  const std::string file = (rig.dir.Path() / "missing.mid").string();
  const std::string message = "TMorvaneMidi エラー\n\nMIDIの読み込みに失敗しました。\nファイル名：" + file;
  const std::size_t before = Traced().size();
  EXPECT_THROW(rig.midi->CreateData("m9", file), EMvMidi);
  EXPECT_EQ(Traced().substr(before), message + "\n" + message + "\n");
}

TEST_F(MidiTrace, EveryOperationHasItsProfileScope) {
  {
    MidiRig rig;
    rig.Add("m0", Smf({Track().Note(0, 0, 60, 1).End()}));
    rig.midi->GetSMFData("m0");
    rig.midi->Play("m0", false);
    rig.midi->SetFadeOut(100);
    rig.midi->NoteOn(0, 1, 2, 3);
    rig.midi->NoteOff(0, 1);
    rig.midi->ControlChange(0, 1, 2);
    rig.midi->ProgramChange(0, 1);
    rig.midi->ChannelPressure(0, 1);
    rig.midi->PitchBend(0, 1);
    rig.midi->SetGSReverb(grRoom1);
    rig.midi->SetGSChorus(gcChorus1);
    rig.midi->SetGSDelay(gdDelay1);
    TMorvaneMidiChannel channels[16];
    rig.midi->GetChannelData(channels);
    rig.Step(2);
    rig.Deliver();
    rig.midi->Stop();
  }
  const auto names = ProfiledNames();
  for (const char* name : {"TMorvaneMidi::TMorvaneMidi",
                           "TMorvaneMidi::~TMorvaneMidi",
                           "TMorvaneMidi::Init",
                           "TMorvaneMidi::CleanUp",
                           "TMorvaneMidi::CreateData",
                           "TMorvaneMidi::GetSMFData",
                           "TMorvaneMidi::Play",
                           "TMorvaneMidi::Stop",
                           "TMorvaneMidi::SetFadeOut",
                           "TMorvaneMidi::Reset",
                           "TMorvaneMidi::MidiReset",
                           "TMorvaneMidi::NoteOn",
                           "TMorvaneMidi::NoteOff",
                           "TMorvaneMidi::ControlChange",
                           "TMorvaneMidi::ProgramChange",
                           "TMorvaneMidi::ChannelPressure",
                           "TMorvaneMidi::PitchBend",
                           "TMorvaneMidi::SetGSReverb",
                           "TMorvaneMidi::SetGSChorus",
                           "TMorvaneMidi::SetGSDelay",
                           "TMorvaneMidi::GetChannelData",
                           "TMorvaneMidiData::TMorvaneMidiData",
                           "TMorvaneMidiData::~TMorvaneMidiData",
                           "TMorvaneMidiData::LoadFile",
                           "TMorvaneMidiData::ReadTrack",
                           "TMorvaneMidiData::DefaultEvent",
                           "TMorvaneMidiData::MetaEvent",
                           "TMorvaneMidiDataInfo::TMorvaneMidiDataInfo",
                           "TMorvaneMidiDataInfo::~TMorvaneMidiDataInfo",
                           "TMorvaneMidiDataInfo::Clear"}) {
    EXPECT_TRUE(names.contains(name)) << name;
  }
  // The play thread opens no scopes: every one opened was closed in order.
  EXPECT_EQ(TMorvaneDebug::GetProfiler()->OpenScopes(), 0u);
}

TEST(MidiTraceOff, NothingIsProfiledWhileTheLogIsClosed) {
  ASSERT_EQ(TMorvaneDebug::GetProfiler(), nullptr);
  MidiRig rig;
  rig.Add("m0", Smf({Track().Note(0, 0, 60, 1).End()}));
  rig.midi->Play("m0", false);
  rig.Step();
  EXPECT_EQ(TMorvaneDebug::GetProfiler(), nullptr);
}

}  // namespace
