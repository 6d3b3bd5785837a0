#include "tools/dovrex-sim/trace.h"

#include <cstdio>

namespace dovrex::sim {

namespace {

template <class Pool>
int countAlive(const Pool& pool) {
  int n = 0;
  for (const auto& e : pool) {
    if constexpr (requires { e.state; }) {
      n += e.state != kEnemyFree ? 1 : 0;
    } else if constexpr (requires { e.timer; }) {
      n += e.timer != 0 ? 1 : 0;
    } else {
      n += e.active != 0 ? 1 : 0;
    }
  }
  return n;
}

class JsonObject {
 public:
  explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
  ~JsonObject() { out_ += '}'; }
  JsonObject(const JsonObject&) = delete;
  JsonObject& operator=(const JsonObject&) = delete;

  void Field(const char* name, long long value) {
    Key(name);
    out_ += std::to_string(value);
  }
  void Key(const char* name) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += '"';
    out_ += name;
    out_ += "\":";
  }

 private:
  std::string& out_;
  bool first_ = true;
};

// Piece names are the game's own ("m0".."m2"); escape anyway.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out += c;
    }
  }
  return out + '"';
}

}  // namespace

std::string TraceLine(int frame, const GameRecord& rec, const FrameOutputs& outputs) {
  const GameState& g = rec.game;
  const PlayerShip& ship = rec.player;
  std::string line;
  line.reserve(256);
  {
    JsonObject o(line);
    o.Field("frame", frame);
    o.Field("gameMode", rec.gameMode);
    o.Field("score", g.score);
    o.Field("hiScore", rec.highScores[0]);
    o.Field("stage", g.stage);
    o.Field("modeTimer", g.modeTimer);
    o.Field("scriptStep", g.scriptStep);
    o.Field("shipState", g.shipState);
    o.Field("x", ship.x);
    o.Field("y", ship.y);
    o.Field("bank", ship.bank);
    o.Field("shield", ship.shield);
    o.Field("laserStock", g.laserStock);
    o.Field("shotLevel", g.shotLevel);
    o.Field("missileLevel", g.missileLevel);
    o.Field("flashTimer", g.flashTimer);
    o.Field("dying", g.dying);
    o.Field("sound", outputs.sound);
    o.Key("music");
    line += outputs.music ? quoted(*outputs.music) : "null";
    o.Key("counts");
    {
      JsonObject counts(line);
      counts.Field("shots", countAlive(rec.shots));
      counts.Field("enemies", countAlive(rec.enemies));
      counts.Field("enemyShots", countAlive(rec.enemyShots));
      counts.Field("labels", countAlive(rec.labels));
      counts.Field("particles", countAlive(rec.particles));
    }
    o.Key("labels");
    line += '[';
    bool first = true;
    for (int i = 0; i < kLabelCount; ++i) {
      const FloatingLabel& label = rec.labels[i];
      if (label.timer == 0) continue;
      if (!first) line += ',';
      first = false;
      JsonObject entry(line);
      entry.Field("i", i);
      entry.Field("kind", label.kind);
      entry.Field("timer", label.timer);
    }
    line += ']';
    o.Key("enemies");
    line += '[';
    first = true;
    for (int i = 0; i < kEnemyCount; ++i) {
      const Enemy& e = rec.enemies[i];
      if (e.state == kEnemyFree) continue;
      if (!first) line += ',';
      first = false;
      JsonObject entry(line);
      entry.Field("i", i);
      entry.Field("kind", e.kind);
      entry.Field("look", e.look);
      entry.Field("state", e.state);
      entry.Field("x", e.x);
      entry.Field("y", e.y);
      entry.Field("hp", e.hp);
    }
    line += ']';
  }
  return line;
}

}  // namespace dovrex::sim
