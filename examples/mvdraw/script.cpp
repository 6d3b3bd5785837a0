#include "script.h"

#include <cstdlib>
#include <istream>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

#include "surface_bmp.h"

namespace mvdraw {

namespace {

using namespace MorvaneDrawSystem;

const std::map<std::string, TTransparentColor>& keys() {
  static const std::map<std::string, TTransparentColor> k = {
      {"black", tcBlack}, {"white", tcWhite}, {"red", tcRed}, {"green", tcGreen}, {"blue", tcBlue}};
  return k;
}

// Words of a line; the rest of the line after `keep` words stays one word.
std::vector<std::string> words(const std::string& line, std::size_t keep = 0) {
  std::istringstream in(line);
  std::vector<std::string> out;
  std::string w;
  while ((keep == 0 || out.size() < keep) && in >> w) out.push_back(w);
  if (keep != 0 && out.size() == keep) {
    std::string rest;
    std::getline(in, rest);
    const auto start = rest.find_first_not_of(" \t");
    if (start != std::string::npos) out.push_back(rest.substr(start));
  }
  return out;
}

[[noreturn]] void bad(int number, const std::string& why) {
  throw ScriptError("line " + std::to_string(number) + ": " + why);
}

// Decimal, or hexadecimal with 0x or $.
int number(const std::string& word, int line) {
  std::string text = word;
  int base = 10;
  if (text.size() > 1 && text[0] == '$') {
    text = text.substr(1);
    base = 16;
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text = text.substr(2);
    base = 16;
  }
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, base);
  if (text.empty() || *end != '\0' || v < -2147483648LL || v > 4294967295LL)
    bad(line, "not a number: " + word);
  return static_cast<int>(static_cast<std::uint32_t>(v));
}

void expect(const std::vector<std::string>& w, std::size_t count, int line, const char* form) {
  if (w.size() != count) bad(line, std::string("expected: ") + form);
}

}  // namespace

bool ParseDrawDevice(const std::string& text, DrawDevice& out) {
  if (text == "soft") {
    out = DrawDevice::kSoft;
  } else if (text == "gl") {
    out = DrawDevice::kGl;
  } else if (text == "gl-emulated") {
    out = DrawDevice::kGlEmulated;
  } else {
    return false;
  }
  return true;
}

std::unique_ptr<TMorvaneDraw> MakeComponent(DrawDevice device) {
  if (device == DrawDevice::kSoft) return std::make_unique<TMorvaneDraw>(nullptr);
  auto ex = std::make_unique<TMorvaneDrawEx>(nullptr);
  ex->SetUseHAL(device == DrawDevice::kGl);
  return ex;
}

void ClearStage(TMorvaneDraw& draw) {
  if (auto* ex = dynamic_cast<TMorvaneDrawEx*>(&draw)) {
    ex->Clear();
  } else {
    draw.Clear();
  }
}

ScriptRunner::ScriptRunner(std::ostream& out, bool window, DrawDevice device)
    : out_(out), window_(window), draw_(MakeComponent(device)) {
  TFont font;
  font.size = 12;
  font.color = 0xFFFFFF;
  draw_->SetFont(font);
}

ScriptRunner::~ScriptRunner() = default;

TMorvaneDraw& ScriptRunner::stage(int line) {
  if (!draw_->GetInitialized()) bad(line, "no stage yet (the script starts with: stage W H BPP)");
  return *draw_;
}

void ScriptRunner::Run(std::istream& script, const std::string& name) {
  std::string line;
  int number = 0;
  while (std::getline(script, line)) {
    ++number;
    try {
      RunLine(line, number);
    } catch (const ScriptError& e) {
      throw ScriptError(name + ": " + e.what());
    }
  }
}

