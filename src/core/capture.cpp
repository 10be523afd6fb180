#include "core/capture.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "core/text_rules.h"

namespace quenda {

namespace {

constexpr std::array<std::string_view, 4> BrowserMarkers = {
    "- Microsoft Internet Explorer", "- Netscape", "- Mozilla", "Opera -"};
constexpr int kOperaKind = 3;

// Current browsers by window class and caption suffix; Edge writes a zero-width space inside
// its name, and with the suffix a " - profile" part before it.
struct CurrentBrowserKind {
  BrowserFamily family;
  std::string_view class_name;
  std::u16string_view suffix;
  bool profile_part = false;
};
constexpr std::string_view kChromiumClass = "Chrome_WidgetWin_1";
constexpr std::string_view kFirefoxClass = "MozillaWindowClass";
constexpr CurrentBrowserKind CurrentBrowsers[] = {
    {BrowserFamily::Chromium, kChromiumClass, u" - Google Chrome"},
    {BrowserFamily::Chromium, kChromiumClass, u" - Microsoft\u200B Edge", true},
    {BrowserFamily::Chromium, kChromiumClass, u" - Microsoft Edge", true},
    {BrowserFamily::Chromium, kChromiumClass, u" - Brave"},
    {BrowserFamily::Chromium, kChromiumClass, u" - Vivaldi"},
    {BrowserFamily::Chromium, kChromiumClass, u" - Opera"},
    {BrowserFamily::Firefox, kFirefoxClass, u" \u2014 Mozilla Firefox"},
    {BrowserFamily::Firefox, kFirefoxClass, u" - Mozilla Firefox"},
};
constexpr std::u16string_view kProfileSeparator = u" - ";

// Internet Explorer 7 to 11 and Wine's browser: " - " and one of these names ends the caption,
// or the name stands alone while no page title is known. The address lies in an edit along
// this chain of classes.
constexpr std::string_view kExplorerClass = "IEFrame";
constexpr std::u16string_view kExplorerSeparator = u" - ";
constexpr std::u16string_view ExplorerNames[] = {
    u"Internet Explorer", u"Windows Internet Explorer", u"Wine Internet Explorer"};
constexpr std::string_view ExplorerAddressPath[] = {"ComboBoxEx32", "ComboBox", "Edit"};
constexpr std::string_view ExplorerSchemes[] = {"HTTP:", "HTTPS:", "FILE:"};
// Enough for any caption a browser writes; the title is cut to the caption's bytes later.
constexpr std::size_t kWideCaptionUnits = 1024;
constexpr std::size_t kAddressBytes = kControlTextBytes;

constexpr std::size_t kShortNameBytes = 10;
// The characters that end a short name; the last four are "．", "・", "／" and "　".
constexpr std::array<std::string_view, 9> TitleSeparators = {
    " ", ".", "_", ",", "/", "\x81\x44", "\x81\x45", "\x81\x5E", "\x81\x40"};

// What the search over the older browsers has found so far; each capture starts a new one.
struct Search {
  WindowId browser = 0;
  std::string caption;
  int kind = -1;
  WindowId edit = 0;  // the last "Edit" descendant seen, whatever its text
  std::string address;
};

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

bool BrowserWindowProc(WindowProvider& provider, WindowId window, Search& search) {
  const std::string caption = Bounded(provider.Caption(window, kCaptionBytes), kCaptionBytes);
  if (caption.empty()) return true;
  for (int kind = 0; kind < int(BrowserMarkers.size()); ++kind) {
    if (caption.find(BrowserMarkers[kind]) != std::string::npos) {
      search.browser = window;
      search.caption = caption;
      search.kind = kind;
      return false;
    }
  }
  return true;
}

bool AddressEditProc(WindowProvider& provider, WindowId window, Search& search) {
  const std::string class_name =
      Bounded(provider.ClassName(window, kClassNameBytes), kClassNameBytes);
  if (class_name.empty() || UpperAscii(class_name) != "EDIT") return true;
  search.edit = window;
  // A control that does not answer is passed over like one without an address.
  const std::optional<std::string> text = provider.ControlText(window, kControlTextBytes);
  if (!text) return true;
  const std::string bounded = Bounded(*text, kControlTextBytes);
  if (!IsAddressText(bounded)) return true;
  search.address = bounded;
  return false;
}

bool FindAddressEdit(WindowProvider& provider, Search& search) {
  if (!provider.IsWindow(search.browser)) return false;
  provider.EnumDescendants(
      search.browser, [&](WindowId window) { return AddressEditProc(provider, window, search); });
  return provider.IsWindow(search.edit);
}

bool IsClass(WindowProvider& provider, WindowId window, std::string_view class_name) {
  return UpperAscii(Bounded(provider.ClassName(window, kClassNameBytes), kClassNameBytes)) ==
         UpperAscii(class_name);
}

// Follows `path` down the descendants of `parent`, trying each window of the next class in
// turn; the text of the last one is taken when it is an address. False once one is taken.
bool SearchAlong(WindowProvider& provider, WindowId parent,
                 std::span<const std::string_view> path, std::optional<std::string>& address) {
  provider.EnumDescendants(parent, [&](WindowId window) {
    if (!IsClass(provider, window, path.front())) return true;
    if (path.size() > 1) return SearchAlong(provider, window, path.subspan(1), address);
    if (const std::optional<std::string> text = provider.ControlText(window, kControlTextBytes)) {
      address = ExplorerAddress(Bounded(*text, kControlTextBytes));
    }
    return !address;
  });
  return !address;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of the character at `at`: a CP932 pair, or "%XX" times the length of the UTF-8
// sequence that escape begins, so that no cut leaves half a character.
std::size_t AddressCharWidth(std::string_view text, std::size_t at) {
  if (IsCp932LeadByte(static_cast<unsigned char>(text[at]))) return 2;
  if (text[at] != '%' || at + 2 >= text.size()) return 1;
  const int high = HexValue(text[at + 1]), low = HexValue(text[at + 2]);
  if (high < 0 || low < 0) return 1;
  const int byte = high * 16 + low;
  return 3 * (byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1);
}

// At most `n` bytes of a converted address, ending on a whole character.
std::string WholeCharacters(std::string_view text, std::size_t n) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width = AddressCharWidth(text, end);
    if (end + width > n) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

bool IsAsciiAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

// "scheme:" at the start, as in "https://…", "about:blank" or "mailto:…"; "localhost:8080/"
// is a host and port.
bool HasScheme(std::u16string_view text) {
  if (text.empty() || !IsAsciiAlpha(text[0])) return false;
  std::size_t i = 1;
  while (i < text.size() && (IsAsciiAlpha(text[i]) || IsAsciiDigit(text[i]) || text[i] == u'+' ||
                             text[i] == u'-' || text[i] == u'.')) {
    ++i;
  }
  if (i >= text.size() || text[i] != u':') return false;
  return i + 1 >= text.size() || !IsAsciiDigit(text[i + 1]);
}

// As browsers copy addresses: UTF-8, each byte as %XX.
void PercentEncodeUtf8(char32_t c, std::string& out) {
  unsigned char bytes[4];
  int n;
  if (c < 0x800) {
    bytes[0] = 0xC0 | (c >> 6);
    n = 2;
  } else if (c < 0x10000) {
    bytes[0] = 0xE0 | (c >> 12);
    n = 3;
  } else {
    bytes[0] = 0xF0 | (c >> 18);
    n = 4;
  }
  for (int k = n - 1; k > 0; --k, c >>= 6) bytes[k] = 0x80 | (c & 0x3F);
  constexpr char kHex[] = "0123456789ABCDEF";
  for (int k = 0; k < n; ++k) {
    out += '%';
    out += kHex[bytes[k] >> 4];
    out += kHex[bytes[k] & 0xF];
  }
}

}  // namespace

std::optional<CurrentBrowserWindow> MatchCurrentBrowser(std::string_view class_name,
                                                        std::u16string_view caption) {
  for (const CurrentBrowserKind& kind : CurrentBrowsers) {
    if (class_name != kind.class_name || !caption.ends_with(kind.suffix)) continue;
    std::u16string_view title = caption.substr(0, caption.size() - kind.suffix.size());
    if (kind.profile_part) {
      const std::size_t at = title.rfind(kProfileSeparator);
      if (at != std::u16string_view::npos) title = title.substr(0, at);
    }
    return CurrentBrowserWindow{kind.family, std::u16string(title)};
  }
  return std::nullopt;
}

std::optional<std::u16string> MatchInternetExplorer(std::string_view class_name,
                                                    std::u16string_view caption) {
  if (UpperAscii(class_name) != UpperAscii(kExplorerClass)) return std::nullopt;
  for (std::u16string_view name : ExplorerNames) {
    if (caption == name) return std::u16string();
    if (!caption.ends_with(name)) continue;
    const std::u16string_view title = caption.substr(0, caption.size() - name.size());
    if (title.ends_with(kExplorerSeparator)) {
      return std::u16string(title.substr(0, title.size() - kExplorerSeparator.size()));
    }
  }
  return std::nullopt;
}

std::optional<std::string> ExplorerAddress(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
  for (std::string_view scheme : ExplorerSchemes) {
    if (UpperAscii(text.substr(0, scheme.size())) == scheme) return std::string(text);
  }
  return std::nullopt;
}

std::string NameInAddress(std::string_view address) {
  // Of these delimiters only the backslash can be the trail byte of a CP932 character.
  std::size_t start = 0, end = 0, part_start = 0, part_end = 0;
  for (; end < address.size() && address[end] != '?' && address[end] != '#'; ++end) {
    if (IsCp932LeadByte(static_cast<unsigned char>(address[end]))) {
      ++end;
    } else if (address[end] == '/' || address[end] == '\\') {
      if (end > start) part_start = start, part_end = end;
      start = end + 1;
    }
  }
  if (end > start) part_start = start, part_end = std::min(end, address.size());
  const std::string_view part = address.substr(part_start, part_end - part_start);
  const std::size_t dot = part.rfind('.');
  return std::string(part.substr(0, dot == 0 ? part.size() : dot));
}

bool IsAddressFieldName(BrowserFamily family, std::u16string_view name) {
  if (family == BrowserFamily::Chromium) {
    return name == u"Address and search bar" || name == u"アドレス検索バー";
  }
  // Firefox names its field after the search engine in some versions.
  return name == u"Search or enter address" ||
         (name.starts_with(u"Search with ") && name.ends_with(u" or enter address")) ||
         name.find(u"URL を入力") != std::u16string_view::npos;
}

std::optional<std::string> AddressFromField(std::u16string_view text,
                                            WindowProvider& provider) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty() || std::any_of(text.begin(), text.end(), IsBlank)) return std::nullopt;
  std::string address = HasScheme(text) ? "" : "https://";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x80) {
      address += char(text[i]);
      continue;
    }
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    const std::u16string_view character = text.substr(i, pair ? 2 : 1);
    if (const std::optional<std::string> cp932 = provider.ExactCp932(character)) {
      address += *cp932;
    } else if (pair) {
      PercentEncodeUtf8(0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00),
                        address);
    } else {
      PercentEncodeUtf8(text[i] >= 0xD800 && text[i] <= 0xDFFF ? 0xFFFD : text[i], address);
    }
    i += character.size() - 1;
  }
  return address;
}

