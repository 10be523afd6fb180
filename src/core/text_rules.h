#pragma once
// Byte rules for CP932 text: lead bytes, cuts, and the single-byte path delimiters.
#include <cstddef>
#include <string>
#include <string_view>

namespace quenda {

// True for a byte that starts a double-byte character in code page 932.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The first `n` bytes (all of the text when shorter); a cut may keep a lone lead byte.
std::string FirstBytes(std::string_view text, std::size_t n);

// The longest start of the text of at most `n` bytes that ends on a whole character: a cut
// never keeps a lone lead byte.
std::string_view WholeCharacterPrefix(std::string_view text, std::size_t n);

// The offset where the last character of the text begins (CP932-aware), or npos when empty.
std::size_t LastCharOffset(std::string_view text);

// Positions of the last single-byte delimiters; trail bytes never count.
// The text from the last "." after the last "\" or ":", dot included; empty if none.
std::string PathExtension(std::string_view path);
// The text after the last "\" or ":".
std::string PathFileName(std::string_view path);

// The upper-cased ASCII letters of a CP932 text; double-byte characters are left alone.
std::string UpperAscii(std::string_view text);

}  // namespace quenda
