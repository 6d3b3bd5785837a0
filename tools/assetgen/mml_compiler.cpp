#include "tools/assetgen/mml_compiler.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>

namespace assetgen::mml {
namespace {

constexpr int kMaxMacroDepth = 16;
constexpr int kMaxRepeat = 256;
// Bounds that keep a hostile source from taking unbounded time or memory.
constexpr std::size_t kMaxTrackText = std::size_t{1} << 22;  // characters after macro expansion
constexpr std::size_t kMaxEvents = 200000;                   // notes and controls per track
constexpr std::size_t kMaxSteps = 20000000;                  // commands run per track, repeats included
constexpr std::uint32_t kMaxTick = std::uint32_t{1} << 28;
constexpr std::uint32_t kWholeNote = kDivision * 4;

// One character of a track's text with the source line it came from.
struct SourceChar {
  char c;
  int line;
};

struct TrackDecl {
  Track track;
  std::map<int, int> initial;  // controller -> value at tick 0; -1 key = program
  std::vector<SourceChar> text;
  int line = 0;
};

std::string trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class Compiler {
 public:
  Compiler(std::string_view source, const std::string& name) : source_(source), name_(name) {}

  Song Run() {
    readLines();
    if (tracks_.empty()) fail(1, "no #track declared");
    if (song_.tempos.empty() || song_.tempos.front().tick != 0)
      song_.tempos.insert(song_.tempos.begin(), {0, 120.0});
    for (auto& decl : tracks_) play(decl);
    finish();
    return std::move(song_);
  }

 private:
  [[noreturn]] void fail(int line, const std::string& message) const { throw Error(name_, line, message); }

  // ---- lines ----------------------------------------------------------
  void readLines() {
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= source_.size()) {
      std::size_t end = source_.find('\n', pos);
      if (end == std::string_view::npos) end = source_.size();
      std::string_view raw = source_.substr(pos, end - pos);
      ++lineNo;
      if (const auto semi = raw.find(';'); semi != std::string_view::npos) raw = raw.substr(0, semi);
      const std::string line = trim(raw);
      if (!line.empty()) readLine(line, lineNo);
      pos = end + 1;
    }
  }

  void readLine(const std::string& line, int lineNo) {
    if (line[0] == '#') return readDirective(line, lineNo);
    if (line[0] == '!') {
      const auto eq = line.find('=');
      if (eq == std::string::npos) fail(lineNo, "macro definition without '='");
      const std::string name = trim(std::string_view(line).substr(1, eq - 1));
      if (name.empty() || !std::all_of(name.begin(), name.end(), isNameChar)) fail(lineNo, "bad macro name");
      if (macros_.count(name)) fail(lineNo, "macro '" + name + "' defined twice");
      macros_[name] = {trim(std::string_view(line).substr(eq + 1)), lineNo};
      return;
    }
    std::size_t n = 0;
    while (n < line.size() && isNameChar(line[n])) ++n;
    const std::string name = line.substr(0, n);
    auto it = std::find_if(tracks_.begin(), tracks_.end(),
                           [&](const TrackDecl& d) { return d.track.name == name; });
    if (name.empty() || it == tracks_.end()) fail(lineNo, "line starts with no declared track name");
    expand(line.substr(n), lineNo, it->text, 0);
    it->text.push_back({' ', lineNo});
  }

