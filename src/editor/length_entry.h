// LengthEntry: the length and angle typed while a wall is drawn.

#pragma once

#include <QFrame>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;

namespace casavo {

// The small entry that opens beside the end of a wall being drawn when the
// user types a number: the length, then the angle after Tab. It shows how it
// reads what is typed ("3,6" gives "3,60 m") before Enter applies it.
class LengthEntry : public QFrame {
  Q_OBJECT

 public:
  // How a typed length reads, or an empty text when it is no length.
  using Reader = std::function<QString(const QString& typed)>;

  LengthEntry(QWidget* parent, Reader reader);

  // Shows the entry at `at` holding the live length and angle; `typed`, the
  // key that opened it, replaces the length.
  void Open(QPoint at, const QString& length, const QString& angle, const QString& typed);

  QLineEdit* LengthBox() const { return length_; }
  QLineEdit* AngleBox() const { return angle_; }
  QString Reading() const;

 signals:
  // Enter: the texts typed, to be read by the owner.
  void Applied(const QString& length, const QString& angle);
  // Escape: the wall stays as drawn.
  void Cancelled();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowReading();

  Reader reader_;
  QLineEdit* length_;
  QLineEdit* angle_;
  QLabel* reading_;
};

}  // namespace casavo
