// TUnitEdit: a length field with its unit and up/down buttons.

#include "render/unit_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "common/errors.h"
#include "common/numeric.h"

namespace casavo {
namespace {

// Room the up/down buttons take at the right of the edit box.
constexpr int kSpinWidth = 14;
// The colour of a text that is not a length the field can take.
const QColor kUnreadable{128, 0, 0};

QString DecimalSeparator() {
  return QLocale().decimalPoint();
}

// The magnitude as its 15 significant decimal digits (what a double reliably
// holds) and the number of digits before the point. Rounding these rather than
// the binary value keeps 12.345 at 12,35, as the user typed it.
struct Decimal {
  std::string digits;
  size_t intLen;
};

Decimal ToDecimal(double magnitude) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.14e", magnitude);  // d.ddddddddddddddde±xx
  std::string digits = std::string(1, buf[0]) + std::string(buf + 2, 14);
  const int intLen = std::atoi(std::strchr(buf, 'e') + 1) + 1;
  if (intLen <= 0) {
    digits.insert(0, static_cast<size_t>(1 - intLen), '0');
    return {digits, 1};
  }
  if (digits.size() < static_cast<size_t>(intLen)) digits.resize(intLen, '0');
  return {digits, static_cast<size_t>(intLen)};
}

// Keeps `decimals` digits after the point, halves away from zero.
void RoundDigits(Decimal& d, size_t decimals) {
  const size_t keep = d.intLen + decimals;
  const bool up = d.digits.size() > keep && d.digits[keep] >= '5';
  d.digits.resize(keep, '0');
  if (!up) return;
  size_t i = keep;
  while (i > 0 && d.digits[i - 1] == '9') d.digits[--i] = '0';
  if (i > 0) {
    ++d.digits[i - 1];
  } else {
    d.digits.insert(0, 1, '1');
    ++d.intLen;
  }
}

}  // namespace

// ---- TUnitEditBase ----

TUnitEditBase::TUnitEditBase(QObject* parent) : QObject(parent) {}

void TUnitEditBase::AddUnit(const QString& name, const QString& caption, double factor) {
  if (count_ >= kCapacity) throw RangeError();
  if (!(factor > 0) || !std::isfinite(factor)) {
    throw std::invalid_argument("unit factor must be a positive number");
  }
  units_[count_] = Unit{name, caption, factor};
  if (count_ == 0) uniteDefaut_ = name;
  ++count_;
}

const TUnitEditBase::Unit* TUnitEditBase::Find(const QString& name) const {
  for (int i = 0; i < count_; ++i) {
    if (units_[i].name == name) return &units_[i];
  }
  return nullptr;
}

bool TUnitEditBase::IsUnit(const QString& name) const {
  return Find(name) != nullptr;
}

double TUnitEditBase::Convert(double x, const QString& from, const QString& to) const {
  const Unit* source = Find(from);
  const Unit* target = Find(to);
  if (!source || !target) return kFailure;
  return x * source->factor / target->factor;
}

// ---- TUnitEdit ----

TUnitEdit::TUnitEdit(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(this)),
      spin_(new QWidget(this)),
      up_(new QToolButton(spin_)),
      down_(new QToolButton(spin_)),
      label_(new QLabel(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  edit_->installEventFilter(this);
  setFocusProxy(edit_);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

  connect(edit_, &QLineEdit::textChanged, this, [this] {
    if (!updating_) ShowTypingFeedback();
  });
  connect(edit_, &QLineEdit::returnPressed, this, [this] {
    if (Commit()) emit Entered();
  });
  connect(up_, &QToolButton::clicked, this, [this] { Take(edit_->text(), 1); });
  connect(down_, &QToolButton::clicked, this, [this] { Take(edit_->text(), -1); });

  resize(50, 21);
  LayoutChildren();
  Refresh();
}

double TUnitEdit::Value() const {
  if (base_ && !unit_.isEmpty()) return base_->Convert(value_, unit_, base_->UniteDefaut());
  return value_;
}

void TUnitEdit::SetValue(double x) {
  value_ = x;
  if (base_ && !unit_.isEmpty()) {
    const double converted = base_->Convert(x, base_->UniteDefaut(), unit_);
    if (converted != TUnitEditBase::kFailure) value_ = converted;
  }
  Refresh();
}

int32_t TUnitEdit::ValueInt() const {
  return RoundToInt(Value());
}

void TUnitEdit::SetValueInt(int32_t n) {
  value_ = n;
  Refresh();
}

QString TUnitEdit::ValueStr() const {
  return DisplayText(unit_, value_);
}

void TUnitEdit::SetValueStr(const QString& text) {
  if (const std::optional<Parsed> read = ReadTyped(text)) {
    value_ = read->number;
    unit_ = read->unit;
    Refresh();
  }
}

void TUnitEdit::SetUnit(const QString& unit) {
  if (base_ && !unit_.isEmpty()) {
    const double converted = base_->Convert(value_, unit_, unit);
    if (converted != TUnitEditBase::kFailure) value_ = converted;
  }
  unit_ = unit;
  Refresh();
}

void TUnitEdit::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  updateGeometry();
  LayoutChildren();
}

