#include "platform/posix/reg_export.h"

#include <cctype>
#include <cstdint>
#include <vector>

namespace platform::posix {
namespace {

void AppendUtf8(std::string& text, std::uint32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code >> 18));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16LE `bytes` from `start` as UTF-8; a lone surrogate becomes U+FFFD.
std::string FromUtf16(const std::string& bytes, std::size_t start) {
  std::string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
    std::uint32_t unit = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const std::uint32_t low = static_cast<unsigned char>(bytes[i + 2]) | static_cast<unsigned char>(bytes[i + 3]) << 8;
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(text, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
  }
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The text of a quoted REG_SZ value after its opening quotation mark, "\\" and "\"" undone.
bool Unquote(const std::string& line, std::size_t at, std::string& value) {
  value.clear();
  for (; at < line.size(); ++at) {
    if (line[at] == '"') return true;
    if (line[at] == '\\' && at + 1 < line.size()) ++at;
    value += line[at];
  }
  return false;
}

// The UTF-16LE text of the comma-separated hex bytes after "hex(2):", without its ending NUL.
bool HexText(const std::string& line, std::size_t at, std::string& value) {
  std::string bytes;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ',' || std::isspace(static_cast<unsigned char>(line[at])))) ++at;
    if (at >= line.size()) break;
    if (at + 1 >= line.size() || !std::isxdigit(static_cast<unsigned char>(line[at])) ||
        !std::isxdigit(static_cast<unsigned char>(line[at + 1]))) {
      return false;
    }
    bytes += static_cast<char>(std::stoi(line.substr(at, 2), nullptr, 16));
    at += 2;
  }
  value = FromUtf16(bytes, 0);
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return true;
}

}  // namespace

std::map<std::string, std::string> DefaultValues(const std::string& bytes) {
  const bool utf16 = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
  const std::string text = utf16 ? FromUtf16(bytes, 2) : bytes;
  std::map<std::string, std::string> values;
  std::string key;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A hex value goes on over lines that end with "\".
    while (line.starts_with("@=hex") && !line.empty() && line.back() == '\\' && at < text.size()) {
      line.pop_back();
      end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      line += text.substr(at, end - at);
      at = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    if (line.starts_with("[") && line.ends_with("]")) {
      key = Lower(line.substr(1, line.size() - 2));
    } else if (!key.empty() && line.starts_with("@=\"")) {
      std::string value;
      if (Unquote(line, 3, value)) values[key] = value;
    } else if (!key.empty() && line.starts_with("@=hex(2):")) {
      std::string value;
      if (HexText(line, 9, value)) values[key] = value;
    }
  }
  return values;
}

}  // namespace platform::posix
