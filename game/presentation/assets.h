#pragma once
// Start-up loading: the image lists stored with the window, the 467 sprite
// files of bmp/, the nine sound files of wav/, and the painted backdrop.
#include <span>
#include <string>

#include "game/record/game_record.h"
#include "game/record/shell_host.h"
#include "game/record/sprite_sheets.h"
#include "game/record/world.h"
#include "platform/graphics/canvas.h"

namespace dovrex {

inline constexpr const char* kMissingWaveMessage = "waveファイルがありません（または損傷しています）";

// One image list filled from numbered files "bmp/<prefix>_<nn>.bmp".
struct SpriteFileRange {
  platform::ImageList SpriteSheets::*list;
  const char* prefix;
  int firstFile;  // file number of cell 0 (10 for IL200, else 0)
  int count;
};

// The numbered lists in loading order (after the title picture and the two
// background layers).
std::span<const SpriteFileRange> SpriteFileRanges();

// "bmp/<prefix>_<nn>.bmp": the number with at least two digits.
std::string SpriteFileName(const char* prefix, int number);

// Fills the lists stored with the window (Font0, Font1, ITs, Spa8, IL16,
// IL36) from the program's resources ("BITMAP" named after the list), or,
// for a program built without them, from res/<name>.bmp in the game's
// directory. Raises Exception when a picture cannot be read.
void LoadWindowImageLists(SpriteSheets& sheets, const std::string& directory);

// Loads every picture, then every sound, then paints the backdrop into i0.
// A picture that cannot be read raises Exception at once (the lists filled
// so far keep their cells); a missing sound shows the message, asks the
// window to close and loading goes on with its buffer left zero.
void LoadAssets(SpriteSheets& sheets, GameState& game, platform::Canvas& i0, const std::string& directory,
                ShellHost& host);

int SoundFileBytes(int n);

// The single point of a frame where a requested sound effect is played: plays
// the requested effect (1..9) and clears the request; at most one effect
// starts per frame and a later request replaces an earlier one.
void DispatchSound(World& world);

}  // namespace dovrex
