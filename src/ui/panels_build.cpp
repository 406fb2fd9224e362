// The controls of the main window, built before the window's creation
// handler runs, as the stored form would hold them.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include "ui/furniture_catalogue.h"
#include "ui/main_window.h"

namespace casavo {
namespace {

constexpr int kMenuWidth = 209;
// Leaves room for the menu's margin and a narrow scroll bar.
constexpr int kPanelWidth = 191;
// The side menu's controls are set a little smaller than the window's text so
// that the longest captions fit the column.
constexpr int kMenuFontPixels = 11;
constexpr int kCommandHeight = 18;

const QColor kSilver{192, 192, 192};

// The longest wall and the thickest wall or largest object a field takes, in
// millimetres, and the units the fields show first.
constexpr double kLongest = 500'000;
constexpr double kThickest = 5'000;
const QString kMetres = QStringLiteral("m");
const QString kCentimetres = QStringLiteral("cm");

QWidget* NewPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->resize(kPanelWidth, 0);
  return panel;
}

QCheckBox* NewCheckBox(const QString& text, bool checked) {
  auto* box = new QCheckBox(text);
  box->setChecked(checked);
  return box;
}

QComboBox* NewComboBox(const QStringList& items) {
  auto* combo = new QComboBox;
  combo->addItems(items);
  return combo;
}

}  // namespace

void TForm1::BuildLayout() {
  resize(1000, 612);
  if (const QScreen* where = screen()) move(where->availableGeometry().center() - rect().center());

  auto* central = new QWidget(this);
  auto* row = new QHBoxLayout(central);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  Panel2 = new QWidget(central);
  Panel2->setFixedWidth(kMenuWidth);
  QPalette silver = Panel2->palette();
  silver.setColor(QPalette::Window, kSilver);
  Panel2->setPalette(silver);
  Panel2->setAutoFillBackground(true);
  QFont menuFont = Panel2->font();
  menuFont.setPixelSize(kMenuFontPixels);
  Panel2->setFont(menuFont);
  auto* column = new QHBoxLayout(Panel2);
  column->setContentsMargins(0, 0, 0, 0);
  ClientArea = new EditorArea(central);
  // Over the top of the plan: showing or closing a tip never moves the drawing.
  Tips = new TipBar(ClientArea);
  row->addWidget(Panel2);
  row->addWidget(ClientArea, 1);
  setCentralWidget(central);

  StatusBar = new QStatusBar(this);
  setStatusBar(StatusBar);
  // Registered before the fields are made, so that each can show its own unit.
  UnitEditBase = new TUnitEditBase(this);
  UnitEditBase->AddUnit(QStringLiteral("mm"), QStringLiteral("milimètre"), 1);
  UnitEditBase->AddUnit(QStringLiteral("cm"), QStringLiteral("centimètre"), 10);
  UnitEditBase->AddUnit(QStringLiteral("m"), QStringLiteral("mètre"), 1000);

  BuildFilePanel();
  BuildActionPanel();
  BuildDisplayPanel();
  BuildFurniturePanel();
  BuildWallPanel();
  BuildOpeningPanel();
  BuildCornerPanel();
  BuildObjectPanel();
  BuildRoomPanel();
  BuildDebugPanel();
}

TkelpMenuLabel* TForm1::MenuCommand(QWidget* panel, const QString& caption, const QString& hint) {
  auto* label = new TkelpMenuLabel(panel);
  label->SetCaption(caption);
  if (!hint.isEmpty()) label->setToolTip(hint);
  label->setGeometry(8, 0, kPanelWidth - 16, kCommandHeight);
  return label;
}

TUnitEdit* TForm1::PanelField(const QString& caption, double maxMillimetres,
                              const QString& shownUnit) {
  auto* field = new TUnitEdit;
  field->SetCaption(caption);
  ApplyPanelFieldProperties(*field, UnitEditBase, maxMillimetres, shownUnit);
  return field;
}

