#include "platform/midi/soft_synth.h"

#include <fluidsynth.h>

#include <array>
#include <atomic>
#include <mutex>

#include "platform/audio/audio_device.h"
#include "platform/audio/audio_source.h"
#include "platform/audio/spsc_ring.h"
#include "platform/midi/midi_stream.h"

namespace platform {

namespace {

// Queue records: a kind byte, a 16-bit length, then the payload.
enum : std::uint8_t { kRecordShort = 1, kRecordLong = 2, kRecordReset = 3 };
constexpr std::size_t kRecordHeader = 3;
// Far more than a 10 ms step of any piece sends.
constexpr std::size_t kQueueBytes = 64 * 1024;
constexpr std::size_t kMaxLongMessage = 0xFFFF;

void quietLogging() {
  static std::once_flag once;
  std::call_once(once, [] {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
  });
}

}  // namespace

class SoftSynth::Engine final : public AudioSource, private MidiStreamSink {
 public:
  Engine() : queue_(kQueueBytes), scratch_(std::make_unique<std::uint8_t[]>(kQueueBytes)) {}

  ~Engine() override {
    if (synth_ != nullptr) delete_fluid_synth(synth_);
    if (settings_ != nullptr) delete_fluid_settings(settings_);
  }

  bool Load(std::uint32_t sampleRate, const std::string& soundFontPath, std::string* error) {
    quietLogging();
    settings_ = new_fluid_settings();
    if (settings_ == nullptr) return fail(error, "cannot create synthesizer settings");
    fluid_settings_setnum(settings_, "synth.sample-rate", static_cast<double>(sampleRate));
    // Rendering stays on the audio thread; no helper threads of its own.
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    fluid_settings_setint(settings_, "synth.threadsafe-api", 1);
    fluid_settings_setstr(settings_, "synth.midi-bank-select", "gs");
    // Roland's default device ID, which GS messages such as GS Reset address.
    fluid_settings_setint(settings_, "synth.device-id", 0x10);
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr) return fail(error, "cannot create the synthesizer");
    if (fluid_synth_sfload(synth_, soundFontPath.c_str(), 1) == FLUID_FAILED) {
      return fail(error, "cannot load the SoundFont " + soundFontPath);
    }
    return true;
  }

  // Controlling side, any thread.
  void Send(std::uint8_t kind, std::span<const std::uint8_t> payload) {
    if (payload.size() > kMaxLongMessage || kRecordHeader + payload.size() > queue_.Capacity()) {
      dropped_.fetch_add(1, std::memory_order_relaxed);
      return;
    }
    const std::uint8_t header[kRecordHeader] = {kind, static_cast<std::uint8_t>(payload.size() & 0xFF),
                                                static_cast<std::uint8_t>(payload.size() >> 8)};
    std::lock_guard lock(sendMutex_);
    if (!queue_.Write(header, payload)) dropped_.fetch_add(1, std::memory_order_relaxed);
  }

  std::uint64_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }
  fluid_synth_t* Synth() const { return synth_; }

  void Mix(float* stereo, std::size_t frames, std::uint32_t) noexcept override {
    drain();
    fluid_synth_write_float(synth_, static_cast<int>(frames), left_.data(), 0, 1, right_.data(), 0, 1);
    for (std::size_t i = 0; i < frames; ++i) {
      stereo[2 * i] += left_[i];
      stereo[2 * i + 1] += right_[i];
    }
  }

 private:
  static bool fail(std::string* error, const std::string& why) {
    if (error != nullptr) *error = why;
    return false;
  }

  // Audio thread: applies every queued message.
  void drain() {
    while (queue_.Readable() >= kRecordHeader) {
      std::uint8_t header[kRecordHeader];
      queue_.Read(header, kRecordHeader);
      const std::size_t length = header[1] | (static_cast<std::size_t>(header[2]) << 8);
      queue_.Read(scratch_.get(), length);
      const std::span<const std::uint8_t> payload(scratch_.get(), length);
      switch (header[0]) {
        case kRecordShort:
          parser_.Short(payload[0] | (payload[1] << 8) | (payload[2] << 16), *this);
          break;
        case kRecordLong:
          parser_.Bytes(payload, *this);
          break;
        case kRecordReset:
          silence();
          break;
      }
    }
  }

  void silence() {
    for (int channel = 0; channel < 16; ++channel) {
      fluid_synth_cc(synth_, channel, 64, 0);  // sustain
      fluid_synth_cc(synth_, channel, 66, 0);  // sostenuto
    }
    fluid_synth_all_sounds_off(synth_, -1);
  }

  void Channel(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
      case 0x80:
        fluid_synth_noteoff(synth_, channel, data1);
        break;
      case 0x90:
        fluid_synth_noteon(synth_, channel, data1, data2);
        break;
      case 0xA0:
        fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
      case 0xB0:
        fluid_synth_cc(synth_, channel, data1, data2);
        break;
      case 0xC0:
        fluid_synth_program_change(synth_, channel, data1);
        break;
      case 0xD0:
        fluid_synth_channel_pressure(synth_, channel, data1);
        break;
      case 0xE0:
        fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
        break;
    }
  }

  void SystemExclusive(std::span<const std::uint8_t> body) override {
    fluid_synth_sysex(synth_, reinterpret_cast<const char*>(body.data()), static_cast<int>(body.size()),
                      nullptr, nullptr, nullptr, 0);
  }

  void SystemReset() override { fluid_synth_system_reset(synth_); }

  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  std::mutex sendMutex_;  // senders only
  SpscByteRing queue_;
  std::atomic<std::uint64_t> dropped_{0};
  // Audio thread's.
  std::unique_ptr<std::uint8_t[]> scratch_;
  MidiStreamParser parser_;
  std::array<float, AudioSource::kMaxMixFrames> left_{};
  std::array<float, AudioSource::kMaxMixFrames> right_{};
};

std::unique_ptr<SoftSynth> SoftSynth::Create(AudioDevice& device, const std::string& soundFontPath,
                                             std::string* error) {
  auto engine = std::make_shared<Engine>();
  if (!engine->Load(device.Format().sampleRate, soundFontPath, error)) return nullptr;
  if (!device.Add(engine)) {
    if (error != nullptr) *error = "the audio device does not take new sources";
    return nullptr;
  }
  return std::unique_ptr<SoftSynth>(new SoftSynth(device, std::move(engine)));
}

SoftSynth::SoftSynth(AudioDevice& device, std::shared_ptr<Engine> engine)
    : device_(device), engine_(std::move(engine)) {}

SoftSynth::~SoftSynth() { device_.Remove(engine_); }

void SoftSynth::ShortMsg(std::uint32_t packed) {
  const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(packed & 0xFF),
                                 static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                                 static_cast<std::uint8_t>((packed >> 16) & 0xFF)};
  engine_->Send(kRecordShort, bytes);
}

void SoftSynth::LongMsg(std::span<const std::uint8_t> bytes) { engine_->Send(kRecordLong, bytes); }

void SoftSynth::Reset() { engine_->Send(kRecordReset, {}); }

std::uint64_t SoftSynth::Dropped() const { return engine_->Dropped(); }

int SoftSynth::ActiveVoices() const { return fluid_synth_get_active_voice_count(engine_->Synth()); }

int SoftSynth::Program(int channel) const {
  if (channel < 0 || channel > 15) return -1;
  int soundFont = 0;
  int bank = 0;
  int program = 0;
  if (fluid_synth_get_program(engine_->Synth(), channel, &soundFont, &bank, &program) != FLUID_OK) return -1;
  return program;
}

}  // namespace platform
