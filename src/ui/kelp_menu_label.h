// TkelpMenuLabel: a command of the side menu.

#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace casavo {

// A clickable command of the side menu: an optional glyph and a caption that
// wraps onto as many lines as it needs, underlined under the pointer. Its
// font is the widget's font.
class TkelpMenuLabel : public QWidget {
  Q_OBJECT

 public:
  explicit TkelpMenuLabel(QWidget* parent = nullptr);

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  const QPixmap& Glyph() const { return glyph_; }
  void SetGlyph(const QPixmap& glyph);
  // The pointer is over the label.
  bool Hot() const { return hot_; }

  // Where the caption is drawn: right of the glyph, its wrapped lines centred
  // vertically as one block.
  QRect TextRect() const;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QFont CaptionFont() const;

  QString caption_;
  QPixmap glyph_;
  bool hot_ = false;
  bool pressed_ = false;
};

}  // namespace casavo
