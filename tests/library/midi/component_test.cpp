// The component's surface: Init and CleanUp, the registry of pieces, Play and
// Stop, and the notifications raised on the main thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi_rig.h"

namespace {

using namespace midi_test;
using platform::MidiOut;
using platform::NullMidiOut;

const std::string kPrefix = "TMorvaneMidi エラー\n\n";
const std::string kNotInitialized = kPrefix + "まだ初期化されてません。";

template <class F>
std::string ErrorOf(F&& operation) {
  try {
    operation();
  } catch (const EMvMidi& error) {
    return error.Message;
  }
  return "";
}

Bytes ShortPiece(std::uint8_t key = 60) {
  return Smf({Track().Note(0, 0, key, 100).Note(50, 0, key, 0).End()});
}
Bytes EndlessPiece(std::uint32_t tempo = 500000) {
  return Smf({Track().Tempo(0, tempo).Note(0, 0, 70, 100).Note(1000000, 0, 70, 0).End()});
}

TEST(MidiComponent, OperationsThatNeedTheDeviceRaiseBeforeInit) {
  MidiRig rig(false);
  rig.Add("m0", ShortPiece());  // registering needs no device
  EXPECT_EQ(ErrorOf([&] { rig.midi->Play("m0", true); }), kNotInitialized);
  EXPECT_EQ(ErrorOf([&] { rig.midi->Stop(); }), kNotInitialized);
  EXPECT_EQ(ErrorOf([&] { rig.midi->SetFadeOut(100); }), kNotInitialized);
  EXPECT_EQ(ErrorOf([&] { rig.midi->MidiReset(mrGSReset); }), kNotInitialized);
  EXPECT_EQ(ErrorOf([&] { rig.midi->SetGSReverb(grHall1); }), kNotInitialized);
  EXPECT_EQ(ErrorOf([&] { rig.midi->SetGSChorus(gcChorus3); }), kNotInitialized);
  EXPECT_EQ(ErrorOf([&] { rig.midi->SetGSDelay(gdDelay1); }), kNotInitialized);
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_EQ(rig.opened, 0);
  // Queued messages before Init go to no device and raise nothing.
  rig.midi->NoteOn(0, 60, 100, 0xFFFFFFFF);
  rig.Step();
}

TEST(MidiComponent, InitOpensOnceAndCleanUpAllowsANewInit) {
  MidiRig rig;
  EXPECT_TRUE(rig.midi->Initialized());
  rig.midi->Init();  // already open: nothing changes
  EXPECT_EQ(rig.opened, 1);
  rig.midi->CleanUp();
  EXPECT_FALSE(rig.midi->Initialized());
  EXPECT_EQ(ErrorOf([&] { rig.midi->Stop(); }), kNotInitialized);
  rig.midi->Init();
  EXPECT_EQ(rig.opened, 2);
  rig.Add("m0", ShortPiece());
  rig.midi->Play("m0", false);
  rig.Step();
  EXPECT_EQ(rig.BytesSince().back(), ShortBytes(0x90, 60, 100));
}

TEST(MidiComponent, InitWithAnOpenerThatGivesNothingStillCompletes) {
  TMorvaneMidiSetup setup;
  auto clock = std::make_shared<TMidiStepClock>();
  setup.Clock = clock;
  setup.Opener = [] { return std::unique_ptr<MidiOut>(); };
  TMorvaneMidi midi(nullptr, setup);
  midi.Init();
  TempDir dir;
  midi.CreateData("m", dir.Write("m.mid", ShortPiece()));
  midi.Play("m", false);
  for (int i = 0; i < 6; ++i) clock->Advance(10);
  EXPECT_FALSE(midi.Playing());  // the scheduler ran, silently
}

TEST(MidiComponent, CreateDataTwiceKeepsTheFirstPiece) {
  MidiRig rig;
  rig.Add("m0", ShortPiece(60));
  TMorvaneMidiData* first = rig.midi->GetSMFData("m0");
  rig.midi->CreateData("m0", rig.dir.Write("other.mid", ShortPiece(70)));
  EXPECT_EQ(rig.midi->GetSMFData("m0"), first);
  EXPECT_EQ(first->ShortMessages.front().Data1, 60);
  // Nothing is even opened the second time.
  rig.midi->CreateData("m0", "no such file");
  EXPECT_EQ(rig.midi->DataCount(), 1);
}

TEST(MidiComponent, FailedCreateDataRegistersNothing) {
  MidiRig rig;
  const std::string file = rig.dir.Write("bad.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 2, 0, 0, 0, 96});
  EXPECT_EQ(ErrorOf([&] { rig.midi->CreateData("m9", file); }),
            kPrefix + "SMFFormat0またはSMFFormat1ではありません。\nファイル名：" + file);
  EXPECT_EQ(ErrorOf([&] { rig.midi->GetSMFData("m9"); }), kPrefix + "データが存在しません。\nデータ名：m9");
  EXPECT_EQ(rig.midi->DataCount(), 0);
}

TEST(MidiComponent, EitherSeparatorFindsTheFile) {
  MidiRig rig;
  rig.dir.Write("mid/m0.mid", ShortPiece());
  rig.midi->CreateData("m0", (rig.dir.Path() / "mid").string() + "\\m0.mid");
  rig.midi->CreateData("m1", (rig.dir.Path() / "mid").string() + "/m0.mid");
  EXPECT_EQ(rig.midi->DataCount(), 2);
}

TEST(MidiComponent, PlayOfAnUnknownNameChangesNothing) {
  MidiRig rig;
  const std::size_t before = rig.Count();
  EXPECT_EQ(ErrorOf([&] { rig.midi->Play("m7", true); }), kPrefix + "データが存在しません。\nデータ名：m7");
  rig.Step();
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_EQ(rig.Count(), before);  // not even GM System On
}

TEST(MidiComponent, PlayWhilePlayingDoesNothing) {
  MidiRig rig;
  rig.Add("m0", EndlessPiece());
  rig.Add("m1", ShortPiece(80));
  rig.midi->Play("m0", true);
  rig.Step(3);
  const std::size_t before = rig.Count();
  rig.midi->Play("m1", true);
  rig.midi->Play("nobody", true);  // not even looked up
  EXPECT_EQ(rig.Count(), before);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 28u);
}

TEST(MidiComponent, EndOfPieceRaisesOnMidiEndOnTheMainThreadThenResets) {
  MidiRig rig;
  std::vector<TComponent*> ends;
  std::vector<unsigned long> positionsSeen;
  rig.midi->SetOnMidiEnd([&](TComponent* sender) {
    ends.push_back(sender);
    positionsSeen.push_back(rig.midi->GetDeltaTime());
  });
  rig.Add("m0", Smf({Track().Tempo(0, 300000).Note(0, 0, 60, 100).Note(20, 0, 60, 0).End()}));
  rig.midi->Play("m0", false);
  rig.Step(3);
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_TRUE(ends.empty());  // nothing runs until the main thread dispatches
  rig.Deliver();
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0], rig.midi.get());
  EXPECT_GT(positionsSeen[0], 20u);  // raised before the reset
  EXPECT_EQ(rig.midi->GetDeltaTime(), 0u);
  EXPECT_EQ(rig.midi->GetMusicTempo(), 500000u);
  rig.Deliver();
  EXPECT_EQ(ends.size(), 1u);
}

