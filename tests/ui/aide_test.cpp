// Tests of the tip dialog.

#include "ui/aide.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cctype>
#include <vector>

#include "common/digest.h"
#include "files/settings.h"

namespace casavo {
namespace {

const QString kNewPlanTip = QString::fromUtf8(
    "Nouveau plan vierge. Vous pouvez maintenant tracer des murs et des ouvertures.");

// Answers the dialog the way a user would, and remembers what it was shown.
class ScriptedPresenter : public MessageDialogPresenter {
 public:
  bool tick = false;
  bool pressOk = true;
  std::vector<QString> texts;
  std::vector<bool> boxes;

  void Run(TfmAide& dialog) override {
    texts.push_back(dialog.Label1->text());
    boxes.push_back(!dialog.CheckBox1->isHidden());
    dialog.CheckBox1->setChecked(tick);
    if (pressOk) {
      dialog.Button1->click();
    } else {
      dialog.reject();
    }
  }
};

class AideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    SetAppFolder(folder_.path().toStdString());
    SetMessageDialogPresenter(&presenter_);
  }
  void TearDown() override {
    SetMessageDialogPresenter(nullptr);
    SetAppFolder("");
  }

  QTemporaryDir folder_;
  ScriptedPresenter presenter_;
};

TEST_F(AideTest, TickedTipIsNeverShownAgainWithOrWithoutTheBox) {
  EXPECT_TRUE(ShowMessageDialog(true, kNewPlanTip));
  ASSERT_EQ(presenter_.texts.size(), 1u);
  EXPECT_EQ(presenter_.texts[0], kNewPlanTip);
  EXPECT_TRUE(presenter_.boxes[0]);

  EXPECT_TRUE(ShowMessageDialog(true, kNewPlanTip)) << "unticked: shown again";
  presenter_.tick = true;
  EXPECT_TRUE(ShowMessageDialog(true, kNewPlanTip));
  EXPECT_EQ(presenter_.texts.size(), 3u);

  EXPECT_FALSE(ShowMessageDialog(true, kNewPlanTip));
  EXPECT_FALSE(ShowMessageDialog(false, kNewPlanTip));
  SetAppFolder("");
  SetAppFolder(folder_.path().toStdString());
  EXPECT_FALSE(ShowMessageDialog(true, kNewPlanTip)) << "kept in the settings file";
  EXPECT_EQ(presenter_.texts.size(), 3u);
}

TEST_F(AideTest, TextsDifferingInOneCharacterAreRememberedApart) {
  const QString first = QString::fromUtf8("Pour placer une ouverture, cliquez sur un mur du plan.");
  const QString second =
      QString::fromUtf8("Pour placer une ouverture, cliquez sur un mur du plan!");
  EXPECT_NE(AideKey(first), AideKey(second));
  presenter_.tick = true;
  EXPECT_TRUE(ShowMessageDialog(true, first));
  presenter_.tick = false;
  EXPECT_FALSE(ShowMessageDialog(true, first));
  EXPECT_TRUE(ShowMessageDialog(true, second));
}

TEST_F(AideTest, OnlyOkOnAVisibleTickedBoxWritesTheSetting) {
  presenter_.tick = true;
  EXPECT_TRUE(ShowMessageDialog(false, kNewPlanTip));
  EXPECT_FALSE(presenter_.boxes.back());
  EXPECT_EQ(ReadSetting(AideKey(kNewPlanTip)), "") << "a hidden box silences nothing";

  presenter_.pressOk = false;
  EXPECT_TRUE(ShowMessageDialog(true, kNewPlanTip));
  EXPECT_EQ(ReadSetting(AideKey(kNewPlanTip)), "") << "closed without OK";
  EXPECT_TRUE(ShowMessageDialog(true, kNewPlanTip));
}

