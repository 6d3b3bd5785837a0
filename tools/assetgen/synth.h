#pragma once
// Small building blocks for synthesising the sound effects: a seeded noise
// source, filters, envelopes and oscillators. Everything is plain double
// arithmetic in a fixed order, so a given seed always gives the same samples.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace assetgen::synth {

constexpr double kPi = 3.14159265358979323846;

// xorshift32: tiny, fast, and the same on every platform.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [0, 1).
  double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
  // Uniform in [-1, 1).
  double Bipolar() { return Unit() * 2.0 - 1.0; }

 private:
  std::uint32_t state_;
};

class OnePoleLowPass {
 public:
  double Process(double in, double cutoffHz, double rate) {
    const double a = 1.0 - std::exp(-2.0 * kPi * cutoffHz / rate);
    state_ += a * (in - state_);
    return state_;
  }

 private:
  double state_ = 0.0;
};

class OnePoleHighPass {
 public:
  double Process(double in, double cutoffHz, double rate) { return in - low_.Process(in, cutoffHz, rate); }

 private:
  OnePoleLowPass low_;
};

// Chamberlin state-variable filter; stable for cutoffs below rate / 6.
class StateVariable {
 public:
  struct Out {
    double low, band, high;
  };
  Out Process(double in, double cutoffHz, double q, double rate) {
    const double f = 2.0 * std::sin(kPi * std::min(cutoffHz, rate / 6.5) / rate);
    const double damp = 1.0 / q;
    low_ += f * band_;
    const double high = in - low_ - damp * band_;
    band_ += f * high;
    return {low_, band_, high};
  }

 private:
  double low_ = 0.0, band_ = 0.0;
};

// Phase accumulator in cycles.
class Phase {
 public:
  double Advance(double hz, double rate) {
    phase_ += hz / rate;
    phase_ -= std::floor(phase_);
    return phase_;
  }
  double Value() const { return phase_; }

 private:
  double phase_ = 0.0;
};

inline double Sine(double phase) { return std::sin(2.0 * kPi * phase); }
inline double Saw(double phase) { return 2.0 * phase - 1.0; }
inline double Square(double phase, double duty = 0.5) { return phase < duty ? 1.0 : -1.0; }
inline double Triangle(double phase) { return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase; }

// Exponential decay to 1/e after tau seconds.
inline double Decay(double t, double tau) { return std::exp(-t / tau); }

// Linear attack over a seconds, then 1.
inline double Attack(double t, double a) { return a <= 0.0 || t >= a ? 1.0 : t / a; }

// 1 until start, then a raised-cosine fade to 0 at end.
inline double FadeOut(double t, double start, double end) {
  if (t <= start) return 1.0;
  if (t >= end) return 0.0;
  return 0.5 + 0.5 * std::cos(kPi * (t - start) / (end - start));
}

// Exponential glide from a to b over the given seconds.
inline double Glide(double t, double seconds, double a, double b) {
  if (t >= seconds) return b;
  return a * std::pow(b / a, t / seconds);
}

inline double SoftClip(double x) { return std::tanh(x); }

// Feedback echo over a whole buffer.
inline void Echo(std::vector<double>& buffer, std::size_t delaySamples, double feedback) {
  for (std::size_t i = delaySamples; i < buffer.size(); ++i) buffer[i] += feedback * buffer[i - delaySamples];
}

}  // namespace assetgen::synth
