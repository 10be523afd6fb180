#include "core/capture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace quenda {
namespace {

// A scripted desktop: windows in creation order, which is also the enumeration order.
// Texts are returned whole, however long, so the capture's own limits are what is tested.
class FakeDesktop : public WindowProvider {
 public:
  struct Window {
    WindowId parent;
    std::string class_name, caption;
    std::optional<std::string> text;  // nullopt: the control does not answer
    bool gone = false;                // still listed, but IsWindow says no
    std::u16string wide_caption;
    std::optional<std::u16string> address_field;  // in its accessibility tree
  };

  WindowId Top(std::string caption, std::string class_name = "Frame") {
    return Add({0, std::move(class_name), std::move(caption), std::string(), false, {}, {}});
  }
  WindowId Child(WindowId parent, std::string class_name,
                 std::optional<std::string> text = std::string()) {
    return Add({parent, std::move(class_name), std::string(), std::move(text), false, {}, {}});
  }
  // A current browser's frame: its caption as UTF-16 (and as ASCII, "?" for the rest).
  WindowId Current(std::string class_name, std::u16string caption,
                   std::optional<std::u16string> address) {
    const WindowId id = Top(ToCp932(caption), std::move(class_name));
    (*this)[id].wide_caption = std::move(caption);
    (*this)[id].address_field = std::move(address);
    return id;
  }
  Window& operator[](WindowId id) { return windows_[id - 1]; }

  void EnumTopLevel(const Visit& visit) override {
    for (WindowId id = 1; id <= windows_.size(); ++id) {
      if ((*this)[id].parent != 0) continue;
      captions_read.push_back(id);
      if (!visit(id)) return;
    }
  }
  std::string Caption(WindowId id, std::size_t) override { return (*this)[id].caption; }
  bool IsWindow(WindowId id) override {
    return id != 0 && id <= windows_.size() && !(*this)[id].gone;
  }
  void EnumDescendants(WindowId parent, const Visit& visit) override { Walk(parent, visit); }
  std::string ClassName(WindowId id, std::size_t) override { return (*this)[id].class_name; }
  std::optional<std::string> ControlText(WindowId id, std::size_t) override {
    texts_read.push_back(id);
    return (*this)[id].text;
  }

  std::u16string WideCaption(WindowId id, std::size_t) override {
    return (*this)[id].wide_caption;
  }
  std::optional<std::u16string> AccessibleAddress(WindowId id, BrowserFamily family) override {
    walked.push_back({id, family});
    return (*this)[id].address_field;
  }
  // ASCII, and the two characters the tests use: 日 and the em dash.
  std::optional<std::string> ExactCp932(std::u16string_view text) override {
    std::string out;
    for (char16_t c : text) {
      if (c < 0x80) out += char(c);
      else if (c == u'日') out += "\x93\xfa";
      else if (c == u'\u2014') out += "\x81\x5c";
      else return std::nullopt;
    }
    return out;
  }
  std::string ToCp932(std::u16string_view text) override {
    std::string out;
    for (char16_t c : text) out += ExactCp932(std::u16string_view(&c, 1)).value_or("?");
    return out;
  }

  std::vector<WindowId> captions_read, texts_read;
  std::vector<std::pair<WindowId, BrowserFamily>> walked;

