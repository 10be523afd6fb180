#include "core/ini_text.h"

#include "core/text_rules.h"

namespace quenda {

namespace {

bool SameName(std::string_view a, std::string_view b) { return UpperAscii(a) == UpperAscii(b); }

}  // namespace

std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  bool in_section = false;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.starts_with('[')) {
      in_section = SameName(Trim(line.substr(1, line.find(']') - 1)), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!in_section || line.starts_with(';') || equals == std::string_view::npos ||
        !SameName(Trim(line.substr(0, equals)), key)) {
      continue;
    }
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

}  // namespace quenda
