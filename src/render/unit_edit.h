// TUnitEditBase and TUnitEdit: length fields in mm, cm or m.

#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolButton;

namespace casavo {

// The units the fields of one window share, and the defaults they may follow.
// Values read from the fields are expressed in UniteDefaut.
class TUnitEditBase : public QObject {
  Q_OBJECT

 public:
  struct Unit {
    QString name;
    QString caption;
    double factor = 0;  // how many base-table units (millimetres in the editor) one unit is
  };

  static constexpr int kCapacity = 101;
  // What every conversion gives when a unit is not registered.
  static constexpr double kFailure = -9999.0;

  explicit TUnitEditBase(QObject* parent = nullptr);

  // Appends a unit; the first one registered becomes UniteDefaut. RangeError
  // past kCapacity units, std::invalid_argument for a factor that is not a
  // positive number (it would turn conversions into divisions by zero).
  void AddUnit(const QString& name, const QString& caption, double factor);
  // Exact, case-sensitive name match.
  bool IsUnit(const QString& name) const;
  // x from one unit to another; kFailure when either is not registered.
  double Convert(double x, const QString& from, const QString& to) const;
  int Count() const { return count_; }

  const QString& UniteDefaut() const { return uniteDefaut_; }
  void SetUniteDefaut(const QString& unit) { uniteDefaut_ = unit; }
  const QString& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const QString& format) { valueFormat_ = format; }
  bool AutoriseUnite() const { return autoriseUnite_; }
  void SetAutoriseUnite(bool allowed) { autoriseUnite_ = allowed; }

 private:
  const Unit* Find(const QString& name) const;

  std::array<Unit, kCapacity> units_;
  int count_ = 0;
  QString uniteDefaut_ = QStringLiteral("cm");
  QString valueFormat_ = QStringLiteral("0.00");
  bool autoriseUnite_ = true;
};

// A length field: a caption above an edit box where a number and a unit are
// typed (250, 2,5 m, 2500 mm), with up/down buttons that add or subtract 1.
// The shown number stays in the shown unit; Value converts it to the base unit.
// What the user types is applied only when it reads as a length within the
// bounds; otherwise the field says why and keeps its last good value.
class TUnitEdit : public QWidget {
  Q_OBJECT

 public:
  using ChangeHandler = std::function<void(QObject* sender)>;
  using RefusalHandler = std::function<void(const QString& why)>;

  struct Parsed {
    double number = 0;
    QString unit;
  };

  explicit TUnitEdit(QWidget* parent = nullptr);

  // The number in the base unit (kFailure when the shown unit is unknown to
  // the base); writing converts from the base unit into the shown one.
  double Value() const;
  void SetValue(double x);
  // Value rounded half to even (OverflowError beyond int32); writing stores the
  // number as it is, in the shown unit, without conversion.
  int32_t ValueInt() const;
  void SetValueInt(int32_t n);
  // The canonical text ("12,50 cm"); writing reads a typed-style text and
  // changes nothing when it is not a length.
  QString ValueStr() const;
  void SetValueStr(const QString& text);
  // The unit shown; setting it keeps the length and shows it in that unit.
  const QString& Unit() const { return unit_; }
  void SetUnit(const QString& unit);

