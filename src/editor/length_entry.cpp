// The small entry for a typed length and angle while a wall is drawn.

#include "editor/length_entry.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace casavo {

LengthEntry::LengthEntry(QWidget* parent, Reader reader)
    : QFrame(parent),
      reader_(std::move(reader)),
      length_(new QLineEdit(this)),
      angle_(new QLineEdit(this)),
      reading_(new QLabel(this)) {
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(4);
  row->addWidget(new QLabel(QStringLiteral("Longueur"), this));
  row->addWidget(length_);
  row->addWidget(reading_);
  row->addWidget(new QLabel(QStringLiteral("Angle"), this));
  row->addWidget(angle_);
  row->addWidget(new QLabel(QStringLiteral("°"), this));
  length_->setFixedWidth(70);
  angle_->setFixedWidth(48);
  reading_->setMinimumWidth(64);
  for (QLineEdit* box : {length_, angle_}) box->installEventFilter(this);
  connect(length_, &QLineEdit::textChanged, this, &LengthEntry::ShowReading);
  hide();
}

void LengthEntry::Open(QPoint at, const QString& length, const QString& angle,
                       const QString& typed) {
  length_->setText(typed.isEmpty() ? length : typed);
  angle_->setText(angle);
  ShowReading();
  adjustSize();
  move(at);
  show();
  raise();
  length_->setFocus(Qt::OtherFocusReason);
  length_->end(false);
}

QString LengthEntry::Reading() const {
  return reading_->text();
}

void LengthEntry::ShowReading() {
  const QString read = reader_(length_->text());
  reading_->setText(read.isEmpty() ? QStringLiteral("?") : QStringLiteral("→ %1").arg(read));
}

// Tab goes between the length and the angle; Enter applies; Escape leaves.
bool LengthEntry::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      (watched == length_ ? angle_ : length_)->setFocus(Qt::TabFocusReason);
      (watched == length_ ? angle_ : length_)->selectAll();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit Applied(length_->text(), angle_->text());
      return true;
    case Qt::Key_Escape:
      hide();
      emit Cancelled();
      return true;
    default:
      return QFrame::eventFilter(watched, event);
  }
}

}  // namespace casavo
