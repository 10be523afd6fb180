#pragma once
// Capturing the page a running browser shows, read from its windows: the address from its
// address edit or accessibility tree, the page title and a short name from its caption.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// A window of any program; 0 names no window.
using WindowId = std::uintptr_t;

// Today's browsers, found when no browser of the older kinds runs: their address comes from
// the accessibility tree, not from an edit control.
enum class BrowserFamily { Chromium, Firefox };

// The window system as the capture sees it. Texts are CP932 bytes, cut to `max_bytes`.
class WindowProvider {
 public:
  virtual ~WindowProvider() = default;
  // Returns false to stop the enumeration.
  using Visit = std::function<bool(WindowId)>;

  // Top-level windows in the system's order (front to back).
  virtual void EnumTopLevel(const Visit& visit) = 0;
  virtual std::string Caption(WindowId window, std::size_t max_bytes) = 0;
  virtual bool IsWindow(WindowId window) = 0;
  // Every descendant, depth first: a child, then its children, then the next child.
  virtual void EnumDescendants(WindowId parent, const Visit& visit) = 0;
  // Empty when the class cannot be read.
  virtual std::string ClassName(WindowId window, std::size_t max_bytes) = 0;
  // The text of a control that may belong to another program; nullopt when it does not answer.
  virtual std::optional<std::string> ControlText(WindowId window, std::size_t max_bytes) = 0;

  // The caption as the window holds it, so that characters CP932 lacks can still be matched.
  virtual std::u16string WideCaption(WindowId window, std::size_t max_units) = 0;
  // The value of the browser's address field, read from its accessibility tree; nullopt when
  // the tree has no such field or the browser does not answer in time.
  virtual std::optional<std::u16string> AccessibleAddress(WindowId window,
                                                          BrowserFamily family) = 0;
  // The system's conversion; a character CP932 lacks becomes "?" or a look-alike.
  virtual std::string ToCp932(std::u16string_view text) = 0;
  // The same, or nullopt when any character has no exact CP932 form.
  virtual std::optional<std::string> ExactCp932(std::u16string_view text) = 0;
};

// Text limits of the reads: the buffers hold 255 + NUL and 255 + NUL bytes; an address is kept
// whole up to the longest text the shell takes.
inline constexpr std::size_t kCaptionBytes = 254;
inline constexpr std::size_t kClassNameBytes = 254;
inline constexpr std::size_t kControlTextBytes = 32767;

// The provider captures use unless told otherwise: the system's, or one a test installed.
// Defined with the platform's provider (capture_win.cpp), not in the portable core.
WindowProvider& CurrentWindowProvider();
void SetWindowProvider(WindowProvider* provider);  // not owned; nullptr restores the system's

// A captured page, CP932: its address, its title and a short name for a slot.
struct CapturedPage {
  std::string address;
  std::string title;
  std::string short_title;
};

// The page of a browser with an "Edit" descendant (its address may still be empty), or, when
// no such browser runs, of a current browser whose address field holds an address, or then of
// an Internet Explorer whose does; nullopt when none is found.
std::optional<CapturedPage> CaptureBrowserPage(WindowProvider& provider = CurrentWindowProvider());

// A current browser's window: its family and the page title cut out of its caption.
struct CurrentBrowserWindow {
  BrowserFamily family;
  std::u16string title;
};
std::optional<CurrentBrowserWindow> MatchCurrentBrowser(std::string_view class_name,
                                                        std::u16string_view caption);

// Internet Explorer 7 to 11 or Wine's browser (frame class "IEFrame"): the page title cut out
// of its caption, empty while the caption is the browser's name alone; nullopt for any other
// window.
std::optional<std::u16string> MatchInternetExplorer(std::string_view class_name,
                                                    std::u16string_view caption);

// The text of such a browser's address field when it holds an http(s) or file address, without
// the blanks around it.
std::optional<std::string> ExplorerAddress(std::string_view text);

// What a page without a title goes by: the last part of its address's path, without its
// extension ("file:///C:/docs/page.htm" gives "page").
std::string NameInAddress(std::string_view address);

// Whether an accessible name is that of the family's address field (English or Japanese).
bool IsAddressFieldName(BrowserFamily family, std::u16string_view name);

// The address the shell should open for an address field's text, in CP932: "https://" added
// when the text has no scheme; a character CP932 lacks is percent-encoded as UTF-8 (as a
// browser copies an address) rather than lost. nullopt when the text is empty or not an
// address (a search being typed).
std::optional<std::string> AddressFromField(std::u16string_view text, WindowProvider& provider);

// The page title cut out of a browser caption; `kind` indexes the browser markers
// ("- Microsoft Internet Explorer", "- Netscape", "- Mozilla", "Opera -").
std::string CleanTitle(std::string_view caption, int kind);

// At most the first 10 bytes of the title, ended before the first separator character.
std::string MakeShortName(std::string_view title);

}  // namespace quenda