 private:
  WindowId Add(Window w) {
    windows_.push_back(std::move(w));
    return windows_.size();
  }
  bool Walk(WindowId parent, const Visit& visit) {
    for (WindowId id = 1; id <= windows_.size(); ++id) {
      if ((*this)[id].parent != parent) continue;
      if (!visit(id) || !Walk(id, visit)) return false;
    }
    return true;
  }
  std::vector<Window> windows_;
};

struct Result {
  bool found;
  std::string address, title, short_title;
};

Result CaptureOn(FakeDesktop& desktop) {
  const std::optional<CapturedPage> page = CaptureBrowserPage(desktop);
  if (!page) return {};
  return {true, page->address, page->title, page->short_title};
}

// A browser frame with one address edit.
Result CaptureFrom(const std::string& caption, const std::string& address = "http://a/") {
  FakeDesktop desktop;
  desktop.Child(desktop.Top(caption), "Edit", address);
  return CaptureOn(desktop);
}

TEST(Capture, CaptionMarkersChooseHowTheTitleIsCut) {
  struct Case {
    std::string caption, title, short_title;
  };
  const Case cases[] = {
      {"Example Domain - Microsoft Internet Explorer", "Example Domain", "Example"},
      {"Abcdefghijklmno - Netscape", "Abcdefghijklmno", "Abcdefghij"},
      {"Page - Mozilla", "Page", "Page"},
      {"Opera - [ News ]", "News", "News"},
      {"Opera - [ Long page title ] - extra", "Long page title", "Long"},
      // Markers are found anywhere; what follows them is dropped.
      {"Page - Netscape 4.7 [ja]", "Page", "Page"},
      // Table order decides, not the position in the caption.
      {"Page - Mozilla - Netscape", "Page - Mozilla", "Page"},
      {"Opera - [ x ] - Microsoft Internet Explorer", "Opera - [ x ]", "Opera"},
      // A caption that begins with its marker has no title.
      {"- Microsoft Internet Explorer", "", ""},
      {"- Netscape home", "", ""},
      {"X- Mozilla", "", ""},
      // The byte before the marker is dropped whatever it is.
      {"Page- Netscape", "Pag", "Pag"},
      // Opera without " ]", or with nothing between the brackets.
      {"Opera - [ News", "", ""},
      {"Opera - [ ]", "", ""},
      // Without "- [ " the cut starts at byte 4.
      {"Opera - News ]", "ra - News", "ra - News"},
  };
  for (const Case& c : cases) {
    const Result r = CaptureFrom(c.caption);
    EXPECT_TRUE(r.found) << c.caption;
    EXPECT_EQ(r.address, "http://a/") << c.caption;
    EXPECT_EQ(r.title, c.title) << c.caption;
    EXPECT_EQ(r.short_title, c.short_title) << c.caption;
  }
}

TEST(Capture, CaptionsWithoutAMarkerAreNoBrowser) {
  const std::string captions[] = {"", "Example Domain", "Page - netscape", "Page -Mozilla",
                                  "opera - [ News ]", "Page - Microsoft Internet Explore"};
  for (const std::string& caption : captions) {
    const Result r = CaptureFrom(caption);
    EXPECT_FALSE(r.found) << caption;
    EXPECT_EQ(r.address, "") << caption;
    EXPECT_EQ(r.title, "") << caption;
  }
}

TEST(Capture, FirstWindowWithAMarkerWinsEvenWhenItYieldsNothing) {
  FakeDesktop desktop;
  desktop.Top("");
  desktop.Child(desktop.Top("Notes"), "Edit", "http://notes/");
  const WindowId one = desktop.Top("One - Netscape");
  desktop.Child(one, "Edit", "http://one/");
  desktop.Child(desktop.Top("Two - Microsoft Internet Explorer"), "Edit", "http://two/");
  Result r = CaptureOn(desktop);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.address, "http://one/");
  EXPECT_EQ(r.title, "One");
  EXPECT_EQ(desktop.captions_read, (std::vector<WindowId>{1, 2, 4}));

  // Without an address edit in the first browser the search does not go on to the second.
  desktop[one + 1].class_name = "Static";
  r = CaptureOn(desktop);
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.address, "");
}

TEST(Capture, AddressIsAcceptedWhenHttpBeginsAtByteOneOrTwo) {
  const std::pair<std::string, bool> cases[] = {
      {"http://a/", true},     {" http://a/", true},  {"HTTP://A/", true},
      {" HTTP://A/", true},    {"xhttp", true},       {"http", true},
      {"HTTP http", true},     {"  http://a/", false}, {"aahttp http", false},
      {"Http://a/", false},    {"hTTP://a/", false},  {"", false},
      {"C:\\page.htm", false}, {"ftp://a/", false},   {"see http://a/", false},
  };
  for (const auto& [text, accepted] : cases) {
    FakeDesktop desktop;
    const WindowId frame = desktop.Top("P - Netscape");
    desktop.Child(frame, "Edit", text);
    desktop.Child(frame, "Edit", "http://next/");
    const Result r = CaptureOn(desktop);
    EXPECT_EQ(r.address, accepted ? text : "http://next/") << '"' << text << '"';
  }
}

