#pragma once
// The few keys a 3D viewer steers by, read as held or not in the windows of
// this process (pending window events are taken in first).
namespace platform::gl {

enum class ViewKey { kLeft, kRight, kUp, kDown, kZoomIn, kZoomOut, kEscape };

bool KeyHeld(ViewKey key);

}  // namespace platform::gl
