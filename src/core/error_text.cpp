// Apart from the rest of errors.cpp: a path's narrow form brings the standard library's locale
// machinery, which Quenda.exe has no use for.
#include <filesystem>

#include "core/errors.h"

namespace quenda {

std::string ErrorText(const Error& error) {
  std::string text = error.message;
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) {
    text.replace(at, 2, error.has_path ? std::filesystem::path(error.path).generic_string() : error.arg);
  }
  return text;
}

}  // namespace quenda