// The side menu stacks the commands of "Fichier" and "Action" itself.
void TForm1::BuildFilePanel() {
  pFichier = NewPanel(Panel2);
  mlNouveauPlan = MenuCommand(pFichier, QStringLiteral("Nouveau plan"), QString());
  // Offered once the plan has walls.
  mlNouveauPlan->setEnabled(false);
  mlOuvrirFichier =
      MenuCommand(pFichier, QStringLiteral("Ouvrir un fichier…"),
                  QStringLiteral("Ouvrir un plan enregistré sur cet ordinateur (Ctrl+O)"));
  mlEnregistrer = MenuCommand(pFichier, QStringLiteral("Enregistrer"),
                              QStringLiteral("Enregistrer le plan dans son fichier (Ctrl+S)"));
  mlEnregistrerSous =
      MenuCommand(pFichier, QStringLiteral("Enregistrer sous…"),
                  QStringLiteral("Enregistrer le plan dans un autre fichier (Ctrl+Maj+S)"));
  mlFichiersRecents = MenuCommand(pFichier, QStringLiteral("Fichiers récents"),
                                  QStringLiteral("Les derniers plans ouverts ou enregistrés"));
  mlChargerPlan = MenuCommand(pFichier, QStringLiteral("Charger un plan"), QString());
  mlSauverPlan = MenuCommand(pFichier, QStringLiteral("Sauver ce plan"), QString());
  mlAide = MenuCommand(pFichier, QStringLiteral("Aide et site Internet"), QString());
}

void TForm1::BuildActionPanel() {
  pAction = NewPanel(Panel2);
  mlTracerMur = MenuCommand(pAction, QStringLiteral("Tracer un mur"),
                            QStringLiteral("Ajouter un mur au plan"));
  mlAjouterOuverture = MenuCommand(pAction, QStringLiteral("Ajouter une ouverture"),
                                   QStringLiteral("Ajouter une porte ou une fenêtre"));
  mlAnnuler = MenuCommand(pAction, QStringLiteral("Annuler"), QString());
  mlRetablir = MenuCommand(pAction, QStringLiteral("Rétablir"), QString());
}

void TForm1::BuildDisplayPanel() {
  pAffichage = NewPanel(Panel2);
  // A new user sees the rooms and the wall lengths.
  cbDimension = NewCheckBox(QStringLiteral("Voir les dimensions des murs"), true);
  cbPiece = NewCheckBox(QStringLiteral("Voir les pièces"), true);
  cbProbleme = NewCheckBox(QStringLiteral("Voir les problèmes en rouge"), true);
  cbVoirObjet = NewCheckBox(QStringLiteral("Voir les meubles"), true);
  lZoom = new TkelpMenuLabel;
  lZoom->SetCaption(QStringLiteral("Zoom :"));
  lZoom->resize(kPanelWidth, kCommandHeight);
  tbZoom = new QSlider(Qt::Horizontal);
  tbZoom->setRange(10, 500);
  tbZoom->setSingleStep(10);
  tbZoom->setPageStep(10);
  tbZoom->setValue(10);
  mlAjuster = new TkelpMenuLabel;
  mlAjuster->SetCaption(QStringLiteral("Ajuster (F)"));
  mlAjuster->setToolTip(QStringLiteral("Voir tout le plan"));
  mlAjuster->resize(kPanelWidth, kCommandHeight);

  PanelStack stack(pAffichage, kPanelWidth);
  stack.Full(cbDimension);
  stack.Full(cbPiece);
  stack.Full(cbProbleme);
  stack.Full(cbVoirObjet);
  stack.Gap(4);
  stack.Full(lZoom);
  stack.Full(tbZoom);
  stack.Full(mlAjuster);
  stack.Finish();
}

void TForm1::BuildFurniturePanel() {
  pMeubles = NewPanel(Panel2);
  tvMeubles = new FurnitureCatalogue;
  tvMeubles->setFixedHeight(330);
  PanelStack stack(pMeubles, kPanelWidth);
  stack.Full(tvMeubles);
  stack.Finish();
}

void TForm1::BuildWallPanel() {
  pMur = NewPanel(Panel2);
  cbMurPointAB = NewComboBox({QStringLiteral("A"), QStringLiteral("B")});
  ueMurLong = PanelField(QString(), kLongest, kMetres);
  ueMurEpais = PanelField(QStringLiteral("Epaisseur :"), kThickest, kCentimetres);

  PanelStack stack(pMur, kPanelWidth);
  stack.Pair(QStringLiteral("Long depuis :"), cbMurPointAB);
  stack.Full(ueMurLong);
  stack.Full(ueMurEpais);
  stack.Finish();
  pMur->hide();
}

