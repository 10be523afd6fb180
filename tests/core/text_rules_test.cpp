#include "core/text_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>

namespace quenda {
namespace {

// "ソ" and "表" end in 0x5C, the byte of "\"; "ヂ" ends in 0x61, the byte of "a".
const std::string kSo = "\x83\x5c";
const std::string kHyo = "\x95\x5c";
const std::string kDi = "\x83\x61";

TEST(TextRules, LeadBytesOfCodePage932) {
  const std::pair<unsigned, bool> cases[] = {
      {0x00, false}, {0x5C, false}, {0x80, false}, {0x81, true},  {0x9F, true}, {0xA0, false},
      {0xDF, false}, {0xE0, true},  {0xFC, true},  {0xFD, false}, {0xFF, false}};
  for (auto [b, lead] : cases) EXPECT_EQ(IsCp932LeadByte(static_cast<unsigned char>(b)), lead) << b;
}

TEST(TextRules, CutsEndOnAWholeCharacter) {
  struct Case {
    std::string text;
    std::size_t max_bytes;
    std::string want;
  };
  const Case cases[] = {
      {"abcdef", 3, "abc"},
      {"ab", 12, "ab"},
      {"", 12, ""},
      {"a" + kSo + kHyo, 4, "a" + kSo},
      {"a" + kSo + kHyo, 5, "a" + kSo + kHyo},
      {kSo + "\x83", 12, kSo},         // a lone lead byte at the end goes, cut or not
      {"\x83\x83\x83\x83\x83", 4, "\x83\x83\x83\x83"},  // trail bytes that look like lead bytes
      {"\x83\x83\x83\x83\x83", 3, "\x83\x83"},
      {"\xb1\xb2\xb3", 2, "\xb1\xb2"},  // half-width katakana take one byte
      {kSo, 1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp932Prefix(c.text, c.max_bytes), c.want) << c.text << " " << c.max_bytes;
    EXPECT_EQ(FirstBytes(c.text, c.max_bytes), c.want);
  }
}

TEST(TextRules, LastCharOffset) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"", std::string::npos},
      {"a", 0},
      {"abc", 2},
      {kSo, 0},
      {"a" + kSo, 1},
      {kSo + "\\", 2},
      {kSo + kHyo, 2},
      {"ab\x83", 2},  // a lone lead byte at the end is a character of its own
      {"\x83", 0},
  };
  for (const auto& [text, offset] : cases) EXPECT_EQ(LastCharOffset(text), offset) << text;
}

// A trail byte equal to "\" is part of its character, never a folder separator. A typed text
// is an address without a scheme only when it names a host.
TEST(TextRules, PathPartsAndTypedAddresses) {
  struct Case {
    std::string path, extension, name;
    bool web = false;
  };
  const Case cases[] = {
      {"C:\\dir\\prog.exe", ".exe", "prog.exe"},
      {"C:\\dir\\archive.tar.gz", ".gz", "archive.tar.gz"},
      {"C:\\dir.old\\README", "", "README"},
      {"C:README.txt", ".txt", "README.txt"},
      {"C:\\dir\\", "", ""},
      {"noext", "", "noext"},
      {"C:\\" + kSo + "\\" + kHyo + ".lnk", ".lnk", kHyo + ".lnk"},
      {"C:\\a.b" + kSo + "name", ".b" + kSo + "name", "a.b" + kSo + "name"},
      {"C:\\x\\" + kSo, "", kSo},
      {"http://host/page.html", ".html", "//host/page.html"},
      {"example.com/typed", ".com/typed", "example.com/typed", true},
      {"www.example.co.jp:8080/a.html?q=1", ".html?q=1", "8080/a.html?q=1", true},
      {"LocalHost:80", "", "80", true},
      {"192.168.0.1/x", ".1/x", "192.168.0.1/x", true},
      {"256.1.1.1", ".1", "256.1.1.1"},
      {"3.14", ".14", "3.14"},
      {"readme", "", "readme"},
      {"\\\\server.lan\\share", "", "share"},
      {"file:///C:/a.htm", ".htm", "/a.htm"},
      {"mailto:a@example.com", ".com", "a@example.com"},
      {"example.com:http/x", "", "http/x"},
      {"example..com", ".com", "example..com"},
      {"/example.com", ".com", "/example.com"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathExtension(c.path), c.extension) << c.path;
    EXPECT_EQ(PathFileName(c.path), c.name) << c.path;
    EXPECT_EQ(IsSchemelessWebAddress(c.path), c.web) << c.path;
  }
}

// Targets as Windows' Run box takes them, beside files that exist and names that do not.
TEST(TextRules, RunCommandsSplitAsTheRunBoxDoes) {
  const std::u16string_view files[] = {u"C:\\Program Files\\App\\app.exe", u"C:\\Tools\\t.exe",
                                       u"C:\\My Files\\notes a.txt"};
  const auto exists = [&](std::u16string_view path) {
    return std::find(std::begin(files), std::end(files), path) != std::end(files);
  };
  struct Case {
    std::u16string_view target;
    RunCommand want;
  } cases[] = {
      {u"\"C:\\Program Files\\App\\app.exe\" -x \"a b\"", {u"C:\\Program Files\\App\\app.exe", u"-x \"a b\""}},
      {u"C:\\Program Files\\App\\app.exe", {u"C:\\Program Files\\App\\app.exe", u""}},
      {u"C:\\Program Files\\App\\app.exe  /s", {u"C:\\Program Files\\App\\app.exe", u"/s"}},
      {u"C:\\Tools\\t.exe C:\\My Files\\notes a.txt", {u"C:\\Tools\\t.exe", u"C:\\My Files\\notes a.txt"}},
      {u"C:\\My Files\\notes a.txt", {u"C:\\My Files\\notes a.txt", u""}},
      {u"C:\\Missing\\m.exe -x", {u"C:\\Missing\\m.exe -x", u""}},
      {u"\"C:\\unclosed -x", {u"\"C:\\unclosed -x", u""}},
  };
  for (const Case& c : cases) {
    const RunCommand got = SplitRunCommand(c.target, exists);
    EXPECT_TRUE(got == c.want) << std::string(c.target.begin(), c.target.end());
  }
}

TEST(TextRules, UpperAsciiLeavesDoubleByteCharactersAlone) {
  EXPECT_EQ(UpperAscii("prog.exe"), "PROG.EXE");
  EXPECT_EQ(UpperAscii(".Html"), ".HTML");
  EXPECT_EQ(UpperAscii(kDi + "a" + kDi), kDi + "A" + kDi);
  EXPECT_EQ(UpperAscii("z\x83"), "Z\x83");
  EXPECT_EQ(UpperAscii("\xe0z"), "\xe0z");
}

}  // namespace
}  // namespace quenda
