#pragma once
// Failures that reach the user, as values. Texts are CP932 bytes, as the user sees them.
#include <optional>
#include <string>

namespace quenda {

// A file's path as the system spells it, wide on Windows. Kept as plain text: Quenda only joins
// and appends to paths, and a path type would bring the standard library's conversions (and its
// locale machinery) into the program for nothing.
#if defined(_WIN32)
using PathText = std::wstring;
inline constexpr wchar_t kPathSeparator = L'\\';
#else
using PathText = std::string;
inline constexpr char kPathSeparator = '/';
#endif

// The message texts the user sees, in CP932.
namespace msg {
extern const char kCannotOpen[];     // "ファイル %s は開けません"
extern const char kCannotCreate[];   // "ファイル %s を作成できません"
extern const char kReadError[];      // "ストリームからの読み込みエラー"
extern const char kWriteError[];     // "ストリームへの書き込みエラー"
extern const char kInvalidBitmap[];  // "ビットマップイメージが不正です"
extern const char kNotInteger[];     // "'%s' は整数ではありません"
extern const char kDamagedSlots[];   // "%s の項目は壊れていたため、読めた部分だけを残しました"
extern const char kPageFull[];       // "ページに空きがありません"
}  // namespace msg

// A failure with its text. `message` holds at most one "%s", filled by `arg` (CP932 text) or by
// `path`, which stays a path so that the window layer can show it without losing characters
// that CP932 lacks.
struct Error {
  std::string message;
  std::string arg;
  PathText path;
  bool has_path = false;

  static Error Plain(std::string message) { return {std::move(message), {}, {}, false}; }
  static Error WithText(std::string message, std::string arg) {
    return {std::move(message), std::move(arg), {}, false};
  }
  static Error WithPath(std::string message, PathText path) {
    return {std::move(message), {}, std::move(path), true};
  }
};

using MaybeError = std::optional<Error>;

// The error's text with its argument filled in; a path is given in its generic narrow form
// (tests and native tools; the window layer formats paths itself).
std::string ErrorText(const Error& error);

// Appends "." when the text's last character sorts after "." (CP932-aware: a double-byte
// character always does).
std::string WithFinalPeriod(const std::string& text);

}  // namespace quenda
