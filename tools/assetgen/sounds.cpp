#include "tools/assetgen/sounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "tools/assetgen/sound_table.h"
#include "tools/assetgen/synth.h"
#include "tools/assetgen/wav_writer.h"

namespace assetgen {
namespace {

using namespace synth;

constexpr double kRate = kSoundRate;

// Z weapon: a quick rising charge, then a roaring, sparkling plasma spray
// that lasts as long as the weapon (100 frames) and dies away.
void laserCharge(std::vector<double>& out) {
  Rng rng(0x1A5E);
  Phase p1, p2, p3, lfo, sweep;
  StateVariable filter;
  OnePoleLowPass sparkleTone;
  double sparkle = 0.0;
  const double length = out.size() / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / kRate;
    // Charge: a sine glissando with a growing vibrato.
    const double riseHz =
        Glide(t, 0.32, 180.0, 1500.0) * (1.0 + 0.03 * std::min(t * 4, 1.0) * Sine(lfo.Value()));
    const double rise = Sine(sweep.Advance(riseHz, kRate)) * Attack(t, 0.02) * FadeOut(t, 0.28, 0.45);
    // Spray: detuned saws through a resonant filter swept by an LFO.
    const double l = Sine(lfo.Advance(5.5, kRate));
    const double body = Saw(p1.Advance(110.0, kRate)) + Saw(p2.Advance(110.7 * 1.5, kRate)) * 0.8 +
                        Saw(p3.Advance(221.9, kRate)) * 0.5 + rng.Bipolar() * 0.6;
    const auto f = filter.Process(body, 900.0 + 700.0 * l + 600.0 * Sine(t * 0.9), 5.0, kRate);
    const double spray = f.band * 0.55 * Attack(t - 0.22, 0.12) * (t > 0.22 ? 1.0 : 0.0);
    // Sparkles: sparse clicks ringing high.
    if (rng.Unit() < 0.004) sparkle = 1.0;
    sparkle *= 0.9975;
    const double glitter = sparkleTone.Process(rng.Bipolar() * sparkle, 5000.0, kRate) * 0.9;
    out[i] = (rise * 0.7 + spray + glitter * (t > 0.2 ? 1.0 : 0.0)) * FadeOut(t, length - 0.9, length - 0.02);
  }
}

// Ship hit: a dull thump, a crash of noise and a metallic ring.
void shipHit(std::vector<double>& out) {
  Rng rng(0x2B17);
  Phase thump;
  StateVariable crash;
  const double partials[] = {523.0, 1187.0, 1789.0, 2411.0};
  Phase ring[4];
  const double length = out.size() / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / kRate;
    const double low = Sine(thump.Advance(Glide(t, 0.25, 110.0, 38.0), kRate)) * Decay(t, 0.09) * 1.2;
    const double noise =
        crash.Process(rng.Bipolar(), Glide(t, 0.4, 3200.0, 700.0), 1.2, kRate).band * Decay(t, 0.07) * 1.4;
    double metal = 0.0;
    for (int k = 0; k < 4; ++k)
      metal += Sine(ring[k].Advance(partials[k], kRate)) * Decay(t, 0.16 / (1 + k * 0.5)) / (k + 1);
    out[i] = SoftClip((low + noise + metal * 0.5) * 1.3) * FadeOut(t, length - 0.15, length - 0.01);
  }
}

// Capsule pickup: a bright rising arpeggio with a short echo.
void pickup(std::vector<double>& out) {
  const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
  Phase p, q;
  const double step = 0.045;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / kRate;
    const int k = std::min(3, static_cast<int>(t / step));
    const double local = t - k * step;
    const double hz = notes[k];
    const double tone =
        Square(p.Advance(hz, kRate), 0.25) * 0.35 + Triangle(q.Advance(hz * 2.0, kRate)) * 0.35;
    const double env = Attack(local, 0.004) * (k < 3 ? Decay(local, 0.05) : Decay(local, 0.06));
    out[i] = tone * env;
  }
  Echo(out, static_cast<std::size_t>(0.06 * kRate), 0.35);
  const double length = out.size() / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) out[i] *= FadeOut(i / kRate, length - 0.06, length - 0.005);
}

// Explosion of a given weight: filtered noise whose cutoff falls, a sub
// thump, and crackles for the heavier ones.
void explosion(std::vector<double>& out, std::uint32_t seed, double weight) {
  Rng rng(seed);
  Phase thump;
  OnePoleLowPass low1, low2, brown;
  const double length = out.size() / kRate;
  double crackle = 0.0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / kRate;
    const double cutoff = Glide(t, length, 3500.0 / weight, 180.0 / weight);
    const double n = rng.Bipolar();
    const double body = low2.Process(low1.Process(n, cutoff, kRate), cutoff, kRate) * 2.2;
    const double rumble = brown.Process(n, 90.0, kRate) * 6.0 * (weight - 0.8);
    const double sub =
        Sine(thump.Advance(Glide(t, 0.3 * weight, 90.0 / weight, 30.0), kRate)) * Decay(t, 0.12 * weight);
    if (weight > 1.2 && rng.Unit() < 0.0015 * weight) crackle = 0.8;
    crackle *= 0.992;
    const double crack = crackle * rng.Bipolar() * 0.5;
    const double env = Attack(t, 0.003) * Decay(t, 0.16 * weight) * FadeOut(t, length * 0.7, length - 0.01);
    // A second burst a moment later gives the big ones their weight.
    const double echoBurst =
        weight > 1.2 ? 0.6 * Attack(t - 0.07, 0.01) * (t > 0.07 ? Decay(t - 0.07, 0.2 * weight) : 0.0) : 0.0;
    out[i] = SoftClip((body * (env + echoBurst) + rumble * env + sub * 0.9 + crack * env) * 1.4) *
             FadeOut(t, length * 0.75, length - 0.005);
  }
}