  // Bounds of what the user may type, as lengths in the base unit (in the
  // field's own numbers without a base); both 0 means no bounds. Values set by
  // the program are shown as they are.
  double ValueMin() const { return valueMin_; }
  void SetValueMin(double x) { valueMin_ = x; }
  double ValueMax() const { return valueMax_; }
  void SetValueMax(double x) { valueMax_ = x; }
  // Called after every Refresh, with the field as sender.
  const ChangeHandler& OnChange() const { return onChange_; }
  void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }
  // Told why a typed text was not applied.
  void SetOnRefused(RefusalHandler handler) { onRefused_ = std::move(handler); }
  bool CanReal() const { return canReal_; }
  void SetCanReal(bool allowed) { canReal_ = allowed; }
  // Not owned; the field forgets it if it is destroyed first.
  TUnitEditBase* Base() const { return base_; }
  void SetBase(TUnitEditBase* base) { base_ = base; }
  bool AutoriseUnite() const { return autoriseUnite_; }
  void SetAutoriseUnite(bool allowed) { autoriseUnite_ = allowed; }
  bool BaseAutoriseUnite() const { return baseAutoriseUnite_; }
  void SetBaseAutoriseUnite(bool follow) { baseAutoriseUnite_ = follow; }
  const QString& UniteDefaut() const { return uniteDefaut_; }
  void SetUniteDefaut(const QString& unit) { uniteDefaut_ = unit; }
  bool BaseUniteDefaut() const { return baseUniteDefaut_; }
  void SetBaseUniteDefaut(bool follow) { baseUniteDefaut_ = follow; }
  const QString& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const QString& format) { valueFormat_ = format; }
  bool BaseValueFormat() const { return baseValueFormat_; }
  void SetBaseValueFormat(bool follow) { baseValueFormat_ = follow; }
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);

  // Reads a typed text as one number and at most one unit the field knows; a
  // bare number is in the unit shown. Nothing for anything else ("abc",
  // "4 m 50", "1e3", "", "12 km").
  std::optional<Parsed> ReadTyped(const QString& text) const;
  // The unit the field may show for u.
  QString EffectiveUnit(const QString& u) const;
  QString DisplayText(const QString& u, double x) const;
  // Normalises the unit, rewrites the text in black, calls OnChange.
  void Refresh();
  // Applies the typed text when it is a length within the bounds; otherwise
  // leaves the value alone, shows the text in red and tells why. True when
  // applied.
  bool Commit();

  // A number in a "0" or "0.00"-style format with the user's decimal
  // separator, halves away from zero on the number's shortest decimal form.
  static QString FormatFloat(double x, const QString& format);

  QLineEdit* EditBox() const { return edit_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }
  QColor TextColour() const;

  QSize sizeHint() const override;

 signals:
  // Enter applied the typed text.
  void Entered();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool FilterKey(QKeyEvent* key);
  bool Accepts(const QString& typed, const QString& sep) const;
  void ShowTypingFeedback();
  // Reads text, adds delta, applies the result when it is allowed.
  bool Take(const QString& text, double delta);
  // Why number in unit may not be applied; empty when it may.
  QString OutOfBounds(double number, const QString& unit) const;
  void Refuse(const QString& why);
  // Puts the last good value back into the box without applying anything.
  void ShowValue();
  void SetTextColour(const QColor& colour);
  const QString& DefaultUnit() const;
  int CaptionHeight() const;
  void LayoutChildren();

  double value_ = 123.45;
  QString unit_;
  QLineEdit* edit_;
  QWidget* spin_;
  QToolButton* up_;
  QToolButton* down_;
  QLabel* label_;
  double valueMin_ = 0;
  double valueMax_ = 0;
  bool updating_ = false;
  bool layingOut_ = false;
  ChangeHandler onChange_;
  RefusalHandler onRefused_;
  QPointer<TUnitEditBase> base_;
  bool autoriseUnite_ = true;
  bool baseAutoriseUnite_ = true;
  QString uniteDefaut_ = QStringLiteral("cm");
  bool canReal_ = true;
  bool baseUniteDefaut_ = true;
  QString valueFormat_ = QStringLiteral("0");
  bool baseValueFormat_ = true;
  QString caption_;
};

// Reads text as one number and at most one unit: a unit the base knows, or
// bareUnit without a base; a bare number is in bareUnit. Nothing otherwise.
std::optional<TUnitEdit::Parsed> ReadLength(const QString& text, const TUnitEditBase* base,
                                            const QString& bareUnit);

// The properties of the main window's panel fields: the shared base, two
// decimals, lengths from 1 cm to maxMillimetres, and 10 cm shown in shownUnit
// until the panels set real values. Assign OnChange afterwards.
void ApplyPanelFieldProperties(TUnitEdit& field, TUnitEditBase* base, double maxMillimetres,
                               const QString& shownUnit);

}  // namespace casavo
