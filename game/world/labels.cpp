// Floating labels: stage banners and pickup texts, drawn with a drop shadow.
#include "game/world/labels.h"

#include <array>
#include <string_view>

#include "game/presentation/colors.h"
#include "game/world/pools.h"
#include "game/world/stage_flow.h"

namespace dovrex {

namespace {

struct LabelStyle {
  std::string_view text;
  int size;      // points
  bool atPoint;  // drawn at the label's x, y plus the offset; else at the offset
  int dx, dy;
};

// By label kind.
constexpr auto kLabelStyles = std::to_array<LabelStyle>({
    {"STAGE 1", 15, false, 205, 220},
    {"STAGE 2", 15, false, 205, 220},
    {"STAGE CLEAR", 15, false, 175, 220},
    {"WARNING", 15, false, 202, 220},
    {"MISSION  COMPLETE.", 15, false, 155, 220},
    {"1,000", 13, true, -20, -10},
    {"Power", 13, true, -20, -10},
    {"500", 13, true, -11, -10},
    {"700", 13, true, -11, -10},
    {"Laser", 13, true, -20, -10},
    {"Missile", 13, true, -23, -10},
    {"Shield", 13, true, -20, -10},
});
static_assert(kLabelStyles.size() == kLabelKindCount);

constexpr platform::Color kShadow = kOlive;
constexpr platform::Color kText = kYellow;

}  // namespace

void CreateLabel(GameRecord& rec, int kind, int timer, int x, int y) {
  FloatingLabel* label = FirstFree(rec.labels);
  if (label == nullptr) return;  // all in use: not shown
  label->timer = timer;
  label->kind = kind;
  if (kind >= 5 && kind <= 11) {
    label->x = x;
    label->y = y;
  }
}

void LabelPass(World& world) {
  platform::Canvas& canvas = world.canvas;
  for (FloatingLabel& label : world.rec.labels) {
    if (label.timer <= 0) continue;
    --label.timer;
    // Other kinds count down without being drawn.
    if (label.kind < 0 || label.kind >= static_cast<int>(kLabelStyles.size())) continue;
    const LabelStyle& style = kLabelStyles[label.kind];
    const int x = style.atPoint ? label.x + style.dx : style.dx;
    const int y = style.atPoint ? label.y + style.dy : style.dy;
    // The brush style is whatever the frame left it (clear but after a hit flash).
    canvas.font.size = style.size;
    canvas.font.color = kShadow;
    canvas.TextOut(x + 1, y + 1, style.text);
    canvas.font.color = kText;
    canvas.TextOut(x, y, style.text);
  }
}

}  // namespace dovrex
