// Named surfaces: sizes, the registry rules, resources before files, every
// loading error, and every way back from a lost surface.
#include <filesystem>
#include <fstream>

#include "tests/library/draw/draw_rig.h"
#include "tests/platform/graphics/bmp_builder.h"

namespace drawtest {
namespace {

using platform::SurfaceCall;

Bitmap plain(int w, int h, Color c) {
  return picture(w, h, [c](int, int) { return c; });
}

TEST(DrawSurfaces, SpriteSizesGiveLineAndCount) {
  auto d = makeStage(32, 32, 16);
  const std::string sheet = writePicture("sheet256x96.bmp", Bitmap(256, 96));
  const std::string odd = writePicture("sheet100x40.bmp", Bitmap(100, 40));
  d->CreateSurface("cells", sheet, 32, 32);
  d->CreateSurface("whole", sheet, 0, 0);
  d->CreateSurface("odd", odd, 30, 40);
  const TMorvaneDrawSurfaceInfo cells = d->GetSurfaceInfo("cells");
  EXPECT_EQ(cells.SpriteWidth, 32);
  EXPECT_EQ(cells.SpriteHeight, 32);
  EXPECT_EQ(cells.BMPWidth, 256);
  EXPECT_EQ(cells.BMPHeight, 96);
  EXPECT_EQ(cells.Line, 8);
  EXPECT_EQ(cells.Count, 24);
  EXPECT_EQ(cells.FileName, sheet);
  EXPECT_EQ(cells.SurfaceName, "cells");
  const TMorvaneDrawSurfaceInfo whole = d->GetSurfaceInfo("whole");
  EXPECT_EQ(whole.SpriteWidth, 256);
  EXPECT_EQ(whole.SpriteHeight, 96);
  EXPECT_EQ(whole.Line, 1);
  EXPECT_EQ(whole.Count, 1);
  EXPECT_EQ(d->GetSurfaceInfo("odd").Line, 3);
  EXPECT_EQ(d->GetSurfaceInfo("odd").Count, 3);
}

TEST(DrawSurfaces, NegativeOrOversizedSpritesMakeNoCellToReadOutside) {
  auto d = makeStage(32, 32, 32);
  const std::string file = writePicture("small.bmp", Bitmap(10, 10));
  d->CreateSurface("neg", file, -4, -4);  // taken as the whole picture
  EXPECT_EQ(d->GetSurfaceInfo("neg").Count, 1);
  d->CreateSurface("big", file, 20, 5);
  EXPECT_EQ(d->GetSurfaceInfo("big").Count, 0);
  EXPECT_EQ(messageOf([&] { d->Draw(0, 0, "big", 0, 0, -1); }),
            drawError("スプライトが存在しません。\nスプライト名：big"));
}

TEST(DrawSurfaces, ARegisteredNameKeepsItsSurface) {
  auto d = makeStage(8, 8, 32);
  const std::string red = writePicture("keep_red.bmp", plain(4, 4, 0xFF0000));
  const std::string blue = writePicture("keep_blue.bmp", plain(2, 2, 0x0000FF));
  d->CreateSurface("s", red, 0, 0);
  d->CreateSurface("s", blue, 1, 1);
  EXPECT_EQ(d->GetSurfaceInfo("s").FileName, red);
  EXPECT_EQ(d->GetSurfaceInfo("s").Count, 1);
  d->Draw(0, 0, "s", 0, 0, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(3, 3), 0xFF0000u);
}

TEST(DrawSurfaces, ABitmapResourceWinsOverAFileOfTheSameName) {
  // bmp/resource_sprite.bmp on disk is blue; the resource of that name is red.
  const std::string folder = DRAW_TEST_SOURCE_DIR "/bmp/";
  ASSERT_TRUE(std::filesystem::exists(folder + "resource_sprite.bmp"));
  auto d = makeStage(8, 8, 32);
  d->CreateSurface("r", folder + "resource_sprite.bmp", 0, 0);
  d->Draw(0, 0, "r", 0, 0, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0xFF0000u);
  d->CreateSurface("f", folder + "file_only.bmp", 0, 0);  // no resource: the file
  d->Draw(0, 0, "f", 0, 0, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0x00FF00u);
}

TEST(DrawSurfaces, DeleteOneOrAll) {
  auto d = makeStage(8, 8, 16);
  const std::string file = writePicture("delete.bmp", Bitmap(4, 4));
  d->CreateSurface("a", file, 0, 0);
  d->CreateSurface("b", file, 0, 0);
  const auto before = d->Device()->SurfaceCount();
  d->DeleteSurface("a");
  d->DeleteSurface("never");
  EXPECT_EQ(d->SurfaceCount(), 1);
  EXPECT_EQ(d->Device()->SurfaceCount(), before - 1);
  EXPECT_EQ(messageOf([&] { d->GetSurfaceInfo("a"); }),
            drawError("サーフェイスが存在しません。\nサーフェイス名：a"));
  d->DeleteAllSurface();
  EXPECT_EQ(d->SurfaceCount(), 0);
}

TEST(DrawSurfaces, VideoMemorySurfacesTakeFromTheBudget) {
  auto d = makeStage(8, 8, 32);
  d->SetVideoMemory(true);
  const auto before = d->Device()->AvailableVideoMemory();
  d->CreateSurface("v", writePicture("video.bmp", Bitmap(16, 16)), 0, 0);
  EXPECT_EQ(before.free - d->Device()->AvailableVideoMemory().free, 16 * 16 * 4);
  EXPECT_EQ(before.total, d->Device()->AvailableVideoMemory().total);
}

TEST(DrawSurfaces, LoadingErrorsLeaveNoEntry) {
  auto d = makeStage(8, 8, 24);
  const std::string file = writePicture("errors.bmp", Bitmap(4, 4));
  const std::string missing = (scratchDir() / "missing.bmp").string();
  EXPECT_EQ(messageOf([&] { d->CreateSurface("m", missing, 0, 0); }),
            surfaceError("BMPの読み込みに失敗しました。\nファイル名：" + missing));
  d->Device()->InjectFault(SurfaceCall::Create);
  EXPECT_EQ(messageOf([&] { d->CreateSurface("c", file, 0, 0); }),
            surfaceError("サーフェイスの作成に失敗しました。\nファイル名：" + file));
  d->Device()->InjectFault(SurfaceCall::GetDC);
  EXPECT_EQ(messageOf([&] { d->CreateSurface("t", file, 0, 0); }),
            surfaceError("BMPの転送に失敗しました。\nファイル名：" + file));
  EXPECT_EQ(d->SurfaceCount(), 0);
  const std::string junk = (scratchDir() / "junk.bmp").string();
  { std::ofstream(junk) << "BM not a picture"; }
  EXPECT_EQ(messageOf([&] { d->CreateSurface("j", junk, 0, 0); }),
            surfaceError("BMPの読み込みに失敗しました。\nファイル名：" + junk));
  EXPECT_EQ(d->SurfaceCount(), 0);
  d->CreateSurface("ok", file, 0, 0);  // the same names work afterwards
  EXPECT_EQ(d->SurfaceCount(), 1);
}

// Codings the reader does not decode, and run-length rows stored top row
// first, must not turn into a picture of whatever the bytes happen to hold.
TEST(DrawSurfaces, UnknownCodingsAndTopDownRunLengthAreRefused) {
  auto d = makeStage(8, 8, 32);
  const auto writeBytes = [](const std::string& name, const bmptest::Bytes& bytes) {
    const std::string path = (scratchDir() / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  };
  // Two 24-bit pixels plus padding: enough bytes for an uncompressed row.
  const bmptest::Bytes row{0x00, 0x80, 0xFF, 0x00, 0x80, 0xFF, 0, 0};
  for (const std::uint32_t coding : {4u, 5u, 6u, 7u, 0xFFFFFFFFu}) {
    const std::string file = writeBytes("coding" + std::to_string(coding) + ".bmp",
                                        bmptest::assemble({2, 1, 24, coding, {}, {}, row}));
    EXPECT_EQ(messageOf([&] { d->CreateSurface("c" + std::to_string(coding), file, 0, 0); }),
              surfaceError("BMPの読み込みに失敗しました。\nファイル名：" + file))
        << "coding " << coding;
  }
  std::vector<Color> palette(16, 0x00FF00);
  const bmptest::Bytes rle8{2, 1, 0, 0, 2, 1, 0, 1};  // two rows of two pixels of index 1
  const bmptest::Bytes rle4{2, 0x11, 0, 0, 2, 0x11, 0, 1};
  const std::string topDown8 =
      writeBytes("topdown_rle8.bmp", bmptest::assemble({2, -2, 8, 1, {}, palette, rle8}));
  const std::string topDown4 =
      writeBytes("topdown_rle4.bmp", bmptest::assemble({2, -2, 4, 2, {}, palette, rle4}));
  for (const std::string& file : {topDown8, topDown4}) {
    EXPECT_EQ(messageOf([&] { d->CreateSurface(file, file, 0, 0); }),
              surfaceError("BMPの読み込みに失敗しました。\nファイル名：" + file));
  }
  EXPECT_EQ(d->SurfaceCount(), 0);
  // The same run-length data stored bottom row first still loads.
  d->CreateSurface("up", writeBytes("bottomup_rle8.bmp", bmptest::assemble({2, 2, 8, 1, {}, palette, rle8})),
                   0, 0);
  EXPECT_EQ(d->SurfaceCount(), 1);
}

TEST(DrawSurfaces, ASurfaceObjectWithoutASurfaceCannotRestore) {
  platform::SurfaceDevice device;
  TMorvaneDrawSurface s(&device, *platform::PixelFormat::ForDepth(16));
  EXPECT_EQ(messageOf([&] { s.Restore(); }), surfaceError("サーフェイスが存在しません\nサーフェイス名："));
}

// Every operation finds the lost sprite, restores it, draws nothing, and the
// next call draws the reloaded picture.
TEST(DrawRestore, EveryOperationRestoresLostSurfacesAndSkips) {
  const std::string file = writePicture("restore.bmp", plain(4, 4, 0x00FFFF));
  auto d = makeStage(16, 16, 32);
  d->CreateSurface("s", file, 0, 0);
  const std::function<void()> operations[] = {
      [&] { d->Draw(0, 0, "s", 0, beNone, -1); },
      [&] { d->Draw(0, 0, "s", 0, beAdd, -1); },
      [&] { d->WindDraw(0, 0, "s", 0, beNone, -1, 0); },
      [&] { d->ZoomDraw(0, 0, 256, 256, "s", 0); },
      [&] { d->RotZoomDraw(2, 2, 0, 256, "s", 0); },
      [&] { d->DirectDraw({0, 0, 4, 4}, {0, 0, 4, 4}, "s"); },
      [&] { d->EffectDraw(0, 0, nullptr, "s", 0, 0, 0); },
  };
  int i = 0;
  for (const auto& op : operations) {
    d->Clear();
    d->Device()->MarkAllLost();
    op();
    EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0u) << "operation " << i;
    EXPECT_FALSE(d->BackSurface()->IsLost()) << i;
    op();
    if (i != 6) {  // EffectDraw without a callback draws nothing at all
      // The add of a full source onto black gives 0xFF * 255 >> 8 = 0xFE.
      EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), i == 1 ? 0x00FEFEu : 0x00FFFFu) << "operation " << i;
    }
    ++i;
  }
  d->Device()->MarkAllLost();
  d->TextOutA(0, 0, "x");  // the back surface restored, no text
  EXPECT_FALSE(d->BackSurface()->IsLost());
}

