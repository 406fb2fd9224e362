// TkelpMenu and TkelpMenuItem: the side accordion menu.

#pragma once

#include <QColor>
#include <QImage>
#include <QScrollArea>
#include <QString>
#include <QWidget>
#include <vector>

namespace casavo {

class TkelpMenu;

// One section of the side menu: a coloured header band (icon, title, expand
// glyph) above the panel it owns. A press in the band folds or unfolds it.
class TkelpMenuItem : public QWidget {
  Q_OBJECT

 public:
  // Takes the panel over: it becomes a white, borderless child of the section.
  TkelpMenuItem(TkelpMenu* menu, bool expanded, const QString& title, QWidget* panel);

  QString Title;
  // Height the panel gets while the section is expanded.
  int ContentHeight = 0;
  // The state laid out, and the state the last click asked for.
  bool Expanded;
  bool WantExpanded;

  QWidget* Panel() const { return panel_; }
  // The header picture; Paint brings it up to date.
  const QImage& Image() const { return image_; }
  // Redraws the header picture when the section's size changed since the last time.
  void Paint();
  // Puts the panel under the header band.
  void PlacePanel();
  // Height of the band that reacts to the mouse.
  int BandHeight() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void DrawZigzagEdges();
  void DrawIcon(QPainter& painter) const;
  void DrawExpandGlyph(QPainter& painter) const;

  TkelpMenu* menu_;
  QWidget* panel_;
  QImage image_;
};

// The side menu: a vertically scrolling column of sections, each Margin pixels
// below the previous one. A section shows or hides with its panel.
class TkelpMenu : public QScrollArea {
  Q_OBJECT

 public:
  static inline const QColor kBackground{240, 240, 240};

  explicit TkelpMenu(QWidget* parent = nullptr);

  // Prefix of every icon file name (empty: the current directory).
  QString IconFolder;
  // Tried when neither the section's icon nor "icone defaut.bmp" exists.
  QString DefaultIconName;
  int IconX = 0;
  int IconY = 0;
  QColor ItemColor{161, 202, 246};
  QColor TextColor{Qt::black};
  int Margin = 12;
  int FrameWidth = 1;
  int HeaderHeight = 20;
  // Amplitude of the zigzag edge of the headers; 0 draws plain rectangles.
  int ZigzagSize = 0;
  int TextX = 10;
  int TextY = 0;

  const std::vector<TkelpMenuItem*>& Sections() const { return sections_; }
  // Appends a section for the panel (which the section then owns).
  TkelpMenuItem* AddItem(QWidget* panel, const QString& title, bool expanded);
  // Stacks the visible controls of the section's panel; true when its
  // ContentHeight changed.
  bool LayoutContent(TkelpMenuItem* section);
  // Positions the sections. Unless forced, does nothing (and keeps the scroll
  // position) while no panel's visibility or fold state changed.
  void Layout(bool force);
  void Resize() { Layout(false); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  bool SectionChanged(const TkelpMenuItem* section) const;
  void FitContent();

  QWidget* content_;
  std::vector<TkelpMenuItem*> sections_;
  int contentBottom_ = 0;
};

}  // namespace casavo
