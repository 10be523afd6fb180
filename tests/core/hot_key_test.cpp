#include "core/hot_key.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

TEST(HotKeyTest, ReadsModifiersAndOneKeyAndRefusesTheRest) {
  struct Case {
    const char* text;
    std::optional<HotKey> want;
  };
  const Case cases[] = {
      {"Ctrl+Alt+Space", kDefaultHotKey},
      {" alt + CTRL +space ", kDefaultHotKey},
      {"Ctrl+Shift+F12", HotKey{kHotKeyCtrl | kHotKeyShift, 0x7B}},
      {"Win+Q", HotKey{kHotKeyWin, 'Q'}},
      {"Control+Alt+7", HotKey{kHotKeyCtrl | kHotKeyAlt, '7'}},
      {"Shift+Win+F1", HotKey{kHotKeyShift | kHotKeyWin, 0x70}},
      {"Alt+Shift+PageDown", HotKey{kHotKeyAlt | kHotKeyShift, 0x22}},
      {"Ctrl+Alt+F24", HotKey{kHotKeyCtrl | kHotKeyAlt, 0x87}},
      {"Ctrl+Alt+C", HotKey{kHotKeyCtrl | kHotKeyAlt, 'C'}},
      {"Ctrl+Shift+Q", HotKey{kHotKeyCtrl | kHotKeyShift, 'Q'}},
      // One modifier, or a key other programs edit, select, switch or close with.
      {"Alt+PageDown", std::nullopt},
      {"Ctrl+F24", std::nullopt},
      {"Ctrl+C", std::nullopt},
      {"Shift+Insert", std::nullopt},
      {"Ctrl+Shift+Z", std::nullopt},
      {"Ctrl+Shift+Left", std::nullopt},
      {"Ctrl+Shift+Esc", std::nullopt},
      {"Ctrl+Alt+Delete", std::nullopt},
      {"Alt+Shift+F4", std::nullopt},
      {"Win+Tab", std::nullopt},
      {"", std::nullopt},
      {"Space", std::nullopt},          // no modifier
      {"Ctrl+Alt", std::nullopt},       // no key
      {"Ctrl+Ctrl+A", std::nullopt},    // a modifier twice
      {"Ctrl++A", std::nullopt},
      {"Ctrl+A+", std::nullopt},
      {"Ctrl+A+B", std::nullopt},       // two keys
      {"Ctrl+F0", std::nullopt},
      {"Ctrl+F25", std::nullopt},
      {"Ctrl+F01", std::nullopt},
      {"Ctrl+Spacebar", std::nullopt},
      {"Hyper+A", std::nullopt},
      {"Ctrl+\x82\x60", std::nullopt},  // a full-width letter
  };
  for (const Case& c : cases) EXPECT_EQ(ParseHotKey(c.text), c.want) << c.text;
}

}  // namespace
}  // namespace quenda