TEST(DrawRestore, RestoreReloadsFromTheFileAndKeepsKeyAndSizes) {
  const std::string file = writePicture("reload.bmp", plain(8, 4, 0xFF0000));
  auto d = makeStage(16, 16, 16);
  d->CreateSurface("s", file, 4, 4);
  writePicture("reload.bmp", plain(8, 4, 0x0000FF));
  d->Device()->MarkAllLost();
  d->Draw(0, 0, "s", 1, beNone, -1);
  d->Draw(0, 0, "s", 1, beNone, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0x001Fu);
  EXPECT_EQ(d->GetSurfaceInfo("s").Count, 2);
}

TEST(DrawRestore, FailuresOnTheWayBack) {
  const std::string file = writePicture("fail_back.bmp", plain(4, 4, 0xFFFFFF));
  auto d = makeStage(16, 16, 32);
  d->CreateSurface("s", file, 0, 0);

  // The surface's own restore fails: quietly, it stays lost and is tried again.
  d->Device()->MarkAllLost();
  d->BackSurface()->Restore();
  d->Device()->InjectFault(SurfaceCall::Restore);
  EXPECT_EQ(messageOf([&] { d->Draw(0, 0, "s", 0, 0, -1); }), "");
  d->Draw(0, 0, "s", 0, 0, -1);  // restored now, nothing drawn
  d->Draw(0, 0, "s", 0, 0, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0xFFFFFFu);

  // The picture is gone from disk.
  std::filesystem::remove(file);
  d->Device()->MarkAllLost();
  EXPECT_EQ(messageOf([&] { d->Draw(0, 0, "s", 0, 0, -1); }),
            surfaceError("BMPの読み込みに失敗しました。\nファイル名：" + file));

  // No device context for the reloaded picture: the surface is released.
  writePicture("fail_back.bmp", plain(4, 4, 0xFFFFFF));
  d->Device()->MarkAllLost();
  d->Device()->InjectFault(SurfaceCall::GetDC);
  EXPECT_EQ(messageOf([&] { d->Draw(0, 0, "s", 0, 0, -1); }),
            surfaceError("サーフェイスの復帰に失敗しました。\nサーフェイス名：s"));
  EXPECT_EQ(messageOf([&] { d->Draw(0, 0, "s", 0, 0, -1); }),
            drawError("サーフェイスが存在しません。\nスプライト名：s"));
}

TEST(DrawResets, ResetKeepsSurfacesAndResetAllLoadsThemAgain) {
  const std::string file = writePicture("resets.bmp", plain(4, 4, 0xFF0000));
  auto d = makeStage(16, 16, 32);
  d->CreateSurface("s", file, 2, 2);
  writePicture("resets.bmp", plain(4, 4, 0x00FF00));
  d->BackSurface()->Fill(nullptr, 0x123456);
  d->Reset();
  EXPECT_EQ(d->BackSurface()->PixelAt(5, 5), 0u);  // a new back surface
  d->Draw(0, 0, "s", 0, 0, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0xFF0000u);  // the old surface stays
  d->ResetAll();
  EXPECT_TRUE(d->GetInitialized());
  EXPECT_EQ(d->GetSurfaceInfo("s").Count, 4);
  d->Draw(0, 0, "s", 0, 0, -1);
  EXPECT_EQ(d->BackSurface()->PixelAt(0, 0), 0x00FF00u);  // loaded again
  d->CleanUp();
  EXPECT_EQ(d->SurfaceCount(), 0);
}

}  // namespace
}  // namespace drawtest
