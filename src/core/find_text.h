#pragma once
// Finding a slot by typed text: the comparison that treats the full-width and half-width forms
// of a character, and the cases of an ASCII letter, alike.
#include <string>
#include <string_view>

namespace quenda {

// The text with full-width ASCII and space made half-width, half-width katakana made
// full-width (a voiced mark joining the kana before it) and ASCII letters upper-cased.
std::u16string FoldForFind(std::u16string_view text);

// Whether `typed` is in `text`, both folded. Nothing typed is in every text.
bool ContainsForFind(std::u16string_view text, std::u16string_view typed);

}  // namespace quenda
