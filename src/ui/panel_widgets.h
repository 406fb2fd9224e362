// ColourBox, PanelStack, EditorArea: widgets of the main window.

#pragma once

#include <QColor>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace casavo {

// A box filled with one colour that reports any press on it (the room colour).
class ColourBox : public QFrame {
  Q_OBJECT

 public:
  explicit ColourBox(QWidget* parent = nullptr);

  QColor Colour() const { return colour_; }
  void SetColour(const QColor& colour);
  QSize sizeHint() const override { return QSize(40, 20); }

 signals:
  void pressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QColor colour_{Qt::white};
};

// Places a panel's controls from top to bottom at fixed positions. The side
// menu moves the children of its panels itself, so the panels carry no
// QLayout.
class PanelStack {
 public:
  PanelStack(QWidget* panel, int width);

  // A control across the panel.
  void Full(QWidget* control);
  // A caption on the left of its control, on one row.
  void Pair(const QString& caption, QWidget* control);
  // A gap between groups of controls.
  void Gap(int pixels) { y_ += pixels; }
  // Gives the panel the height of what was stacked.
  void Finish();

 private:
  QWidget* panel_;
  int width_;
  int y_;
};

// The client area beside the side menu: the editor, with the web view laid
// over it while shown and shrunk to nothing otherwise.
class EditorArea : public QWidget {
  Q_OBJECT

 public:
  explicit EditorArea(QWidget* parent = nullptr);

  void SetEditor(QWidget* editor);
  // Takes the web view over (reparents it).
  void SetWebView(QWidget* webView);
  QWidget* WebView() const { return webView_; }
  // Lets the web view fill the area, or shrinks it to 0x0.
  void ShowWebView(bool shown);
  bool WebViewShown() const { return webView_ && webShown_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Place();

  QPointer<QWidget> editor_;
  QPointer<QWidget> webView_;
  bool webShown_ = false;
};

}  // namespace casavo
