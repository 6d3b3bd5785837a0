#pragma once
// The waves that stage-script commands send: for each command, groups of
// members that take the lowest free enemy entries, one after another.
#include <array>
#include <cstdint>
#include <span>

namespace dovrex {

// How one field of a member is worked out; j is the member's number in its
// group. Fields left at Keep are not written: the entry keeps what it held.
struct WaveField {
  enum class From : std::uint8_t {
    Keep,
    Value,        // base + step * j
    Random,       // r(range) + base, a fresh draw per member
    OncePerWave,  // r(range) + base, drawn once before the first member
    List,         // list[j]
    Side,         // S = r(2) drawn per member: base when S is 0, step when 1
    SideFlag,     // the S drawn for this member's Side field
  };
  From from = From::Keep;
  std::int32_t base = 0;
  std::int32_t step = 0;
  std::int32_t range = 0;
  const std::int32_t* list = nullptr;
};

struct WaveMember {
  std::int32_t kind, look, hp, halfWidth, halfHeight;
  WaveField x, y, frame;
  std::array<WaveField, 8> param;  // param0 .. param7
};

struct WaveGroup {
  std::int32_t command;
  std::int32_t count;
  const WaveMember* member;
};

// Every group, sorted by command; a command with two groups sends both, in order.
std::span<const WaveGroup> WaveGroups();

}  // namespace dovrex