TEST(Capture, EditsThatAreNotAcceptedLetTheSearchGoOn) {
  const std::pair<const char*, std::optional<std::string>> first_edits[] = {
      {"empty", std::string()},
      {"hung", std::nullopt},
      {"local path", std::string("C:\\index.html")},
      {"NUL before the address", std::string("\0http://hidden/", 15)},
  };
  for (const auto& [what, text] : first_edits) {
    FakeDesktop desktop;
    const WindowId frame = desktop.Top("P - Mozilla");
    const WindowId first = desktop.Child(frame, "Edit", text);
    const WindowId second = desktop.Child(frame, "Edit", "http://ok/");
    desktop.Child(frame, "Edit", "http://later/");
    EXPECT_EQ(CaptureOn(desktop).address, "http://ok/") << what;
    // Each edit is asked once, and none after the accepted one.
    EXPECT_EQ(desktop.texts_read, (std::vector<WindowId>{first, second})) << what;
  }
}

TEST(Capture, EditClassMatchesInAnyLetterCaseOnly) {
  const std::pair<std::string, bool> cases[] = {
      {"Edit", true},         {"EDIT", true},     {"edit", true},  {"eDiT", true},
      {"RichEdit20W", false}, {"Edit2", false},   {"Edi", false},  {"", false},
      {"ComboBox", false},
  };
  for (const auto& [class_name, accepted] : cases) {
    FakeDesktop desktop;
    const WindowId frame = desktop.Top("P - Netscape");
    desktop.Child(frame, class_name, "http://x/");
    desktop.Child(frame, "Edit", "http://edit/");
    EXPECT_EQ(CaptureOn(desktop).address, accepted ? "http://x/" : "http://edit/") << class_name;
  }
}

TEST(Capture, FirstAcceptedEditInDepthFirstOrderWins) {
  FakeDesktop desktop;
  const WindowId frame = desktop.Top("P - Microsoft Internet Explorer");
  const WindowId toolbar = desktop.Child(frame, "ToolbarWindow32", std::nullopt);
  desktop.Child(desktop.Child(toolbar, "SearchBand"), "Edit", "http://search.example/?q=a");
  const WindowId bar = desktop.Child(frame, "ReBarWindow32");
  desktop.Child(desktop.Child(bar, "ComboBox"), "Edit", "http://address.example/");
  EXPECT_EQ(CaptureOn(desktop).address, "http://search.example/?q=a");

  // A nested edit under an earlier child comes before a later direct child.
  FakeDesktop nested;
  const WindowId f = nested.Top("P - Netscape");
  nested.Child(nested.Child(nested.Child(f, "A"), "B"), "Edit", "http://deep/");
  nested.Child(f, "Edit", "http://shallow/");
  EXPECT_EQ(CaptureOn(nested).address, "http://deep/");
}

TEST(Capture, NothingIsCapturedWithoutAUsableBrowserOrEdit) {
  struct Case {
    const char* what;
    void (*build)(FakeDesktop&);
    bool found;
    std::string title;
  };
  const Case cases[] = {
      {"no windows", [](FakeDesktop&) {}, false, ""},
      {"browser without an Edit",
       [](FakeDesktop& d) { d.Child(d.Child(d.Top("P - Mozilla"), "Content"), "Static", "http://x/"); },
       false, ""},
      {"browser vanished",
       [](FakeDesktop& d) {
         const WindowId f = d.Top("P - Mozilla");
         d.Child(f, "Edit", "http://x/");
         d[f].gone = true;
       },
       false, ""},
      {"accepted edit vanished",
       [](FakeDesktop& d) { d[d.Child(d.Top("P - Mozilla"), "Edit", "http://x/")].gone = true; },
       false, ""},
      {"no edit text accepted",
       [](FakeDesktop& d) { d.Child(d.Top("Page title - Mozilla"), "Edit", "about:blank"); },
       true, "Page title"},
      {"only edit hung",
       [](FakeDesktop& d) { d.Child(d.Top("Page title - Mozilla"), "Edit", std::nullopt); },
       true, "Page title"},
  };
  for (const Case& c : cases) {
    FakeDesktop desktop;
    c.build(desktop);
    const Result r = CaptureOn(desktop);
    EXPECT_EQ(r.found, c.found) << c.what;
    EXPECT_EQ(r.address, "") << c.what;
    EXPECT_EQ(r.title, c.title) << c.what;
  }
}

