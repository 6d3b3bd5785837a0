#include "platform/app/virtual_keys.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/app/virtual_key_table.h"

namespace platform {
namespace {

// USB HID keyboard usage IDs, which SDL's scancodes are.
namespace usb {
constexpr int kA = 4, kQ = 20, kX = 27, kZ = 29, k1 = 30, k0 = 39;
constexpr int kEnter = 40, kEscape = 41, kSpace = 44, kSemicolon = 51;
constexpr int kF1 = 58, kF9 = 66, kF11 = 68, kF12 = 69;
constexpr int kRight = 79, kLeft = 80, kDown = 81, kUp = 82;
constexpr int kKeypad1 = 89, kKeypad2 = 90, kKeypad4 = 92, kKeypad6 = 94, kKeypad8 = 96, kKeypad0 = 98;
constexpr int kKeypadEnter = 88;
constexpr int kLeftShift = 225, kRightCtrl = 228;
}  // namespace usb

TEST(VirtualKeys, ArrowsAreTheWindowsArrowCodes) {
  EXPECT_EQ(VirtualKeyFromScancode(usb::kLeft, 0), 37);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kUp, 0), 38);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kRight, 0), 39);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kDown, 0), 40);
}

TEST(VirtualKeys, KeypadDigitsMapByPositionWhateverTheLayoutSays) {
  // With NumLock off SDL reports arrow keycodes for the keypad; the keypad
  // digit codes must come through all the same.
  constexpr std::int32_t kSdlArrowKeycodeBit = 1 << 30;
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad2, 0), 98);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad4, 0), 100);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad6, 0), 102);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad8, 0), 104);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad2, kSdlArrowKeycodeBit | 81), 98);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad8, '8'), 104);  // never the top-row digit
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad1, 0), vk::kNumpad0 + 1);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypad0, 0), vk::kNumpad0);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kKeypadEnter, 0), 13);
}

TEST(VirtualKeys, GameKeys) {
  EXPECT_EQ(VirtualKeyFromScancode(usb::kZ, 'z'), 90);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kX, 'x'), 88);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kZ, 0), 90);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kX, 0), 88);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kF9, 0), 120);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kF11, 0), 122);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kEscape, 0), 27);
}

TEST(VirtualKeys, LettersAreUpperCaseAscii) {
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(VirtualKeyFromScancode(usb::kA + i, 0), 'A' + i) << i;
    EXPECT_EQ(VirtualKeyFromScancode(usb::kA + i, 'a' + i), 'A' + i) << i;
  }
}

TEST(VirtualKeys, DigitsAreAscii) {
  for (int d = 1; d <= 9; ++d) EXPECT_EQ(VirtualKeyFromScancode(usb::k1 + d - 1, 0), '0' + d) << d;
  EXPECT_EQ(VirtualKeyFromScancode(usb::k0, 0), '0');
  EXPECT_EQ(VirtualKeyFromScancode(usb::k0, '0'), '0');
}

TEST(VirtualKeys, FunctionKeysF1ToF12) {
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(VirtualKeyFromScancode(usb::kF1 + n - 1, 0), 111 + n) << "F" << n;
    EXPECT_EQ(VirtualKeyFromScancode(usb::kF1 + n - 1, 0), vk::kF1 + n - 1) << "F" << n;
  }
  EXPECT_EQ(VirtualKeyFromScancode(usb::kF12, 0), 123);
}

TEST(VirtualKeys, LettersFollowTheLayout) {
  // AZERTY: the key in QWERTY's Q position types 'a', and the ';' position 'm'.
  EXPECT_EQ(VirtualKeyFromScancode(usb::kQ, 'a'), 'A');
  EXPECT_EQ(VirtualKeyFromScancode(usb::kSemicolon, 'm'), 'M');
  // A layout character that is not a letter or digit leaves the position.
  EXPECT_EQ(VirtualKeyFromScancode(usb::k1, '&'), '1');
  EXPECT_EQ(VirtualKeyFromScancode(usb::kSemicolon, ';'), 186);
}

TEST(VirtualKeys, OtherKeys) {
  EXPECT_EQ(VirtualKeyFromScancode(usb::kEnter, '\r'), 13);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kSpace, ' '), 32);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kLeftShift, 0), 16);
  EXPECT_EQ(VirtualKeyFromScancode(usb::kRightCtrl, 0), 17);
}

TEST(VirtualKeys, UnknownKeysHaveNoCode) {
  EXPECT_EQ(VirtualKeyFromScancode(0, 0), 0);
  EXPECT_EQ(VirtualKeyFromScancode(300, 0), 0);
  EXPECT_EQ(VirtualKeyFromScancode(-1, 0), 0);
}

TEST(VirtualKeys, NamedScancodesGiveTheGameKeys) {
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kEscape, 0), vk::kEscape);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kX, 0), 'X');
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kZ, 0), 'Z');
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kF9, 0), 120);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kF11, 0), 122);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kLeft, 0), vk::kLeft);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kRight, 0), vk::kRight);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kUp, 0), vk::kUp);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kDown, 0), vk::kDown);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kKeypad2, 0), 98);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kKeypad4, 0), 100);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kKeypad6, 0), 102);
  EXPECT_EQ(VirtualKeyFromScancode(platform::hid::kKeypad8, 0), 104);
}

TEST(VirtualKeyTable, EachScancodeOnceAndEveryCodeSet) {
  std::set<int> seen;
  for (const ScancodeKey& key : kScancodeKeys) {
    EXPECT_TRUE(seen.insert(key.scancode).second) << key.scancode;
    EXPECT_NE(key.virtualKey, 0) << key.scancode;
  }
}

}  // namespace
}  // namespace platform
