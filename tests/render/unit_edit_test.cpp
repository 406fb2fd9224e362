#include "render/unit_edit.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>
#include <stdexcept>
#include <vector>

#include "common/errors.h"

namespace casavo {
namespace {

const QColor kDarkRed(128, 0, 0);
const QColor kGreen(0, 128, 0);

// A window holding one field set up like the main window's panel fields.
class UnitEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    base_.AddUnit("mm", "milim\u00e8tre", 1);
    base_.AddUnit("cm", "centim\u00e8tre", 10);
    base_.AddUnit("m", "m\u00e8tre", 1000);
    auto* layout = new QVBoxLayout(&window_);
    field_ = new TUnitEdit(&window_);
    other_ = new QLineEdit(&window_);
    layout->addWidget(field_);
    layout->addWidget(other_);
    ApplyPanelFieldProperties(*field_, &base_, 500.0);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  // Clears the box and types text with real key events.
  void Type(const QString& text) {
    field_->EditBox()->setFocus();
    field_->EditBox()->clear();
    QTest::keyClicks(field_->EditBox(), text);
  }
  void TypeAndEnter(const QString& text) {
    Type(text);
    QTest::keyClick(field_->EditBox(), Qt::Key_Return);
  }
  QString Shown() const { return field_->EditBox()->text(); }

  TUnitEditBase base_;
  QWidget window_;
  TUnitEdit* field_ = nullptr;
  QLineEdit* other_ = nullptr;
};

TEST_F(UnitEditTest, StartValuesLeaveTenCentimetres) {
  EXPECT_EQ(Shown(), "10,00 cm");
  EXPECT_EQ(field_->ValueStr(), "10,00 cm");
  EXPECT_DOUBLE_EQ(field_->Value(), 100.0);
  EXPECT_EQ(field_->ValueInt(), 100);
}

TEST_F(UnitEditTest, BoundsApplyToTheNumberInTheShownUnit) {
  TypeAndEnter("6000 mm");
  EXPECT_EQ(Shown(), "500,00 mm");
  EXPECT_DOUBLE_EQ(field_->Value(), 500.0);

  TypeAndEnter("6 m");
  EXPECT_EQ(Shown(), "6,00 m");
  EXPECT_DOUBLE_EQ(field_->Value(), 6000.0);

  TypeAndEnter("0 cm");
  EXPECT_EQ(Shown(), "1,00 cm");

  // Typed forms: a bare number is centimetres, the unit may follow directly.
  TypeAndEnter("250");
  EXPECT_EQ(Shown(), "250,00 cm");
  TypeAndEnter("2.5m");
  EXPECT_EQ(Shown(), "2,50 m");
  EXPECT_DOUBLE_EQ(field_->Value(), 2500.0);
}

TEST_F(UnitEditTest, WritingValueConvertsFromTheBaseUnitButValueIntDoesNot) {
  field_->SetValue(2500);
  EXPECT_EQ(Shown(), "250,00 cm");
  field_->SetValueInt(250);
  EXPECT_EQ(Shown(), "250,00 cm");
  EXPECT_EQ(field_->ValueInt(), 2500);
  field_->SetValue(250);
  EXPECT_EQ(Shown(), "25,00 cm");

  TypeAndEnter("1 m");
  field_->SetValue(2500);
  EXPECT_EQ(Shown(), "2,50 m");
  EXPECT_EQ(field_->ValueStr(), "2,50 m");
}

TEST_F(UnitEditTest, KeyboardFilterKeepsTheTextReadable) {
  Type("1,5,");
  EXPECT_EQ(Shown(), "1,5");
  Type("2.5.");
  EXPECT_EQ(Shown(), "2,5") << "a dot becomes the decimal comma";
  Type(",5");
  EXPECT_EQ(Shown(), "5") << "no separator before the number";
  Type("-5-");
  EXPECT_EQ(Shown(), "-5");
  Type("5");
  QTest::keyClick(field_->EditBox(), Qt::Key_Home);
  QTest::keyClicks(field_->EditBox(), "-");
  EXPECT_EQ(Shown(), "-5") << "a minus may go first";
  QTest::keyClicks(field_->EditBox(), "-");
  EXPECT_EQ(Shown(), "-5") << "but only once";
  Type("5 CM+*");
  EXPECT_EQ(Shown(), "5 ");
  Type("5 cm");
  EXPECT_EQ(Shown(), "5 cm");

  field_->SetCanReal(false);
  Type("1,5");
  EXPECT_EQ(Shown(), "15");
  field_->SetAutoriseUnite(false);
  Type("7 cm");
  EXPECT_EQ(Shown(), "7");
  QTest::keyClick(field_->EditBox(), Qt::Key_Backspace);
  EXPECT_EQ(Shown(), "");
}

TEST_F(UnitEditTest, TypingShowsUnknownUnitsInDarkRedUntilCommitted) {
  Type("12 c");
  EXPECT_EQ(field_->TextColour(), kDarkRed);
  QTest::keyClicks(field_->EditBox(), "m");
  EXPECT_EQ(field_->TextColour(), kGreen);
  Type("12 x");
  EXPECT_EQ(field_->TextColour(), kDarkRed);
  QTest::keyClick(field_->EditBox(), Qt::Key_Return);
  EXPECT_EQ(Shown(), "12,00 mm");
  EXPECT_EQ(field_->TextColour(), QColor(Qt::black));
}

TEST_F(UnitEditTest, LeavingTheBoxCommitsAndButtonsStepTheTypedNumber) {
  Type("7 m");
  other_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Shown(), "7,00 m");

