#include "core/text_rules.h"

#include <algorithm>

namespace quenda {

std::string_view Cp932Prefix(std::string_view text, std::size_t max_bytes) {
  // From the start: a trail byte (0x40-0xFC) can look like a lead byte, so no backward scan.
  const std::size_t limit = std::min(text.size(), max_bytes);
  std::size_t end = 0;
  while (end < limit) {
    const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

std::string FirstBytes(std::string_view text, std::size_t n) {
  return std::string(Cp932Prefix(text, n));
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::size_t LastCharOffset(std::string_view text) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < text.size();) {
    last = i;
    const bool pair = IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    i += pair ? 2 : 1;
  }
  return last;
}

namespace {

// Single-byte positions of the last "\" or ":" and the last "." after it.
struct Delimiters {
  std::size_t name_start = 0;
  std::size_t dot = std::string_view::npos;
};

Delimiters FindDelimiters(std::string_view path) {
  Delimiters d;
  for (std::size_t i = 0; i < path.size();) {
    const auto b = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(b) && i + 1 < path.size()) {
      i += 2;
      continue;
    }
    if (b == '\\' || b == ':') {
      d.name_start = i + 1;
      d.dot = std::string_view::npos;
    } else if (b == '.') {
      d.dot = i;
    }
    ++i;
  }
  return d;
}

}  // namespace

std::string PathExtension(std::string_view path) {
  const Delimiters d = FindDelimiters(path);
  return d.dot == std::string_view::npos ? std::string() : std::string(path.substr(d.dot));
}

std::string PathFileName(std::string_view path) {
  return std::string(path.substr(FindDelimiters(path).name_start));
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Four numbers 0-255 joined by dots.
bool IsIpv4(std::string_view host) {
  int dots = 0, value = 0, digits = 0;
  for (char c : host) {
    if (c == '.' && digits > 0) {
      ++dots, value = digits = 0;
    } else if (!IsDigit(c) || ++digits > 3 || (value = value * 10 + (c - '0')) > 255) {
      return false;
    }
  }
  return dots == 3 && digits > 0;
}

// ASCII labels joined by dots; the last starts with a letter, so that "3.14" is no host.
bool IsHostName(std::string_view host) {
  std::size_t label = 0;
  bool dotted = false;
  for (char c : host) {
    if (c == '.' && label > 0) {
      label = 0, dotted = true;
    } else if (IsLetter(c) || IsDigit(c) || c == '-') {
      ++label;
    } else {
      return false;
    }
  }
  return dotted && label > 0 && IsLetter(host[host.size() - label]);
}

}  // namespace

bool IsSchemelessWebAddress(std::string_view text) {
  std::string_view host = text.substr(0, text.find_first_of("/?#"));
  if (host.find('\\') != std::string_view::npos) return false;
  // "C:", "file:" and "mailto:x" end in no port: a drive or a scheme, not a host.
  if (const std::size_t colon = host.rfind(':'); colon != std::string_view::npos) {
    const std::string_view port = host.substr(colon + 1);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), IsDigit)) {
      return false;
    }
    host = host.substr(0, colon);
  }
  return UpperAscii(host) == "LOCALHOST" || IsIpv4(host) || IsHostName(host);
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size();) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (IsCp932LeadByte(b) && i + 1 < out.size()) {
      i += 2;
      continue;
    }
    if (b >= 'a' && b <= 'z') out[i] = static_cast<char>(b - 'a' + 'A');
    ++i;
  }
  return out;
}

RunCommand SplitRunCommand(std::u16string_view target,
                           const std::function<bool(std::u16string_view)>& exists) {
  const auto rest = [&](std::size_t from) {
    std::u16string_view after = target.substr(std::min(from, target.size()));
    while (!after.empty() && after.front() == u' ') after.remove_prefix(1);
    return std::u16string(after);
  };
  if (target.size() > 1 && target.front() == u'"') {
    const std::size_t close = target.find(u'"', 1);
    if (close != std::u16string_view::npos) {
      return {std::u16string(target.substr(1, close - 1)), rest(close + 1)};
    }
  }
  if (!exists(target)) {
    for (std::size_t blank = target.find(u' '); blank != std::u16string_view::npos;
         blank = target.find(u' ', blank + 1)) {
      if (exists(target.substr(0, blank))) return {std::u16string(target.substr(0, blank)), rest(blank)};
    }
  }
  return {std::u16string(target), {}};
}

}  // namespace quenda