TEST(Capture, AFreshCaptureSeesNothingOfTheLastOne) {
  FakeDesktop desktop;
  const WindowId edit = desktop.Child(desktop.Top("P - Netscape"), "Edit", "http://first/");
  ASSERT_EQ(CaptureOn(desktop).address, "http://first/");
  // The edit that answered last time is no longer an edit: nothing may be taken from it.
  desktop[edit].class_name = "Static";
  const Result r = CaptureOn(desktop);
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.address, "");
  EXPECT_EQ(r.title, "");
}

TEST(Capture, TextsOfOtherProgramsAreCutToTheirBuffers) {
  const std::string marker = " - Netscape";
  // The marker ends at byte 254: found. One byte more pushes it past the caption buffer.
  EXPECT_TRUE(CaptureFrom(std::string(254 - marker.size(), 'a') + marker).found);
  EXPECT_FALSE(CaptureFrom(std::string(255 - marker.size(), 'a') + marker).found);

  // An address is kept whole, far beyond a slot's 128 bytes, up to the shell's longest text.
  const std::string address = "http://a/" + std::string(40000, 'x');
  EXPECT_EQ(CaptureFrom("P - Netscape", address.substr(0, 3000)).address, address.substr(0, 3000));
  EXPECT_EQ(CaptureFrom("P - Netscape", address).address, address.substr(0, 32767));
}

TEST(Capture, CurrentBrowsersAreKnownByClassAndCaptionSuffix) {
  using enum BrowserFamily;
  const std::string chromium = "Chrome_WidgetWin_1", firefox = "MozillaWindowClass";
  struct Case {
    std::string class_name;
    std::u16string caption;
    std::optional<BrowserFamily> family;
    std::u16string title;
  };
  const Case cases[] = {
      {chromium, u"Example - Google Chrome", Chromium, u"Example"},
      {chromium, u"A - B - Google Chrome", Chromium, u"A - B"},
      {chromium, u"Bing - Personal - Microsoft\u200B Edge", Chromium, u"Bing"},
      {chromium, u"A - B - Work - Microsoft Edge", Chromium, u"A - B"},
      {chromium, u"New tab - Microsoft\u200B Edge", Chromium, u"New tab"},
      {chromium, u"Page - Brave", Chromium, u"Page"},
      {chromium, u"Page - Vivaldi", Chromium, u"Page"},
      {chromium, u"Page - Opera", Chromium, u"Page"},
      {chromium, u" - Google Chrome", Chromium, u""},
      {firefox, u"Page \u2014 Mozilla Firefox", Firefox, u"Page"},
      {firefox, u"Page - Mozilla Firefox", Firefox, u"Page"},
      // Wrong class, suffix not at the end, no blank before the dash, another product.
      {firefox, u"Page - Google Chrome", std::nullopt, u""},
      {chromium, u"Page \u2014 Mozilla Firefox", std::nullopt, u""},
      {"Chrome_WidgetWin_0", u"Page - Google Chrome", std::nullopt, u""},
      {chromium, u"Google Chrome", std::nullopt, u""},
      {chromium, u"Page - Google Chrome (2)", std::nullopt, u""},
      {chromium, u"Page- Google Chrome", std::nullopt, u""},
      {chromium, u"Visual Studio Code", std::nullopt, u""},
      {firefox, u"Page \u2013 Mozilla Firefox", std::nullopt, u""},
  };
  for (const Case& c : cases) {
    const auto match = MatchCurrentBrowser(c.class_name, c.caption);
    ASSERT_EQ(match.has_value(), c.family.has_value()) << int(&c - cases);
    if (!match) continue;
    EXPECT_EQ(match->family, *c.family) << int(&c - cases);
    EXPECT_TRUE(match->title == c.title) << int(&c - cases);
  }
}