  Type("2,5 m");
  QTest::mouseClick(field_->UpButton(), Qt::LeftButton);
  EXPECT_EQ(Shown(), "3,50 m");
  QTest::mouseClick(field_->DownButton(), Qt::LeftButton);
  QTest::mouseClick(field_->DownButton(), Qt::LeftButton);
  EXPECT_EQ(Shown(), "1,50 m");
  TypeAndEnter("500 mm");
  QTest::mouseClick(field_->UpButton(), Qt::LeftButton);
  EXPECT_EQ(Shown(), "500,00 mm");
}

TEST_F(UnitEditTest, OnChangeFollowsEveryRefreshWithTheFieldAsSender) {
  std::vector<QString> seen;
  field_->SetOnChange([&](QObject* sender) {
    if (sender == field_) seen.push_back(Shown());
  });
  TypeAndEnter("3 m");
  EXPECT_EQ(seen, std::vector<QString>{"3,00 m"}) << "typing alone does not notify";
  field_->SetValueInt(4);
  QTest::mouseClick(field_->UpButton(), Qt::LeftButton);
  EXPECT_EQ(seen.size(), 3u);
}

TEST(UnitEditBaseTest, RegistersUpToItsCapacityAndConverts) {
  TUnitEditBase base;
  base.AddUnit("mm", "milim\u00e8tre", 1);
  base.AddUnit("m", "m\u00e8tre", 1000);
  base.AddUnit("m", "duplicate", 7);
  EXPECT_EQ(base.UniteDefaut(), "mm") << "the first unit becomes the default";
  EXPECT_FALSE(base.IsUnit("M"));
  EXPECT_DOUBLE_EQ(base.Convert(2.5, "m", "mm"), 2500.0) << "the first unit of a name wins";
  EXPECT_EQ(base.Convert(1, "mm", "km"), TUnitEditBase::kFailure);
  EXPECT_THROW(base.AddUnit("z", "zero", 0), std::invalid_argument);
  while (base.Count() < TUnitEditBase::kCapacity) base.AddUnit("u", "u", 1);
  EXPECT_THROW(base.AddUnit("x", "x", 1), RangeError);
}

class BareUnitEditTest : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
  TUnitEdit field_;
};

TEST_F(BareUnitEditTest, NewFieldShowsItsStartValueInWholeUnits) {
  EXPECT_EQ(field_.EditBox()->text(), "123");
  EXPECT_DOUBLE_EQ(field_.Value(), 123.45);
  EXPECT_EQ(field_.width(), 50);
  EXPECT_EQ(field_.height(), field_.EditBox()->height());
}

TEST_F(BareUnitEditTest, CaptionAndWidthDriveTheLayout) {
  field_.show();
  field_.resize(120, field_.height());
  const int editHeight = field_.EditBox()->height();
  EXPECT_EQ(field_.EditBox()->geometry(), QRect(0, 0, 106, editHeight));
  EXPECT_EQ(field_.UpButton()->parentWidget()->x(), 106);

  field_.SetCaption("Largeur :");
  const int ch = field_.fontMetrics().height();
  EXPECT_EQ(field_.EditBox()->y(), ch);
  EXPECT_EQ(field_.UpButton()->parentWidget()->y(), ch);
  EXPECT_EQ(field_.height(), editHeight + ch);
  field_.SetCaption("");
  EXPECT_EQ(field_.height(), editHeight);
}

TEST_F(BareUnitEditTest, BaseWithoutUnitsGivesTheFailureValueUntilItIsGone) {
  auto empty = std::make_unique<TUnitEditBase>();
  field_.SetBase(empty.get());
  field_.SetValueStr("10 cm");
  EXPECT_EQ(field_.Value(), TUnitEditBase::kFailure);
  field_.SetValue(50);
  EXPECT_EQ(field_.EditBox()->text(), "50,00 cm") << "kept unconverted";
  EXPECT_EQ(field_.Value(), TUnitEditBase::kFailure);
  empty.reset();
  EXPECT_EQ(field_.Base(), nullptr);
  EXPECT_DOUBLE_EQ(field_.Value(), 50.0);
}

TEST_F(BareUnitEditTest, UnreadableNumbersBecomeZeroWithTheDefaultUnit) {
  for (const char* junk : {"", "abc", "inf", "nan", "1,2,3", "5-3"}) {
    EXPECT_EQ(field_.ParseText(junk).number, 0.0) << junk;
  }
  EXPECT_EQ(field_.ParseText("abc").unit, "cm");
  EXPECT_EQ(field_.ParseText("-1.25km").unit, "km");
}

TEST_F(BareUnitEditTest, ClampLetsTheMaximumWinWhenBoundsCross) {
  EXPECT_EQ(field_.Clamp(-7), -7) << "no bounds";
  field_.SetValueMin(10);
  field_.SetValueMax(20);
  EXPECT_EQ(field_.Clamp(5), 10);
  EXPECT_EQ(field_.Clamp(25), 20);
  field_.SetValueMin(30);
  EXPECT_EQ(field_.Clamp(25), 20);
  EXPECT_EQ(field_.Clamp(35), 20);
}

TEST(FormatFloatTest, RoundsHalvesAwayFromZeroWithTheUserSeparator) {
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(TUnitEdit::FormatFloat(12.345, "0.00"), "12,35");
  EXPECT_EQ(TUnitEdit::FormatFloat(12.5, "0"), "13");
  EXPECT_EQ(TUnitEdit::FormatFloat(-12.5, "0"), "-13");
  EXPECT_EQ(TUnitEdit::FormatFloat(99.995, "0.00"), "100,00");
  EXPECT_EQ(TUnitEdit::FormatFloat(-0.004, "0.00"), "0,00");
  EXPECT_EQ(TUnitEdit::FormatFloat(1e20, "0"), "100000000000000000000");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(TUnitEdit::FormatFloat(0.05, "0.0"), "0.1");
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

}  // namespace
}  // namespace casavo
