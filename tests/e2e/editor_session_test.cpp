// End to end: a whole editing session in the real main window.

#include <QDir>
#include <QFile>
#include <QSlider>

#include "files/plan_xml.h"
#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

const QString kRecoveryQuestion = QString::fromUtf8(
    "Casavo a planté à la dernière utilisation. Votre plan n'est pas perdu.\r\n"
    "Voulez vous recharger votre plan ?");

class EditorSessionTest : public WindowTest {
 protected:
  QByteArray ReadRecoveryFile() const {
    QFile file(RecoveryFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void LeaveRecoveryFile(const QByteArray& text) const {
    QDir(home_.path()).mkpath("Casavo");
    QFile file(RecoveryFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  // The two walls drawn below at 0.1 pixel per millimetre: 300 pixels across,
  // then 200 down from its end.
  void ExpectTheTwoWalls() {
    ASSERT_EQ(Plan().WallCount, 2);
    EXPECT_EQ(Plan().WallLength(1), 3000);
    EXPECT_EQ(Plan().WallLength(2), 2000);
    EXPECT_EQ(Plan().Walls[1].C2, Plan().Walls[2].C1) << "the second wall starts on the first";
  }
};

TEST_F(EditorSessionTest, DrawUndoCrashAndRecoverTheStateLastSeen) {
  Start();
  EXPECT_FALSE(QFile::exists(RecoveryFile()));
  Click(form_->lZoom);
  DrawWall({150, 150}, {450, 150});
  EXPECT_FALSE(form_->mlAnnuler->isHidden()) << "the first wall can be undone";
  DrawWall({450, 150}, {450, 350});
  ExpectTheTwoWalls();
  EXPECT_TRUE(QFile::exists(RecoveryFile())) << "written while the editor runs";
  EXPECT_EQ(form_->mlAnnuler->toolTip(), QString::fromUtf8("Déplacer un coin"));

  Click(form_->mlAnnuler);
  ASSERT_EQ(Plan().WallCount, 1);
  EXPECT_EQ(ReadRecoveryFile().toStdString(), WritePlanXml(Plan())) << "the state seen";
  // A hard kill: the window goes without being closed.
  form_.reset();

  script_.yes = true;
  Start();
  EXPECT_EQ(script_.questions, std::vector<QString>{kRecoveryQuestion});
  ASSERT_EQ(Plan().WallCount, 1);
  EXPECT_EQ(Plan().WallLength(1), 3000);
  EXPECT_EQ(form_->Editor->UndoLabels, std::vector<std::string>{"Plan de départ"});
  EXPECT_TRUE(form_->windowTitle().endsWith("*")) << "the recovered plan is saved nowhere";
  // The zoom slider follows the recovered view.
  EXPECT_DOUBLE_EQ(Plan().zx, 0.1);
  EXPECT_EQ(form_->tbZoom->value(), 100);
  EXPECT_EQ(form_->lZoom->Caption(), "Zoom : 100 %");

  // Closing asks first; dropping the changes closes and leaves nothing behind.
  script_.saveChoice = SaveChoice::Cancel;
  EXPECT_FALSE(form_->close());
  EXPECT_TRUE(QFile::exists(RecoveryFile()));
  script_.saveChoice = SaveChoice::Discard;
  EXPECT_TRUE(form_->close());
  EXPECT_EQ(script_.saveQuestions.size(), 2u);
  EXPECT_FALSE(QFile::exists(RecoveryFile()));
}

TEST_F(EditorSessionTest, DecliningTheRecoveryStartsEmptyAndAPlainCloseDropsTheFile) {
  TCasaPlan crashed;
  crashed.AddWall({5000, 5000}, {9000, 5000});
  LeaveRecoveryFile(QByteArray::fromStdString(WritePlanXml(crashed)));
  script_.yes = false;
  Start();
  EXPECT_EQ(script_.questions.size(), 1u);
  EXPECT_EQ(Plan().WallCount, 0);
  EXPECT_TRUE(QFile::exists(RecoveryFile()));
  EXPECT_TRUE(form_->close()) << "nothing unsaved: no question";
  EXPECT_TRUE(script_.saveQuestions.empty());
  EXPECT_FALSE(QFile::exists(RecoveryFile()));
}

}  // namespace
}  // namespace casavo
