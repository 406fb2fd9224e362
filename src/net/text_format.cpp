// "%s" substitution for the message texts.

#include "net/text_format.h"

namespace casavo {

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string out;
  auto value = values.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
        value != values.end()) {
      out += *value++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

QString FormatQ(std::string_view pattern, std::initializer_list<std::string_view> values) {
  return QString::fromStdString(FormatText(pattern, values));
}

}  // namespace casavo