TEST(MidiComponent, PlayRaisesOnMidiStartOnTheMainThread) {
  MidiRig rig;
  int starts = 0;
  rig.midi->SetOnMidiStart([&](TComponent* sender) {
    EXPECT_EQ(sender, rig.midi.get());
    ++starts;
  });
  rig.Add("m0", EndlessPiece());
  rig.midi->Play("m0", false);
  EXPECT_EQ(starts, 0);
  rig.Deliver();
  EXPECT_EQ(starts, 1);
}

TEST(MidiComponent, StopWhileNothingPlaysOnlyResetsTheDevice) {
  MidiRig rig;
  rig.midi->Stop();  // returns without any step of the thread
  const auto messages = rig.out->Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, MidiMessageKind::Reset);
}

TEST(MidiComponent, StopEndsThePieceAndSilencesTheDevice) {
  MidiRig rig;
  int ends = 0;
  rig.midi->SetOnMidiEnd([&](TComponent*) { ++ends; });
  rig.Add("m0", EndlessPiece());
  rig.midi->Play("m0", true);
  rig.midi->SetFadeOut(5000);
  rig.Step(5);
  rig.StopWhileStepping();
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_EQ(rig.out->Messages().back().kind, MidiMessageKind::Reset);
  const std::size_t after = rig.Count();
  rig.Step(5);
  EXPECT_EQ(rig.Count(), after);
  rig.Deliver();
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 0u);
}