TEST(Capture, AddressFieldNamesInEnglishAndJapanese) {
  using enum BrowserFamily;
  EXPECT_TRUE(IsAddressFieldName(Chromium, u"Address and search bar"));
  EXPECT_TRUE(IsAddressFieldName(Chromium, u"アドレス検索バー"));
  EXPECT_FALSE(IsAddressFieldName(Chromium, u"Search or enter address"));
  EXPECT_FALSE(IsAddressFieldName(Chromium, u"address and search bar"));
  EXPECT_FALSE(IsAddressFieldName(Chromium, u""));
  EXPECT_TRUE(IsAddressFieldName(Firefox, u"Search or enter address"));
  EXPECT_TRUE(IsAddressFieldName(Firefox, u"Search with Google or enter address"));
  EXPECT_TRUE(IsAddressFieldName(Firefox, u"検索語または URL を入力します"));
  EXPECT_FALSE(IsAddressFieldName(Firefox, u"Address and search bar"));
  EXPECT_FALSE(IsAddressFieldName(Firefox, u"Search"));
}

TEST(Capture, AddressFieldTextsBecomeAddressesTheShellOpens) {
  FakeDesktop cp932;
  const std::pair<std::u16string, std::optional<std::string>> cases[] = {
      {u"https://example.com/a?b=c#d", "https://example.com/a?b=c#d"},
      {u"http://example.com/", "http://example.com/"},
      {u"example.com/path", "https://example.com/path"},
      {u"localhost:8080/x", "https://localhost:8080/x"},
      {u"about:blank", "about:blank"},
      {u"file:///C:/docs/a.html", "file:///C:/docs/a.html"},
      {u"mailto:someone@example.com", "mailto:someone@example.com"},
      {u"  example.com  ", "https://example.com"},
      {u"1.2.3.4/", "https://1.2.3.4/"},
      // CP932 characters stay; others become UTF-8 escapes, surrogate pairs as one character.
      {u"example.jp/日", "https://example.jp/\x93\xfa"},
      {u"example.jp/\u00FC", "https://example.jp/%C3%BC"},
      {u"example.jp/\u20AC", "https://example.jp/%E2%82%AC"},
      {u"example.jp/\U0001F600", "https://example.jp/%F0%9F%98%80"},
      {u"example.jp/\xD800x", "https://example.jp/%EF%BF%BDx"},
      // Not an address: nothing, rather than a search text opened as a page.
      {u"", std::nullopt},
      {u"   ", std::nullopt},
      {u"two words", std::nullopt},
      {u"\u3000", std::nullopt},
  };
  for (const auto& [text, address] : cases) {
    EXPECT_EQ(AddressFromField(text, cp932), address) << (address ? *address : "(none)");
  }
}

TEST(Capture, CurrentBrowsersOnlyWhenTheOlderSearchGivesNothing) {
  const std::u16string chrome = u"Example - Google Chrome";
  {  // The first current browser's window; later ones are not searched.
    FakeDesktop desktop;
    desktop.Top("Notes");
    const WindowId first =
        desktop.Current("Chrome_WidgetWin_1", chrome, u"example.com/\u2014");
    desktop.Current("MozillaWindowClass", u"Other \u2014 Mozilla Firefox", u"https://b/");
    const Result r = CaptureOn(desktop);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.address, "https://example.com/\x81\x5c");
    EXPECT_EQ(r.title, "Example");
    EXPECT_EQ(r.short_title, "Example");
    ASSERT_EQ(desktop.walked.size(), 1u);
    EXPECT_EQ(desktop.walked[0], std::make_pair(first, BrowserFamily::Chromium));
  }
  {  // An older browser with its edit wins, even behind the current one.
    FakeDesktop desktop;
    desktop.Current("Chrome_WidgetWin_1", chrome, u"https://chrome/");
    desktop.Child(desktop.Top("Old - Netscape"), "Edit", "http://old/");
    const Result r = CaptureOn(desktop);
    EXPECT_EQ(r.address, "http://old/");
    EXPECT_TRUE(desktop.walked.empty());
  }
  {  // Firefox's caption also holds "- Mozilla": that window has no edit, so it is read anew.
    FakeDesktop desktop;
    desktop.Current("MozillaWindowClass", u"Page - Mozilla Firefox", u"https://ff/");
    const Result r = CaptureOn(desktop);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.address, "https://ff/");
    EXPECT_EQ(r.title, "Page");
  }
  {  // The tree has no address field, or its text is no address: nothing, and nothing changed.
    for (std::optional<std::u16string> field : {std::optional<std::u16string>(),
                                                std::optional<std::u16string>(u"a search")}) {
      FakeDesktop desktop;
      desktop.Current("Chrome_WidgetWin_1", chrome, field);
      const Result r = CaptureOn(desktop);
      EXPECT_FALSE(r.found);
      EXPECT_EQ(r.title, "");
      EXPECT_EQ(r.address, "");
    }
  }
  {  // A long title is cut to the caption's bytes; a long address to whole escapes.
    FakeDesktop desktop;
    const std::u16string title(300, u'T');
    std::u16string address = u"https://a/" + std::u16string(32755, u'x') + u"\u00FC";
    desktop.Current("Chrome_WidgetWin_1", title + u" - Google Chrome", address);
    const Result r = CaptureOn(desktop);
    EXPECT_EQ(r.title, std::string(254, 'T'));
    EXPECT_EQ(r.address, "https://a/" + std::string(32755, 'x'));
    FakeDesktop shorter;
    shorter.Current("Chrome_WidgetWin_1", u"T - Google Chrome", address.substr(0, 300));
    EXPECT_EQ(CaptureOn(shorter).address, "https://a/" + std::string(290, 'x'));  // kept whole
  }
}

