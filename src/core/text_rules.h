#pragma once
// Byte rules for CP932 text: lead bytes, cuts, and the single-byte path delimiters.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace quenda {

// True for a byte that starts a double-byte character in code page 932.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest prefix of at most `max_bytes` bytes that ends on a whole character: a lead byte
// without its trail byte is dropped, even when the text is short enough.
std::string_view Cp932Prefix(std::string_view text, std::size_t max_bytes);
// The same as a string.
std::string FirstBytes(std::string_view text, std::size_t n);

// The offset where the last character of the text begins (CP932-aware), or npos when empty.
std::size_t LastCharOffset(std::string_view text);

// Positions of the last single-byte delimiters; trail bytes never count.
// The text from the last "." after the last "\" or ":", dot included; empty if none.
std::string PathExtension(std::string_view path);
// The text after the last "\" or ":".
std::string PathFileName(std::string_view path);

// Whether a text typed as an address, with no scheme, names a web host: a host name with a dot
// before any "/", "localhost" or an IPv4 address, each with an optional ":port" and path.
// Paths ("C:\\…", "\\\\server\\…") and texts with a scheme ("file:…", "mailto:…") are not.
// Whether a file or folder of that name exists is the caller's to check.
bool IsSchemelessWebAddress(std::string_view text);

// A program target as Windows' Run box takes it: a quoted path and the arguments after it, or
// the shortest start that names an existing file (`exists`) followed by a blank and arguments.
// A target that is one existing path, even with blanks, or names nothing that exists, is the
// program whole, without arguments.
struct RunCommand {
  std::u16string program, arguments;
  bool operator==(const RunCommand&) const = default;
};
RunCommand SplitRunCommand(std::u16string_view target,
                           const std::function<bool(std::u16string_view)>& exists);

// The text without the blanks and tabs around it.
std::string_view Trim(std::string_view text);

// The upper-cased ASCII letters of a CP932 text; double-byte characters are left alone.
std::string UpperAscii(std::string_view text);

}  // namespace quenda
