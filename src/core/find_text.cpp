#include "core/find_text.h"

#include <algorithm>

namespace quenda {

namespace {

// Half-width U+FF61 to U+FF9F as their full-width forms.
constexpr char16_t kFullKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

bool TakesVoicedMark(char16_t kana) {  // カ to チ, ツ to ト, ハ to ホ: the next code point
  return (kana >= 0x30AB && kana <= 0x30C1 && kana % 2 == 1) ||
         (kana >= 0x30C4 && kana <= 0x30C8 && kana % 2 == 0) ||
         (kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0);
}

bool TakesSemiVoicedMark(char16_t kana) {  // ハ to ホ: two on
  return kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0;
}

}  // namespace

std::u16string FoldForFind(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c >= 0xFF01 && c <= 0xFF5E) c = char16_t(c - 0xFEE0);
    if (c == 0x3000) c = u' ';
    if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    if (c >= 0xFF61 && c <= 0xFF9F) {
      c = kFullKana[c - 0xFF61];
      if (!out.empty() && c == 0x309B) {
        char16_t& kana = out.back();
        if (kana == 0x30A6) {
          kana = 0x30F4;  // ヴ
          continue;
        }
        if (TakesVoicedMark(kana)) {
          ++kana;
          continue;
        }
      }
      if (!out.empty() && c == 0x309C && TakesSemiVoicedMark(out.back())) {
        out.back() = char16_t(out.back() + 2);
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

bool ContainsForFind(std::u16string_view text, std::u16string_view typed) {
  return FoldForFind(text).find(FoldForFind(typed)) != std::u16string::npos;
}

int KeyPageAt(PageTag tag) {
  const auto* at = std::find(std::begin(kKeyPageTags), std::end(kKeyPageTags), tag);
  return at == std::end(kKeyPageTags) ? 0 : int(at - std::begin(kKeyPageTags));
}

PageTag KeyPageStep(PageTag tag, int step) {
  return kKeyPageTags[((KeyPageAt(tag) + step) % kKeyPages + kKeyPages) % kKeyPages];
}

std::optional<FoundSlot> NextMatchingSlot(PageTag current, SlotIndex focused,
                                          const std::function<bool(PageTag, SlotIndex)>& matches) {
  const int start = KeyPageAt(current) * kSlotsPerPage + focused;
  for (int n = 0; n < kKeyPages * kSlotsPerPage; ++n) {
    const int index = start + n;
    const FoundSlot at{kKeyPageTags[index / kSlotsPerPage % kKeyPages], index % kSlotsPerPage};
    if (matches(at.tag, at.slot)) return at;
  }
  return std::nullopt;
}

}  // namespace quenda
