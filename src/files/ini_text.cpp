// The INI text of the settings file: read, look up, write back.

#include "files/ini_text.h"

#include <stdexcept>
#include <vector>

#include "common/text.h"

namespace casavo {
namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return AsciiUpper(a) == AsciiUpper(b);
}

struct Lines {
  std::vector<std::string_view> items;
  std::string_view newline = "\n";
};

// Lines without their ends; the file's own line end is kept for rewriting.
Lines SplitLines(std::string_view content) {
  Lines lines;
  if (content.find("\r\n") != std::string_view::npos) lines.newline = "\r\n";
  while (!content.empty()) {
    const auto end = content.find('\n');
    std::string_view line = content.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.items.push_back(line);
    if (end == std::string_view::npos) break;
    content.remove_prefix(end + 1);
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::optional<std::string_view> KeyOf(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, eq));
}

std::string Unquote(std::string_view raw) {
  raw = Trim(raw);
  if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
    raw = raw.substr(1, raw.size() - 2);
  return std::string(raw);
}

std::string Quote(std::string_view value) {
  if (Unquote(value) == value) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

void CheckStorable(std::string_view key, std::string_view value) {
  const bool badKey = key.empty() || Trim(key) != key || key.front() == '[' || key.front() == ';' ||
                      key.find_first_of("=\r\n") != std::string_view::npos;
  if (badKey) throw std::invalid_argument("clé de paramètre invalide : " + std::string(key));
  if (value.find_first_of("\r\n") != std::string_view::npos)
    throw std::invalid_argument("valeur de paramètre sur plusieurs lignes : " + std::string(key));
}

}  // namespace

std::optional<std::string> IniValue(std::string_view content, std::string_view section,
                                    std::string_view key) {
  bool inSection = false;
  for (std::string_view line : SplitLines(content).items) {
    if (const auto name = SectionName(line)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      const auto lineKey = KeyOf(line);
      if (lineKey && SameName(*lineKey, key)) return Unquote(line.substr(line.find('=') + 1));
    }
  }
  return std::nullopt;
}

std::string IniWithValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value) {
  CheckStorable(key, value);
  const std::string entry = std::string(key) + "=" + Quote(value);
  Lines lines = SplitLines(content);
  auto& items = lines.items;

  bool inSection = false;
  std::optional<size_t> insertAt;  // after the section's last non-blank line
  std::optional<size_t> replaceAt;
  for (size_t i = 0; i < items.size() && !replaceAt; ++i) {
    if (const auto name = SectionName(items[i])) {
      inSection = !insertAt && SameName(*name, section);
      if (inSection) insertAt = i + 1;
    } else if (inSection) {
      const auto lineKey = KeyOf(items[i]);
      if (lineKey && SameName(*lineKey, key)) replaceAt = i;
      if (!Trim(items[i]).empty()) insertAt = i + 1;
    }
  }

  const std::string header = "[" + std::string(section) + "]";
  if (replaceAt) {
    items[*replaceAt] = entry;
  } else if (insertAt) {
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(*insertAt), entry);
  } else {
    if (!items.empty() && !Trim(items.back()).empty()) items.push_back("");
    items.push_back(header);
    items.push_back(entry);
  }

  std::string out;
  for (std::string_view line : items) {
    out += line;
    out += lines.newline;
  }
  return out;
}

}  // namespace casavo
