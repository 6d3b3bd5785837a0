// debug-log LOGFILE: writes a debug log with tracing and profiling on. A small
// library-style component runs a few operations under the guard; one of them
// fails, and its error is traced once per operation it passes through.
#include <cstdio>
#include <map>
#include <string>

#include "library/debug/Mvautoptr.h"
#include "library/debug/Mvdebug.h"
#include "library/debug/exceptions.h"
#include "library/debug/guard.h"

namespace {

using MorvaneDebugSystem::Guarded;
using MorvaneDebugSystem::GuardedNoThrow;
using MorvaneDebugSystem::TMorvaneDebug;
using MorvaneMidiSystem::EMvMidi;
using MorvaneSystem::TMorvaneAutoPtr;

struct Piece {
  explicit Piece(std::string title) : Title(std::move(title)) {}
  virtual ~Piece() = default;
  std::string Title;
};

// Named pieces, kept the way every library component keeps its resources.
class Playlist {
 public:
  Playlist() {
    Guarded("Playlist::Playlist", [] { MorvaneDebugSystem::Trace("Playlist::初期化開始"); });
  }
  ~Playlist() {
    GuardedNoThrow("Playlist::~Playlist", [&] { DeleteAll(); });
  }

  void Add(const std::string& name, const std::string& title) {
    Guarded("Playlist::Add", [&] {
      if (FPieces.count(name)) return;
      FPieces[name] = new Piece(title);
      MorvaneDebugSystem::Trace("Playlist::Add " + name);
    });
  }

  const Piece& Find(const std::string& name) const {
    return Guarded("Playlist::Find", [&]() -> const Piece& {
      const auto it = FPieces.find(name);
      if (it == FPieces.end()) throw EMvMidi("データ「" + name + "」は存在しません。");
      return *it->second;
    });
  }

  std::string Play(const std::string& name) {
    return Guarded("Playlist::Play", [&] { return Find(name).Title; });
  }

  void DeleteAll() {
    Guarded("Playlist::DeleteAll", [&] {
      MorvaneDebugSystem::Trace("Playlist::全データの削除");
      FPieces.clear();
    });
  }

 private:
  std::map<std::string, TMorvaneAutoPtr<Piece>> FPieces;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LOGFILE\n", argv[0]);
    return 2;
  }
  TMorvaneDebug::SetDebug(argv[1], true, true);
  {
    Playlist list;
    list.Add("title", "Title theme");
    list.Add("stage1", "Stage 1");
    list.Add("stage1", "ignored: the name exists");
    std::printf("playing: %s\n", list.Play("stage1").c_str());
    try {
      list.Play("stage3");
    } catch (const Exception& error) {
      std::printf("failed as expected:\n%s\n", error.Message.c_str());
    }
  }
  TMorvaneDebug::SetDebug(nullptr, false, false);
  std::printf("log written to %s\n", argv[1]);
  return 0;
}
