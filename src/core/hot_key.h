#pragma once
// The key that brings Quenda forward, as a user writes it ("Ctrl+Alt+Space", "Win+Q") and as
// the system takes it (modifier bits and a virtual-key code).
#include <optional>
#include <string_view>

namespace quenda {

// The system's modifier bits for a hot key.
inline constexpr unsigned kHotKeyAlt = 0x1, kHotKeyCtrl = 0x2, kHotKeyShift = 0x4,
                          kHotKeyWin = 0x8;

struct HotKey {
  unsigned modifiers = 0;
  unsigned key = 0;  // virtual-key code
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

inline constexpr HotKey kDefaultHotKey{kHotKeyCtrl | kHotKeyAlt, 0x20};
inline constexpr char kDefaultHotKeyText[] = "Ctrl+Alt+Space";  // as the user is told of it

// Modifiers and one key joined by "+", in any order and case, spaces around the parts allowed.
// The key is taken from every program, so it needs Win or two modifiers, and keys that edit,
// select, switch or close (Ctrl+C, Ctrl+Shift+Left, Ctrl+Alt+Delete, Alt+F4, ...) are refused,
// as is anything else that is not such a text.
std::optional<HotKey> ParseHotKey(std::string_view text);

}  // namespace quenda
