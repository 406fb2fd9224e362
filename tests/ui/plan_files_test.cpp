// Tests of opening, saving and recent files.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "files/plan_file.h"
#include "files/plan_xml.h"
#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

QString Example(const char* name) {
  return QStringLiteral(CASAVO_SOURCE_DIR "/examples/") + name;
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PlanFilesTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start();
  }
  QString InHome(const QString& name) const { return home_.path() + "/" + name; }
  std::string ReadPlanText() const { return Bytes(RecoveryFile()).toStdString(); }
  // A change the user made: one wall drawn.
  void Change() { DrawWall(QPoint(200, 300), QPoint(400, 300)); }
};

TEST_F(PlanFilesTest, EveryExamplePlanOpensAndSavesBackToTheSameText) {
  for (const char* name : {"studio.plan", "maison_familiale.plan", "immeuble.plan"}) {
    ASSERT_TRUE(form_->OpenPlanFile(Example(name))) << name;
    EXPECT_GT(Plan().WallCount, 0) << name;
    EXPECT_EQ(form_->windowTitle(), QStringLiteral("Casavo V2.2 - ") + name);
    EXPECT_TRUE(form_->mlAnnuler->isHidden())
        << "an opened plan starts its history: " << form_->Editor->UndoLabels.back();
    const std::string opened = WritePlanXml(Plan());

    script_.saveFile = InHome(QString(name).remove(".plan"));  // the suffix is added
    ASSERT_TRUE(form_->mlEnregistrerSousClick()) << name;
    EXPECT_EQ(Bytes(InHome(name)).toStdString(), opened) << "the writer's text exactly";
    TCasaPlan reread;
    ASSERT_TRUE(LoadPlanFile(reread, InHome(name).toStdString()).ok);
    reread.ShowRooms = true;  // as the editor shows it: the text then holds the areas
    reread.RefreshGeometry();
    EXPECT_EQ(WritePlanXml(reread), opened);
  }
  EXPECT_EQ(form_->RecentFiles().first(), InHome("immeuble.plan"));
  EXPECT_EQ(form_->RecentFiles().size(), 6);
  EXPECT_TRUE(script_.saveQuestions.empty()) << "nothing changed: nothing asked";
}

TEST_F(PlanFilesTest, SaveWritesToTheFileItCameFromAndTheTitleLosesItsMark) {
  QFile::copy(Example("studio.plan"), InHome("studio.plan"));
  ASSERT_TRUE(form_->OpenPlanFile(InHome("studio.plan")));
  Change();
  form_->Editor->Disarm();
  EXPECT_EQ(form_->windowTitle(), "Casavo V2.2 - studio.plan*");
  QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(script_.suggestedNames.empty()) << "no file dialog for a plan with a file";
  EXPECT_EQ(form_->windowTitle(), "Casavo V2.2 - studio.plan");
  EXPECT_EQ(Bytes(InHome("studio.plan")).toStdString(), WritePlanXml(Plan()));
  EXPECT_EQ(form_->Editor->Mode, TCasa::ModeSelect) << "Ctrl+S arms no tool";
}

TEST_F(PlanFilesTest, AFailedSaveSaysWhereAndWhyAndLeavesTheOldFileWhole) {
  // A name so long that no temporary file can sit beside it.
  const QString path = InHome(QString(250, QLatin1Char('p')) + ".plan");
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("ancien plan");
  old.close();
  Change();
  script_.saveFile = path;
  EXPECT_FALSE(form_->mlEnregistrerSousClick());
  ASSERT_EQ(script_.errors.size(), 1u);
  EXPECT_TRUE(script_.errors[0].startsWith(
      QStringLiteral("Le plan n'a pas été enregistré dans « %1 » : ").arg(path)))
      << script_.errors[0].toStdString();
  EXPECT_EQ(Bytes(path), "ancien plan");
  EXPECT_TRUE(form_->Editor->Modified());
  EXPECT_TRUE(form_->Editor->FilePath.empty());

  // Cancelling the dialog is not a failure: nothing is said.
  script_.saveFile.clear();
  EXPECT_FALSE(form_->mlEnregistrerSousClick());
  EXPECT_EQ(script_.errors.size(), 1u);
}

TEST_F(PlanFilesTest, AFileThatCannotBeReadIsReportedAndThePlanOnScreenStays) {
  Change();
  const QString broken = InHome("casse.plan");
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<?xml version=\"1.0\"?><Casavo><plan");
  file.close();
  script_.saveChoice = SaveChoice::Discard;
  EXPECT_FALSE(form_->OpenPlanFile(broken));
  ASSERT_EQ(script_.errors.size(), 1u);
  EXPECT_TRUE(script_.errors[0].contains(broken));
  EXPECT_EQ(Plan().WallCount, 1);
  EXPECT_FALSE(form_->OpenPlanFile(InHome("absent.plan")));
  EXPECT_TRUE(script_.errors[1].contains("introuvable")) << script_.errors[1].toStdString();
}

TEST_F(PlanFilesTest, TheCloseQuestionAndItsThreeAnswers) {
  Change();
  script_.saveChoice = SaveChoice::Cancel;
  EXPECT_FALSE(form_->close());
  EXPECT_EQ(script_.saveQuestions, std::vector<QString>{"Plan sans nom"});
  EXPECT_EQ(Plan().WallCount, 1);

  // "Enregistrer" asks for a file, and a cancelled file dialog keeps the window.
  script_.saveChoice = SaveChoice::Save;
  EXPECT_FALSE(form_->close());
  EXPECT_EQ(script_.suggestedNames, std::vector<QString>{"Plan sans nom.plan"});
  script_.saveFile = InHome("maison.plan");
  EXPECT_TRUE(form_->close());
  EXPECT_EQ(Bytes(InHome("maison.plan")).toStdString(), WritePlanXml(Plan()));
  EXPECT_FALSE(QFile::exists(RecoveryFile()));
}

TEST_F(PlanFilesTest, OpeningAFileAsksFirstAndCancelKeepsThePlan) {
  Change();
  script_.openFile = Example("studio.plan");
  script_.saveChoice = SaveChoice::Cancel;
  form_->Editor->Disarm();
  QTest::keyClick(form_.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(script_.saveQuestions.size(), 1u);
  EXPECT_EQ(Plan().WallCount, 1);
  EXPECT_EQ(form_->Editor->Mode, TCasa::ModeSelect) << "Ctrl+O arms no tool";

  script_.saveChoice = SaveChoice::Discard;
  QTest::keyClick(form_.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_GT(Plan().WallCount, 1);
  EXPECT_EQ(ReadPlanText(), WritePlanXml(Plan())) << "the recovery file follows the load";
}

TEST_F(PlanFilesTest, AMissingRecentFileIsDroppedAndADroppedPlanOpens) {
  const QString copy = InHome("copie.plan");
  QFile::copy(Example("studio.plan"), copy);
  ASSERT_TRUE(form_->OpenPlanFile(copy));
  ASSERT_TRUE(form_->OpenPlanFile(Example("maison_familiale.plan")));
  QFile::remove(copy);
  EXPECT_FALSE(form_->OpenPlanFile(copy));
  EXPECT_EQ(form_->RecentFiles(), QStringList{Example("maison_familiale.plan")});

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Example("studio.plan"))});
  QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(form_.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(form_.get(), &drop);
  EXPECT_EQ(form_->PlanName(), "studio.plan");
}

}  // namespace
}  // namespace casavo
