#pragma once
// TSelTileName: the page a running browser shows, read from its windows: the address from its
// address edit, the page title and a short name from its caption.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// A window of any program; 0 names no window.
using WindowId = std::uintptr_t;

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
};

// Text limits of the reads: the buffers hold 255 + NUL, 255 + NUL and 256 bytes.
inline constexpr std::size_t kCaptionBytes = 254;
inline constexpr std::size_t kClassNameBytes = 254;
inline constexpr std::size_t kControlTextBytes = 255;

// The provider captures use unless told otherwise: the system's, or one a test installed.
// Defined with the platform's provider (capture_win.cpp), not in the portable core.
WindowProvider& CurrentWindowProvider();
void SetWindowProvider(WindowProvider* provider);  // not owned; nullptr restores the system's

// One capture; the search state is module-wide, so only one runs at a time.
class TSelTileName {
 public:
  TSelTileName() : TSelTileName(CurrentWindowProvider()) {}
  explicit TSelTileName(WindowProvider& provider);

  // True when a browser with an "Edit" descendant was found; PageAddress may still be empty.
  bool Capture();

  std::string PageTitle;
  std::string PageAddress;
  std::string ShortTitle;

 private:
  WindowProvider& provider_;
};

// The page title cut out of a browser caption; `kind` indexes the browser markers
// ("- Microsoft Internet Explorer", "- Netscape", "- Mozilla", "Opera -").
std::string CleanTitle(std::string_view caption, int kind);

// At most the first 10 bytes of the title, ended before the first separator character.
std::string MakeShortName(std::string_view title);

}  // namespace quenda