TEST(Capture, InternetExplorerIsKnownByItsFrameAndCaption) {
  const std::string frame = "IEFrame";
  const std::tuple<std::string, std::u16string, std::optional<std::u16string>> cases[] = {
      {frame, u"Page - Internet Explorer", u"Page"},
      {frame, u"Page - Windows Internet Explorer", u"Page"},
      {frame, u"A - B - Wine Internet Explorer", u"A - B"},
      {"ieframe", u"Page - Internet Explorer", u"Page"},
      // The name alone: no title known yet.
      {frame, u"Wine Internet Explorer", u""},
      {frame, u"Internet Explorer", u""},
      // Another class, another product, no " - " before the name.
      {"Frame", u"Page - Internet Explorer", std::nullopt},
      {frame, u"Page - Microsoft Internet Explorer", std::nullopt},
      {frame, u"Page- Internet Explorer", std::nullopt},
  };
  for (const auto& [class_name, caption, title] : cases) {
    EXPECT_TRUE(MatchInternetExplorer(class_name, caption) == title)
        << class_name << " " << std::string(caption.begin(), caption.end());
  }
}

TEST(Capture, InternetExplorerAddressesAndTheNamesOfUntitledPages) {
  const std::pair<std::string, std::optional<std::string>> addresses[] = {
      {"http://example.com/", "http://example.com/"},
      {"  HTTPS://a/ ", "HTTPS://a/"},
      {"file://Z:\\tmp\\page.htm", "file://Z:\\tmp\\page.htm"},
      {"about:blank", std::nullopt},
      {"C:\\page.htm", std::nullopt},
  };
  for (const auto& [text, address] : addresses) {
    EXPECT_EQ(ExplorerAddress(text), address) << text;
  }
  const std::string hyou = "\x95\x5c";  // 表: its trail byte is the byte of "\\"
  const std::pair<std::string, std::string> names[] = {
      {"file:///C:/docs/page.htm", "page"},
      {"http://example.com/", "example"},
      {"http://example.com/a/b.cgi?x=/y.z#top", "b"},
      {"file://C:\\" + hyou + ".htm", hyou},
  };
  for (const auto& [address, name] : names) {
    EXPECT_EQ(NameInAddress(address), name) << address;
  }
}

