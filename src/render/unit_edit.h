#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

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
class TUnitEdit : public QWidget {
  Q_OBJECT

 public:
  using ChangeHandler = std::function<void(QObject* sender)>;

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
  // The canonical text ("12,50 cm"); writing parses a typed-style text.
  QString ValueStr() const;
  void SetValueStr(const QString& text);

  // Bounds of the shown number, in the shown unit; both 0 means no bounds.
  double ValueMin() const { return valueMin_; }
  void SetValueMin(double x) { valueMin_ = x; }
  double ValueMax() const { return valueMax_; }
  void SetValueMax(double x) { valueMax_ = x; }
  // Called after every Refresh, with the field as sender.
  const ChangeHandler& OnChange() const { return onChange_; }
  void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }
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

  // Splits a typed text into its number (0 when unreadable) and unit (the
  // default unit when none is typed); the unit is not checked.
  Parsed ParseText(const QString& text) const;
  // The unit the field may show for u.
  QString EffectiveUnit(const QString& u) const;
  double Clamp(double x) const;
  QString DisplayText(const QString& u, double x) const;
  // Normalises number and unit, rewrites the text in black, calls OnChange.
  void Refresh();
  // Takes the typed text as the new number and unit.
  void Commit();

  // A number in a "0" or "0.00"-style format with the user's decimal
  // separator, halves away from zero on the number's shortest decimal form.
  static QString FormatFloat(double x, const QString& format);

  QLineEdit* EditBox() const { return edit_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }
  QColor TextColour() const;

  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool FilterKey(QKeyEvent* key);
  bool Accepts(const QString& typed, const QString& sep) const;
  void ShowTypingFeedback();
  // Parses text into number and unit, adds delta, refreshes.
  void Take(const QString& text, double delta);
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

// The properties the main window's panel fields are stored with, applied in
// their stored order: the start values (which leave 10 cm), bounds 1 to
// valueMax, the shared base, two decimals, and a bare number meaning
// centimetres. Ends with a Refresh so that the box shows the base's format;
// assign OnChange afterwards.
void ApplyPanelFieldProperties(TUnitEdit& field, TUnitEditBase* base, double valueMax);

}  // namespace casavo
