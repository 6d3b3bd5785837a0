#pragma once
// A world for rule tests: a zeroed game record, a real 480 x 480 composing
// image, image lists (empty unless a test fills them) and services that
// record what the rules asked for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "game/record/world.h"
#include "platform/graphics/canvas.h"

namespace dovrex::testing {

class RecordingServices : public GameServices {
 public:
  bool JoyGetPos(JoyInfo& info) override {
    if (!joystick) return false;
    info = *joystick;
    return true;
  }
  void PlaySoundMemory(std::span<const std::uint8_t> wavImage) override { played.push_back(wavImage.data()); }
  void SetMusicFadeOut(int milliseconds) override { fades.push_back(milliseconds); }

  std::unique_ptr<JoyInfo> joystick;  // none connected unless set
  std::vector<const std::uint8_t*> played;
  std::vector<int> fades;
};

class WorldTest : public ::testing::Test {
 protected:
  WorldTest() { std::srand(1); }

  std::unique_ptr<GameRecord> recPtr = std::make_unique<GameRecord>();
  GameRecord& rec = *recPtr;
  platform::Image i1{480, 480};
  std::unique_ptr<SpriteSheets> sheets = std::make_unique<SpriteSheets>();
  RecordingServices services;
  World world{rec, i1.canvas, *sheets, services};
};

}  // namespace dovrex::testing