TEST(Capture, InternetExplorerOnlyWhenNoOtherBrowserGivesAnAddress) {
  // Its frame: an edit outside the address chain first, then ComboBoxEx32 > ComboBox > Edit.
  const auto explorer = [](FakeDesktop& d, std::u16string caption, std::string address) {
    const WindowId frame = d.Current("IEFrame", std::move(caption), std::nullopt);
    d.Child(d.Child(frame, "TravelBand"), "Edit", "http://search.example/");
    const WindowId bar = d.Child(frame, "ReBarWindow32");
    d.Child(d.Child(d.Child(bar, "ComboBoxEx32"), "ComboBox"), "Edit", std::move(address));
    return frame;
  };
  {  // Wine's browser before a page title is known: the address stands in for the title.
    FakeDesktop desktop;
    desktop.Top("Notes");
    explorer(desktop, u"Wine Internet Explorer", " file://Z:\\tmp\\Local page file.htm");
    explorer(desktop, u"Second - Internet Explorer", "http://second/");
    const Result r = CaptureOn(desktop);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.address, "file://Z:\\tmp\\Local page file.htm");
    EXPECT_EQ(r.title, "file://Z:\\tmp\\Local page file.htm");
    EXPECT_EQ(r.short_title, "Local");
  }
  {  // With a title; a current browser that gives no address does not stop the search.
    FakeDesktop desktop;
    desktop.Current("Chrome_WidgetWin_1", u"Blank - Google Chrome", std::nullopt);
    explorer(desktop, u"\u65e5 Example Domain - Windows Internet Explorer",
             "http://example.com/");
    const Result r = CaptureOn(desktop);
    EXPECT_EQ(r.address, "http://example.com/");
    EXPECT_EQ(r.title, "\x93\xfa Example Domain");
    EXPECT_EQ(r.short_title, "\x93\xfa");
  }
  {  // Any other browser that gives an address comes first, even behind it.
    FakeDesktop desktop;
    explorer(desktop, u"Page - Internet Explorer", "http://ie/");
    desktop.Current("Chrome_WidgetWin_1", u"Page - Google Chrome", u"https://chrome/");
    EXPECT_EQ(CaptureOn(desktop).address, "https://chrome/");
    FakeDesktop older;
    explorer(older, u"Page - Internet Explorer", "http://ie/");
    older.Child(older.Top("Old - Netscape"), "Edit", "http://old/");
    EXPECT_EQ(CaptureOn(older).address, "http://old/");
  }
  {  // No address in its chain: nothing, and nothing changed.
    FakeDesktop desktop;
    explorer(desktop, u"Page - Internet Explorer", "about:blank");
    const Result r = CaptureOn(desktop);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.title, "");
    EXPECT_EQ(r.address, "");
  }
}

TEST(Capture, ShortNameEndsAtTenBytesOrBeforeASeparator) {
  const std::string da = "\x83\x5f";   // ダ: its trail byte is the byte of "_"
  const std::string nichi = "\x93\xfa";  // 日
  std::string da8;
  for (int i = 0; i < 8; ++i) da8 += da;
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"abcdefghij", "abcdefghij"},
      {"abcdefghijk", "abcdefghij"},
      {"a b.c_d,e/", "a b.c_d,e/"},  // ten bytes or fewer: whole, separators and all
      {"Example Domain", "Example"},
      {"abc.defghijkl", "abc"},
      {"abc_defghijkl", "abc"},
      {"abc,defghijkl", "abc"},
      {"abc/defghijkl", "abc"},
      {" leading blank", ""},
      {"ab\x81\x44" "cdefghijk", "ab"},  // ．
      {"ab\x81\x45" "cdefghijk", "ab"},  // ・
      {"ab\x81\x5e" "cdefghijk", "ab"},  // ／
      {"ab\x81\x40" "cdefghijk", "ab"},  // ideographic space
      {"\x81\x40" "abcdefghijk", ""},
      {da8, da8.substr(0, 10)},
      {"a" + da8, "a" + da8.substr(0, 8)},  // ダ straddles byte 10: left out whole
      {"abcdefghi" + nichi + "x", "abcdefghi"},
      {"abcdefgh\x83", "abcdefgh"},  // a lone lead byte at the end of a short title
      {"abcdefghi\x81\x45x", "abcdefghi"},  // a separator at byte 10 ends the name
      {"abcdefghij\x81\x45x", "abcdefghij"},
      {"\xb1\xb2\xb3\xb4\xb5\xb6\xb7\xb8\xb9\xba\xbb", "\xb1\xb2\xb3\xb4\xb5\xb6\xb7\xb8\xb9\xba"},
  };
  for (const auto& [title, short_name] : cases) {
    EXPECT_EQ(MakeShortName(title), short_name) << title;
  }
}

}  // namespace
}  // namespace quenda