std::optional<TUnitEdit::Parsed> ReadLength(const QString& text, const TUnitEditBase* base,
                                            const QString& bareUnit) {
  // One number, with either decimal mark, then at most one word of letters.
  static const QRegularExpression kLength(
      QStringLiteral("^(-?(?:[0-9]+(?:[.,][0-9]*)?|[.,][0-9]+))\\s*([a-z]*)$"));
  const QRegularExpressionMatch match = kLength.match(text.trimmed());
  if (!match.hasMatch()) return std::nullopt;
  QString number = match.captured(1);
  number.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double value = number.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  QString unit = match.captured(2);
  if (unit.isEmpty()) unit = bareUnit;
  const bool known = base ? base->IsUnit(unit) : unit == bareUnit;
  if (!known) return std::nullopt;
  return TUnitEdit::Parsed{value, unit};
}

std::optional<TUnitEdit::Parsed> TUnitEdit::ReadTyped(const QString& text) const {
  return ReadLength(text, base_, unit_.isEmpty() ? DefaultUnit() : unit_);
}

QString TUnitEdit::EffectiveUnit(const QString& u) const {
  if (baseAutoriseUnite_ && base_) {
    if (!base_->AutoriseUnite()) return QString();
    if (u.isEmpty() || base_->IsUnit(u)) return u;
    return base_->UniteDefaut();
  }
  return autoriseUnite_ ? u : QString();
}

QString TUnitEdit::DisplayText(const QString& u, double x) const {
  const QString& format = baseValueFormat_ && base_ ? base_->ValueFormat() : valueFormat_;
  QString text = FormatFloat(x, format);
  const QString unit = u.isEmpty() ? QString() : EffectiveUnit(u);
  if (!unit.isEmpty()) text += QLatin1Char(' ') + unit;
  return text;
}

void TUnitEdit::Refresh() {
  QScopedValueRollback<bool> guard(updating_, true);
  unit_ = EffectiveUnit(unit_);
  edit_->setText(DisplayText(unit_, value_));
  SetTextColour(Qt::black);
  if (onChange_) onChange_(this);
}

bool TUnitEdit::Commit() {
  return Take(edit_->text(), 0);
}

bool TUnitEdit::Take(const QString& text, double delta) {
  const std::optional<Parsed> read = ReadTyped(text);
  if (!read) {
    Refuse(QStringLiteral("« %1 » n'est pas une longueur : tapez par exemple 3,60 m ou 360 cm")
               .arg(text.trimmed()));
    return false;
  }
  const double number = read->number + delta;
  if (const QString why = OutOfBounds(number, read->unit); !why.isEmpty()) {
    Refuse(why);
    return false;
  }
  value_ = number;
  unit_ = read->unit;
  Refresh();
  return true;
}

QString TUnitEdit::OutOfBounds(double number, const QString& unit) const {
  if (valueMin_ == 0 && valueMax_ == 0) return {};
  const QString baseUnit = base_ ? base_->UniteDefaut() : unit;
  const auto inUnit = [&](double x, const QString& from, const QString& to) {
    return base_ ? base_->Convert(x, from, to) : x;
  };
  const double length = inUnit(number, unit, baseUnit);
  if (length >= valueMin_ && length <= valueMax_) return {};
  const auto shown = [&](double x) { return DisplayText(unit, inUnit(x, baseUnit, unit)); };
  return QStringLiteral("%1 n'est pas possible ici : tapez une longueur entre %2 et %3")
      .arg(DisplayText(unit, number), shown(valueMin_), shown(valueMax_));
}

void TUnitEdit::Refuse(const QString& why) {
  SetTextColour(kUnreadable);
  if (onRefused_) onRefused_(why);
}

void TUnitEdit::ShowValue() {
  QScopedValueRollback<bool> guard(updating_, true);
  edit_->setText(DisplayText(unit_, value_));
  SetTextColour(Qt::black);
}

