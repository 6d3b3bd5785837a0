// mvdraw: the library's 2D component driven by a script, or a demo.
//
//   mvdraw run SCRIPT [--seed N] [--window] [--log FILE] [--device D]
//   mvdraw demo [--frames N] [--depth 16|24|32] [--save PREFIX] [--every N] [--device D]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "demo.h"
#include "library/debug/Mvdebug.h"
#include "platform/framework/exception.h"
#include "script.h"

namespace {

const char kHelp[] =
    "usage: mvdraw run SCRIPT [--seed N] [--window] [--log FILE] [--device soft|gl|gl-emulated]\n"
    "       mvdraw demo [--frames N] [--depth 16|24|32] [--save PREFIX] [--every N]\n"
    "                   [--device soft|gl|gl-emulated]\n"
    "       mvdraw --help\n"
    "\n"
    "run: one command per line (blank lines and # comments ignored):\n"
    "  stage W H BPP [transparent 0|1] [key black|white|red|green|blue]\n"
    "  surface NAME FILE SPRITEW SPRITEH     info NAME\n"
    "  clear | updatetmp | update | updateex VALUE MODE\n"
    "  draw X Y NAME INDEX EFFECT LEVEL      wind X Y NAME INDEX EFFECT LEVEL WIND\n"
    "  zoom X Y ZX ZY NAME INDEX             rotzoom X Y ROTATION ZOOM NAME INDEX\n"
    "  direct DL DT DR DB SL ST SR SB NAME   text X Y TEXT...\n"
    "  save OUT.bmp                          the back surface at its own depth\n"
    "  savepresented OUT.bmp                 the last presented frame, 24-bit\n"
    "Numbers are decimal or hexadecimal (0x.. or $..). Text is white, 12 pt.\n"
    "  --seed N     srand(N) before the component is made (wind and wave offsets)\n"
    "  --window     show the frames in a real window (default: offscreen)\n"
    "  --log FILE   write the debug log with tracing and profiling on\n"
    "  --device D   soft: TMorvaneDraw in software (default); gl: TMorvaneDrawEx on\n"
    "               the GL driver, falling back to emulation; gl-emulated: on Mesa's\n"
    "               software rasteriser only. save then reads the device's target back\n"
    "demo: animates every effect, wind, zoom, rotate-and-zoom and the cross-fade\n"
    "  --frames N   stop after N frames (default: until the window is closed)\n"
    "  --save P     save every N-th presented frame as P_0000.bmp, P_0001.bmp, ...\n";

int usage(const char* why) {
  std::fprintf(stderr, "mvdraw: %s\n\n%s", why, kHelp);
  return 2;
}

bool toInt(const char* text, int& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!*text || *end || v < -2147483647L || v > 2147483647L) return false;
  out = static_cast<int>(v);
  return true;
}

int run(int argc, char** argv) {
  if (argc < 3) return usage("run needs a script");
  const std::string script = argv[2];
  bool window = false;
  const char* log = nullptr;
  int seed = 1;
  bool seeded = false;
  mvdraw::DrawDevice device = mvdraw::DrawDevice::kSoft;
  for (int i = 3; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--window")) {
      window = true;
    } else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) {
      if (!toInt(argv[++i], seed)) return usage("--seed takes a number");
      seeded = true;
    } else if (!std::strcmp(argv[i], "--log") && i + 1 < argc) {
      log = argv[++i];
    } else if (!std::strcmp(argv[i], "--device") && i + 1 < argc) {
      if (!mvdraw::ParseDrawDevice(argv[++i], device)) return usage("--device takes soft, gl or gl-emulated");
    } else {
      return usage((std::string("unknown option ") + argv[i]).c_str());
    }
  }
  std::ifstream in(script);
  if (!in) {
    std::fprintf(stderr, "mvdraw: cannot open the script %s\n", script.c_str());
    return 1;
  }
  if (!window) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (log) MorvaneDebugSystem::TMorvaneDebug::SetDebug(log, true, true);
  int status = 0;
  try {
    if (seeded) std::srand(static_cast<unsigned>(seed));
    mvdraw::ScriptRunner runner(std::cout, window, device);
    runner.Run(in, script);
  } catch (const mvdraw::ScriptError& e) {
    std::fprintf(stderr, "mvdraw: %s\n", e.what());
    status = 2;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    status = 1;
  }
  if (log) MorvaneDebugSystem::TMorvaneDebug::SetDebug(nullptr, false, false);
  return status;
}

int demo(int argc, char** argv) {
  mvdraw::DemoOptions o;
  for (int i = 2; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (!std::strcmp(argv[i], "--frames") && hasValue) {
      if (!toInt(argv[++i], o.frames) || o.frames < 0) return usage("--frames takes a count");
    } else if (!std::strcmp(argv[i], "--depth") && hasValue) {
      if (!toInt(argv[++i], o.bitsPerPixel) ||
          (o.bitsPerPixel != 16 && o.bitsPerPixel != 24 && o.bitsPerPixel != 32))
        return usage("--depth takes 16, 24 or 32");
    } else if (!std::strcmp(argv[i], "--save") && hasValue) {
      o.savePrefix = argv[++i];
    } else if (!std::strcmp(argv[i], "--device") && hasValue) {
      if (!mvdraw::ParseDrawDevice(argv[++i], o.device))
        return usage("--device takes soft, gl or gl-emulated");
    } else if (!std::strcmp(argv[i], "--every") && hasValue) {
      if (!toInt(argv[++i], o.saveEvery) || o.saveEvery <= 0) return usage("--every takes a count");
    } else {
      return usage((std::string("unknown option ") + argv[i]).c_str());
    }
  }
  try {
    return mvdraw::RunDemo(o);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message.c_str());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage("no command");
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (command == "run") return run(argc, argv);
  if (command == "demo") return demo(argc, argv);
  return usage(("unknown command " + command).c_str());
}
