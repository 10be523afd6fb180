#include "platform/prompts.h"

#include <gtest/gtest.h>


#include "platform/clock_win.h"
#include "platform/cp932.h"
#include "platform/handle.h"
#include "support/win_test_support.h"

namespace quenda {
namespace {

TEST(ApplicationTitle, IsTheProgramNameCutAtItsFirstDotWithTheRestInLowerCase) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"C:\\Tools\\Quenda.exe", L"Quenda"},
      {L"C:\\Tools\\QUENDA.EXE", L"Quenda"},
      {L"Z:\\a.b\\quenda.old.exe", L"quenda"},
      {L"Launcher", L"Launcher"},
      {L"C:\\Ｑｕｅｎｄａ.exe", L"Ｑｕｅｎｄａ"},
  };
  for (auto [path, title] : cases) EXPECT_EQ(ApplicationTitleFrom(path), title) << path;
  EXPECT_EQ(ApplicationTitle(), ApplicationTitleFrom(L"quenda_win_tests.exe"));
}

TEST(ErrorBox, AddsAPeriodOnlyAfterCharactersThatSortAfterIt) {
  testing::ScopedPrompts prompts;
  ShowErrorBox(nullptr, Error::Plain("abc"));
  ShowErrorBox(nullptr, Error::Plain("abc)"));
  ShowErrorBox(nullptr, Error::Plain("abc."));
  ShowErrorBox(nullptr, Error::WithText(msg::kNotInteger, "x1"));
  ASSERT_EQ(prompts.prompts.shown.size(), 4u);
  EXPECT_EQ(prompts.prompts.shown[0].text, L"abc.");
  EXPECT_EQ(prompts.prompts.shown[1].text, L"abc)");
  EXPECT_EQ(prompts.prompts.shown[2].text, L"abc.");
  EXPECT_EQ(prompts.prompts.shown[3].text, L"'x1' は整数ではありません.");
  for (const auto& box : prompts.prompts.shown) {
    EXPECT_EQ(box.caption, ApplicationTitle());
    EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONERROR));
  }
}

TEST(ErrorBox, KeepsPathCharactersThatCodePage932Lacks) {
  const std::filesystem::path path = L"C:\\Über ☃\\Quenda.Tbl";
  EXPECT_EQ(ErrorTextW(Error::WithPath(msg::kCannotOpen, path)),
            L"ファイル C:\\Über ☃\\Quenda.Tbl は開けません");
}

TEST(Cp932, ConvertsBothWaysWhateverTheSystemCodePage) {
  const std::string sjis = "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80 \xb1\xb8";  // プログラム ｱｸ
  EXPECT_EQ(win::FromCp932(sjis), L"プログラム ｱｸ");
  EXPECT_EQ(win::ToCp932(L"プログラム ｱｸ"), sjis);
  EXPECT_EQ(win::ToCp932(L"表"), "\x95\x5c");  // a trail byte of 0x5C
  EXPECT_EQ(win::ToCp932(L"☃"), "?");

  // A field's cut and whether it is the whole text.
  struct Case {
    std::wstring text;
    std::size_t width;
    std::string bytes;
    bool exact;
  } cases[] = {
      {L"プログラム", 10, "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80", true},
      {L"プログラム", 9, "\x83\x76\x83\x8d\x83\x4f\x83\x89", false},  // whole characters
      {L"C:\\☃", 128, "C:\\?", false},
      {L"C:\\?", 128, "C:\\?", true},
      {std::wstring(L"ab\0c", 4), 128, "ab", false},
      {L"", 128, "", true},
  };
  for (const Case& c : cases) {
    const win::Cp932Field field = win::ToCp932Field(c.text, c.width);
    EXPECT_EQ(field.bytes, c.bytes) << c.width;
    EXPECT_EQ(field.exact, c.exact) << c.width;
  }
}

TEST(Handles, AreCountedWhileOwnedAndClosedOnce) {
  const long before = win::LiveHandles();
  {
    win::UniqueBitmap a(CreateBitmap(4, 4, 1, 1, nullptr));
    EXPECT_EQ(win::LiveHandles(), before + 1);
    win::UniqueBitmap b(std::move(a));
    EXPECT_EQ(win::LiveHandles(), before + 1);
    b.reset(CreateBitmap(4, 4, 1, 1, nullptr));
    EXPECT_EQ(win::LiveHandles(), before + 1);
    win::UniqueBitmap c(CreateBitmap(2, 2, 1, 1, nullptr));
    b = std::move(c);
    EXPECT_EQ(win::LiveHandles(), before + 1);
    EXPECT_FALSE(win::AdoptExtractedIcon(reinterpret_cast<HICON>(1)));
    EXPECT_FALSE(win::AdoptFile(INVALID_HANDLE_VALUE));
  }
  EXPECT_EQ(win::LiveHandles(), before);
}

TEST(Win32Clock, WritesTheUsersJapaneseShortDateAndLongTime) {
  if (PRIMARYLANGID(GetUserDefaultLangID()) != LANG_JAPANESE) GTEST_SKIP() << "not a Japanese user";
  Win32Clock clock;
  SetClock(&clock);
  const std::string date = clock.ShortDate({2026, 12, 8, 9, 5, 7});
  EXPECT_TRUE(date == "2026/12/08" || date == "2026/12/8") << date;
  EXPECT_EQ(clock.LongTime({2026, 12, 8, 9, 5, 7}), "9:05:07");
  const std::string now = NowText();
  EXPECT_GE(now.size(), 10u);
  SetClock(nullptr);
}

}  // namespace
}  // namespace quenda