QString TUnitEdit::FormatFloat(double x, const QString& format) {
  if (!std::isfinite(x)) return QLocale().toString(x);
  const qsizetype point = format.indexOf(QLatin1Char('.'));
  const size_t decimals = point < 0 ? 0 : static_cast<size_t>(format.size() - point - 1);

  Decimal d = ToDecimal(std::fabs(x));
  RoundDigits(d, decimals);
  const bool zero = d.digits.find_first_not_of('0') == std::string::npos;
  QString text = x < 0 && !zero ? QStringLiteral("-") : QString();
  text += QString::fromLatin1(d.digits.data(), d.intLen);
  if (decimals > 0) {
    text += DecimalSeparator() + QString::fromLatin1(d.digits.data() + d.intLen, decimals);
  }
  return text;
}

QColor TUnitEdit::TextColour() const {
  return edit_->palette().color(QPalette::Text);
}

QSize TUnitEdit::sizeHint() const {
  return QSize(50, edit_->sizeHint().height() + CaptionHeight());
}

bool TUnitEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_) {
    if (event->type() == QEvent::KeyPress) return FilterKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) {
      // Switching to another window or opening a popup is not leaving the field.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // Leaving applies a good text and puts the last good value back otherwise.
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !Commit()) {
        ShowValue();
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TUnitEdit::FilterKey(QKeyEvent* key) {
  // Only typed characters are filtered: editing keys, Enter and shortcuts pass.
  const QString text = key->text();
  if (text.size() != 1 || (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
    return false;
  }
  const QChar c = text[0];
  if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;

  const QString sep = DecimalSeparator();
  const QString typed = c == ',' || c == '.' ? sep : text;
  if (!Accepts(typed, sep)) return true;
  if (typed == text) return false;
  edit_->insert(typed);
  return true;
}

bool TUnitEdit::Accepts(const QString& typed, const QString& sep) const {
  if (typed == sep) {
    return canReal_ && !edit_->text().contains(sep) && edit_->cursorPosition() > 0;
  }
  const QChar c = typed[0];
  if (c == '-') return !edit_->text().contains(c) && edit_->cursorPosition() == 0;
  if (c == ' ' || (c >= 'a' && c <= 'z')) return autoriseUnite_;
  return c >= '0' && c <= '9';
}

void TUnitEdit::ShowTypingFeedback() {
  SetTextColour(ReadTyped(edit_->text()) ? QColor(0, 128, 0) : kUnreadable);
}

void TUnitEdit::SetTextColour(const QColor& colour) {
  QPalette palette = edit_->palette();
  palette.setColor(QPalette::Text, colour);
  edit_->setPalette(palette);
}

const QString& TUnitEdit::DefaultUnit() const {
  return baseUniteDefaut_ && base_ ? base_->UniteDefaut() : uniteDefaut_;
}

int TUnitEdit::CaptionHeight() const {
  return caption_.isEmpty() ? 0 : fontMetrics().height();
}

void TUnitEdit::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutChildren();
}

void TUnitEdit::LayoutChildren() {
  // Fitting our own height below resizes us again; once is enough.
  if (layingOut_) return;
  QScopedValueRollback<bool> guard(layingOut_, true);
  const int ch = CaptionHeight();
  const int eh = edit_->sizeHint().height();
  label_->setText(caption_);
  label_->setGeometry(0, 0, width(), ch);
  label_->setHidden(ch == 0);
  edit_->setGeometry(0, ch, std::max(0, width() - kSpinWidth), eh);
  spin_->setGeometry(width() - kSpinWidth, ch, kSpinWidth, eh);
  up_->setGeometry(0, 0, kSpinWidth, eh / 2);
  down_->setGeometry(0, eh / 2, kSpinWidth, eh - eh / 2);
  if (height() != eh + ch) resize(width(), eh + ch);
}

void ApplyPanelFieldProperties(TUnitEdit& field, TUnitEditBase* base, double maxMillimetres,
                               const QString& shownUnit) {
  field.SetBase(base);
  field.SetCanReal(true);
  field.SetAutoriseUnite(true);
  field.SetBaseAutoriseUnite(true);
  field.SetUniteDefaut(QStringLiteral("cm"));
  field.SetBaseUniteDefaut(false);
  field.SetBaseValueFormat(true);
  field.SetValueStr(QStringLiteral("10 cm"));
  field.SetUnit(shownUnit);
  field.SetValueMin(10);
  field.SetValueMax(maxMillimetres);
}

}  // namespace casavo
