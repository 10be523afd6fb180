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
      {"Alt+PageDown", HotKey{kHotKeyAlt, 0x22}},
      {"Ctrl+F24", HotKey{kHotKeyCtrl, 0x87}},
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
