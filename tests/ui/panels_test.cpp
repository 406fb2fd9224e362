// Tests of the property panels.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>

#include "ui/room_palette.h"
#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

class PanelsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start();
  }
  TPoint Corner(int32_t c) { return Plan().Corners[c]; }
  TPoint WallEnd(int32_t w, bool c1) {
    return Corner(c1 ? Plan().Walls[w].C1 : Plan().Walls[w].C2);
  }
  // A closed 4 m x 3 m room with rooms shown; returns its key.
  std::string AddRoom() {
    Plan().AddWall({5000, 5000}, {9000, 5000});
    Plan().AddWall({9000, 5000}, {9000, 8000});
    Plan().AddWall({9000, 8000}, {5000, 8000});
    Plan().AddWall({5000, 8000}, {5000, 5000});
    form_->cbPiece->setChecked(true);
    Plan().RefreshGeometry();
    EXPECT_EQ(Plan().RoomCount, 1);
    return Plan().Rooms[1].hash;
  }
};

TEST_F(PanelsTest, WallLengthKeepsTheChosenEndAndTheDirectionOneStepPerEdit) {
  const int32_t w = Plan().AddWall({1000, 1000}, {4000, 5000});
  Select(w, kSelWall);
  EXPECT_FALSE(form_->pMur->isHidden());
  EXPECT_FALSE(form_->pFichier->isHidden()) << "the file commands stay in reach";
  EXPECT_EQ(form_->ueMurLong->ValueStr(), "5,00 m") << "wall lengths show in metres";
  EXPECT_EQ(form_->ueMurEpais->ValueStr(), "25,00 cm") << "thicknesses in centimetres";
  const size_t snapshots = form_->Editor->UndoSnapshots.size();

  Type(form_->ueMurLong, "2,5");
  EXPECT_EQ(WallEnd(w, true), (TPoint{1000, 1000}));
  EXPECT_EQ(WallEnd(w, false), (TPoint{2500, 3000}));
  EXPECT_EQ(form_->Editor->UndoLabels.back(), "Modification mur");
  EXPECT_TRUE(form_->Editor->hasFocus()) << "Enter gives the keys back to the plan";

  form_->cbMurPointAB->setCurrentIndex(1);
  Type(form_->ueMurLong, "100 cm");
  EXPECT_EQ(WallEnd(w, false), (TPoint{2500, 3000}));
  EXPECT_EQ(WallEnd(w, true), (TPoint{1900, 2200}));

  Type(form_->ueMurEpais, "30");
  EXPECT_EQ(Plan().Walls[w].epais, 300);
  EXPECT_EQ(form_->Editor->UndoSnapshots.size(), snapshots + 3) << "each edit is one step";

  // Unreadable text is never applied, and the status bar says what is expected.
  Type(form_->ueMurEpais, "abc");
  EXPECT_EQ(Plan().Walls[w].epais, 300);
  EXPECT_TRUE(form_->StatusBar->currentMessage().contains("n'est pas une longueur"));
  EXPECT_EQ(form_->Editor->UndoSnapshots.size(), snapshots + 3);

  // One undo takes back the thickness alone.
  form_->mlAnnulerClick();
  EXPECT_EQ(Plan().Walls[w].epais, 250);
  EXPECT_EQ(WallEnd(w, true), (TPoint{1900, 2200}));
}

