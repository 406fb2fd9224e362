// Tests of the main window: start, title, tools, shortcuts.

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QLocale>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

const QString kWallTip = QString::fromUtf8(
    "Pour tracer un mur, cliquez sur le plan puis déplacez la souris en la maintenant appuyé. "
    "L'outil reste actif : Échap ou un clic droit le pose.");
const QString kMKeyTip = QString::fromUtf8(
    "Vous pouvez cliquer sur la touche \"M\" du clavier pour tracer un nouveau mur.");
const QString kNewPlanTip = QString::fromUtf8(
    "Nouveau plan vierge. Vous pouvez maintenant tracer des murs et des ouvertures.");

// Without a title the caption names the authors and the current month.
QString UntitledCaption() {
  const QString month =
      QLocale(QLocale::French).toString(QDate::currentDate(), QStringLiteral("MMMM yyyy"));
  return QString::fromUtf8("Casavo V2.2 - par l'équipe Casavo, ") + month;
}

// Stands in for the online part: a plain widget as the web view, and counts.
class FakeOnline : public OnlineService {
 public:
  QWidget* WebView() override { return &view; }
  void NavigateHome(bool wait) override { homes.push_back(wait); }
  void LoadPlanCommand() override { ++loads; }
  void SavePlanCommand() override { ++saves; }

  QWidget view;
  std::vector<bool> homes;
  int loads = 0;
  int saves = 0;
};

class MainWindowTest : public WindowTest {
 protected:
  void StartOnline() {
    auto online = std::make_unique<FakeOnline>();
    online_ = online.get();
    Start(std::move(online));
  }
  // Walls side by side, none crossing another.
  void AddWalls(int count) {
    for (int i = 0; i < count; ++i)
      Plan().AddWall({5000 + 2000 * i, 5000}, {5000 + 2000 * i, 8000});
  }

  FakeOnline* online_ = nullptr;
};

TEST_F(MainWindowTest, StartsOnAnEmptyPlanWithTheFileAndActionCommandsStacked) {
  Start();
  EXPECT_EQ(form_->windowTitle(), UntitledCaption());
  EXPECT_EQ(form_->lZoom->Caption(), "Zoom : 50 %");
  EXPECT_DOUBLE_EQ(Plan().zx, 0.05);
  EXPECT_TRUE(Plan().ShowProblems);
  EXPECT_TRUE(form_->mlAnnuler->isHidden());
  EXPECT_FALSE(form_->mlNouveauPlan->isEnabled());
  // New, open, save, save as, recent, load, save online, export, print, help,
  // import a plan to trace.
  EXPECT_EQ(form_->FileSection->ContentHeight, 4 + 11 * (18 + 4));
  EXPECT_EQ(form_->mlImprimer->y(), form_->mlExporter->y() + 18 + 4);
  EXPECT_EQ(form_->mlAide->y(), form_->mlImprimer->y() + 18 + 4);
  EXPECT_EQ(form_->ActionSection->ContentHeight, 4 + 2 * (18 + 4));
  EXPECT_EQ(form_->mlAjouterOuverture->y(), 4 + 18 + 4);
  EXPECT_TRUE(form_->pMur->isHidden() && form_->pTrou->isHidden() && form_->pPiece->isHidden());
  EXPECT_EQ(form_->Editor->geometry(), form_->ClientArea->rect());
  EXPECT_EQ(form_->Editor->width(), 1000 - 209);
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 0);
  // Every field starts at 10 cm until a selection fills it, in millimetres.
  EXPECT_EQ(form_->ueMurEpais->ValueStr(), "10,00 cm");
  EXPECT_DOUBLE_EQ(form_->ueMurEpais->Value(), 100.0);
  EXPECT_TRUE(script_.questions.empty()) << "no recovery file, no question";
  EXPECT_FALSE(form_->WebViewShown()) << "without the online part the editor shows";
}