namespace {

// The first top-level window that `match` takes by its class name and caption, and what
// `match` made of it.
template <class Found>
std::optional<Found> FirstTopLevel(WindowProvider& provider, WindowId& window,
                                   std::optional<Found> (*match)(std::string_view,
                                                                 std::u16string_view)) {
  std::optional<Found> found;
  provider.EnumTopLevel([&](WindowId candidate) {
    found = match(Bounded(provider.ClassName(candidate, kClassNameBytes), kClassNameBytes),
                  provider.WideCaption(candidate, kWideCaptionUnits));
    if (found) window = candidate;
    return !found;
  });
  return found;
}

std::optional<CapturedPage> CaptureCurrentBrowser(WindowProvider& provider) {
  WindowId browser = 0;
  const std::optional<CurrentBrowserWindow> match =
      FirstTopLevel(provider, browser, MatchCurrentBrowser);
  if (!match) return std::nullopt;
  const std::optional<std::u16string> field = provider.AccessibleAddress(browser, match->family);
  const std::optional<std::string> address =
      field ? AddressFromField(*field, provider) : std::nullopt;
  if (!address) return std::nullopt;
  std::string title = FirstBytes(provider.ToCp932(match->title), kCaptionBytes);
  std::string short_title = MakeShortName(title);
  return CapturedPage{WholeCharacters(*address, kAddressBytes), std::move(title),
                      std::move(short_title)};
}

std::optional<CapturedPage> CaptureInternetExplorer(WindowProvider& provider) {
  WindowId frame = 0;
  const std::optional<std::u16string> title = FirstTopLevel(provider, frame, MatchInternetExplorer);
  if (!title) return std::nullopt;
  std::optional<std::string> address;
  SearchAlong(provider, frame, ExplorerAddressPath, address);
  if (!address) return std::nullopt;
  CapturedPage page{*address, "", ""};
  if (title->empty()) {
    // No page title yet: as the browser itself would, the page goes by its address, and its
    // short name is the page's own, as for a local page the URL editor takes.
    page.title = FirstBytes(*address, kCaptionBytes);
    page.short_title = MakeShortName(NameInAddress(*address));
  } else {
    page.title = FirstBytes(provider.ToCp932(*title), kCaptionBytes);
    page.short_title = MakeShortName(page.title);
  }
  return page;
}

}  // namespace

std::optional<CapturedPage> CaptureBrowserPage(WindowProvider& provider) {
  Search search;
  provider.EnumTopLevel(
      [&](WindowId window) { return BrowserWindowProc(provider, window, search); });
  // Today's browsers only when the older kinds give nothing: those keep their behaviour.
  if (search.kind < 0 || !FindAddressEdit(provider, search)) {
    if (std::optional<CapturedPage> page = CaptureCurrentBrowser(provider)) return page;
    return CaptureInternetExplorer(provider);
  }
  std::string title = CleanTitle(search.caption, search.kind);
  std::string short_title = MakeShortName(title);
  return CapturedPage{std::move(search.address), std::move(title), std::move(short_title)};
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
  if (title.size() <= kShortNameBytes) return FirstBytes(title, kShortNameBytes);
  std::size_t end = 0;
  while (end < kShortNameBytes) {
    const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(title[end])) ? 2 : 1;
    // A double-byte character across the 10th byte is left out whole.
    if (end + width > kShortNameBytes || IsSeparator(title.substr(end, width))) break;
    end += width;
  }
  return std::string(title.substr(0, end));
}

}  // namespace quenda