TEST_F(PanelsTest, OpeningWiderThanItsWallIsClampedAndShownClamped) {
  const int32_t w = Plan().AddWall({5000, 5000}, {8000, 5000});
  // Type and shutter codes that the lists do not offer.
  const int32_t k = Plan().AddOpening(w, 900, 1500, 5, 7, 0);
  Select(k, kSelOpening);
  EXPECT_EQ(form_->ueTrouLarge->ValueStr(), "90,00 cm");
  EXPECT_EQ(form_->cbTrouSorte->currentIndex(), -1);
  EXPECT_EQ(form_->cbTrouVolet->currentIndex(), -1);

  // The width may not exceed the wall: refused with the bounds named.
  Type(form_->ueTrouLarge, "500");
  EXPECT_EQ(Plan().Openings[k].large, 900);
  EXPECT_TRUE(form_->StatusBar->currentMessage().contains("entre 1,00 cm et 300,00 cm"))
      << form_->StatusBar->currentMessage().toStdString();
  Type(form_->ueTrouLarge, "3 m");
  const TOpening& opening = Plan().Openings[k];
  EXPECT_EQ(opening.large, 3000);
  EXPECT_EQ(form_->ueTrouLarge->ValueStr(), "3,00 m");
  EXPECT_GE(opening.dcoin1 - opening.large / 2, 0) << "the opening stays inside its wall";
  EXPECT_LE(opening.dcoin1 + opening.large / 2, 3000);
  EXPECT_EQ(opening.sorte, 5) << "an edit of the width keeps codes the lists do not show";
  EXPECT_EQ(opening.volet, 7);
}

TEST_F(PanelsTest, DistanceFromTheOtherEndShowsTheSameOpeningFromThere) {
  const int32_t w = Plan().AddWall({5000, 5000}, {9000, 5000});
  const int32_t k = Plan().AddOpening(w, 900, 1000, 2001, 2, 1);
  Select(k, kSelOpening);
  EXPECT_EQ(form_->ueTroudCoin1->ValueStr(), "0,55 m");
  EXPECT_EQ(form_->cbTrouSorte->currentText(), QString::fromUtf8("Fenêtre centré"));
  EXPECT_EQ(form_->cbTrouVolet->currentText(), "Gauche");
  EXPECT_TRUE(form_->cbTrouCote->isChecked());

  form_->cbTrouPointAB->setCurrentIndex(1);
  EXPECT_EQ(form_->ueTroudCoin1->ValueStr(), "2,55 m");
  EXPECT_EQ(Plan().Openings[k].dcoin1, 1000) << "switching the end moves nothing";

  Type(form_->ueTroudCoin1, "1");
  EXPECT_EQ(Plan().Openings[k].dcoin1, 4000 - 1000 - 450);
  form_->cbTrouSorte->setCurrentIndex(3);
  form_->cbTrouCote->setChecked(false);
  EXPECT_EQ(Plan().Openings[k].sorte, 1011);
  EXPECT_EQ(Plan().Openings[k].cote, 0);
  EXPECT_EQ(Plan().Openings[k].volet, 2);
}

TEST_F(PanelsTest, AnOpeningFarAlongALongWallKeepsItsPlaceThroughATypeChange) {
  const int32_t w = Plan().AddWall({5000, 5000}, {17000, 5000});
  const int32_t k = Plan().AddOpening(w, 900, 11200, 1002, 0, 0);
  Select(k, kSelOpening);
  EXPECT_EQ(form_->ueTroudCoin1->ValueStr(), "10,75 m");
  form_->cbTrouSorte->setCurrentIndex(4);
  EXPECT_EQ(Plan().Openings[k].sorte, 2001);
  EXPECT_EQ(Plan().Openings[k].dcoin1, 11200);
  Type(form_->ueTroudCoin1, "12,5");
  EXPECT_EQ(Plan().Openings[k].dcoin1, 11200) << "beyond the wall: refused";
  Type(form_->ueTroudCoin1, "11");
  EXPECT_EQ(Plan().Openings[k].dcoin1, 11450);
}

