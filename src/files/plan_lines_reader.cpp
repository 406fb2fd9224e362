// Reader of the older plan text form, key=value lines.

#include <unordered_map>

#include "common/text.h"
#include "files/number_text.h"
#include "files/plan_filler.h"

namespace casavo {
namespace {

// The key=value lines, keys upper-cased; the first line of a key counts.
class KeyValueLines {
 public:
  explicit KeyValueLines(std::string_view text) {
    while (!text.empty()) {
      const auto end = text.find_first_of("\r\n");
      const std::string_view line = text.substr(0, end);
      const auto eq = line.find('=');
      if (eq != std::string_view::npos)
        values_.try_emplace(AsciiUpper(line.substr(0, eq)), line.substr(eq + 1));
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
  }

  std::string_view Value(const std::string& key) const {
    const auto it = values_.find(AsciiUpper(key));
    return it == values_.end() ? std::string_view() : it->second;
  }

 private:
  std::unordered_map<std::string, std::string_view> values_;
};

double Zoom(const KeyValueLines& lines, const char* key) {
  const auto zoom = ParseReal(lines.Value(key));
  if (!zoom) throw PlanFormatError(std::string("Facteur de zoom ") + key + " du plan illisible");
  return *zoom;
}

// Runs handle on the number list of Prefix1, Prefix2, ... up to the first
// missing or empty key.
template <class Handle>
void ForEachNumbered(const KeyValueLines& lines, const char* prefix, PlanFiller& filler,
                     Handle handle) {
  for (int n = 1;; ++n) {
    const std::string key = prefix + std::to_string(n);
    const std::string_view value = lines.Value(key);
    if (value.empty()) return;
    const auto numbers = ParseIntList(value);
    if (numbers) {
      handle(*numbers);
    } else {
      filler.Refuse(key + " refusé : plus de 1000 nombres");
    }
  }
}

}  // namespace

PlanReadResult ReadPlanLines(TCasaPlan& plan, std::string_view text) {
  PlanReadResult result;
  PlanFiller filler(plan, result);
  const KeyValueLines lines(text);
  const int32_t x0 = ParseInt(lines.Value("x0")).value_or(0);
  const int32_t y0 = ParseInt(lines.Value("y0")).value_or(0);
  filler.SetView(x0, y0, Zoom(lines, "zx"), Zoom(lines, "zy"));

  ForEachNumbered(lines, "Mur", filler, [&](const std::vector<int32_t>& n) {
    if (n.size() == 4 || n.size() == 5)
      filler.AddWall({n[0], n[1]}, {n[2], n[3]},
                     n.size() == 5 ? std::optional(n[4]) : std::nullopt);
  });
  filler.WallsRead();
  ForEachNumbered(lines, "Trou", filler, [&](std::vector<int32_t> n) {
    n.resize(std::max<size_t>(n.size(), 10), 0);
    filler.AddOpening(n[0], n[1], n[2], n[3], n[4], n[5]);
  });
  return result;
}

}  // namespace casavo
