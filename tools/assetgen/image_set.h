#pragma once
// The game's image lists: cell sizes, counts, file names, and which drawing
// fills which cells.
#include <array>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "tools/assetgen/art.h"
#include "tools/assetgen/raster.h"

namespace assetgen {

enum class Storage { Window, Files };

struct ImageListSpec {
  const char* name;
  int cellWidth, cellHeight, count;
  Storage storage;
  int firstFileNumber;  // file number of cell 0 (10 for IL200)
};

// Every list the game loads or keeps with its window.
inline constexpr std::size_t kImageListCount = 21;

inline constexpr auto kImageLists = std::to_array<ImageListSpec>({
    {"Font0", 16, 16, 36, Storage::Window, 0},   {"Font1", 16, 16, 10, Storage::Window, 0},
    {"ITs", 86, 32, 2, Storage::Window, 0},      {"Spa8", 10, 10, 6, Storage::Window, 0},
    {"IL16", 16, 16, 25, Storage::Window, 0},    {"IL36", 36, 36, 48, Storage::Window, 0},
    {"IT", 375, 155, 1, Storage::Files, 0},      {"BK", 480, 240, 2, Storage::Files, 0},
    {"IL24", 24, 24, 7, Storage::Files, 0},      {"IL32", 32, 32, 19, Storage::Files, 0},
    {"IL40", 40, 40, 8, Storage::Files, 0},      {"IL44", 44, 44, 4, Storage::Files, 0},
    {"IL50", 50, 50, 48, Storage::Files, 0},     {"IL64", 64, 64, 16, Storage::Files, 0},
    {"IL70", 70, 70, 56, Storage::Files, 0},     {"IL86", 86, 86, 102, Storage::Files, 0},
    {"IL96", 96, 96, 32, Storage::Files, 0},     {"IL100", 100, 100, 72, Storage::Files, 0},
    {"IL150", 150, 70, 15, Storage::Files, 0},   {"IL160", 160, 160, 19, Storage::Files, 0},
    {"IL200", 200, 200, 66, Storage::Files, 10},
});
static_assert(kImageLists.size() == kImageListCount);

constexpr int kSplashWidth = 375;
constexpr int kSplashHeight = 155;

// A run of cells of one list painted by one animation.
struct CellRange {
  std::string_view list;
  int first, count;
  art::Drawer draw;
  KeyMode key = KeyMode::Solid;
};

// Every painted run of cells; cells in no run stay empty (no Part uses them).
std::span<const CellRange> CellRanges();

const ImageListSpec& FindImageList(std::string_view name);

// File name without folder and extension: "24_00", "86_100", "200_10",
// "title", "bg0". Only for lists stored as files.
std::string CellFileName(const ImageListSpec& list, int cell);

// The finished picture of one cell (black where transparent).
Picture RenderCell(const ImageListSpec& list, int cell);
// The cell on a cairo canvas before key conversion, for checks; returns how
// its pixels are to be keyed.
KeyMode RenderCellRaw(const ImageListSpec& list, int cell, CellCanvas& canvas);
Picture RenderSplash();

// Writes bmp/, res/ and (when asked) contact/ below outDir.
void WriteImageSet(const std::filesystem::path& outDir, bool contactSheets,
                   const std::function<void(const std::string&)>& progress);

}  // namespace assetgen