TEST_F(PanelsTest, RoomNameTypeAndColourAreStoredTogetherUnderTheRoomKey) {
  const std::string key = AddRoom();
  Plan().RoomKinds.SetValue(key, "Grenier");
  Select(1, kSelRoom);
  EXPECT_FALSE(form_->pPiece->isHidden());
  EXPECT_EQ(form_->cbPieceSorte->currentIndex(), 0) << "an unknown type shows the blank item";
  EXPECT_EQ(form_->sPieceCouleur->Colour(), QColor(230, 230, 230));
  EXPECT_TRUE(form_->Editor->PendingUndoLabel.empty()) << "filling the panel writes nothing";

  form_->ePieceNom->setText(QString::fromUtf8("Séjour"));
  EXPECT_EQ(Plan().RoomNames.Value(key), "Séjour");
  EXPECT_EQ(Plan().RoomKinds.Value(key), " ");
  EXPECT_EQ(Plan().RoomColours.Value(key), "E6E6E6");
  EXPECT_EQ(form_->Editor->PendingUndoLabel, "Modification pièce");

  // The name is one step once the user is done typing it.
  const size_t steps = form_->Editor->UndoLabels.size();
  emit form_->ePieceNom->editingFinished();
  EXPECT_EQ(form_->Editor->UndoLabels.size(), steps + 1);
  EXPECT_EQ(form_->Editor->UndoLabels.back(), "Modification pièce");
  EXPECT_TRUE(form_->Editor->PendingUndoLabel.empty());

  // The box offers the soft colours, each one step; "Autre couleur…" opens
  // the dialog, whose cancel changes nothing.
  const auto pick = [&](const char* button) {
    QTest::mouseClick(form_->sPieceCouleur, Qt::RightButton);
    auto* palette = form_->findChild<RoomPalettePopup*>();
    ASSERT_NE(palette, nullptr);
    palette->findChild<QPushButton*>(button)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form_->findChild<RoomPalettePopup*>(), nullptr) << "a choice closes it";
  };
  pick("couleurC8E8DE");
  EXPECT_EQ(Plan().RoomColours.Value(key), "C8E8DE");
  EXPECT_EQ(form_->Editor->UndoLabels.size(), steps + 2);
  pick("autreCouleur");
  EXPECT_EQ(Plan().RoomColours.Value(key), "C8E8DE");
  script_.colour = QColor(10, 20, 30);
  pick("autreCouleur");
  EXPECT_EQ(script_.colourRequests, 2);
  EXPECT_EQ(Plan().RoomColours.Value(key), "0A141E");

  // The stored type is found whatever its letter case.
  Plan().RoomKinds.SetValue(key, "cuisine");
  Select(0, kSelNothing);
  Select(1, kSelRoom);
  EXPECT_EQ(form_->cbPieceSorte->currentText(), "Cuisine");
  EXPECT_EQ(form_->sPieceCouleur->Colour(), QColor(10, 20, 30));
}

// A room without a name takes its type's; a named room keeps its name.
TEST_F(PanelsTest, ChoosingATypeNamesAnUnnamedRoom) {
  const std::string key = AddRoom();
  Select(1, kSelRoom);
  const size_t steps = form_->Editor->UndoLabels.size();
  form_->cbPieceSorte->setCurrentIndex(form_->cbPieceSorte->findText("Salle de bain et  WC"));
  EXPECT_EQ(Plan().RoomNames.Value(key), "Salle de bain et WC");
  EXPECT_EQ(form_->ePieceNom->text(), "Salle de bain et WC");
  EXPECT_EQ(form_->Editor->UndoLabels.size(), steps + 1);
  form_->cbPieceSorte->setCurrentIndex(form_->cbPieceSorte->findText("Chambre"));
  EXPECT_EQ(Plan().RoomNames.Value(key), "Salle de bain et WC");
  EXPECT_EQ(Plan().RoomKinds.Value(key), "Chambre");
}

TEST_F(PanelsTest, ObjectNameTypedBecomesOneStepAtTheNextPressOnThePlan) {
  form_->mlAjouterObjetClick();
  EXPECT_TRUE(form_->cbVoirObjet->isChecked());
  EXPECT_TRUE(Plan().ShowObjects);
  const int32_t o = Plan().AddObjet(6000, 6000, 600, 600, 0, 0, "Objet");
  form_->Editor->Disarm();
  Select(o, kSelObject);
  const size_t snapshots = form_->Editor->UndoSnapshots.size();

  for (QChar letter : QString::fromUtf8("Table"))
    QTest::keyClick(form_->eObjetNom, letter.toLatin1());
  EXPECT_EQ(Plan().Objects[o].nom, "ObjetTable");
  EXPECT_EQ(form_->Editor->UndoSnapshots.size(), snapshots);

  QTest::mouseClick(form_->Editor, Qt::LeftButton, {}, QPoint(700, 500));
  ASSERT_EQ(form_->Editor->UndoSnapshots.size(), snapshots + 1);
  EXPECT_EQ(form_->Editor->UndoLabels.back(), "Modification objet");
  QTest::mouseClick(form_->Editor, Qt::LeftButton, {}, QPoint(700, 500));
  EXPECT_EQ(form_->Editor->UndoSnapshots.size(), snapshots + 1);
}

