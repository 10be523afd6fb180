#include "core/errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace quenda {
namespace {

#ifndef _WIN32
// The messages are kept as CP932 escapes; the system's converter confirms they say what the
// user must read.
std::string ToCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == iconv_t(-1)) return "<no CP932 converter>";
  std::string in = utf8, out(utf8.size() * 2, '\0');
  char* src = in.data();
  char* dst = out.data();
  std::size_t src_left = in.size(), dst_left = out.size();
  const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (rc == std::size_t(-1)) return "<conversion failed>";
  out.resize(out.size() - dst_left);
  return out;
}

TEST(Errors, MessagesAreTheJapaneseTextsInCp932) {
  const std::pair<const char*, const char*> cases[] = {
      {msg::kCannotOpen, "ファイル %s は開けません"},
      {msg::kCannotCreate, "ファイル %s を作成できません"},
      {msg::kReadError, "ストリームからの読み込みエラー"},
      {msg::kWriteError, "ストリームへの書き込みエラー"},
      {msg::kInvalidBitmap, "ビットマップイメージが不正です"},
      {msg::kNotInteger, "'%s' は整数ではありません"},
  };
  for (auto [constant, utf8] : cases) EXPECT_EQ(std::string(constant), ToCp932(utf8)) << utf8;
}
#endif

TEST(Errors, ErrorTextFillsTheOnePlaceholder) {
  const std::string open(msg::kCannotOpen);
  const std::size_t at = open.find("%s");
  ASSERT_NE(at, std::string::npos);

  const std::filesystem::path path = std::filesystem::path("dir") / "Quenda.Tbl";
  EXPECT_EQ(ErrorText(Error::WithPath(msg::kCannotOpen, path)),
            open.substr(0, at) + "dir/Quenda.Tbl" + open.substr(at + 2));

  const std::string count(msg::kNotInteger);
  EXPECT_EQ(ErrorText(Error::WithText(msg::kNotInteger, "1x")).substr(0, 5), "'1x' ");
  // An argument that itself holds "%s" is not expanded again.
  EXPECT_EQ(ErrorText(Error::WithText(msg::kNotInteger, "%s")), count);
  EXPECT_EQ(ErrorText(Error::Plain(msg::kReadError)), msg::kReadError);
}

TEST(Errors, FinalPeriodOnlyAfterACharacterThatSortsAfterIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"abc", "abc."},
      {"end.", "end."},
      {"a-", "a-"},  // '-' sorts before '.'
      {"a!", "a!"},
      {"a/", "a/."},  // '/' sorts just after '.'
      {"a 1", "a 1."},
      {"\x83\x5c", "\x83\x5c."},    // a double-byte character whose trail byte is '\'
      {"x\x82\xf1", "x\x82\xf1."},  // "ん"
      {"x\x81\x2d", "x\x81\x2d."},  // lead byte and a trail that alone sorts before '.'
      {std::string(msg::kReadError), std::string(msg::kReadError) + "."},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(WithFinalPeriod(text), want) << text;
}

}  // namespace
}  // namespace quenda
