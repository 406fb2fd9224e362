// TipBar: the bar that shows a tip with "Ne plus afficher".

#pragma once

#include <QFrame>
#include <QString>

class QCheckBox;
class QLabel;
class QToolButton;

namespace casavo {

// A tip shown in a bar above the plan instead of a dialog, so that it never
// interrupts what the user is doing; "Ne plus afficher" hides that tip for
// good, as the message dialog's box does.
class TipBar : public QFrame {
  Q_OBJECT

 public:
  explicit TipBar(QWidget* parent = nullptr);

  // Shows text unless the user chose never to see it again; true when shown.
  bool ShowTip(const QString& text);
  QString Text() const;

  QCheckBox* NeverAgain() const { return never_; }
  QToolButton* CloseButton() const { return close_; }

 protected:
  // Keeps the bar as wide as the area it lies over.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitWidth();
  void Remember();

  QString text_;
  QLabel* label_;
  QCheckBox* never_;
  QToolButton* close_;
};

}  // namespace casavo
