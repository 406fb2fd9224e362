#include <QDir>
#include <QFile>
#include <QSlider>

#include "files/plan_xml.h"
#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

const QString kRecoveryQuestion = QString::fromUtf8(
    "Casavo à planté à la dernière utilisation. Votre plan n'est pas perdu.\r\n"
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

TEST_F(EditorSessionTest, DrawUndoCloseAndRecoverAfterACrash) {
  Start();
  EXPECT_FALSE(QFile::exists(RecoveryFile()));
  Click(form_->lZoom);
  DrawWall({150, 150}, {450, 150});
  EXPECT_TRUE(form_->mlAnnuler->isHidden());
  DrawWall({450, 150}, {450, 350});
  ExpectTheTwoWalls();
  EXPECT_TRUE(QFile::exists(RecoveryFile())) << "written while the editor runs";
  EXPECT_FALSE(form_->mlAnnuler->isHidden());
  EXPECT_EQ(form_->mlAnnuler->toolTip(), QString::fromUtf8("Déplacer un coin"));

  Click(form_->mlAnnuler);
  ASSERT_EQ(Plan().WallCount, 1);
  EXPECT_EQ(Plan().WallLength(1), 3000);
  EXPECT_TRUE(form_->mlAnnuler->isHidden());
  const QByteArray leftBehind = ReadRecoveryFile();
  Stop();
  EXPECT_FALSE(QFile::exists(RecoveryFile())) << "a normal close deletes it";

  // A run that ends abnormally leaves its last snapshot behind.
  LeaveRecoveryFile(leftBehind);
  script_.yes = true;
  Start();
  EXPECT_EQ(script_.questions, std::vector<QString>{kRecoveryQuestion});
  ExpectTheTwoWalls();
  EXPECT_EQ(form_->Editor->UndoLabels, std::vector<std::string>{"Plan de départ"});
  EXPECT_TRUE(form_->mlNouveauPlan->isEnabled());
  // The zoom slider follows the recovered view.
  EXPECT_DOUBLE_EQ(Plan().zx, 0.1);
  EXPECT_EQ(form_->tbZoom->value(), 100);
  EXPECT_EQ(form_->lZoom->Caption(), "Zoom : 100 %");
}

TEST_F(EditorSessionTest, DecliningTheRecoveryStartsEmptyAndTheCloseDropsTheFile) {
  TCasaPlan crashed;
  crashed.AddWall({5000, 5000}, {9000, 5000});
  LeaveRecoveryFile(QByteArray::fromStdString(WritePlanXml(crashed)));
  script_.yes = false;
  Start();
  EXPECT_EQ(script_.questions.size(), 1u);
  EXPECT_EQ(Plan().WallCount, 0);
  EXPECT_TRUE(QFile::exists(RecoveryFile()));
  Stop();
  EXPECT_FALSE(QFile::exists(RecoveryFile()));
}

}  // namespace
}  // namespace casavo