TEST(AideKeyTest, IsTheMd5OfTheWindows1252Bytes) {
  EXPECT_EQ(AideKey(""), "Aide_D41D8CD98F00B204E9800998ECF8427E");
  const QString text = QString::fromUtf8("D\u00e9j\u00e0 trac\u00e9 \u2013 \u0153uvre");
  const std::string cp1252("D\xE9j\xE0 trac\xE9 \x96 \x9Cuvre");
  const std::string key = AideKey(text);
  EXPECT_EQ(key, "Aide_" + Md5Hex(cp1252));
  EXPECT_NE(key, "Aide_" + Md5Hex(text.toStdString())) << "not the UTF-8 bytes";
  ASSERT_EQ(key.size(), 5u + 32u);
  for (char c : key.substr(5)) EXPECT_TRUE(std::isdigit(c) || (c >= 'A' && c <= 'F')) << key;
}

TEST(AideDialog, ShowsMarkupAsTypedAndLongTextsWhole) {
  const QString stale = QString::fromUtf8(
      "Ce plan a été enregistré par ailleurs (2026-12-09 10:15:00 r7) depuis que vous l'avez "
      "ouvert. Pour ne pas effacer ces changements, votre version n'a pas été enregistrée : "
      "rechargez le plan depuis la galerie, puis refaites vos modifications.");
  const struct {
    QString text;
    bool taller;
    bool scrolls;
  } cases[] = {
      {QStringLiteral("Ce plan créé par <i>eve</i> est partagé en Lecture."), false, false},
      {stale, true, false},
      {stale.repeated(12), true, true},
  };
  for (const auto& [text, taller, scrolls] : cases) {
    TfmAide dialog(nullptr, false, text);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.Label1->text(), text);
    EXPECT_EQ(dialog.Label1->textFormat(), Qt::PlainText) << text.toStdString();
    EXPECT_EQ(dialog.height() > 161, taller) << text.toStdString();
    EXPECT_LE(dialog.height(), 480);
    EXPECT_EQ(dialog.Text->verticalScrollBar()->maximum() > 0, scrolls)
        << text.toStdString() << " " << dialog.Text->viewport()->width() << "x"
        << dialog.Text->viewport()->height() << " label " << dialog.Label1->width() << "x"
        << dialog.Label1->height() << " hfw " << dialog.Label1->heightForWidth(289);
    // Whatever is not scrolled to is shown: the last line is in the area.
    dialog.Text->verticalScrollBar()->setValue(dialog.Text->verticalScrollBar()->maximum());
    EXPECT_GE(dialog.Label1->height(), dialog.Label1->heightForWidth(dialog.Label1->width()));
    EXPECT_GT(dialog.Button1->geometry().top(), dialog.Text->geometry().bottom());
  }
}

TfmAide* OpenAide() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<TfmAide*>(window);
    if (dialog && dialog->isVisible()) return dialog;
  }
  return nullptr;
}

TEST_F(AideTest, RealDialogRunsModallyAndRemembersATickedBox) {
  SetMessageDialogPresenter(nullptr);
  bool sawModal = false;
  QTimer::singleShot(0, [&] {
    TfmAide* dialog = OpenAide();
    if (!dialog) return;
    sawModal = dialog->isModal() && QApplication::activeModalWidget() == dialog;
    EXPECT_EQ(dialog->windowTitle(), "Casavo");
    EXPECT_EQ(dialog->size(), QSize(303, 161));
    EXPECT_EQ(dialog->Label1->text(), kNewPlanTip);
    EXPECT_TRUE(dialog->Label1->wordWrap());
    EXPECT_EQ(dialog->CheckBox1->text(), "Ne plus afficher");
    EXPECT_TRUE(dialog->CheckBox1->isVisible());
    EXPECT_EQ(dialog->Button1->text(), "OK");
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
  });
  // Should the answer above miss the dialog, never leave the test waiting.
  QTimer rescue;
  rescue.setSingleShot(true);
  QObject::connect(&rescue, &QTimer::timeout, [] {
    if (TfmAide* dialog = OpenAide()) dialog->reject();
  });
  rescue.start(5000);

  EXPECT_TRUE(ShowMessageDialog(true, kNewPlanTip));
  EXPECT_TRUE(sawModal);
  EXPECT_EQ(ReadSetting(AideKey(kNewPlanTip)), "1");
  EXPECT_FALSE(ShowMessageDialog(true, kNewPlanTip));
}

}  // namespace
}  // namespace casavo
