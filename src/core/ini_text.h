#pragma once
// Reading one value out of the text of an .ini file, as the system's profile functions do.
#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// The value of `key` in `[section]`: names compared without regard to ASCII case, blanks around
// names and values dropped, one pair of quotes around a value taken off, lines starting with
// ";" skipped; the first match wins. nullopt when the section or the key is missing.
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

}  // namespace quenda
