#include "url_entries/capture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
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
  };

  WindowId Top(std::string caption, std::string class_name = "Frame") {
    return Add({0, std::move(class_name), std::move(caption), std::string()});
  }
  WindowId Child(WindowId parent, std::string class_name,
                 std::optional<std::string> text = std::string()) {
    return Add({parent, std::move(class_name), std::string(), std::move(text)});
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

  std::vector<WindowId> captions_read, texts_read;

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
  TSelTileName capture(desktop);
  const bool found = capture.Capture();
  return {found, capture.PageAddress, capture.PageTitle, capture.ShortTitle};
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

  const std::string address = "http://a/" + std::string(300, 'x');
  EXPECT_EQ(CaptureFrom("P - Netscape", address).address, address.substr(0, 255));
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
      {"a" + da8, "a" + da8.substr(0, 8) + "\x83"},  // ダ straddles byte 10: its lead byte stays
      {"abcdefghi" + nichi + "x", "abcdefghi\x93"},
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
