#include "url_entries/capture.h"

#include <algorithm>
#include <array>

#include "slot_table/text_rules.h"

namespace quenda {

namespace {

constexpr std::array<std::string_view, 4> BrowserMarkers = {
    "- Microsoft Internet Explorer", "- Netscape", "- Mozilla", "Opera -"};
constexpr int kOperaKind = 3;

constexpr std::size_t kShortNameBytes = 10;
// The characters that end a short name; the last four are "．", "・", "／" and "　".
constexpr std::array<std::string_view, 9> TitleSeparators = {
    " ", ".", "_", ",", "/", "\x81\x44", "\x81\x45", "\x81\x5E", "\x81\x40"};

// The search state, shared by all captures (one runs at a time); the constructor and
// Capture() reset it, so no capture sees what an earlier one left.
WindowId BrowserWindow = 0;
std::string BrowserCaption;
int BrowserKind = -1;
WindowId AddressEdit = 0;
std::string AddressText;

// Another program's text, as a NUL-terminated buffer of the read's size would hold it.
std::string Bounded(std::string_view text, std::size_t max_bytes) {
  return FirstBytes(text.substr(0, text.find('\0')), max_bytes);
}

bool IsSeparator(std::string_view character) {
  return std::find(TitleSeparators.begin(), TitleSeparators.end(), character) !=
         TitleSeparators.end();
}

// "http" or "HTTP" first occurring at byte 1 or 2; one leading blank is allowed.
bool IsAddressText(std::string_view text) {
  for (std::string_view word : {"http", "HTTP"}) {
    const std::size_t at = text.find(word);
    if (at != std::string_view::npos && at <= 1) return true;
  }
  return false;
}

bool BrowserWindowProc(WindowProvider& provider, WindowId window) {
  const std::string caption = Bounded(provider.Caption(window, kCaptionBytes), kCaptionBytes);
  if (caption.empty()) return true;
  for (int kind = 0; kind < int(BrowserMarkers.size()); ++kind) {
    if (caption.find(BrowserMarkers[kind]) != std::string::npos) {
      BrowserWindow = window;
      BrowserCaption = caption;
      BrowserKind = kind;
      return false;
    }
  }
  return true;
}

bool AddressEditProc(WindowProvider& provider, WindowId window) {
  const std::string class_name =
      Bounded(provider.ClassName(window, kClassNameBytes), kClassNameBytes);
  if (class_name.empty() || UpperAscii(class_name) != "EDIT") return true;
  AddressEdit = window;
  // A control that does not answer is passed over like one without an address.
  const std::optional<std::string> text = provider.ControlText(window, kControlTextBytes);
  if (!text) return true;
  const std::string bounded = Bounded(*text, kControlTextBytes);
  if (!IsAddressText(bounded)) return true;
  AddressText = bounded;
  return false;
}

bool FindAddressEdit(WindowProvider& provider, WindowId browser) {
  if (!provider.IsWindow(browser)) return false;
  provider.EnumDescendants(browser,
                           [&](WindowId window) { return AddressEditProc(provider, window); });
  return provider.IsWindow(AddressEdit);
}

}  // namespace

TSelTileName::TSelTileName(WindowProvider& provider) : provider_(provider) {
  BrowserWindow = 0;
  BrowserCaption.clear();
  AddressEdit = 0;
}

bool TSelTileName::Capture() {
  BrowserKind = -1;
  AddressText.clear();
  provider_.EnumTopLevel([this](WindowId window) { return BrowserWindowProc(provider_, window); });
  if (BrowserKind < 0) return false;
  if (!FindAddressEdit(provider_, BrowserWindow)) return false;
  PageAddress = AddressText;
  PageTitle = CleanTitle(BrowserCaption, BrowserKind);
  ShortTitle = MakeShortName(PageTitle);
  return true;
}

std::string CleanTitle(std::string_view caption, int kind) {
  if (kind == kOperaKind) {
    // 1-based positions, 0 when absent: the text between "- [ " and " ]".
    const auto position = [&](std::string_view s) -> std::ptrdiff_t {
      const std::size_t at = caption.find(s);
      return at == std::string_view::npos ? 0 : std::ptrdiff_t(at) + 1;
    };
    const std::ptrdiff_t p = position("- [ "), q = position(" ]");
    const std::ptrdiff_t count = q - p - 4;
    if (count <= 0) return {};
    return std::string(caption.substr(std::size_t(p + 3), std::size_t(count)));
  }
  if (kind < 0 || kind >= int(BrowserMarkers.size())) return {};
  // The text before the marker, less the blank that stands just before it.
  const std::size_t at = caption.find(BrowserMarkers[kind]);
  if (at == std::string_view::npos || at == 0) return {};
  return std::string(caption.substr(0, at - 1));
}

std::string MakeShortName(std::string_view title) {
  if (title.size() <= kShortNameBytes) return std::string(title);
  std::size_t end = 0;
  while (end < kShortNameBytes) {
    const bool pair = IsCp932LeadByte(static_cast<unsigned char>(title[end])) &&
                      end + 1 < title.size();
    const std::size_t width = pair ? 2 : 1;
    if (IsSeparator(title.substr(end, width))) break;
    end += width;
  }
  // A double-byte character at the 10th byte keeps only its lead byte.
  return std::string(title.substr(0, std::min(end, kShortNameBytes)));
}

}  // namespace quenda