void ScriptRunner::RunLine(const std::string& text, int line) {
  std::vector<std::string> w = words(text);
  if (w.empty() || w[0][0] == '#') return;
  const std::string& c = w[0];
  auto n = [&](std::size_t i) { return number(w[i], line); };

  if (c == "stage") {
    if (w.size() < 4 || w.size() > 8) bad(line, "expected: stage W H BPP [transparent 0|1] [key COLOUR]");
    const int bits = n(3);
    if (bits != 16 && bits != 24 && bits != 32) bad(line, "the depth must be 16, 24 or 32");
    bool transparent = true;
    TTransparentColor key = tcBlack;
    for (std::size_t i = 4; i + 1 < w.size(); i += 2) {
      if (w[i] == "transparent") {
        transparent = n(i + 1) != 0;
      } else if (w[i] == "key" && keys().count(w[i + 1])) {
        key = keys().at(w[i + 1]);
      } else {
        bad(line, "unknown stage option: " + w[i] + " " + w[i + 1]);
      }
    }
    if (w.size() % 2 != 0) bad(line, "a stage option lacks its value");
    draw_->SetDisplayWidth(n(1));
    draw_->SetDisplayHeight(n(2));
    draw_->SetWidth(n(1));
    draw_->SetHeight(n(2));
    draw_->SetColorDepth(bits == 16 ? cd16bpp : bits == 24 ? cd24bpp : cd32bpp);
    draw_->SetTransparent(transparent);
    draw_->SetTransparentColor(key);
    draw_->Init();
  } else if (c == "surface") {
    expect(w, 5, line, "surface NAME FILE SPRITEW SPRITEH");
    stage(line).CreateSurface(w[1], w[2], n(3), n(4));
  } else if (c == "info") {
    expect(w, 2, line, "info NAME");
    const TMorvaneDrawSurfaceInfo i = stage(line).GetSurfaceInfo(w[1]);
    out_ << "SpriteWidth: " << i.SpriteWidth << "\nSpriteHeight: " << i.SpriteHeight
         << "\nBMPWidth: " << i.BMPWidth << "\nBMPHeight: " << i.BMPHeight << "\nLine: " << i.Line
         << "\nCount: " << i.Count << "\nFileName: " << i.FileName << "\nSurfaceName: " << i.SurfaceName
         << "\n";
  } else if (c == "clear") {
    expect(w, 1, line, "clear");
    ClearStage(stage(line));
  } else if (c == "updatetmp") {
    expect(w, 1, line, "updatetmp");
    stage(line).UpdateTmp();
  } else if (c == "update") {
    expect(w, 1, line, "update");
    stage(line).Update();
    if (window_) stage(line).WaitVSync();
  } else if (c == "updateex") {
    expect(w, 3, line, "updateex VALUE MODE");
    stage(line).UpdateEx(n(1), n(2));
    if (window_) stage(line).WaitVSync();
  } else if (c == "draw") {
    expect(w, 7, line, "draw X Y NAME INDEX EFFECT LEVEL");
    stage(line).Draw(n(1), n(2), w[3], n(4), n(5), n(6));
  } else if (c == "wind") {
    expect(w, 8, line, "wind X Y NAME INDEX EFFECT LEVEL WIND");
    stage(line).WindDraw(n(1), n(2), w[3], n(4), n(5), n(6), n(7));
  } else if (c == "zoom") {
    expect(w, 7, line, "zoom X Y ZX ZY NAME INDEX");
    stage(line).ZoomDraw(n(1), n(2), n(3), n(4), w[5], n(6));
  } else if (c == "rotzoom") {
    expect(w, 7, line, "rotzoom X Y ROTATION ZOOM NAME INDEX");
    stage(line).RotZoomDraw(n(1), n(2), n(3), n(4), w[5], n(6));
  } else if (c == "direct") {
    expect(w, 10, line, "direct DL DT DR DB SL ST SR SB NAME");
    stage(line).DirectDraw({n(1), n(2), n(3), n(4)}, {n(5), n(6), n(7), n(8)}, w[9]);
  } else if (c == "text") {
    w = words(text, 3);
    if (w.size() != 4) bad(line, "expected: text X Y TEXT...");
    stage(line).TextOutA(n(1), n(2), w[3]);
  } else if (c == "save") {
    expect(w, 2, line, "save OUT.bmp");
    // The device's target is what the back surface holds once read back.
    if (auto* ex = dynamic_cast<TMorvaneDrawEx*>(&stage(line))) ex->ReadBackSurface();
    SaveSurfaceBmp(*stage(line).BackSurface(), w[1]);
  } else if (c == "savepresented") {
    expect(w, 2, line, "savepresented OUT.bmp");
    const platform::Bitmap& shown = stage(line).Window().LastPresented();
    shown.SaveToFile(w[1]);
  } else {
    bad(line, "unknown command: " + c);
  }
}

}  // namespace mvdraw
