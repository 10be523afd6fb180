// Any bytes as Quenda.ini: the reader must stay within them, a value it finds lies within one
// line of them, and the hot key parser takes or refuses it without failing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/hot_key.h"
#include "core/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> value = quenda::IniValue(text, "Keys", "Activate");
  if (!value) return 0;
  if (value->find_first_of("\r\n") != std::string::npos || text.find(*value) == text.npos) {
    std::abort();
  }
  quenda::ParseHotKey(*value);
  return 0;
}