TEST_F(MainWindowTest, NewPlanIsOfferedOnlyWithWallsAndAsksBeforeChangesAreLost) {
  Start();
  AddWalls(1);
  form_->Editor->PushUndo("mur");
  Select(0, kSelNothing);
  ASSERT_TRUE(form_->mlNouveauPlan->isEnabled());
  form_->Editor->PlanInfo.Titre = "Maison";
  form_->UpdateTitle();
  EXPECT_EQ(form_->windowTitle(), "Casavo V2.2 - Maison*") << "changes saved nowhere";

  // "Annuler" keeps the plan.
  Click(form_->mlNouveauPlan);
  EXPECT_EQ(script_.saveQuestions, std::vector<QString>{"Maison"});
  EXPECT_EQ(Plan().WallCount, 1);

  script_.saveChoice = SaveChoice::Discard;
  Plan().zx = Plan().zy = 0.2;
  Click(form_->mlNouveauPlan);
  EXPECT_EQ(Plan().WallCount, 0);
  EXPECT_DOUBLE_EQ(Plan().zx, 0.05);
  EXPECT_EQ(form_->Editor->PlanInfo.Titre, "");
  EXPECT_EQ(form_->Editor->PlanInfo.Partage, 3);
  EXPECT_EQ(form_->windowTitle(), UntitledCaption());
  EXPECT_EQ(form_->Tips->Text(), kNewPlanTip);
  EXPECT_FALSE(form_->mlNouveauPlan->isEnabled());

  // Disabled: a click asks nothing.
  Click(form_->mlNouveauPlan);
  EXPECT_EQ(script_.saveQuestions.size(), 2u);
  EXPECT_TRUE(script_.questions.empty());
}

TEST_F(MainWindowTest, WallTipShowsInTheBarUntilTickedThenTheMKeyTipNeedsMoreThanThreeWalls) {
  Start();
  AddWalls(3);
  Click(form_->mlTracerMur);
  EXPECT_EQ(form_->Editor->Mode, TCasa::ModeDrawWall);
  EXPECT_EQ(form_->StatusBar->currentMessage(),
            QString::fromUtf8("Cliquez sur le plan et déplacez la souris pour tracer le mur."));
  EXPECT_EQ(form_->Tips->Text(), kWallTip);
  EXPECT_TRUE(script_.tips.empty()) << "no dialog interrupts the user";
  Click(form_->Tips->CloseButton());
  EXPECT_EQ(form_->Tips->Text(), "");
  Click(form_->mlTracerMur);
  EXPECT_EQ(form_->Tips->Text(), kWallTip);
  form_->Tips->NeverAgain()->setChecked(true);
  EXPECT_TRUE(form_->Tips->isHidden());

  Click(form_->mlTracerMur);
  EXPECT_EQ(form_->Tips->Text(), "") << "3 walls: no tip at all";
  AddWalls(4);
  Click(form_->mlTracerMur);
  EXPECT_EQ(form_->Tips->Text(), kMKeyTip);

  // The choice is kept in the settings: a new run shows nothing either.
  Stop();
  Start();
  AddWalls(1);
  Click(form_->mlTracerMur);
  EXPECT_EQ(form_->Tips->Text(), "");
}

TEST_F(MainWindowTest, AddingAnOpeningWithoutWallsWarnsButStillArmsTheTool) {
  Start();
  Click(form_->mlAjouterOuverture);
  EXPECT_EQ(form_->Tips->Text(),
            QString::fromUtf8("Avant de placer une ouverture, vous devez tracer un mur."));
  EXPECT_EQ(form_->Editor->Mode, TCasa::ModeAddOpening);
  QTest::mouseClick(form_->Editor, Qt::LeftButton, {}, QPoint(300, 200));
  EXPECT_EQ(Plan().OpeningCount, 0);
  EXPECT_EQ(form_->Editor->Mode, TCasa::ModeAddOpening) << "the tool stays armed";

  AddWalls(1);
  Click(form_->mlAjouterOuverture);
  EXPECT_EQ(form_->Tips->Text(),
            QString::fromUtf8("Pour placer une ouverture, cliquez sur un mur du plan."));
}

TEST_F(MainWindowTest, UndoAndRedoShowWithTheirLabelsOnlyWhileTheyApply) {
  Start();
  DrawWall(QPoint(200, 300), QPoint(400, 300));
  ASSERT_FALSE(form_->mlAnnuler->isHidden()) << "the first change can be undone";
  EXPECT_TRUE(form_->mlRetablir->isHidden());
  EXPECT_EQ(form_->mlAnnuler->toolTip(), QString::fromUtf8("Déplacer un coin"));
  EXPECT_EQ(form_->ActionSection->ContentHeight, 4 + 3 * (18 + 4));

  Click(form_->mlAnnuler);
  EXPECT_EQ(Plan().WallCount, 0);
  EXPECT_TRUE(form_->mlAnnuler->isHidden());
  ASSERT_FALSE(form_->mlRetablir->isHidden());
  EXPECT_EQ(form_->mlRetablir->toolTip(), QString::fromUtf8("Déplacer un coin"));
  EXPECT_EQ(form_->windowTitle(), UntitledCaption()) << "back to the state it started from";

  // Ctrl+Y wherever the focus is; Ctrl+Z too.
  const uint8_t tool = form_->Editor->Mode;
  QTest::keyClick(form_.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Plan().WallCount, 1);
  EXPECT_TRUE(form_->mlRetablir->isHidden());
  QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Plan().WallCount, 0);
  QTest::keyClick(form_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Plan().WallCount, 1);
  EXPECT_EQ(form_->Editor->Mode, tool) << "no shortcut changes the tool";
}

