// KeptText: one line of text laid out in a font for a device.

#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPaintDevice>
#include <QString>
#include <QTextLayout>
#include <memory>

namespace casavo {

// One line of text, not wrapped, laid out in a font for a device.
std::unique_ptr<QTextLayout> LayOutLine(const QString& text, const QFont& font,
                                        QPaintDevice* device);

// The layout of a text in a font of a whole pixel size, kept from one paint to
// the next: the editor repaints the whole plan on every mouse move, and
// shaping the same few thousand lengths, areas and names again was the
// largest cost of a paint. Layouts depend only on the text, the font and the
// device's resolution, so a kept one draws the very pixels of a new one. At
// most kMaxKeptLayouts are kept; the store starts afresh when it is full.
// Each thread has its own store.
struct KeptText {
  double width = 0;         // the advance of the line
  QList<QGlyphRun> glyphs;  // positioned from the line's top-left corner
};
const KeptText& KeptLayout(const QString& text, const QFont& font, QPaintDevice* device);

inline constexpr size_t kMaxKeptLayouts = 8192;

}  // namespace casavo
