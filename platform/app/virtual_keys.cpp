#include "platform/app/virtual_keys.h"

#include "platform/app/virtual_key_table.h"

namespace platform {
namespace {

constexpr bool isKeypad(int scancode) {
  return (scancode >= 84 && scancode <= 99) || scancode == 103 || scancode == 133;
}

}  // namespace

int VirtualKeyFromScancode(int scancode, std::int32_t keycode) {
  // On Windows the key that types a letter or digit reports that character,
  // so AZERTY's A key is 'A' wherever it sits. Keypad keys never type ASCII
  // letters, but stay by position regardless.
  if (!isKeypad(scancode)) {
    if (keycode >= 'a' && keycode <= 'z') return static_cast<int>(keycode - 'a' + 'A');
    if (keycode >= '0' && keycode <= '9') return static_cast<int>(keycode);
  }
  for (const ScancodeKey& key : kScancodeKeys) {
    if (key.scancode == scancode) return key.virtualKey;
  }
  return 0;
}

}  // namespace platform
