#include "tools/assetgen/image_set.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "tools/assetgen/bmp_writer.h"
#include "tools/assetgen/contact_sheet.h"

namespace assetgen {

const ImageListSpec& FindImageList(std::string_view name) {
  for (const auto& list : kImageLists)
    if (name == list.name) return list;
  throw std::out_of_range("no image list " + std::string(name));
}

std::string CellFileName(const ImageListSpec& list, int cell) {
  const std::string name = list.name;
  if (name == "IT") return "title";
  if (name == "BK") return "bg" + std::to_string(cell);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s_%02d", name.substr(2).c_str(), cell + list.firstFileNumber);
  return buf;
}

KeyMode RenderCellRaw(const ImageListSpec& list, int cell, CellCanvas& canvas) {
  for (const auto& range : CellRanges()) {
    if (range.list != list.name || cell < range.first || cell >= range.first + range.count) continue;
    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    range.draw({cr, list.cellWidth, list.cellHeight, cell - range.first, range.count});
    cairo_restore(cr);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
      throw std::runtime_error(std::string("cairo failed drawing ") + list.name + " cell " +
                               std::to_string(cell));
    return range.key;
  }
  return KeyMode::Solid;
}

Picture RenderCell(const ImageListSpec& list, int cell) {
  CellCanvas canvas(list.cellWidth, list.cellHeight);
  const KeyMode key = RenderCellRaw(list, cell, canvas);
  return canvas.ToPicture(key);
}

Picture RenderSplash() {
  CellCanvas canvas(kSplashWidth, kSplashHeight);
  art::SplashPicture({canvas.cr(), kSplashWidth, kSplashHeight, 0, 1});
  return canvas.ToPicture();
}

namespace {

std::vector<Picture> renderList(const ImageListSpec& list) {
  std::vector<Picture> cells;
  cells.reserve(list.count);
  for (int k = 0; k < list.count; ++k) cells.push_back(RenderCell(list, k));
  return cells;
}

// The cells side by side, as the window stores such a list.
Picture strip(const ImageListSpec& list, const std::vector<Picture>& cells) {
  Picture out(list.cellWidth * list.count, list.cellHeight);
  for (int k = 0; k < list.count; ++k)
    for (int y = 0; y < list.cellHeight; ++y)
      for (int x = 0; x < list.cellWidth; ++x) out.At(k * list.cellWidth + x, y) = cells[k].At(x, y);
  return out;
}

void writeList(const std::filesystem::path& outDir, bool contactSheets, const ImageListSpec& list) {
  const auto cells = renderList(list);
  if (list.storage == Storage::Window) {
    WriteBmp(outDir / "res" / (std::string(list.name) + ".bmp"), strip(list, cells));
  } else {
    for (int k = 0; k < list.count; ++k)
      WriteBmp(outDir / "bmp" / (CellFileName(list, k) + ".bmp"), cells[k]);
  }
  if (contactSheets) WriteContactSheet(outDir / "contact" / (std::string(list.name) + ".png"), list, cells);
}

}  // namespace

void WriteImageSet(const std::filesystem::path& outDir, bool contactSheets,
                   const std::function<void(const std::string&)>& progress) {
  // One thread: the whole set takes about a second of processor time.
  for (const auto& list : kImageLists) writeList(outDir, contactSheets, list);
  const Picture splash = RenderSplash();
  WriteBmp(outDir / "res" / "splash.bmp", splash);
  if (contactSheets) {
    const ImageListSpec sheet{"splash", kSplashWidth, kSplashHeight, 1, Storage::Window, 0};
    WriteContactSheet(outDir / "contact" / "splash.png", sheet, {splash});
  }
  if (progress) {
    int files = 0;
    for (const auto& list : kImageLists)
      if (list.storage == Storage::Files) files += list.count;
    progress("bmp: " + std::to_string(files) + " files; res: 6 lists and the splash picture" +
             (contactSheets ? "; contact sheets" : ""));
  }
}

}  // namespace assetgen