  void expand(const std::string& text, int lineNo, std::vector<SourceChar>& out, int depth) {
    if (depth > kMaxMacroDepth) fail(lineNo, "macros nested too deeply");
    if (out.size() + text.size() > kMaxTrackText) fail(lineNo, "track text too long");
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '!') {
        out.push_back({text[i], lineNo});
        continue;
      }
      std::size_t j = i + 1;
      while (j < text.size() && isNameChar(text[j])) ++j;
      const std::string name = text.substr(i + 1, j - i - 1);
      auto it = macros_.find(name);
      if (it == macros_.end()) fail(lineNo, "unknown macro '" + name + "'");
      out.push_back({' ', lineNo});
      expand(it->second.first, lineNo, out, depth + 1);
      out.push_back({' ', lineNo});
      i = j - 1;
    }
  }

  void readDirective(const std::string& line, int lineNo) {
    std::size_t sp = line.find_first_of(" \t");
    const std::string key = line.substr(1, sp == std::string::npos ? std::string::npos : sp - 1);
    const std::string rest = sp == std::string::npos ? "" : trim(std::string_view(line).substr(sp));
    if (key == "title") {
      song_.title = rest;
    } else if (key == "tempo") {
      const double bpm = std::atof(rest.c_str());
      if (bpm < 20 || bpm > 400) fail(lineNo, "tempo out of range");
      song_.tempos.push_back({0, bpm});
    } else if (key == "timesig") {
      int n = 0, d = 0;
      if (std::sscanf(rest.c_str(), "%d/%d", &n, &d) != 2 || n < 1 || n > 32 ||
          (d != 2 && d != 4 && d != 8 && d != 16))
        fail(lineNo, "bad time signature");
      song_.timeSigNumerator = n;
      song_.timeSigDenominator = d;
    } else if (key == "track") {
      readTrackDecl(rest, lineNo);
    } else {
      fail(lineNo, "unknown directive #" + key);
    }
  }

  void readTrackDecl(const std::string& rest, int lineNo) {
    TrackDecl decl;
    decl.line = lineNo;
    std::size_t i = 0;
    while (i < rest.size() && isNameChar(rest[i])) ++i;
    decl.track.name = rest.substr(0, i);
    if (decl.track.name.empty()) fail(lineNo, "#track needs a name");
    for (const auto& d : tracks_)
      if (d.track.name == decl.track.name) fail(lineNo, "track declared twice");
    decl.track.channel = -1;
    std::size_t pos = i;
    while (pos < rest.size()) {
      while (pos < rest.size() && std::isspace(static_cast<unsigned char>(rest[pos]))) ++pos;
      if (pos >= rest.size()) break;
      std::size_t end = rest.find_first_of(" \t", pos);
      if (end == std::string::npos) end = rest.size();
      const std::string item = rest.substr(pos, end - pos);
      pos = end;
      const auto eq = item.find('=');
      if (eq == std::string::npos) fail(lineNo, "expected key=value in #track");
      const std::string k = item.substr(0, eq);
      const int v = std::atoi(item.c_str() + eq + 1);
      if (k == "ch") {
        if (v < 1 || v > 16) fail(lineNo, "channel must be 1..16");
        decl.track.channel = v - 1;
        continue;
      }
      if (v < 0 || v > 127) fail(lineNo, "value out of range 0..127: " + item);
      static const std::map<std::string, int> kKeys = {{"prog", -1}, {"vol", 7},  {"pan", 10},
                                                       {"exp", 11},  {"rev", 91}, {"cho", 93}};
      auto it = kKeys.find(k);
      if (it == kKeys.end()) fail(lineNo, "unknown #track setting '" + k + "'");
      decl.initial[it->second] = v;
    }
    if (decl.track.channel < 0) fail(lineNo, "#track needs ch=");
    tracks_.push_back(std::move(decl));
  }

  // ---- playing one track ---------------------------------------------
  struct LoopFrame {
    std::size_t start;
    int pass;
  };

  struct State {
    std::uint32_t tick = 0;
    int octave = 4;
    std::uint32_t defaultLength = kDivision;
    int gate = 7;
    int velocity = 100;
    int transpose = 0;
    bool tie = false;
    std::vector<std::size_t> lastGroup;  // indexes into pending notes
  };

  struct PendingNote {
    Note note;
    int gate;  // eighths of the written length that sound
    bool legato = false;
  };

  const std::vector<SourceChar>* text_ = nullptr;
  std::size_t pos_ = 0;
  std::size_t work_ = 0;  // commands run and characters scanned in this track

  void spend(std::size_t units) {
    work_ += units;
    if (work_ > kMaxSteps) fail(line(), "too much work in one track (repeats nested too deeply?)");
  }

  int line() const {
    if (text_->empty()) return 0;
    return (*text_)[std::min(pos_, text_->size() - 1)].line;
  }
  bool atEnd() const { return pos_ >= text_->size(); }
  char peek() const { return atEnd() ? '\0' : (*text_)[pos_].c; }
  void skipSpace() {
    while (!atEnd() && (std::isspace(static_cast<unsigned char>(peek())) || peek() == '|')) ++pos_;
  }

  std::optional<int> readNumber(bool allowSign = false) {
    skipSpace();
    int sign = 1;
    if (allowSign && (peek() == '-' || peek() == '+')) {
      sign = peek() == '-' ? -1 : 1;
      ++pos_;
    }
    if (!std::isdigit(static_cast<unsigned char>(peek()))) return std::nullopt;
    long v = 0;
    while (std::isdigit(static_cast<unsigned char>(peek()))) {
      v = v * 10 + (peek() - '0');
      if (v > 1000000) fail(line(), "number too large");
      ++pos_;
    }
    return static_cast<int>(v * sign);
  }

  int needNumber(int lo, int hi, const char* what, bool allowSign = false) {
    auto v = readNumber(allowSign);
    if (!v) fail(line(), std::string("expected a number after ") + what);
    if (*v < lo || *v > hi) fail(line(), std::string(what) + " out of range");
    return *v;
  }

  // A length: note value or %ticks, then dots; nullopt when none is written.
  std::optional<std::uint32_t> readLength() {
    skipSpace();
    std::uint32_t ticks = 0;
    if (peek() == '%') {
      ++pos_;
      ticks = static_cast<std::uint32_t>(needNumber(1, 100000, "%"));
    } else if (auto n = readNumber()) {
      if (*n < 1 || *n > 192 || kWholeNote % *n != 0)
        fail(line(), "length " + std::to_string(*n) + " is not a whole number of ticks");
      ticks = kWholeNote / *n;
    } else {
      return std::nullopt;
    }
    return applyDots(ticks);
  }

  std::uint32_t applyDots(std::uint32_t ticks) {
    std::uint32_t add = ticks;
    while (peek() == '.') {
      ++pos_;
      if (add % 2) fail(line(), "dotted length is not a whole number of ticks");
      add /= 2;
      ticks += add;
    }
    return ticks;
  }

  std::uint32_t lengthOrDefault(State& s) {
    skipSpace();
    if (peek() == '.') {
      std::uint32_t t = s.defaultLength;
      return applyDots(t);
    }
    auto len = readLength();
    return len ? *len : s.defaultLength;
  }

  int readKeyOffset() {
    static constexpr auto kSemis = std::to_array({9, 11, 0, 2, 4, 5, 7});  // a b c d e f g
    static_assert(kSemis.size() == 'g' - 'a' + 1);
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(peek())));
    ++pos_;
    int semi = kSemis[c - 'a'];
    while (peek() == '+' || peek() == '#' || peek() == '-') {
      semi += peek() == '-' ? -1 : 1;
      ++pos_;
    }
    return semi;
  }

  int keyFor(const State& s, int semi) {
    const int key = (s.octave + 1) * 12 + semi + s.transpose;
    if (key < 0 || key > 127) fail(line(), "note outside the MIDI range");
    return key;
  }

  void addNotes(State& s, std::vector<PendingNote>& notes, const std::vector<int>& keys,
                std::uint32_t length) {
    std::vector<std::size_t> group;
    std::vector<bool> continued(s.lastGroup.size(), false);
    for (int key : keys) {
      bool merged = false;
      if (s.tie) {
        for (std::size_t g = 0; g < s.lastGroup.size(); ++g) {
          PendingNote& prev = notes[s.lastGroup[g]];
          if (prev.note.key == key && prev.note.tick + prev.note.duration == s.tick && !continued[g]) {
            prev.note.duration += length;
            prev.gate = s.gate;
            continued[g] = true;
            group.push_back(s.lastGroup[g]);
            merged = true;
            break;
          }
        }
      }
      if (!merged) {
        notes.push_back(
            {{s.tick, length, static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(s.velocity)},
             s.gate,
             false});
        group.push_back(notes.size() - 1);
      }
    }
    if (s.tie) {
      // A tie into another key is a slur: the earlier note sounds in full.
      for (std::size_t g = 0; g < s.lastGroup.size(); ++g)
        if (!continued[g]) notes[s.lastGroup[g]].legato = true;
    }
    s.tie = false;
    s.lastGroup = group;
    advance(s, length);
    if (notes.size() > kMaxEvents) fail(line(), "too many notes in one track");
  }

  void advance(State& s, std::uint32_t ticks) {
    if (ticks > kMaxTick - s.tick) fail(line(), "track too long");
    s.tick += ticks;
  }

  void addControl(TrackDecl& decl, State& s, Control::Kind kind, int number, int value) {
    if (decl.track.controls.size() >= kMaxEvents) fail(line(), "too many controls in one track");
    decl.track.controls.push_back(
        {s.tick, kind, static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(value)});
  }

  // Skips to just behind the "]" that closes the current loop, for ":".
  void skipToLoopEnd() {
    int depth = 0;
    while (!atEnd()) {
      spend(1);
      const char c = peek();
      ++pos_;
      if (c == '[') ++depth;
      if (c == ']') {
        if (depth == 0) return;
        --depth;
      }
    }
    fail(line(), "':' outside a loop");
  }

  // What one track's run builds up besides the cursor.
  struct TrackRun {
    TrackDecl& decl;
    State s;
    std::vector<PendingNote> notes;
    std::vector<LoopFrame> loops;
    std::optional<std::uint32_t> loopHere;
  };

  void play(TrackDecl& decl) {
    text_ = &decl.text;
    pos_ = 0;
    work_ = 0;
    TrackRun run{decl, {}, {}, {}, {}};
    addInitialControls(run);
    while (true) {
      skipSpace();
      if (atEnd()) break;
      spend(1);
      runCommand(run, peek(), line());
    }
    closeTrack(run);
  }

  // The #track settings at tick 0: the program first, then the controllers.
  void addInitialControls(TrackRun& run) {
    for (const auto& [number, value] : run.decl.initial) {
      if (number < 0) addControl(run.decl, run.s, Control::Kind::Program, value, 0);
    }
    for (const auto& [number, value] : run.decl.initial) {
      if (number >= 0) addControl(run.decl, run.s, Control::Kind::Controller, number, value);
    }
  }

  // One command starting at the cursor; `at` is its source line.
  void runCommand(TrackRun& run, char c, int at) {
    if (c >= 'a' && c <= 'g') return playNote(run);
    switch (c) {
      case '\'':
        return playChord(run, at);
      case 'r':
        return playRest(run);
      case '^':
        fail(at, "'^' must follow a note or rest");
      case '&':
        ++pos_;
        if (run.s.lastGroup.empty()) fail(at, "'&' must follow a note");
        run.s.tie = true;
        return;
      case '[':
        return openRepeat(run, at);
      case ':':
        return leaveRepeatOnLastPass(run, at);
      case ']':
        return closeRepeat(run, at);
      case 'L':
        return markLoopStart(run, at);
      default:
        return setParameter(run, c, at);
    }
  }

  void playNote(TrackRun& run) {
    const int semi = readKeyOffset();
    const std::uint32_t len = lengthOrDefault(run.s);
    addNotes(run.s, run.notes, {keyFor(run.s, semi)}, len);
    extendCarets(run.s, run.notes);
  }

  // 'c e g'LEN: octave changes inside the quotes last only for the chord.
  void playChord(TrackRun& run, int at) {
    State& s = run.s;
    ++pos_;
    std::vector<int> keys;
    const int octave = s.octave;
    while (true) {
      skipSpace();
      if (atEnd()) fail(at, "chord not closed");
      const char k = peek();
      if (k == '\'') {
        ++pos_;
        break;
      }
      if (k >= 'a' && k <= 'g') {
        keys.push_back(keyFor(s, readKeyOffset()));
      } else if (k == '>') {
        ++s.octave, ++pos_;
      } else if (k == '<') {
        --s.octave, ++pos_;
      } else if (k == 'o') {
        ++pos_;
        s.octave = needNumber(0, 9, "o");
      } else {
        fail(line(), std::string("unexpected '") + k + "' in a chord");
      }
    }
    s.octave = octave;
    if (keys.empty()) fail(at, "empty chord");
    const std::uint32_t len = lengthOrDefault(s);
    addNotes(s, run.notes, keys, len);
    extendCarets(s, run.notes);
  }

  // A rest ends any tie; "^LEN" after it lengthens the rest.
  void playRest(TrackRun& run) {
    State& s = run.s;
    ++pos_;
    advance(s, lengthOrDefault(s));
    s.tie = false;
    s.lastGroup.clear();
    while (true) {
      skipSpace();
      if (peek() != '^') break;
      ++pos_;
      auto len = readLength();
      if (!len) fail(line(), "'^' needs a length");
      advance(s, *len);
    }
  }

  void openRepeat(TrackRun& run, int at) {
    ++pos_;
    if (run.loops.size() > 32) fail(at, "loops nested too deeply");
    run.loops.push_back({pos_, 0});
  }

  void leaveRepeatOnLastPass(TrackRun& run, int at) {
    ++pos_;
    if (run.loops.empty()) fail(at, "':' outside a loop");
    const int count = peekLoopCount();
    if (run.loops.back().pass == count - 1) {
      skipToLoopEnd();
      readNumber();
      run.loops.pop_back();
    }
  }

  void closeRepeat(TrackRun& run, int at) {
    ++pos_;
    if (run.loops.empty()) fail(at, "']' without '['");
    auto n = readNumber();
    const int count = n ? *n : 2;
    if (count < 1 || count > kMaxRepeat) fail(at, "repeat count out of range");
    if (++run.loops.back().pass < count) {
      pos_ = run.loops.back().start;
    } else {
      run.loops.pop_back();
    }
  }

  void markLoopStart(TrackRun& run, int at) {
    ++pos_;
    if (run.loopHere) fail(at, "two loop starts in one track");
    if (!run.loops.empty()) fail(at, "loop start inside a repeat");
    run.loopHere = run.s.tick;
  }

  // Commands that change how later notes sound, and channel events.
  void setParameter(TrackRun& run, char c, int at) {
    State& s = run.s;
    if (c == 'o') {
      ++pos_;
      s.octave = needNumber(0, 9, "o");
    } else if (c == '>') {
      ++pos_, ++s.octave;
    } else if (c == '<') {
      ++pos_, --s.octave;
    } else if (c == 'l') {
      ++pos_;
      auto len = readLength();
      if (!len || *len == 0) fail(at, "'l' needs a length");
      s.defaultLength = *len;
    } else if (c == 'q') {
      ++pos_;
      s.gate = needNumber(1, 8, "q");
    } else if (c == 'v') {
      ++pos_;
      s.velocity = needNumber(1, 127, "v");
    } else if (c == 'K') {
      ++pos_;
      s.transpose = needNumber(-48, 48, "K", true);
    } else if (c == 't') {
      ++pos_;
      const int bpm = needNumber(20, 400, "t");
      if (song_.tempos.size() >= kMaxEvents) fail(at, "too many tempo changes");
      song_.tempos.push_back({s.tick, static_cast<double>(bpm)});
    } else if (c == '@') {
      ++pos_;
      addControl(run.decl, s, Control::Kind::Program, needNumber(0, 127, "@"), 0);
    } else if (c == 'V' || c == 'P' || c == 'E') {
      ++pos_;
      const int number = c == 'V' ? 7 : c == 'P' ? 10 : 11;
      addControl(run.decl, s, Control::Kind::Controller, number, needNumber(0, 127, "controller value"));
    } else if (c == 'y') {
      ++pos_;
      const int number = needNumber(0, 127, "y");
      skipSpace();
      if (peek() != ',') fail(line(), "expected ',' in y");
      ++pos_;
      addControl(run.decl, s, Control::Kind::Controller, number, needNumber(0, 127, "y value"));
    } else {
      fail(at, std::string("unknown command '") + c + "'");
    }
  }

  // Checks what must be closed, agrees the loop start with the other tracks,
  // and applies each note's gate.
  void closeTrack(TrackRun& run) {
    TrackDecl& decl = run.decl;
    if (!run.loops.empty()) fail(decl.line, "track '" + decl.track.name + "' has an unclosed '['");
    if (run.loopHere) {
      if (song_.loopStart && *song_.loopStart != *run.loopHere)
        fail(decl.line, "track '" + decl.track.name + "' starts its loop at another tick than the others");
      song_.loopStart = run.loopHere;
    }
    for (auto& p : run.notes) {
      std::uint32_t d = p.legato ? p.note.duration : p.note.duration * static_cast<std::uint32_t>(p.gate) / 8;
      p.note.duration = std::max<std::uint32_t>(1, d);
      decl.track.notes.push_back(p.note);
    }
    decl.track.length = run.s.tick;
  }

  // "^LEN" after a note or chord lengthens what was just written.
  void extendCarets(State& s, std::vector<PendingNote>& notes) {
    while (true) {
      skipSpace();
      if (peek() != '^') return;
      ++pos_;
      auto len = readLength();
      if (!len) fail(line(), "'^' needs a length");
      for (std::size_t i : s.lastGroup) notes[i].note.duration += *len;
      advance(s, *len);
    }
  }

  // Count of the innermost open loop, read ahead from the current position.
  int peekLoopCount() {
    const std::size_t save = pos_;
    skipToLoopEnd();
    auto n = readNumber();
    pos_ = save;
    return n ? *n : 2;
  }

  // ---- song ----------------------------------------------------------
  void finish() {
    song_.length = tracks_.front().track.length;
    for (const auto& d : tracks_) {
      if (d.track.length != song_.length)
        fail(d.line, "track '" + d.track.name + "' ends at tick " + std::to_string(d.track.length) +
                         ", track '" + tracks_.front().track.name + "' at " + std::to_string(song_.length));
    }
    if (song_.loopStart && *song_.loopStart >= song_.length) fail(1, "loop start at or after the end");
    std::stable_sort(song_.tempos.begin(), song_.tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    for (auto& d : tracks_) {
      Track& t = d.track;
      std::sort(t.notes.begin(), t.notes.end(), [](const Note& a, const Note& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.key < b.key;
      });
      if (song_.loopStart) {
        restateAtLoop(t, *song_.loopStart);
        guardLoopEnd(t, song_.length);
      }
      song_.tracks.push_back(std::move(t));
    }
  }

  static void restateAtLoop(Track& t, std::uint32_t loop) {
    int program = -1;
    std::map<int, int> controllers;
    for (const auto& c : t.controls) {
      if (c.tick > loop) break;
      if (c.kind == Control::Kind::Program)
        program = c.number;
      else
        controllers[c.number] = c.value;
    }
    std::vector<Control> state;
    if (program >= 0) state.push_back({loop, Control::Kind::Program, static_cast<std::uint8_t>(program), 0});
    for (const auto& [n, v] : controllers)
      state.push_back(
          {loop, Control::Kind::Controller, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(v)});
    auto at = std::lower_bound(t.controls.begin(), t.controls.end(), loop,
                               [](const Control& c, std::uint32_t tick) { return c.tick < tick; });
    t.controls.insert(at, state.begin(), state.end());
  }

  static void guardLoopEnd(Track& t, std::uint32_t end) {
    const std::uint32_t limit = end > kLoopEndGuard ? end - kLoopEndGuard : 0;
    for (auto& n : t.notes) {
      const std::uint32_t stop = n.tick < limit ? limit : end - 1;
      if (n.tick + n.duration > stop)
        n.duration = std::max<std::uint32_t>(1, stop > n.tick ? stop - n.tick : 1);
    }
  }

  std::string_view source_;
  std::string name_;
  Song song_;
  std::vector<TrackDecl> tracks_;
  std::map<std::string, std::pair<std::string, int>> macros_;
};

}  // namespace

Song Compile(std::string_view source, const std::string& sourceName) {
  return Compiler(source, sourceName).Run();
}

double SecondsAt(const Song& song, std::uint32_t tick) {
  double seconds = 0.0;
  std::uint32_t at = 0;
  double bpm = 120.0;
  for (const auto& t : song.tempos) {
    if (t.tick >= tick) break;
    seconds += (t.tick - at) * 60.0 / (bpm * kDivision);
    at = t.tick;
    bpm = t.bpm;
  }
  return seconds + (tick - at) * 60.0 / (bpm * kDivision);
}

}  // namespace assetgen::mml
