// Tests of undo, redo, autosave and the recovery file.

#include <QFile>
#include <filesystem>

#include "editor_fixture.h"
#include "files/plan_file.h"
#include "files/plan_xml.h"

namespace casavo::testing {
namespace {

const QString kRecoveryQuestion = QString::fromUtf8(
    "Casavo a planté à la dernière utilisation. Votre plan n'est pas perdu.\r\n"
    "Voulez vous recharger votre plan ?");

class UndoHistory : public EditorTest {
 protected:
  std::string RecoveryPath() const { return TCasa::RecoveryFilePath(); }
  bool RecoveryExists() const { return std::filesystem::exists(RecoveryPath()); }
  std::string RecoveryBytes() const {
    QFile file(QString::fromStdString(RecoveryPath()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
  }
  // The recovery file holds what the user sees, and the history agrees.
  void ExpectRecoveryShowsThePlan() {
    EXPECT_EQ(RecoveryBytes(), WritePlanXml(plan()));
    EXPECT_EQ(casa->UndoSnapshots.back(), WritePlanXml(plan()));
  }
  void LeaveCrashedPlan(int walls) {
    auto crashed = std::make_unique<TCasaPlan>();
    crashed->zx = crashed->zy = 0.05;
    for (int i = 0; i < walls; ++i)
      crashed->AddWall({5000, 5000 + 1000 * i}, {8000, 5000 + 1000 * i});
    SavePlanFile(*crashed, RecoveryPath());
  }
};

TEST_F(UndoHistory, TheFirstChangeIsUndoneAndRedoneLikeAnyOther) {
  EXPECT_FALSE(casa->UndoAvailable());
  EXPECT_FALSE(casa->Modified());
  DrawWallGesture(200, 300, 400, 300);
  ASSERT_TRUE(casa->UndoAvailable());
  EXPECT_TRUE(casa->Modified());
  casa->Undo();
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_FALSE(casa->UndoAvailable());
  EXPECT_FALSE(casa->Modified()) << "back to the state it was created in";
  ASSERT_TRUE(casa->RedoAvailable());
  EXPECT_EQ(casa->RedoLabels.back(), "Déplacer un coin");
  casa->Redo();
  EXPECT_EQ(plan().WallCount, 1);
  EXPECT_FALSE(casa->RedoAvailable());
}

TEST_F(UndoHistory, ANewChangeDropsWhatCouldBeRedone) {
  DrawWallGesture(200, 300, 400, 300);
  DrawWallGesture(200, 400, 400, 400);
  casa->Undo();
  casa->Undo();
  EXPECT_EQ(casa->RedoLabels.size(), 2u);
  DrawWallGesture(200, 500, 400, 500);
  EXPECT_FALSE(casa->RedoAvailable());
  casa->Redo();
  EXPECT_EQ(plan().WallCount, 1);
}

TEST_F(UndoHistory, KeysUndoAndRedo) {
  DrawWallGesture(200, 300, 400, 300);
  QTest::keyClick(casa.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(plan().WallCount, 0);
  QTest::keyClick(casa.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(plan().WallCount, 1);
  QTest::keyClick(casa.get(), Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(casa.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(plan().WallCount, 1);
}

TEST_F(UndoHistory, PendingPanelTextIsAStepOfItsOwnBeforeAnUndo) {
  DrawWallGesture(200, 300, 400, 300);
  plan().Walls[1].epais = 300;
  casa->PendingUndoLabel = "Modification mur";
  EXPECT_TRUE(casa->Modified());
  casa->Undo();
  EXPECT_EQ(plan().WallCount, 1) << "only the panel edit is undone";
  EXPECT_NE(plan().Walls[1].epais, 300);
  casa->Redo();
  EXPECT_EQ(plan().Walls[1].epais, 300);
}

TEST_F(UndoHistory, RecoveryFileFollowsEveryStepUndoAndRedo) {
  EXPECT_EQ(RecoveryPath(), folder.path().toStdString() + "/LastUndo.plan");
  DrawWallGesture(200, 300, 400, 300);
  ExpectRecoveryShowsThePlan();
  DrawWallGesture(200, 400, 400, 400);
  ExpectRecoveryShowsThePlan();
  casa->Undo();
  ExpectRecoveryShowsThePlan();
  casa->Redo();
  ExpectRecoveryShowsThePlan();
  TCasa::DeleteRecoveryFile();
  EXPECT_FALSE(RecoveryExists());
}

TEST_F(UndoHistory, AnotherUsersPlanIsNeverWrittenToTheRecoveryFile) {
  WriteSetting("Login", "alice");
  casa->PlanInfo.Createur = "bob";
  DrawWallGesture(200, 300, 400, 300);
  EXPECT_FALSE(RecoveryExists());
  casa->PlanInfo.Createur = "Alice";  // the comparison is exact
  DrawWallGesture(200, 400, 400, 400);
  EXPECT_FALSE(RecoveryExists());
  casa->PlanInfo.Createur = "alice";
  DrawWallGesture(200, 500, 400, 500);
  ExpectRecoveryShowsThePlan();
}

TEST_F(UndoHistory, FailedRecoveryWriteKeepsTheHistoryAndIsReported) {
  SetAppFolder(folder.path().toStdString() + "/missing/folder/");
  DrawWallGesture(200, 300, 400, 300);
  EXPECT_EQ(casa->UndoSnapshots.size(), 2u);
  EXPECT_EQ(LastMessage().rfind("Sauvegarde de secours impossible : ", 0), 0u) << LastMessage();

  SetAppFolder("");  // no application folder: nothing to write, nothing to say
  messages.clear();
  DrawWallGesture(200, 400, 400, 400);
  EXPECT_EQ(casa->UndoSnapshots.size(), 3u);
  EXPECT_EQ(LastMessage().find("Sauvegarde"), std::string::npos);
}

TEST_F(UndoHistory, RecoveryIsOfferedForAPlanLeftBehindWithTheFileItBelongedTo) {
  EXPECT_FALSE(casa->OfferRecovery());
  EXPECT_TRUE(dialogs->asked.empty());

  LeaveCrashedPlan(1);
  dialogs->answers = {false};
  EXPECT_FALSE(casa->OfferRecovery());
  EXPECT_EQ(dialogs->asked, std::vector<QString>{kRecoveryQuestion});
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_TRUE(RecoveryExists());

  QFile origin(folder.path() + "/LastUndo.fichier");
  ASSERT_TRUE(origin.open(QIODevice::WriteOnly));
  origin.write("/home/alice/maison.plan");
  origin.close();
  dialogs->answers = {true};
  EXPECT_TRUE(casa->OfferRecovery());
  EXPECT_EQ(plan().WallCount, 1);
  EXPECT_EQ(plan().zx, 0.05);
  EXPECT_EQ(casa->UndoLabels, std::vector<std::string>{"Plan de départ"});
  EXPECT_EQ(casa->FilePath, "/home/alice/maison.plan");
  EXPECT_TRUE(casa->Modified()) << "a recovered plan is saved nowhere yet";
  ExpectRecoveryShowsThePlan();
}

TEST_F(UndoHistory, AnEmptyPlanLeftBehindIsNotOffered) {
  LeaveCrashedPlan(0);
  EXPECT_FALSE(casa->OfferRecovery());
  EXPECT_TRUE(dialogs->asked.empty());
  EXPECT_FALSE(RecoveryExists());
}

TEST_F(UndoHistory, UnreadableRecoveryFileLeavesAnEmptyPlanAndSaysWhy) {
  QFile file(QString::fromStdString(RecoveryPath()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<?xml version=\"1.0\"?><Casavo><plan");
  file.close();
  dialogs->answers = {true};
  EXPECT_FALSE(casa->OfferRecovery());
  EXPECT_EQ(LastMessage().rfind("Impossible de recharger le plan : ", 0), 0u) << LastMessage();
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_FALSE(casa->UndoAvailable());
  EXPECT_TRUE(RecoveryExists());
}

}  // namespace
}  // namespace casavo::testing
