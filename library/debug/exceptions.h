#pragma once
// The library's exception classes, one per component, each in its
// component's namespace. The message starts with the component's name, so a
// message box or a log line tells at once which component failed.
#include "platform/framework/ansi_string.h"
#include "platform/framework/exception.h"

namespace MorvaneSystem {

// An exception whose Message is a fixed component prefix followed by the text.
template <const char* Prefix>
class TMorvaneError : public Exception {
 public:
  explicit TMorvaneError(const AnsiString& Text) : Exception(Prefix + Text) {}
};

inline constexpr char kMidiErrorPrefix[] = "TMorvaneMidi エラー\n\n";
inline constexpr char kSoundErrorPrefix[] = "TMorvaneSound エラー\n\n";
inline constexpr char kSoundBufferErrorPrefix[] = "TMorvaneSoundBuffer エラー\n\n";
inline constexpr char kDrawErrorPrefix[] = "TMorvaneDraw(Ex) エラー\n\n";
inline constexpr char kDrawSurfaceErrorPrefix[] = "TMorvaneDraw(Ex)Surface エラー\n\n";
inline constexpr char k3DErrorPrefix[] = "TMorvane3D エラー\n\n";
inline constexpr char k3DTextureErrorPrefix[] = "TMorvane3DTexture エラー\n\n";
inline constexpr char k3DFileErrorPrefix[] = "TMorvane3DFile エラー\n\n";
inline constexpr char kAutoPtrErrorPrefix[] = "TMorvaneAutoPtr エラー\n\n";

// Raised by the owned-pointer registry (library/debug/Mvautoptr.h).
class EMvAutoPtr : public TMorvaneError<kAutoPtrErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};

}  // namespace MorvaneSystem

namespace MorvaneMidiSystem {
class EMvMidi : public MorvaneSystem::TMorvaneError<MorvaneSystem::kMidiErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
}  // namespace MorvaneMidiSystem

namespace MorvaneSoundSystem {
class EMvSound : public MorvaneSystem::TMorvaneError<MorvaneSystem::kSoundErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
class EMvSoundBuffer : public MorvaneSystem::TMorvaneError<MorvaneSystem::kSoundBufferErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
}  // namespace MorvaneSoundSystem

// TMorvaneDraw and TMorvaneDrawEx share these.
namespace MorvaneDrawSystem {
class EMvDraw : public MorvaneSystem::TMorvaneError<MorvaneSystem::kDrawErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
class EMvDrawSurface : public MorvaneSystem::TMorvaneError<MorvaneSystem::kDrawSurfaceErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
}  // namespace MorvaneDrawSystem

namespace Morvane3DSystem {
class EMv3D : public MorvaneSystem::TMorvaneError<MorvaneSystem::k3DErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
class EMv3DTexture : public MorvaneSystem::TMorvaneError<MorvaneSystem::k3DTextureErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
class EMv3DFile : public MorvaneSystem::TMorvaneError<MorvaneSystem::k3DFileErrorPrefix> {
 public:
  using TMorvaneError::TMorvaneError;
};
}  // namespace Morvane3DSystem