// The game changes music with Stop then Play at once; the stop's end
// notification reaches the main thread only after the new piece started.
TEST(MidiComponent, LateEndOfAStoppedPieceLeavesTheNextPieceAlone) {
  MidiRig rig;
  int ends = 0, starts = 0;
  rig.midi->SetOnMidiEnd([&](TComponent*) { ++ends; });
  rig.midi->SetOnMidiStart([&](TComponent*) { ++starts; });
  rig.Add("m0", EndlessPiece());
  rig.Add("m1", EndlessPiece(400000));
  rig.midi->Play("m0", true);
  rig.Step(4);
  rig.StopWhileStepping();
  rig.midi->Play("m1", true);
  rig.Step(3);
  const unsigned long position = rig.midi->GetDeltaTime();
  EXPECT_GT(position, 0u);
  EXPECT_EQ(rig.midi->GetMusicTempo(), 400000u);

  rig.Deliver();  // start of m0, end of m0, start of m1
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(rig.midi->GetDeltaTime(), position);
  EXPECT_EQ(rig.midi->GetMusicTempo(), 400000u);
  EXPECT_TRUE(rig.midi->Playing());

  // The new piece's own end is still reported.
  rig.StopWhileStepping();
  rig.Deliver();
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(rig.midi->GetDeltaTime(), 0u);
}

TEST(MidiComponent, DeletingThePieceThatPlaysStopsItFirst) {
  MidiRig rig;
  rig.Add("m0", EndlessPiece());
  rig.Add("m1", EndlessPiece());
  rig.midi->Play("m0", true);
  rig.Step(2);
  rig.midi->DeleteData("m1");  // not the one playing
  EXPECT_TRUE(rig.midi->Playing());
  auto deleting = std::async(std::launch::async, [&] { rig.midi->DeleteData("m0"); });
  while (deleting.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) rig.Step();
  deleting.get();
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_EQ(rig.midi->DataCount(), 0);
  rig.Step(3);  // the thread reads nothing of the freed piece
  rig.midi->DeleteData("never there");
}

TEST(MidiComponent, DeleteAllDataStopsAndFreesEverything) {
  MidiRig rig;
  rig.Add("a", EndlessPiece());
  rig.Add("b", ShortPiece());
  rig.midi->Play("b", true);
  rig.Step();
  auto deleting = std::async(std::launch::async, [&] { rig.midi->DeleteAllData(); });
  while (deleting.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) rig.Step();
  deleting.get();
  EXPECT_FALSE(rig.midi->Playing());
  EXPECT_EQ(rig.midi->DataCount(), 0);
  EXPECT_EQ(ErrorOf([&] { rig.midi->Play("a", true); }), kPrefix + "データが存在しません。\nデータ名：a");
}

TEST(MidiComponent, DestroyingTheComponentDropsItsPendingNotifications) {
  int ends = 0;
  {
    MidiRig rig;
    rig.midi->SetOnMidiEnd([&](TComponent*) { ++ends; });
    rig.Add("m0", ShortPiece());
    rig.midi->Play("m0", false);
    rig.Step(10);
    EXPECT_FALSE(rig.midi->Playing());
  }
  EXPECT_GE(MainThreadQueue().RunPending(), 1);
  EXPECT_EQ(ends, 0);
}

TEST(MidiComponent, DestroyingWhilePlayingStopsTheThreadAndTheDevice) {
  auto clock = std::make_shared<TMidiStepClock>();
  TempDir dir;
  std::atomic<bool> done{false};
  std::thread stepper;
  {
    TMorvaneMidiSetup setup;
    setup.Clock = clock;
    setup.Opener = [] { return std::make_unique<NullMidiOut>(); };
    TMorvaneMidi midi(nullptr, setup);
    midi.Init();
    midi.CreateData("m", dir.Write("m.mid", EndlessPiece()));
    midi.Play("m", true);
    clock->Advance(10);
    EXPECT_TRUE(midi.Playing());
    // The destructor's Stop waits for a step of the thread.
    stepper = std::thread([&] {
      while (!done) clock->Advance(10);
    });
  }
  done = true;
  stepper.join();
  MainThreadQueue().RunPending();
}

TEST(MidiComponent, OwnerFreesTheComponent) {
  TComponent owner(nullptr);
  auto* midi =
      new TMorvaneMidi(&owner, TMorvaneMidiSetup{[] { return std::make_unique<NullMidiOut>(); }, {}, 10});
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), midi);
  midi->Init();
  EXPECT_TRUE(midi->GetReport());
}

}  // namespace
