#include <QFile>
#include <filesystem>

#include "editor_fixture.h"
#include "files/plan_file.h"

namespace casavo::testing {
namespace {

const QString kRecoveryQuestion = QString::fromUtf8(
    "Casavo à planté à la dernière utilisation. Votre plan n'est pas perdu.\r\n"
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
};

TEST_F(UndoHistory, RecoveryFileHoldsTheLastSnapshotAndSurvivesUndo) {
  EXPECT_EQ(RecoveryPath(), folder.path().toStdString() + "/LastUndo.plan");
  DrawWallGesture(200, 300, 400, 300);
  EXPECT_EQ(RecoveryBytes(), casa->UndoSnapshots.back());
  DrawWallGesture(200, 400, 400, 400);
  const std::string second = casa->UndoSnapshots.back();
  EXPECT_EQ(RecoveryBytes(), second);
  casa->Undo();
  EXPECT_EQ(casa->UndoSnapshots.size(), 1u);
  EXPECT_EQ(RecoveryBytes(), second);  // undo writes nothing
  EXPECT_NE(casa->UndoSnapshots.back(), second);
  TCasa::DeleteRecoveryFile();
  EXPECT_FALSE(RecoveryExists());
}

TEST_F(UndoHistory, AnotherUsersPlanIsNeverWrittenToTheRecoveryFile) {
  WriteSetting("Login", "alice");
  casa->PlanInfo.Createur = "bob";
  DrawWallGesture(200, 300, 400, 300);
  EXPECT_EQ(casa->UndoSnapshots.size(), 1u);
  EXPECT_FALSE(RecoveryExists());
  casa->PlanInfo.Createur = "Alice";  // the comparison is exact
  DrawWallGesture(200, 400, 400, 400);
  EXPECT_FALSE(RecoveryExists());
  casa->PlanInfo.Createur = "alice";
  DrawWallGesture(200, 500, 400, 500);
  EXPECT_EQ(RecoveryBytes(), casa->UndoSnapshots.back());
}

TEST_F(UndoHistory, FailedRecoveryWriteKeepsTheHistoryAndIsReported) {
  SetAppFolder(folder.path().toStdString() + "/missing/folder/");
  DrawWallGesture(200, 300, 400, 300);
  EXPECT_EQ(casa->UndoSnapshots.size(), 1u);
  EXPECT_EQ(casa->UndoLabels.size(), 1u);
  EXPECT_EQ(LastMessage().rfind("Sauvegarde de secours impossible : ", 0), 0u) << LastMessage();

  SetAppFolder("");  // no application folder: nothing to write, nothing to say
  messages.clear();
  DrawWallGesture(200, 400, 400, 400);
  EXPECT_EQ(casa->UndoSnapshots.size(), 2u);
  EXPECT_EQ(LastMessage().find("Sauvegarde"), std::string::npos);
}

TEST_F(UndoHistory, RecoveryIsOfferedOnlyForAFileLeftBehind) {
  EXPECT_FALSE(casa->OfferRecovery());
  EXPECT_TRUE(dialogs->asked.empty());

  auto crashed = std::make_unique<TCasaPlan>();
  crashed->zx = crashed->zy = 0.05;
  crashed->AddWall({5000, 5000}, {8000, 5000});
  SavePlanFile(*crashed, RecoveryPath());

  dialogs->answers = {false};
  EXPECT_FALSE(casa->OfferRecovery());
  EXPECT_EQ(dialogs->asked, std::vector<QString>{kRecoveryQuestion});
  EXPECT_EQ(plan().WallCount, 0);
  EXPECT_TRUE(RecoveryExists());

  dialogs->answers = {true};
  EXPECT_TRUE(casa->OfferRecovery());
  EXPECT_EQ(plan().WallCount, 1);
  EXPECT_EQ(plan().zx, 0.05);
  EXPECT_EQ(casa->UndoLabels, std::vector<std::string>{"Plan de départ"});
  EXPECT_EQ(RecoveryBytes(), casa->UndoSnapshots.back());
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
  EXPECT_TRUE(casa->UndoLabels.empty());
  EXPECT_TRUE(RecoveryExists());
}

}  // namespace
}  // namespace casavo::testing
