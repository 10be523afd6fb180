#include "core/errors.h"

#include "core/text_rules.h"

namespace quenda {

namespace msg {
// CP932 bytes; the comments give the texts.
// ファイル %s は開けません
const char kCannotOpen[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b %s \x82\xcd\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1";
// ファイル %s を作成できません
const char kCannotCreate[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b %s \x82\xf0\x8d\xec\x90\xac\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1";
// ストリームからの読み込みエラー
const char kReadError[] =
    "\x83\x58\x83\x67\x83\x8a\x81\x5b\x83\x80\x82\xa9\x82\xe7\x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82"
    "\xdd\x83\x47\x83\x89\x81\x5b";
// ストリームへの書き込みエラー
const char kWriteError[] =
    "\x83\x58\x83\x67\x83\x8a\x81\x5b\x83\x80\x82\xd6\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x83"
    "\x47\x83\x89\x81\x5b";
// ビットマップイメージが不正です
const char kInvalidBitmap[] =
    "\x83\x72\x83\x62\x83\x67\x83\x7d\x83\x62\x83\x76\x83\x43\x83\x81\x81\x5b\x83\x57\x82\xaa\x95"
    "\x73\x90\xb3\x82\xc5\x82\xb7";
// '%s' は整数ではありません
const char kNotInteger[] =
    "'%s' \x82\xcd\x90\xae\x90\x94\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
}  // namespace msg

std::string ErrorText(const Error& error) {
  std::string text = error.message;
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) {
    text.replace(at, 2, error.has_path ? error.path.generic_string() : error.arg);
  }
  return text;
}

std::string WithFinalPeriod(const std::string& text) {
  const std::size_t last = LastCharOffset(text);
  if (last == std::string::npos) return text;
  const auto lead = static_cast<unsigned char>(text[last]);
  // A double-byte character's code is above 0x8100, so it always sorts after ".".
  if (lead > '.') return text + ".";
  return text;
}

}  // namespace quenda