void TForm1::BuildOpeningPanel() {
  pTrou = NewPanel(Panel2);
  cbTrouPointAB = NewComboBox({QStringLiteral("A"), QStringLiteral("B")});
  // Their bounds follow the opening's wall (FillOpeningPanel).
  ueTroudCoin1 = PanelField(QString(), kLongest, kMetres);
  ueTrouLarge = PanelField(QStringLiteral("Largeur :"), kLongest, kCentimetres);
  cbTrouSorte = new QComboBox;
  cbTrouVolet = NewComboBox({QStringLiteral("Pas de volet"), QStringLiteral("Droite"),
                             QStringLiteral("Gauche"), QStringLiteral("Double")});
  cbTrouCote = NewCheckBox(QStringLiteral("Autre coté"), false);

  PanelStack stack(pTrou, kPanelWidth);
  stack.Pair(QStringLiteral("Distance de :"), cbTrouPointAB);
  stack.Full(ueTroudCoin1);
  stack.Full(ueTrouLarge);
  stack.Pair(QStringLiteral("Ouverture :"), cbTrouSorte);
  stack.Pair(QStringLiteral("Volet :"), cbTrouVolet);
  stack.Full(cbTrouCote);
  stack.Finish();
  pTrou->hide();
}

void TForm1::BuildCornerPanel() {
  pCoin = NewPanel(Panel2);
  ueCoinX = PanelField(QStringLiteral("X depuis le premier coin :"), kLongest, kMetres);
  ueCoinY = PanelField(QStringLiteral("Y depuis le premier coin :"), kLongest, kMetres);
  for (TUnitEdit* field : {ueCoinX, ueCoinY}) field->SetValueMin(-kLongest);
  PanelStack stack(pCoin, kPanelWidth);
  stack.Full(ueCoinX);
  stack.Full(ueCoinY);
  stack.Finish();
  pCoin->hide();
}

void TForm1::BuildObjectPanel() {
  pObjet = NewPanel(Panel2);
  eObjetNom = new QLineEdit;
  ueObjetL = PanelField(QStringLiteral("Largeur :"), kThickest, kCentimetres);
  ueObjetH = PanelField(QStringLiteral("Profondeur :"), kThickest, kCentimetres);
  seObjetA = new QSpinBox;
  seObjetA->setRange(0, 359);
  seObjetA->setWrapping(true);
  seObjetA->setSuffix(QStringLiteral("°"));
  seObjetA->setToolTip(QStringLiteral("R tourne d'un quart de tour, Maj+R de 15°"));

  PanelStack stack(pObjet, kPanelWidth);
  stack.Pair(QStringLiteral("Nom :"), eObjetNom);
  stack.Full(ueObjetL);
  stack.Full(ueObjetH);
  stack.Pair(QStringLiteral("Rotation :"), seObjetA);
  stack.Finish();
  pObjet->hide();
}

void TForm1::BuildRoomPanel() {
  pPiece = NewPanel(Panel2);
  ePieceNom = new QLineEdit;
  cbPieceSorte = NewComboBox({
      QStringLiteral(" "),
      QStringLiteral("Salon"),
      QStringLiteral("Cuisine"),
      QStringLiteral("Chambre"),
      QStringLiteral("Salle de bain"),
      QStringLiteral("WC"),
      QStringLiteral("Salle de bain et  WC"),
      QStringLiteral("Double séjour"),
      QStringLiteral("Bureau"),
      QStringLiteral("Dressing"),
      QStringLiteral("Garage"),
      QStringLiteral("Couloir"),
      QStringLiteral("Débaras"),
      QStringLiteral("Cave"),
      QStringLiteral("Balcon"),
      QStringLiteral("Terrasse"),
      QStringLiteral("Extérieur"),
      QStringLiteral("Autre"),
  });
  sPieceCouleur = new ColourBox;

  PanelStack stack(pPiece, kPanelWidth);
  stack.Pair(QStringLiteral("Nom :"), ePieceNom);
  stack.Pair(QStringLiteral("Type :"), cbPieceSorte);
  stack.Pair(QStringLiteral("Couleur :"), sPieceCouleur);
  stack.Finish();
  pPiece->hide();
}

void TForm1::BuildDebugPanel() {
  pDebug = NewPanel(Panel2);
  mlAjouterObjet = MenuCommand(pDebug, QStringLiteral("Ajouter un objet"),
                               QStringLiteral("Ajouter du mobilier"));
  cbVoirNomObjet = NewCheckBox(QStringLiteral("Voir le nom des objets"), false);

  PanelStack stack(pDebug, kPanelWidth);
  stack.Full(mlAjouterObjet);
  stack.Full(cbVoirNomObjet);
  stack.Finish();
  cbVoirNomObjet->hide();
}

