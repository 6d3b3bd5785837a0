#pragma once
// Windows virtual-key codes (the key codes the game's handlers compare) and
// their derivation from a physical key.
#include <cstdint>

namespace platform {

namespace vk {
constexpr int kBack = 8, kTab = 9, kReturn = 13, kShift = 16, kControl = 17, kMenu = 18, kPause = 19;
constexpr int kEscape = 27, kSpace = 32, kPrior = 33, kNext = 34, kEnd = 35, kHome = 36;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kInsert = 45, kDelete = 46;
constexpr int kNumpad0 = 96;  // kNumpad0 + n for keypad digit n
constexpr int kF1 = 112;      // kF1 + n - 1 for Fn, up to F24
// Letters and digits are their upper-case ASCII codes: 'A' .. 'Z', '0' .. '9'.
}  // namespace vk

// USB HID usage IDs of the keys the game reads, for Application::SimulateKey.
namespace hid {
constexpr int kX = 27, kZ = 29, kEscape = 41, kF9 = 66, kF11 = 68;
constexpr int kRight = 79, kLeft = 80, kDown = 81, kUp = 82;
constexpr int kKeypad2 = 90, kKeypad4 = 92, kKeypad6 = 94, kKeypad8 = 96;
}  // namespace hid

// scancode: the USB HID usage ID of the key (SDL's scancode numbering).
// keycode: the character the keyboard layout puts on it (SDL's keycode:
// lower-case letters and digits as ASCII), or 0 when unknown. Keypad keys map
// by position whatever NumLock says; letters and digits follow the layout
// when it gives one. Returns 0 for keys without a code.
int VirtualKeyFromScancode(int scancode, std::int32_t keycode);

}  // namespace platform
