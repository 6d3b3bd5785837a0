// The streaming side of TMorvaneSoundBuffer: one thread per play refills the
// half of the voice that has just finished playing, woken by the voice's
// notifications.
#include <algorithm>
#include <array>
#include <span>
#include <system_error>

#include "library/sound/Mvsound.h"
#include "library/sound/sound_buffer.h"

namespace MorvaneSoundSystem {

namespace {

// Sample bytes moved from the file to the voice per read.
constexpr std::size_t kRefillChunkBytes = 16 * 1024;
// Silence of unsigned 8-bit and of signed 16-bit samples.
constexpr std::uint8_t kSilence8 = 0x80;
constexpr std::uint8_t kSilence16 = 0x00;

}  // namespace

void TMorvaneSound::StreamPlayThread(void* Buffer) { static_cast<TMorvaneSoundBuffer*>(Buffer)->RunStream(); }

bool TMorvaneSoundBuffer::StartStream(bool Loop) {
  EndStream();
  // The mixer may still be reading the voice it has just seen stopped; the
  // first refill must not write under it, nor may that pass take the rewind.
  FDevice->WaitForMixPass();
  Buffers[0]->SetPosition(0);
  // The stop of the previous play may still be raised; it must not end this one.
  Events->Take();
  Source->Seek(DataStart, TSeekOrigin::soBeginning);
  // Set before the thread starts: its first refill already depends on it.
  LoopFlag.store(Loop, std::memory_order_release);
  const std::uint32_t before = FServed.load(std::memory_order_acquire);
  FThreadEnded.store(false, std::memory_order_release);
  try {
    FThread = std::thread(&TMorvaneSound::StreamPlayThread, static_cast<void*>(this));
  } catch (const std::system_error&) {
    FThreadEnded.store(true, std::memory_order_release);
    return false;
  }
  // The voice starts only once its first half holds sound, so it never plays
  // what an earlier play left there.
  FServed.wait(before, std::memory_order_acquire);
  return true;
}

void TMorvaneSoundBuffer::EndStream() {
  if (Buffers[0]) Buffers[0]->Stop();
  if (FThread.joinable()) {
    // Also for a voice that was not playing, whose Stop raises nothing.
    Events->Signal(kNotifyStop);
    FThread.join();
  }
}

void TMorvaneSoundBuffer::SyncStream() {
  if (!FThread.joinable()) return;
  const std::uint32_t before = FServed.load(std::memory_order_acquire);
  // Ended is set before the last bump, so an end already counted in `before`
  // is seen here and nothing is left to wait for.
  if (FThreadEnded.load(std::memory_order_acquire)) return;
  Events->Signal(kSync);
  // The thread bumps FServed for the sync or when it ends, whichever comes first.
  FServed.wait(before, std::memory_order_acquire);
}

void TMorvaneSoundBuffer::served() {
  FServed.fetch_add(1, std::memory_order_acq_rel);
  FServed.notify_all();
}

void TMorvaneSoundBuffer::RunStream() {
  TStreamCursor cursor;
  Refill(0, cursor);
  // The second half still holds the previous play's sound until the start
  // notification refills it; should the mixer get there first, it plays silence.
  Buffers[0]->Fill(HalfSize, HalfSize, BitsPerSample == 8 ? kSilence8 : kSilence16);
  served();
  for (;;) {
    const std::uint32_t bits = Events->Wait();
    // Entering a half means the other one has been played: refill that one.
    if (bits & kNotifyStart) Refill(1, cursor);
    if (bits & kNotifyMiddle) Refill(0, cursor);
    if (bits & kNotifyStop) {
      LoopFlag.store(false, std::memory_order_release);
      break;
    }
    if (bits & kSync) served();
  }
  FThreadEnded.store(true, std::memory_order_release);
  served();
}

void TMorvaneSoundBuffer::Refill(int Half, TStreamCursor& Cursor) {
  platform::Voice& voice = *Buffers[0];
  const std::uint8_t silence = BitsPerSample == 8 ? kSilence8 : kSilence16;
  const std::size_t offset = static_cast<std::size_t>(Half) * HalfSize;

  if (Cursor.Pos == kEndMarker) {
    // The half now playing holds the last sound; this one is silenced so a
    // late stop plays nothing stale, and the stop comes once that half is over.
    if (!Cursor.Draining) {
      voice.Fill(offset, HalfSize, silence);
      Cursor.Draining = true;
    } else {
      voice.Stop();
    }
    return;
  }

  // Data shorter than one frame has nothing to loop over: it plays as the end.
  const bool loop = LoopFlag.load(std::memory_order_acquire) && DataSize != 0;
  std::uint32_t len = HalfSize;
  if (!loop && static_cast<std::uint64_t>(Cursor.Pos) + HalfSize > DataSize) len = DataSize - Cursor.Pos;

  std::array<std::uint8_t, kRefillChunkBytes> chunk;
  std::uint32_t filled = 0;
  bool ended = false;
  while (filled < len) {
    const auto want = static_cast<std::uint32_t>(
        std::min<std::size_t>({len - filled, DataSize - Cursor.Pos, chunk.size()}));
    const std::int64_t got = std::max<std::int64_t>(0, Source->Read(chunk.data(), want));
    if (got > 0) {
      voice.Write(offset + filled, std::span(chunk.data(), static_cast<std::size_t>(got)));
      filled += static_cast<std::uint32_t>(got);
      Cursor.Pos += static_cast<std::uint32_t>(got);
    }
    // A file that ends before its data does: what is missing stays silent.
    if (got < want) {
      ended = true;
      break;
    }
    if (Cursor.Pos >= DataSize) {
      if (!loop) {
        ended = true;
        break;
      }
      Source->Seek(DataStart, TSeekOrigin::soBeginning);
      Cursor.Pos = 0;
    }
  }
  if (filled < HalfSize) voice.Fill(offset + filled, HalfSize - filled, silence);
  if (ended || filled < HalfSize) Cursor.Pos = kEndMarker;
}

}  // namespace MorvaneSoundSystem