TEST_F(MainWindowTest, HelpSwitchesBetweenTheWebViewAndTheEditor) {
  StartOnline();
  // At start the home page shows, without waiting for it.
  EXPECT_EQ(online_->homes, std::vector<bool>{false});
  EXPECT_TRUE(form_->WebViewShown());
  EXPECT_EQ(online_->view.geometry(), form_->ClientArea->rect());
  EXPECT_TRUE(form_->pAction->isHidden());
  EXPECT_TRUE(form_->pAffichage->isHidden());
  EXPECT_EQ(form_->mlAide->Caption(), QString::fromUtf8("Retour a l'éditeur"));

  Click(form_->mlAide);
  EXPECT_FALSE(form_->WebViewShown());
  EXPECT_EQ(online_->view.size(), QSize(0, 0));
  EXPECT_FALSE(form_->pAction->isHidden());
  EXPECT_EQ(form_->mlAide->Caption(), "Aide et site internet");
  Click(form_->mlAide);
  EXPECT_TRUE(form_->WebViewShown());
  EXPECT_EQ(online_->homes.size(), 1u) << "the help toggle loads no page";

  // "Annuler" from the web view returns to the editor first, then undoes.
  form_->Editor->PushUndo("vide");
  AddWalls(1);
  form_->Editor->PushUndo("mur");
  form_->mlAnnulerClick();
  EXPECT_FALSE(form_->WebViewShown());
  EXPECT_EQ(Plan().WallCount, 0);

  Click(form_->mlChargerPlan);
  Click(form_->mlSauverPlan);
  EXPECT_EQ(online_->loads, 1);
  EXPECT_EQ(online_->saves, 1);
}

TEST_F(MainWindowTest, OnlineCommandsWithoutTheServiceSaySoAndChangeNothing) {
  Start();
  Click(form_->mlChargerPlan);
  Click(form_->mlSauverPlan);
  Click(form_->mlAide);
  ASSERT_EQ(script_.tips.size(), 2u);
  EXPECT_TRUE(script_.tips[0].contains("service en ligne n'est pas disponible"));
  EXPECT_EQ(script_.tipBoxes, (std::vector<bool>{false, false}));
  EXPECT_FALSE(form_->WebViewShown());
  EXPECT_FALSE(form_->pAction->isHidden());
}

TEST_F(MainWindowTest, AnExceptionInAHandlerShowsAnErrorBoxAndTheWindowGoesOn) {
  Start();
  // A wall at the far edge of the coordinate range: making it longer overflows.
  Plan().AddWall({2147400000, 1000}, {2147401000, 1000});
  Select(1, kSelWall);
  Type(form_->ueMurLong, "500 m");
  ASSERT_EQ(script_.errors.size(), 1u);
  EXPECT_FALSE(script_.errors[0].isEmpty());
  EXPECT_EQ(Plan().Corners[Plan().Walls[1].C2].x, 2147401000) << "nothing half applied";
  EXPECT_FALSE(form_->ApplyingEdit);

  // The window still answers: a sound length is applied.
  Type(form_->ueMurLong, "2 m");
  EXPECT_EQ(Plan().Corners[Plan().Walls[1].C2].x, 2147402000);
  EXPECT_EQ(script_.errors.size(), 1u);
}

TEST_F(MainWindowTest, TheDisplaySwitchesAndTheZoomAreKeptFromOneRunToTheNext) {
  Start();
  EXPECT_TRUE(form_->cbPiece->isChecked() && form_->cbDimension->isChecked()) << "shown at first";
  form_->cbDimension->setChecked(false);
  form_->SetZoom(0.2);
  EXPECT_TRUE(form_->close());
  Stop();
  Start();
  EXPECT_FALSE(form_->cbDimension->isChecked());
  EXPECT_FALSE(Plan().ShowDimensions);
  EXPECT_DOUBLE_EQ(Plan().zx, 0.2);
}

}  // namespace
}  // namespace casavo
