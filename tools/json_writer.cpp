// JsonWriter: JSON output of the tool.

#include "json_writer.h"

#include <charconv>
#include <cmath>

namespace casavo::tool {
namespace {

constexpr size_t kLineDepth = 2;

}  // namespace

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  WriteString(name);
  out_ << (hasElements_.size() <= kLineDepth ? ": " : ":");
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::Value(int64_t number) {
  BeforeValue();
  out_ << number;
  return *this;
}

JsonWriter& JsonWriter::Value(double number) {
  BeforeValue();
  if (!std::isfinite(number)) {
    out_ << "null";
    return *this;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
  out_.write(buffer, result.ptr - buffer);
  return *this;
}

JsonWriter& JsonWriter::Value(bool flag) {
  BeforeValue();
  out_ << (flag ? "true" : "false");
  return *this;
}

JsonWriter& JsonWriter::Value(std::string_view text) {
  BeforeValue();
  WriteString(text);
  return *this;
}

JsonWriter& JsonWriter::Open(char bracket) {
  BeforeValue();
  out_ << bracket;
  hasElements_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  const size_t depth = hasElements_.size();
  const bool hadElements = hasElements_.back();
  hasElements_.pop_back();
  if (hadElements && depth <= kLineDepth) NewLine(depth - 1);
  out_ << bracket;
  if (hasElements_.empty()) out_ << '\n';
  return *this;
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (hasElements_.empty()) return;
  if (hasElements_.back()) out_ << ',';
  hasElements_.back() = true;
  if (hasElements_.size() <= kLineDepth) NewLine(hasElements_.size());
}

void JsonWriter::NewLine(size_t indent) {
  out_ << '\n' << std::string(2 * indent, ' ');
}

void JsonWriter::WriteString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out_ << '"';
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out_ << "\\\"";
        break;
      case '\\':
        out_ << "\\\\";
        break;
      case '\n':
        out_ << "\\n";
        break;
      case '\r':
        out_ << "\\r";
        break;
      case '\t':
        out_ << "\\t";
        break;
      default:
        if (byte < 0x20) {
          out_ << "\\u00" << kHex[byte >> 4] << kHex[byte & 15];
        } else {
          out_ << c;
        }
    }
  }
  out_ << '"';
}

}  // namespace casavo::tool
