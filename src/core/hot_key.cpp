#include "core/hot_key.h"

#include <string>

#include "core/text_rules.h"

namespace quenda {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return out;
}

unsigned ModifierBit(const std::string& name) {
  if (name == "ctrl" || name == "control") return kHotKeyCtrl;
  if (name == "alt") return kHotKeyAlt;
  if (name == "shift") return kHotKeyShift;
  if (name == "win") return kHotKeyWin;
  return 0;
}

// The virtual-key code of a key name, or 0.
unsigned KeyCode(const std::string& name) {
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= 'a' && c <= 'z') return unsigned(c - 'a' + 'A');
    if (c >= '0' && c <= '9') return unsigned(c);
    return 0;
  }
  if (name[0] == 'f' && name.size() <= 3) {
    int n = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9') return 0;
      n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= 24 && name[1] != '0' ? unsigned(0x6F + n) : 0;
  }
  static constexpr struct {
    const char* name;
    unsigned code;
  } kNamed[] = {
      {"space", 0x20}, {"enter", 0x0D}, {"tab", 0x09},   {"esc", 0x1B},   {"escape", 0x1B},
      {"pageup", 0x21}, {"pagedown", 0x22}, {"end", 0x23}, {"home", 0x24},  {"left", 0x25},
      {"up", 0x26},    {"right", 0x27},  {"down", 0x28}, {"insert", 0x2D}, {"delete", 0x2E},
  };
  for (const auto& k : kNamed) {
    if (name == k.name) return k.code;
  }
  return 0;
}

// Whether other programs need the key: with any modifiers the keys that close, switch or
// interrupt; with Ctrl and Shift alone also those that edit and select text.
bool IsOthersKey(const HotKey& k) {
  constexpr unsigned kAlways[] = {0x09, 0x0D, 0x1B, 0x2E, 0x73};  // Tab Enter Esc Delete F4
  constexpr unsigned kEditing[] = {'A', 'C', 'V', 'X', 'Y', 'Z', 0x21, 0x22, 0x23,
                                   0x24, 0x25, 0x26, 0x27, 0x28, 0x2D};  // pages, arrows, Insert
  for (unsigned key : kAlways) {
    if (k.key == key) return true;
  }
  if (k.modifiers & (kHotKeyAlt | kHotKeyWin)) return false;
  for (unsigned key : kEditing) {
    if (k.key == key) return true;
  }
  return false;
}

bool HasEnoughModifiers(unsigned modifiers) {
  const int count = !!(modifiers & kHotKeyCtrl) + !!(modifiers & kHotKeyAlt) +
                    !!(modifiers & kHotKeyShift);
  return (modifiers & kHotKeyWin) || count >= 2;
}

}  // namespace

std::optional<HotKey> ParseHotKey(std::string_view text) {
  HotKey result;
  for (;;) {
    const std::size_t plus = text.find('+');
    const std::string part = Lower(Trim(text.substr(0, plus)));
    if (part.empty()) return std::nullopt;
    if (plus == std::string_view::npos) {
      result.key = KeyCode(part);
      break;
    }
    const unsigned bit = ModifierBit(part);
    if (bit == 0 || (result.modifiers & bit)) return std::nullopt;
    result.modifiers |= bit;
    text.remove_prefix(plus + 1);
  }
  if (result.key == 0 || !HasEnoughModifiers(result.modifiers) || IsOthersKey(result)) {
    return std::nullopt;
  }
  return result;
}

}  // namespace quenda
