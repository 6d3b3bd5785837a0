// The two particle passes and the explosion of a destroyed enemy.
#include "game/world/effects.h"

#include "game/data/effect_tables.h"

namespace dovrex {

namespace {

// Draws an image-list animation at frame + base, then advances it; the
// particle retires when its frame passes lastFrame.
void animateCell(World& world, Particle& p, const platform::ImageList& sheet, int base, int half,
                 int lastFrame) {
  sheet.Draw(world.canvas, p.x - half, p.y - half, p.frame + base);
  ++p.frame;
  if (p.frame > lastFrame) p.active = 0;
}

// Kinds 2..5: the centre pixel and two arm pixels, turning every frame; the
// cross ages one extra step per frame.
void drawCross(World& world, Particle& p) {
  const CrossColors& colors = kCrossColors[p.kind - kFirstCrossKind];
  world.canvas.SetPixel(p.x, p.y, colors.centre);
  if (p.frame == 0) {
    world.canvas.SetPixel(p.x + 1, p.y, colors.arms);
    world.canvas.SetPixel(p.x - 1, p.y, colors.arms);
  } else {
    world.canvas.SetPixel(p.x, p.y + 1, colors.arms);
    world.canvas.SetPixel(p.x, p.y - 1, colors.arms);
  }
  ++p.frame;
  if (p.frame > 1) p.frame = 0;
  --p.life;
}

void drawPassB(World& world, Particle& p) {
  SpriteSheets& s = world.sheets;
  switch (p.kind) {
    case kParticleSmoke:
      // NOTE: a 24-pixel cell placed 16 pixels up and left of the centre, as
      // the smoke always was.
      animateCell(world, p, s.IL24, 0, 16, 6);
      break;
    case 2:
    case 3:
    case 4:
    case 5:
      drawCross(world, p);
      break;
    case 6:
      ++p.frame;
      if (p.frame > 5) p.frame = 0;
      s.Spa8.Draw(world.canvas, p.x - 5, p.y - 5, p.frame);
      break;
    case 7:
      --p.frame;
      if (p.frame < 0) p.frame = 5;
      s.Spa8.Draw(world.canvas, p.x - 5, p.y - 5, p.frame);
      break;
    case 8:
      animateCell(world, p, s.IL16, 0, 8, 10);
      break;
    case 9:
      animateCell(world, p, s.IL16, 11, 8, 14);
      break;
    case 11:
      animateCell(world, p, s.IL36, 0, 18, 15);
      break;
    case 12:
      animateCell(world, p, s.IL36, 16, 18, 15);
      break;
    case 13:
      animateCell(world, p, s.IL36, 32, 18, 15);
      break;
    case kParticleMuzzleFlash:
      // Muzzle flash: the cells run backwards from 17.
      s.IL32.Draw(world.canvas, p.x - 16, p.y - 16, 17 - p.frame);
      ++p.frame;
      if (p.frame > 5) p.active = 0;
      break;
    default:
      // 0 and 10 are drawn by pass A; 14..19 are unused.
      break;
  }
}

// One step toward 0.
int brake(int v) {
  if (v > 0) return v - 1;
  if (v < 0) return v + 1;
  return 0;
}

}  // namespace

void ParticlePassA(World& world) {
  for (Particle& p : world.rec.particles) {
    if (p.active != 1) continue;
    if (p.kind == kParticleShotTrail) {
      animateCell(world, p, world.sheets.IL32, 1, 16, 5);
    } else if (p.kind == kParticleFadingTrail) {
      animateCell(world, p, world.sheets.IL32, 12, 16, 5);
    }
  }
}

void ParticlePassB(World& world) {
  for (Particle& p : world.rec.particles) {
    if (p.active != 1) continue;
    ++p.frictionTick;
    if (p.frictionTick > 5) {
      p.frictionTick = 0;
      p.vx = brake(p.vx);
      p.vy = brake(p.vy);
    }
    p.x += p.vx;
    p.y += p.vy;
    drawPassB(world, p);
    --p.life;
    if (p.life < 0) p.active = 0;
  }
}

void ExplosionStep(World& world, Enemy& enemy) {
  ++enemy.frame;
  if (enemy.frame > 15) {
    enemy.state = kEnemyFree;
    return;
  }
  if (InTable(kSmallBlastLooks, enemy.look)) {
    world.sheets.IL64.Draw(world.canvas, enemy.x - 32, enemy.y - 32, enemy.frame);
  } else {
    world.sheets.IL96.Draw(world.canvas, enemy.x - 48, enemy.y - 48, enemy.frame + 16);
  }
  if (!InTable(kRingBlastLooks, enemy.look)) return;
  // The canvas keeps the clear brush and the last pen colour afterwards.
  platform::Canvas& canvas = world.canvas;
  canvas.brush.style = platform::BrushStyle::Clear;
  for (std::size_t i = 0; i < kBlastRingFactors.size(); ++i) {
    canvas.pen.color = i == 0 ? kBlastRingFirstColor : kBlastRingColor;
    canvas.Circle(enemy.x, enemy.y, kBlastRingFactors[i] * enemy.frame);
  }
}

}  // namespace dovrex
