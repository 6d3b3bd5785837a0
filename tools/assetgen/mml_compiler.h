#pragma once
// A small MML (music macro language) compiler for the game's music.
//
// Source layout, line by line (";" starts a comment):
//   #title TEXT                      name of the piece (conductor track name)
//   #tempo BPM                       tempo at tick 0 (default 120)
//   #timesig N/D                     time signature (default 4/4)
//   #track NAME ch=C [prog=P] [vol=V] [pan=P] [exp=E] [rev=R] [cho=C]
//                                    declares a track on MIDI channel C (1..16)
//   !NAME = MML                      a macro; "!NAME" in MML inserts its text
//   NAME MML                         MML appended to a declared track
//
// MML commands (whitespace and "|" are ignored):
//   c d e f g a b   note; "+"/"#" sharp, "-" flat; then a length
//   r               rest, with a length
//   length          1..192 (note value), or "%" ticks; dots extend by half
//   ^LEN            lengthens the preceding note or rest
//   &               ties the next note to this one (same key: one long note)
//   'c e g'LEN      chord: the notes sound together (octave changes stay inside)
//   o N, >, <       octave (o4 c = MIDI key 60), up, down
//   l LEN           default length (l8, l4.)
//   q N             gate: notes sound for N/8 of their length (1..8, default 7)
//   v N             note-on velocity (1..127, default 100)
//   K N             transpose by N semitones (K-2, K+3)
//   t N             tempo change in beats per minute
//   @N              program change (0..127)
//   V N, P N, E N   volume (CC 7), pan (CC 10), expression (CC 11)
//   y C,N           any controller C with value N
//   [ ... : ... ]N  repeat N times (default 2); ":" leaves on the last pass
//   L               loop start; the loop ends where the tracks end
//
// Every track must end at the same tick. When a loop start is given, the
// conductor gets the markers "RepeatStart" and "RepeatEnd", every track
// restates its channel settings at the loop start, and notes that would still
// sound near the loop end are cut kLoopEndGuard ticks before it: a player
// that jumps at the marker sends nothing due at or after its tick.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace assetgen::mml {

constexpr std::uint32_t kDivision = 480;  // ticks per quarter note
constexpr std::uint32_t kLoopEndGuard = kDivision / 8;

class Error : public std::runtime_error {
 public:
  Error(const std::string& source, int line, const std::string& message)
      : std::runtime_error(source + ":" + std::to_string(line) + ": " + message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

struct Note {
  std::uint32_t tick;
  std::uint32_t duration;  // ticks sounding, at least 1
  std::uint8_t key;
  std::uint8_t velocity;
};

struct Control {
  enum class Kind : std::uint8_t { Program, Controller };
  std::uint32_t tick;
  Kind kind;
  std::uint8_t number;  // program, or controller number
  std::uint8_t value;   // controller value (0 for programs)
};

struct Track {
  std::string name;
  int channel = 0;  // 0..15
  std::vector<Note> notes;
  std::vector<Control> controls;  // in the order written
  std::uint32_t length = 0;       // end tick
};

struct TempoChange {
  std::uint32_t tick;
  double bpm;
};

struct Song {
  std::string title;
  int timeSigNumerator = 4;
  int timeSigDenominator = 4;
  std::vector<TempoChange> tempos;  // sorted by tick, first at tick 0
  std::vector<Track> tracks;        // in declaration order
  std::optional<std::uint32_t> loopStart;
  std::uint32_t length = 0;  // end tick of every track; the loop end
};

// Compiles a whole source; throws Error naming sourceName and the line.
Song Compile(std::string_view source, const std::string& sourceName);

// Length of the song in seconds, following the tempo changes.
double SecondsAt(const Song& song, std::uint32_t tick);

}  // namespace assetgen::mml