void TForm1::ConnectHandlers() {
  const auto click = [this](TkelpMenuLabel* label, auto handler) {
    connect(label, &TkelpMenuLabel::clicked, this, handler);
  };
  click(mlNouveauPlan, &TForm1::mlNouveauPlanClick);
  click(mlOuvrirFichier, &TForm1::mlOuvrirFichierClick);
  click(mlEnregistrer, &TForm1::mlEnregistrerClick);
  click(mlEnregistrerSous, &TForm1::mlEnregistrerSousClick);
  click(mlFichiersRecents, &TForm1::mlFichiersRecentsClick);
  click(mlChargerPlan, &TForm1::mlChargerPlanClick);
  click(mlSauverPlan, &TForm1::mlSauverPlanClick);
  click(mlAide, &TForm1::mlAideClick);
  click(mlTracerMur, &TForm1::mlTracerMurClick);
  click(mlAjouterOuverture, &TForm1::mlAjouterOuvertureClick);
  click(mlAnnuler, &TForm1::mlAnnulerClick);
  click(mlRetablir, &TForm1::mlRetablirClick);
  click(mlAjouterObjet, &TForm1::mlAjouterObjetClick);
  click(lZoom, &TForm1::lZoomClick);
  click(mlAjuster, &TForm1::mlAjusterClick);

  const auto comboChange = [this](QComboBox* combo, void (TForm1::*handler)()) {
    connect(combo, &QComboBox::currentIndexChanged, this, handler);
  };
  comboChange(cbMurPointAB, &TForm1::SelectionChange);
  comboChange(cbTrouPointAB, &TForm1::SelectionChange);
  comboChange(cbTrouSorte, &TForm1::TrouChange);
  comboChange(cbTrouVolet, &TForm1::TrouChange);
  comboChange(cbPieceSorte, &TForm1::cbPieceSorteChange);

  for (TUnitEdit* field : {ueMurEpais, ueTrouLarge, ueTroudCoin1}) {
    field->SetOnChange([this](QObject*) { TrouChange(); });
  }
  for (TUnitEdit* field : {ueCoinX, ueCoinY})
    field->SetOnChange([this](QObject*) { CoinChange(); });
  // Bare numbers typed while drawing are read in the unit the wall length shows.
  ueMurLong->SetOnChange([this](QObject*) {
    Editor->LengthUnit = ueMurLong->Unit();
    TrouChange();
  });
  for (TUnitEdit* field : {ueObjetL, ueObjetH}) {
    field->SetOnChange([this](QObject*) {
      ObjetChange();
      Editor->CommitPendingUndo();
    });
  }
  for (TUnitEdit* field :
       {ueMurLong, ueMurEpais, ueTrouLarge, ueTroudCoin1, ueObjetL, ueObjetH, ueCoinX, ueCoinY}) {
    field->SetOnRefused([this](const QString& why) { StatusBar->showMessage(why); });
    connect(field, &TUnitEdit::Entered, this, &TForm1::FocusPlan);
  }
  // A choice in a list is done at once: the keys go back to the plan.
  for (QComboBox* combo : {cbMurPointAB, cbTrouPointAB, cbTrouSorte, cbTrouVolet, cbPieceSorte}) {
    connect(combo, &QComboBox::activated, this, &TForm1::FocusPlan);
  }
  connect(cbTrouCote, &QCheckBox::toggled, this, &TForm1::TrouChange);
  // Typed text is one step when the user is done with the field.
  connect(seObjetA, &QSpinBox::valueChanged, this, &TForm1::ObjetChange);
  connect(eObjetNom, &QLineEdit::textChanged, this, &TForm1::ObjetChange);
  connect(ePieceNom, &QLineEdit::textChanged, this, &TForm1::PieceChange);
  const auto commitTyped = [this] { Editor->CommitPendingUndo(); };
  connect(seObjetA, &QSpinBox::editingFinished, this, commitTyped);
  connect(eObjetNom, &QLineEdit::editingFinished, this, commitTyped);
  connect(ePieceNom, &QLineEdit::editingFinished, this, commitTyped);
  connect(sPieceCouleur, &ColourBox::pressed, this, &TForm1::sPieceCouleurMouseDown);

  // Ticking a box from code (the add-object command) applies it too.
  for (QCheckBox* box : {cbDimension, cbPiece, cbProbleme, cbVoirObjet, cbVoirNomObjet}) {
    connect(box, &QCheckBox::toggled, this, &TForm1::cbVoirClick);
  }
  connect(tbZoom, &QSlider::valueChanged, this, &TForm1::cbZoomChange);
  connect(tvMeubles, &FurnitureCatalogue::ModelChosen, this, &TForm1::MeubleChoisi);
  connect(tvMeubles, &FurnitureCatalogue::ModelDropped, this, [this] {
    if (!cbVoirObjet->isChecked()) cbVoirObjet->setChecked(true);
  });
}

}  // namespace casavo
