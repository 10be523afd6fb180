#pragma once
// Finding a slot by typed text: the comparison that treats the full-width and half-width forms
// of a character, and the cases of an ASCII letter, alike.
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "core/slot_table.h"

namespace quenda {

// The text with full-width ASCII and space made half-width, half-width katakana made
// full-width (a voiced mark joining the kana before it) and ASCII letters upper-cased.
std::u16string FoldForFind(std::u16string_view text);

// Whether `typed` is in `text`, both folded. Nothing typed is in every text.
bool ContainsForFind(std::u16string_view text, std::u16string_view typed);

// The pages the keyboard steps through and typing searches, Ctrl+1 to Ctrl+6: D1-D4, P1, P2.
inline constexpr PageTag kKeyPageTags[] = {0, 1, 2, 3, 200, 201};
inline constexpr int kKeyPages = int(std::size(kKeyPageTags));
// Where a page stands among the keyboard's pages (0 for one outside them).
int KeyPageAt(PageTag tag);
// The keyboard's page `step` pages away from the page of `tag`, round the ends.
PageTag KeyPageStep(PageTag tag, int step);

struct FoundSlot {
  PageTag tag;
  SlotIndex slot;
};
// From the focused slot of the current page on, through the keyboard's pages and round: the
// first slot for which `matches` holds (so a slot that still holds the text keeps the focus).
std::optional<FoundSlot> NextMatchingSlot(PageTag current, SlotIndex focused,
                                          const std::function<bool(PageTag, SlotIndex)>& matches);

// A pause this long (in milliseconds) between two typed characters ends the search.
inline constexpr std::uint64_t kTypingPauseMs = 2000;
inline bool TypingPaused(std::uint64_t earlier_ms, std::uint64_t now_ms) {
  return now_ms - earlier_ms >= kTypingPauseMs;
}

}  // namespace quenda
