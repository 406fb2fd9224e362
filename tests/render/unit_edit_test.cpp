// Tests of the length fields with units.

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
    // Lengths from 1 cm to 10 m, shown in centimetres first.
    ApplyPanelFieldProperties(*field_, &base_, 10000.0, "cm");
    field_->SetOnRefused([this](const QString& why) { refusals_.push_back(why); });
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
  std::vector<QString> refusals_;
};

TEST_F(UnitEditTest, StartValuesLeaveTenCentimetres) {
  EXPECT_EQ(Shown(), "10,00 cm");
  EXPECT_EQ(field_->ValueStr(), "10,00 cm");
  EXPECT_DOUBLE_EQ(field_->Value(), 100.0);
  EXPECT_EQ(field_->ValueInt(), 100);
}

TEST_F(UnitEditTest, TypedTextIsReadInTheShownUnitOrRefusedWithoutChangingTheValue) {
  struct Case {
    const char* typed;
    const char* shown;  // nullptr: refused
    double millimetres;
  };
  const Case cases[] = {
      {"3,8", "3,80 m", 3800},  // a bare number is in the unit shown
      {"360 cm", "360,00 cm", 3600},   {"42", "42,00 cm", 420}, {"3600 mm", "3600,00 mm", 3600},
      {"6000 mm", "6000,00 mm", 6000},  // bounds are lengths: 6 m fits
      {"2.5m", "2,50 m", 2500},        {"abc", nullptr, 2500},  {"4 m 50", nullptr, 2500},
      {"1e3", nullptr, 2500},          {"", nullptr, 2500},     {"12 km", nullptr, 2500},
      {"12 x", nullptr, 2500},         {"60 m", nullptr, 2500},  // longer than 10 m
      {"5 mm", nullptr, 2500},                                   // shorter than 1 cm
      {"-2 m", nullptr, 2500},
  };
  field_->SetUnit("m");
  for (const Case& c : cases) {
    field_->SetValue(c.shown ? 3600 : 2500);
    refusals_.clear();
    TypeAndEnter(c.typed);
    EXPECT_DOUBLE_EQ(field_->Value(), c.millimetres) << c.typed;
    if (c.shown) {
      EXPECT_EQ(Shown(), c.shown) << c.typed;
      EXPECT_TRUE(refusals_.empty()) << c.typed;
    } else {
      EXPECT_EQ(Shown(), c.typed) << "the text stays for the user to mend";
      EXPECT_EQ(field_->TextColour(), kDarkRed) << c.typed;
      ASSERT_EQ(refusals_.size(), 1u) << c.typed;
    }
  }
  TypeAndEnter("abc");
  EXPECT_EQ(refusals_.back(),
            QString::fromUtf8("« abc » n'est pas une longueur : tapez par exemple 3,60 m ou "
                              "360 cm"));
  TypeAndEnter("60 m");
  EXPECT_EQ(refusals_.back(), QString::fromUtf8("60,00 m n'est pas possible ici : tapez une "
                                                "longueur entre 0,01 m et 10,00 m"));
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

TEST_F(UnitEditTest, TypingShowsUnreadableTextInDarkRedUntilItReads) {
  Type("12 c");
  EXPECT_EQ(field_->TextColour(), kDarkRed);
  QTest::keyClicks(field_->EditBox(), "m");
  EXPECT_EQ(field_->TextColour(), kGreen);
  QTest::keyClick(field_->EditBox(), Qt::Key_Return);
  EXPECT_EQ(Shown(), "12,00 cm");
  EXPECT_EQ(field_->TextColour(), QColor(Qt::black));
}

TEST_F(UnitEditTest, LeavingTheBoxAppliesGoodTextAndPutsTheLastGoodValueBackOtherwise) {
  Type("7 m");
  other_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Shown(), "7,00 m");
  Type("7 m 20");
  other_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Shown(), "7,00 m");
  EXPECT_EQ(field_->TextColour(), QColor(Qt::black));
  EXPECT_DOUBLE_EQ(field_->Value(), 7000.0);

  Type("2,5 m");
  QTest::mouseClick(field_->UpButton(), Qt::LeftButton);
  EXPECT_EQ(Shown(), "3,50 m");
  QTest::mouseClick(field_->DownButton(), Qt::LeftButton);
  QTest::mouseClick(field_->DownButton(), Qt::LeftButton);
  EXPECT_EQ(Shown(), "1,50 m");
  TypeAndEnter("10 m");
  QTest::mouseClick(field_->UpButton(), Qt::LeftButton);
  EXPECT_DOUBLE_EQ(field_->Value(), 10000.0) << "a step beyond the bounds is refused";
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
  field_.SetUnit("cm");
  EXPECT_EQ(field_.Value(), TUnitEditBase::kFailure);
  field_.SetValue(50);
  EXPECT_EQ(field_.EditBox()->text(), "50,00 cm") << "kept unconverted";
  EXPECT_EQ(field_.Value(), TUnitEditBase::kFailure);
  empty.reset();
  EXPECT_EQ(field_.Base(), nullptr);
  EXPECT_DOUBLE_EQ(field_.Value(), 50.0);
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