TEST_F(PanelsTest, SelectedWallThicknessIsUsedForTheNextWallDrawn) {
  const int32_t w = Plan().AddWallOfThickness({5000, 5000}, {9000, 5000}, 200);
  Select(w, kSelWall);
  Select(0, kSelNothing);
  DrawWall(QPoint(100, 450), QPoint(400, 450));
  ASSERT_EQ(Plan().WallCount, 2);
  EXPECT_EQ(Plan().Walls[2].epais, 200);
}

TEST_F(PanelsTest, ZoomSliderLabelAndClickOnTheLabelKeepTheMiddleOfTheView) {
  EXPECT_EQ(form_->tbZoom->value(), 50);
  form_->SetZoom(1.0);
  EXPECT_EQ(form_->tbZoom->value(), 500);
  EXPECT_EQ(form_->lZoom->Caption(), "Zoom : 1000 %");
  EXPECT_DOUBLE_EQ(Plan().zx, 1.0) << "the slider's limit does not change the zoom";

  form_->SetZoom(0.05);
  const QPoint middle(Plan().ViewWidth / 2, Plan().ViewHeight / 2);
  const TPoint centre = Plan().ScreenToPlan({middle.x(), middle.y()});
  Click(form_->lZoom);
  EXPECT_EQ(form_->tbZoom->value(), 100);
  EXPECT_EQ(form_->lZoom->Caption(), "Zoom : 100 %");
  EXPECT_DOUBLE_EQ(Plan().zx, 0.1);
  const TPoint after = Plan().PlanToScreen(centre);
  EXPECT_NEAR(after.x, middle.x(), 1);
  EXPECT_NEAR(after.y, middle.y(), 1);

  form_->tbZoom->triggerAction(QSlider::SliderSingleStepAdd);
  EXPECT_EQ(form_->tbZoom->value(), 110);
  EXPECT_DOUBLE_EQ(Plan().zx, 0.11);
}

TEST_F(PanelsTest, DisplayBoxesSwitchThePlanAndObjectNamesFollowObjects) {
  form_->cbDimension->setChecked(true);
  form_->cbPiece->setChecked(true);
  form_->cbProbleme->setChecked(false);
  EXPECT_TRUE(Plan().ShowDimensions);
  EXPECT_TRUE(Plan().ShowRooms);
  EXPECT_FALSE(Plan().ShowProblems);
  // Furniture shows from the start, and its switch is in "Affichage".
  EXPECT_TRUE(form_->cbVoirObjet->isChecked() && Plan().ShowObjects);
  EXPECT_EQ(form_->cbVoirObjet->parentWidget(), form_->pAffichage);

  form_->cbVoirObjet->setChecked(false);
  EXPECT_TRUE(form_->cbVoirNomObjet->isHidden());
  form_->cbVoirObjet->setChecked(true);
  EXPECT_FALSE(form_->cbVoirNomObjet->isHidden());
  form_->cbVoirNomObjet->setChecked(true);
  EXPECT_TRUE(Plan().ShowObjects && Plan().ShowObjectNames);
  form_->cbVoirObjet->setChecked(false);
  EXPECT_TRUE(form_->cbVoirNomObjet->isHidden());
  EXPECT_FALSE(Plan().ShowObjects);
  EXPECT_TRUE(form_->pDebug->isHidden());
}

}  // namespace
}  // namespace casavo
