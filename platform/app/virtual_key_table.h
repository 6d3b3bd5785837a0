#pragma once
// Windows virtual-key code of each physical key, by USB HID usage ID (which
// SDL uses as its scancode numbering). Letters and digits are overridden by
// the layout's character where it has one, as Windows does.
#include <array>
#include <cstdint>

namespace platform {

struct ScancodeKey {
  std::uint16_t scancode;  // USB HID keyboard usage ID
  std::uint8_t virtualKey;
};

// clang-format off
inline constexpr std::array kScancodeKeys = {
    ScancodeKey{4, 65},    ScancodeKey{5, 66},    ScancodeKey{6, 67},    ScancodeKey{7, 68},     // A B C D
    ScancodeKey{8, 69},    ScancodeKey{9, 70},    ScancodeKey{10, 71},   ScancodeKey{11, 72},    // E F G H
    ScancodeKey{12, 73},   ScancodeKey{13, 74},   ScancodeKey{14, 75},   ScancodeKey{15, 76},    // I J K L
    ScancodeKey{16, 77},   ScancodeKey{17, 78},   ScancodeKey{18, 79},   ScancodeKey{19, 80},    // M N O P
    ScancodeKey{20, 81},   ScancodeKey{21, 82},   ScancodeKey{22, 83},   ScancodeKey{23, 84},    // Q R S T
    ScancodeKey{24, 85},   ScancodeKey{25, 86},   ScancodeKey{26, 87},   ScancodeKey{27, 88},    // U V W X
    ScancodeKey{28, 89},   ScancodeKey{29, 90},                                                  // Y Z
    ScancodeKey{30, 49},   ScancodeKey{31, 50},   ScancodeKey{32, 51},   ScancodeKey{33, 52},    // 1 2 3 4
    ScancodeKey{34, 53},   ScancodeKey{35, 54},   ScancodeKey{36, 55},   ScancodeKey{37, 56},    // 5 6 7 8
    ScancodeKey{38, 57},   ScancodeKey{39, 48},                                                  // 9 0
    ScancodeKey{40, 13},   ScancodeKey{41, 27},   ScancodeKey{42, 8},    ScancodeKey{43, 9},     // Enter Esc Backspace Tab
    ScancodeKey{44, 32},   ScancodeKey{45, 189},  ScancodeKey{46, 187},  ScancodeKey{47, 219},   // Space - = [
    ScancodeKey{48, 221},  ScancodeKey{49, 220},  ScancodeKey{50, 220},  ScancodeKey{51, 186},   // ] \ # ;
    ScancodeKey{52, 222},  ScancodeKey{53, 192},  ScancodeKey{54, 188},  ScancodeKey{55, 190},   // ' ` , .
    ScancodeKey{56, 191},  ScancodeKey{57, 20},                                                  // / CapsLock
    ScancodeKey{58, 112},  ScancodeKey{59, 113},  ScancodeKey{60, 114},  ScancodeKey{61, 115},   // F1 F2 F3 F4
    ScancodeKey{62, 116},  ScancodeKey{63, 117},  ScancodeKey{64, 118},  ScancodeKey{65, 119},   // F5 F6 F7 F8
    ScancodeKey{66, 120},  ScancodeKey{67, 121},  ScancodeKey{68, 122},  ScancodeKey{69, 123},   // F9 F10 F11 F12
    ScancodeKey{70, 44},   ScancodeKey{71, 145},  ScancodeKey{72, 19},   ScancodeKey{73, 45},    // PrintScreen ScrollLock Pause Insert
    ScancodeKey{74, 36},   ScancodeKey{75, 33},   ScancodeKey{76, 46},   ScancodeKey{77, 35},    // Home PageUp Delete End
    ScancodeKey{78, 34},   ScancodeKey{79, 39},   ScancodeKey{80, 37},   ScancodeKey{81, 40},    // PageDown Right Left Down
    ScancodeKey{82, 38},   ScancodeKey{83, 144},                                                 // Up NumLock
    ScancodeKey{84, 111},  ScancodeKey{85, 106},  ScancodeKey{86, 109},  ScancodeKey{87, 107},   // keypad / * - +
    ScancodeKey{88, 13},   ScancodeKey{89, 97},   ScancodeKey{90, 98},   ScancodeKey{91, 99},    // keypad Enter 1 2 3
    ScancodeKey{92, 100},  ScancodeKey{93, 101},  ScancodeKey{94, 102},  ScancodeKey{95, 103},   // keypad 4 5 6 7
    ScancodeKey{96, 104},  ScancodeKey{97, 105},  ScancodeKey{98, 96},   ScancodeKey{99, 110},   // keypad 8 9 0 .
    ScancodeKey{100, 226}, ScancodeKey{101, 93},  ScancodeKey{103, 187}, ScancodeKey{133, 108},  // <> Menu keypad= keypad,
    ScancodeKey{104, 124}, ScancodeKey{105, 125}, ScancodeKey{106, 126}, ScancodeKey{107, 127},  // F13 F14 F15 F16
    ScancodeKey{108, 128}, ScancodeKey{109, 129}, ScancodeKey{110, 130}, ScancodeKey{111, 131},  // F17 F18 F19 F20
    ScancodeKey{112, 132}, ScancodeKey{113, 133}, ScancodeKey{114, 134}, ScancodeKey{115, 135},  // F21 F22 F23 F24
    ScancodeKey{224, 17},  ScancodeKey{225, 16},  ScancodeKey{226, 18},  ScancodeKey{227, 91},   // left Ctrl Shift Alt Win
    ScancodeKey{228, 17},  ScancodeKey{229, 16},  ScancodeKey{230, 18},  ScancodeKey{231, 92},   // right Ctrl Shift Alt Win
};
// clang-format on

}  // namespace platform
