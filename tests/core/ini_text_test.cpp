#include "core/ini_text.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

TEST(IniText, FindsTheKeyInItsSectionAsTheSystemReadsIt) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"[Keys]\r\nActivate=Win+Q\r\n", "Win+Q"},
      {"\xEF\xBB\xBF[keys]\nactivate = \"Ctrl+Alt+Q\" ", "Ctrl+Alt+Q"},  // BOM, case, quotes
      {"[Other]\nActivate=A\n[ Keys ]\n;Activate=B\nActivate=C\nActivate=D", "C"},
      {"[Keys]\nActivate=", ""},
      {"Activate=A\n[Keys]", std::nullopt},  // before any section
      {"[Keys]\nActivate", std::nullopt},
      {"[Keys", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(IniValue(text, "Keys", "Activate"), value);
}

}  // namespace
}  // namespace quenda
