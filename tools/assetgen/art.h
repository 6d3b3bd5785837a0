#pragma once
// Every drawing of the game's art. A drawer paints one cell of an animation
// onto a cleared canvas of the cell's size.
#include <cairo.h>

namespace assetgen::art {

struct Frame {
  cairo_t* cr;
  int w, h;  // cell size in pixels
  int i;     // frame within the animation, 0..n-1
  int n;     // frames in the animation
  // Progress through the animation, 0 at the first frame and 1 at the last.
  double T() const { return n > 1 ? static_cast<double>(i) / (n - 1) : 0.0; }
  // Position in a loop, 0 at the first frame, approaching 1 at the last.
  double Cycle() const { return n > 0 ? static_cast<double>(i) / n : 0.0; }
};

using Drawer = void (*)(const Frame&);

// Player (draw_ship.cpp)
void Ship(const Frame&);
void ShipFlash(const Frame&);
void MainShot(const Frame&);
void MuzzleFlash(const Frame&);
void HitFlash(const Frame&);
void ZShot(const Frame&);
void ZTrail(const Frame&);
void Missile(const Frame&);

// Stage 1 enemies, the crimson fleet (draw_enemies_crimson.cpp)
void Hornet(const Frame&);     // look 0
void Moth(const Frame&);       // look 1
void Flower(const Frame&);     // look 2
void Carrier(const Frame&);    // looks 3 and 14
void Dart(const Frame&);       // look 4
void Gyro(const Frame&);       // look 11
void Lancer(const Frame&);     // look 12
void GunBarge(const Frame&);   // look 13
void Arrow(const Frame&);      // look 15
void TurretPod(const Frame&);  // look 17

// Stage 2 enemies, the viridian hive (draw_enemies_viridian.cpp)
void Manta(const Frame&);       // look 18
void Wasp(const Frame&);        // look 19
void Spore(const Frame&);       // look 21
void Layer(const Frame&);       // look 22
void EggMine(const Frame&);     // look 23
void Scarab(const Frame&);      // look 25
void TwinTurret(const Frame&);  // look 26
void Urchin(const Frame&);      // look 27
void Jelly(const Frame&);       // look 28
void Mortar(const Frame&);      // look 29
void Tumbler(const Frame&);     // look 30
void Glider(const Frame&);      // look 31

// Bosses and the heavy bomber (draw_bosses.cpp)
void Dreadnought(const Frame&);  // look 16
void HiveQueen(const Frame&);    // look 20
void Bomber(const Frame&);       // look 24

// Effects (draw_effects.cpp)
void EnemyBullet(const Frame&);
void EnemyOrb(const Frame&);
void EnemyStreak(const Frame&);
void SmallExplosion(const Frame&);
void ShipExplosion(const Frame&);
void LargeExplosion(const Frame&);
void SmokePuff(const Frame&);
void Ember(const Frame&);
void Twinkle(const Frame&);
void DebrisFire(const Frame&);
void DebrisShard(const Frame&);
void DebrisPlasma(const Frame&);
void Spark(const Frame&);

// Items and HUD (draw_items.cpp)
void Capsule(const Frame&);
void ShieldIcon(const Frame&);
void LaserIcon(const Frame&);

// Fonts (draw_fonts.cpp)
void Font0Glyph(const Frame&);
void Font1Glyph(const Frame&);
// Adds the path of stroke-font glyph index (0..9 digits, 10..35 letters)
// mapped onto the box (x, y, w, h).
void StrokeGlyphPath(cairo_t* cr, int index, double x, double y, double w, double h);
// Draws digits with the stroke font at (x, y), each cell h pixels high (labels).
void StrokeText(cairo_t* cr, double x, double y, double height, const char* text);

// Large pictures (backgrounds.cpp, title.cpp)
void NearLayer(const Frame&);
void FarLayer(const Frame&);
void TitlePicture(const Frame&);
void SplashPicture(const Frame&);

}  // namespace assetgen::art
