// The mixer with threads: the real device under SDL's dummy driver, sources
// added and removed while it plays, notifications waited for on other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/audio/audio_device.h"
#include "platform/audio/audio_event.h"
#include "platform/audio/effect_player.h"
#include "tests/platform/audio/audio_test_util.h"
#include "tests/platform/audio/wav_builder.h"

using namespace platform;

using namespace audiotest;

namespace {

// Upper bound for things that take a few callbacks; only reached on failure.
constexpr std::uint32_t kPatienceMs = 10000;

bool waitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace

TEST(AudioEvent, WakesAWaiterOnAnotherThread) {
  AudioEvent event;
  std::atomic<std::uint32_t> seen{0};
  std::thread waiter([&] { seen = event.Wait(kPatienceMs); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  event.Signal(6);
  waiter.join();
  EXPECT_EQ(seen.load(), 6u);
  EXPECT_EQ(event.Peek(), 0u);  // the wait consumed the bits
}

TEST(AudioEvent, BitsGatherUntilTakenAndWaitsTimeOut) {
  AudioEvent event;
  EXPECT_EQ(event.Wait(5), 0u);
  event.Signal(1);
  event.Signal(4);
  event.Signal(0);
  EXPECT_EQ(event.Peek(), 5u);
  EXPECT_EQ(event.Wait(0), 5u);
  EXPECT_EQ(event.Take(), 0u);
}

TEST(AudioEvent, PingPongNeverLosesAWakeUp) {
  // Each side waits for the other's signal before it signals back: one lost
  // wake-up would stall the game until the wait times out.
  AudioEvent ping;
  AudioEvent pong;
  constexpr int kRounds = 3000;
  std::atomic<int> answered{0};
  std::thread other([&] {
    for (int i = 0; i < kRounds; ++i) {
      if (ping.Wait(kPatienceMs) == 0) return;
      ++answered;
      pong.Signal(2);
    }
  });
  int rounds = 0;
  for (int i = 0; i < kRounds; ++i) {
    ping.Signal(1);
    if (pong.Wait(kPatienceMs) != 2) break;
    ++rounds;
  }
  other.join();
  EXPECT_EQ(rounds, kRounds);
  EXPECT_EQ(answered.load(), kRounds);
}

TEST(RealDevice, PlaysUnderTheDummyDriverAndNotifiesAtStop) {
  AudioDevice device(PcmFormat{22050, 2, 16});
  ASSERT_TRUE(device.Open()) << device.LastError();
  EXPECT_TRUE(device.IsOpen());
  EXPECT_TRUE(device.Open());                // already open
  auto voice = Constant(22050, 2205, 8000);  // 100 ms
  auto event = std::make_shared<AudioEvent>();
  ASSERT_TRUE(voice->SetNotifications({{2000, event, 1}, {VoiceNotification::kStop, event, 2}}));
  ASSERT_TRUE(device.Add(voice));
  voice->Play(false);
  std::uint32_t bits = 0;
  while ((bits & 2) == 0) {
    const std::uint32_t more = event.get()->Wait(kPatienceMs);
    ASSERT_NE(more, 0u) << "no notification from the audio thread";
    bits |= more;
  }
  EXPECT_EQ(bits, 3u);
  EXPECT_FALSE(voice->IsPlaying());
  device.Close();
  EXPECT_FALSE(device.IsOpen());
  // Closed again, it renders on the caller's thread.
  voice->Play(false);
  EXPECT_GT(Peak(RenderFloat(device, 100)), 0.2f);
}

TEST(RealDevice, SourcesComeAndGoWhileItPlays) {
  AudioDevice device;
  ASSERT_TRUE(device.Open()) << device.LastError();
  auto resident = Constant(44100, 4410, 1000);
  resident->Play(true);
  device.Add(resident);
  std::atomic<bool> stop{false};
  // Another thread turns the resident voice's controls meanwhile.
  std::thread knobs([&] {
    for (int i = 0; !stop.load(); ++i) {
      resident->SetVolume(-(i % 3000));
      resident->SetPan((i % 2001) - 1000);
      resident->SetFrequency(22050 + i % 1000);
      if (i % 50 == 0) resident->SetPosition(static_cast<std::uint32_t>(i % 8000));
      std::this_thread::yield();
    }
  });
  std::thread churn([&] {
    for (int i = 0; i < 300; ++i) {
      auto v = Constant(44100, 64, 2000);
      v->Play(i % 2 == 0);
      device.Add(v);
      if (i % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
      device.Remove(v);
    }
  });
  EffectPlayer player(device);
  const auto effect = wavtest::Wav16(44100, 1, std::vector<std::int16_t>(100, 3000));
  for (int i = 0; i < 300; ++i) {
    player.Play(effect);
    if (i % 10 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  churn.join();
  stop = true;
  knobs.join();
  EXPECT_TRUE(waitUntil([&] { return device.SourceCount() == 2; })) << device.SourceCount();
  device.Remove(resident);
  EXPECT_TRUE(waitUntil([&] { return device.SourceCount() == 1; }));
  EXPECT_TRUE(resident->IsPlaying());
  device.Close();
}

TEST(RealDevice, ARemovalIsNeverDroppedWhenTheCommandRingIsFull) {
  // Holds the audio thread inside a mixing pass until released, so the
  // command ring fills up behind it.
  struct Gate final : AudioSource {
    std::atomic<bool> entered{false};
    std::atomic<bool> released{false};
    void Mix(float*, std::size_t, std::uint32_t) noexcept override {
      entered.store(true);
      entered.notify_all();
      released.wait(false);
    }
    void Release() {
      released.store(true);
      released.notify_all();
    }
  };
  struct Silent final : AudioSource {
    void Mix(float*, std::size_t, std::uint32_t) noexcept override {}
  };
  constexpr std::size_t kRingCommands = 1024;

  AudioDevice device(PcmFormat{22050, 2, 16});
  ASSERT_TRUE(device.Open()) << device.LastError();
  auto gate = std::make_shared<Gate>();
  // Released on every way out, or closing the device would wait forever.
  const std::unique_ptr<Gate, void (*)(Gate*)> releaseOnExit(gate.get(), [](Gate* g) { g->Release(); });
  auto target = Constant(22050, 100, 8000);
  target->Play(true);
  ASSERT_TRUE(device.Add(target));
  ASSERT_TRUE(device.Add(gate));
  gate->entered.wait(false);

  for (std::size_t i = 0; i < kRingCommands; ++i) ASSERT_TRUE(device.Add(std::make_shared<Silent>()));
  device.Remove(target);
  EXPECT_TRUE(device.Add(std::make_shared<Silent>()));
  gate->Release();
  device.Close();

  // Everything but the removed voice is attached, and the voice is not mixed.
  EXPECT_EQ(device.SourceCount(), 1 + kRingCommands + 1);
  EXPECT_EQ(Peak(RenderFloat(device, 100)), 0.0f);
}

TEST(RealDevice, AStreamingRingIsRefilledOnNotifications) {
  // The pattern of a streamed sound: a looping two-half ring, a thread that
  // refills the half the cursor has just left.
  AudioDevice device;
  ASSERT_TRUE(device.Open()) << device.LastError();
  constexpr std::size_t kHalfFrames = 2205;  // 50 ms
  auto ring = Voice::Create(PcmFormat{44100, 1, 16}, 2 * kHalfFrames * 2);
  auto event = std::make_shared<AudioEvent>();
  ASSERT_TRUE(ring->SetNotifications(
      {{0, event, 1}, {kHalfFrames * 2, event, 2}, {VoiceNotification::kStop, event, 4}}));
  std::atomic<int> refills{0};
  std::thread streamer([&] {
    std::vector<std::uint8_t> half(kHalfFrames * 2);
    for (std::int16_t fill = 1;; ++fill) {
      const std::uint32_t bits = event->Wait(kPatienceMs);
      if (bits == 0 || (bits & 4) != 0) return;
      for (std::size_t i = 0; i < half.size(); i += 2) half[i] = static_cast<std::uint8_t>(fill);
      // At the start refill the second half, at the middle the first.
      ring->Write((bits & 1) != 0 ? kHalfFrames * 2 : 0, half);
      ++refills;
    }
  });
  device.Add(ring);
  ring->Play(true);
  EXPECT_TRUE(waitUntil([&] { return refills.load() >= 6; }));
  ring->Stop();
  streamer.join();
  device.Close();
}
