#include "library/debug/exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace {

template <class E>
void expectPrefixed(const char* prefix) {
  static_assert(std::is_base_of_v<Exception, E>, "caught as the framework's Exception");
  const std::string text = "まだ初期化されてません。";
  try {
    throw E(text);
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message, std::string(prefix) + text);
    EXPECT_STREQ(error.what(), error.Message.c_str());
  }
}

TEST(ExceptionClasses, EveryComponentPrefixesItsName) {
  expectPrefixed<MorvaneMidiSystem::EMvMidi>("TMorvaneMidi エラー\n\n");
  expectPrefixed<MorvaneSoundSystem::EMvSound>("TMorvaneSound エラー\n\n");
  expectPrefixed<MorvaneSoundSystem::EMvSoundBuffer>("TMorvaneSoundBuffer エラー\n\n");
  expectPrefixed<MorvaneDrawSystem::EMvDraw>("TMorvaneDraw(Ex) エラー\n\n");
  expectPrefixed<MorvaneDrawSystem::EMvDrawSurface>("TMorvaneDraw(Ex)Surface エラー\n\n");
  expectPrefixed<Morvane3DSystem::EMv3D>("TMorvane3D エラー\n\n");
  expectPrefixed<Morvane3DSystem::EMv3DTexture>("TMorvane3DTexture エラー\n\n");
  expectPrefixed<Morvane3DSystem::EMv3DFile>("TMorvane3DFile エラー\n\n");
  expectPrefixed<MorvaneSystem::EMvAutoPtr>("TMorvaneAutoPtr エラー\n\n");
}

TEST(ExceptionClasses, MidiNotInitialisedMessage) {
  const MorvaneMidiSystem::EMvMidi error("まだ初期化されてません。");
  EXPECT_EQ(error.Message, "TMorvaneMidi エラー\n\nまだ初期化されてません。");
}

TEST(ExceptionClasses, ClassesAreDistinctTypes) {
  // Catching one component's class must not catch another's.
  EXPECT_THROW(
      {
        try {
          throw MorvaneSoundSystem::EMvSound("x");
        } catch (const MorvaneSoundSystem::EMvSoundBuffer&) {
          FAIL() << "EMvSound caught as EMvSoundBuffer";
        }
      },
      MorvaneSoundSystem::EMvSound);
  static_assert(!std::is_base_of_v<MorvaneDrawSystem::EMvDraw, MorvaneDrawSystem::EMvDrawSurface>);
  static_assert(!std::is_base_of_v<Morvane3DSystem::EMv3D, Morvane3DSystem::EMv3DFile>);
}

TEST(ExceptionClasses, FileErrorsKeepTheFileNameLine) {
  const Morvane3DSystem::EMv3DFile error("ファイルが開けません。\nファイル名：model.x");
  EXPECT_EQ(error.Message, "TMorvane3DFile エラー\n\nファイルが開けません。\nファイル名：model.x");
}

}  // namespace