// Straight shots: a descending zap with a fading echo.
void straightShots(std::vector<double>& out) {
  Phase p, q;
  const double zapLength = 0.13;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / kRate;
    if (t > zapLength) {
      out[i] = 0.0;
      continue;
    }
    const double hz = Glide(t, zapLength, 1900.0, 260.0);
    const double tone = Square(p.Advance(hz, kRate), 0.3) * 0.5 + Sine(q.Advance(hz * 0.5, kRate)) * 0.5;
    out[i] = tone * Attack(t, 0.002) * FadeOut(t, zapLength * 0.5, zapLength);
  }
  Echo(out, static_cast<std::size_t>(0.14 * kRate), 0.5);
  OnePoleLowPass soften;
  const double length = out.size() / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = soften.Process(out[i], 5000.0, kRate) * FadeOut(i / kRate, length - 0.3, length - 0.005);
  }
}

// Fan volley: a wobbling, falling "bwow" over a whoosh of noise.
void fanVolley(std::vector<double>& out) {
  Rng rng(0x8F4A);
  Phase p, wobble;
  StateVariable whoosh;
  OnePoleLowPass tone;
  const double length = out.size() / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / kRate;
    const double w = Sine(wobble.Advance(28.0, kRate));
    const double hz = Glide(t, length, 700.0, 140.0) * (1.0 + 0.12 * w);
    const double body = tone.Process(Saw(p.Advance(hz, kRate)), 2500.0, kRate);
    const double air = whoosh.Process(rng.Bipolar(), Glide(t, length, 4000.0, 800.0), 2.0, kRate).band;
    out[i] = (body * 0.8 + air * 0.5) * Attack(t, 0.008) * Decay(t, 0.14) *
             FadeOut(t, length - 0.08, length - 0.005);
  }
}

// Spray: a short bright chirp with a tick of noise at its start.
void spray(std::vector<double>& out) {
  Rng rng(0x9C33);
  Phase p;
  const double length = out.size() / kRate;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = i / kRate;
    const double hz = Glide(t, 0.09, 2600.0, 650.0);
    const double tone = Sine(p.Advance(hz, kRate)) * 0.7 + Triangle(p.Value()) * 0.3;
    const double tick = rng.Bipolar() * Decay(t, 0.004);
    out[i] =
        (tone * Decay(t, 0.05) + tick * 0.6) * Attack(t, 0.001) * FadeOut(t, length - 0.05, length - 0.003);
  }
}

// Loudness of each effect relative to full scale, balanced by ear for one
// after another in play.
// Indexed by effect number; entry 0 is unused.
constexpr auto kPeak = std::to_array<double>({0, 0.80, 0.92, 0.70, 0.90, 0.94, 0.97, 0.70, 0.75, 0.65});
static_assert(kPeak.size() == kSoundCount + 1);

}  // namespace

std::vector<std::int16_t> SynthesizeSound(int n, std::size_t count) {
  if (n < 1 || n > kSoundCount) throw std::out_of_range("sound number");
  std::vector<double> buffer(count, 0.0);
  switch (n) {
    case 1:
      laserCharge(buffer);
      break;
    case 2:
      shipHit(buffer);
      break;
    case 3:
      pickup(buffer);
      break;
    case 4:
      explosion(buffer, 0x4E01, 1.0);
      break;
    case 5:
      explosion(buffer, 0x5E02, 1.35);
      break;
    case 6:
      explosion(buffer, 0x6E03, 2.1);
      break;
    case 7:
      straightShots(buffer);
      break;
    case 8:
      fanVolley(buffer);
      break;
    case 9:
      spray(buffer);
      break;
  }
  double peak = 1e-9;
  for (double v : buffer) peak = std::max(peak, std::abs(v));
  const double gain = kPeak[n] * 32767.0 / peak;
  std::vector<std::int16_t> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double v = std::clamp(std::round(buffer[i] * gain), -32767.0, 32767.0);
    samples[i] = static_cast<std::int16_t>(v);
  }
  if (!samples.empty()) samples.back() = 0;
  return samples;
}

std::vector<std::uint8_t> SoundFileBytes(int n) {
  if (n < 1 || n > kSoundCount) throw std::out_of_range("sound number");
  const SoundFile& file = kSoundFiles[n - 1];
  const auto samples = SynthesizeSound(n, WavSampleCapacity(file.bytes));
  return MakeWav(samples, kSoundRate, file.bytes);
}

}  // namespace assetgen
