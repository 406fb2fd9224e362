// KeptText: text layouts kept from one paint to the next.

#include "render/text_layouts.h"

#include <QHashFunctions>
#include <QTextOption>
#include <unordered_map>

namespace casavo {
namespace {

struct LayoutKey {
  QString text;
  QString family;
  int pixels;
  int dpiX;
  int dpiY;
  friend bool operator==(const LayoutKey&, const LayoutKey&) = default;
};

struct LayoutKeyHash {
  size_t operator()(const LayoutKey& k) const {
    return qHashMulti(0, k.text, k.family, k.pixels, k.dpiX, k.dpiY);
  }
};

using Layouts = std::unordered_map<LayoutKey, KeptText, LayoutKeyHash>;

// One store a thread: the preview paints its bands on several at once.
Layouts& Store() {
  thread_local Layouts layouts;
  return layouts;
}

}  // namespace

std::unique_ptr<QTextLayout> LayOutLine(const QString& text, const QFont& font,
                                        QPaintDevice* device) {
  auto layout = std::make_unique<QTextLayout>(text, font, device);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  layout->createLine();
  layout->endLayout();
  return layout;
}

const KeptText& KeptLayout(const QString& text, const QFont& font, QPaintDevice* device) {
  Layouts& layouts = Store();
  LayoutKey key{text, font.family(), font.pixelSize(), device->logicalDpiX(),
                device->logicalDpiY()};
  // A text is measured, then drawn: the second look-up is the first one's.
  thread_local const Layouts::value_type* last = nullptr;
  if (last && last->first == key) return last->second;
  auto found = layouts.find(key);
  if (found == layouts.end()) {
    if (layouts.size() >= kMaxKeptLayouts) layouts.clear();
    const auto layout = LayOutLine(text, font, device);
    KeptText kept{layout->lineAt(0).horizontalAdvance(), layout->glyphRuns()};
    found = layouts.emplace(std::move(key), std::move(kept)).first;
  }
  last = &*found;
  return found->second;
}

}  // namespace casavo
