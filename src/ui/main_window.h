// TForm1, the main window (its parts are defined in several files, see the banners).

#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/casa.h"
#include "render/unit_edit.h"
#include "ui/kelp_menu.h"
#include "ui/kelp_menu_label.h"
#include "ui/online_service.h"
#include "ui/panel_widgets.h"
#include "ui/sheet_commands.h"
#include "ui/tip_bar.h"
#include "ui/window_dialogs.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;
class QSpinBox;
class QStatusBar;

namespace casavo {

class CalquePanel;
class View3DControls;
class FurnitureCatalogue;

// One row of the opening-type table: the name shown and the opening's sorte.
struct OpeningType {
  QString name;
  int32_t code;
};

// The main window: the side menu with the file, tool and display commands and
// the panel of the selected element, the plan editor beside it, the status bar,
// and the web view of the online part over the editor when it is shown.
class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  static inline const QString kVersion = QStringLiteral("2.2");

  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The online part; the window owns it. Without one, the online commands say
  // that the service is not available.
  void SetOnlineService(std::unique_ptr<OnlineService> online);
  void SetDialogs(std::unique_ptr<WindowDialogs> dialogs);
  void SetSheetDialogs(std::unique_ptr<SheetDialogs> dialogs);

  // ---- layout: the widgets, built in panels_build.cpp ----
  QWidget* Panel2;
  EditorArea* ClientArea;
  TkelpMenu* SideMenu = nullptr;
  TkelpMenuItem* FileSection = nullptr;
  TkelpMenuItem* ActionSection = nullptr;
  TCasa* Editor = nullptr;
  QStatusBar* StatusBar;
  // The tips of the commands, above the plan.
  TipBar* Tips;
  TUnitEditBase* UnitEditBase;

  QWidget* pFichier;
  TkelpMenuLabel* mlNouveauPlan;
  TkelpMenuLabel* mlOuvrirFichier;
  TkelpMenuLabel* mlEnregistrer;
  TkelpMenuLabel* mlEnregistrerSous;
  TkelpMenuLabel* mlFichiersRecents;
  TkelpMenuLabel* mlChargerPlan;
  TkelpMenuLabel* mlSauverPlan;
  TkelpMenuLabel* mlAide;
  TkelpMenuLabel* mlExporter = nullptr;
  TkelpMenuLabel* mlImprimer = nullptr;

  QWidget* pAction;
  TkelpMenuLabel* mlTracerMur;
  TkelpMenuLabel* mlAjouterOuverture;
  TkelpMenuLabel* mlAnnuler;
  TkelpMenuLabel* mlRetablir;

  QWidget* pAffichage;
  QCheckBox* cbDimension;
  QCheckBox* cbPiece;
  QCheckBox* cbProbleme;
  TkelpMenuLabel* lZoom;
  QSlider* tbZoom;
  TkelpMenuLabel* mlAjuster;

  // The furniture catalogue.
  QWidget* pMeubles;
  FurnitureCatalogue* tvMeubles;

  QWidget* pMur;
  QComboBox* cbMurPointAB;
  TUnitEdit* ueMurLong;
  TUnitEdit* ueMurEpais;

  QWidget* pTrou;
  QComboBox* cbTrouPointAB;
  TUnitEdit* ueTroudCoin1;
  TUnitEdit* ueTrouLarge;
  QComboBox* cbTrouSorte;
  QComboBox* cbTrouVolet;
  QCheckBox* cbTrouCote;

  // The selected corner's place from the plan's first corner.
  QWidget* pCoin;
  TUnitEdit* ueCoinX;
  TUnitEdit* ueCoinY;

  QWidget* pObjet;
  QLineEdit* eObjetNom;
  TUnitEdit* ueObjetL;
  TUnitEdit* ueObjetH;
  QSpinBox* seObjetA;

  QWidget* pPiece;
  QLineEdit* ePieceNom;
  QComboBox* cbPieceSorte;
  ColourBox* sPieceCouleur;

  // Never shown: the plain-object command and the names switch.
  QWidget* pDebug;
  TkelpMenuLabel* mlAjouterObjet;
  QCheckBox* cbVoirObjet;
  QCheckBox* cbVoirNomObjet;

  // The 3D view and its commands in "Affichage".
  View3DControls* View3D = nullptr;
  CalquePanel* Calque = nullptr;

  std::vector<OpeningType> OpeningTypes;
  // Re-entrancy guards: an edit being written into the plan, and the panels
  // being filled from it.
  bool ApplyingEdit = false;
  bool FillingPanels = false;

  // ---- start, stop, title (main_window.cpp) ----
  void FormShow();
  void ShowStatus(const std::string& text);
  // A failure the user must read before going on.
  void ShowError(const QString& text) { dialogs_->ShowError(text); }
  void ResetPlan();
  void UpdateTitle();
  // Between the editor and the web view of the online part.
  void ShowEditor();
  void ShowWebView(bool loadHome);
  bool WebViewShown() const { return ClientArea->WebViewShown(); }

  // ---- local plan files (plan_files.cpp) ----
  // The file to open once the window is shown (the command line's).
  void SetStartFile(const QString& path) { startFile_ = path; }
  // Asks to save unsaved changes first; true when the caller may go on (the
  // changes are saved, or the user chose to drop them).
  bool MaybeSaveChanges();
  // Opens a plan file after MaybeSaveChanges; true when it was opened.
  bool OpenPlanFile(const QString& path);
  // "Enregistrer" and "Enregistrer sous…"; true when the plan was written.
  bool mlEnregistrerClick();
  bool mlEnregistrerSousClick();
  void mlOuvrirFichierClick();
  void mlFichiersRecentsClick();
  // The last files opened or saved, newest first, at most kRecentCount.
  static constexpr int kRecentCount = 8;
  QStringList RecentFiles() const;
  // The name shown for the plan: its file's, its online title or the untitled caption.
  QString PlanName() const;
  // The online save succeeded: the plan is kept there now.
  void PlanSavedOnline();
  // A plan was loaded from the service into the editor.
  void PlanLoadedOnline();

  // ---- commands (commands.cpp; export and print: sheet_commands.cpp) ----
  void mlNouveauPlanClick();
  void mlChargerPlanClick();
  void mlSauverPlanClick();
  void mlAideClick();
  void mlTracerMurClick();
  void mlAjouterOuvertureClick();
  void mlAjouterObjetClick();
  // A model of the catalogue is chosen: the next click on the plan places it.
  void MeubleChoisi(const QString& key);
  void mlAnnulerClick();
  void mlRetablirClick();
  void mlExporterClick();
  void mlImprimerClick();

  // ---- property panels (panels.cpp) ----
  void SelectionChange();
  void TrouChange();
  void ObjetChange();
  void CoinChange();
  void PieceChange();
  void sPieceCouleurMouseDown();
  void cbPieceSorteChange();
  // Gives the keys back to the plan after a choice or a typed value.
  void FocusPlan();

  // ---- display and zoom (display.cpp) ----
  void cbVoirClick();
  void cbZoomChange();
  void lZoomClick();
  // Sets the zoom without moving the view; the slider follows within its range.
  void SetZoom(double f);
  // "Ajuster": the whole plan in view.
  void mlAjusterClick();
  // The display switches and the zoom, as the user left them last time.
  void RestoreDisplay();
  void RememberDisplay();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // ---- building the window (panels_build.cpp, main_window.cpp) ----
  void BuildLayout();
  void BuildFilePanel();
  void BuildActionPanel();
  void BuildDisplayPanel();
  void BuildFurniturePanel();
  void BuildWallPanel();
  void BuildOpeningPanel();
  void BuildObjectPanel();
  void BuildCornerPanel();
  void BuildRoomPanel();
  void BuildDebugPanel();
  TUnitEdit* PanelField(const QString& caption, double maxMillimetres, const QString& shownUnit);
  void AddShortcuts();
  TkelpMenuLabel* MenuCommand(QWidget* panel, const QString& caption, const QString& hint);
  void ConnectHandlers();

  void FormCreate();
  void SetupSettingsFolder();
  void CreateSideMenu();
  void AddSheetCommands();

  // ---- helpers of the parts above, in their files ----
  // Shows or hides a command of "Fichier" or "Action", closing the gap it leaves.
  void SetCommandVisible(TkelpMenuLabel* command, bool visible);
  // "Annuler" and "Rétablir" with their hints, and the title's mark of changes.
  void UpdateHistoryCommands();
  // Writes the plan to path; reports a failure. True when written.
  bool WritePlanFile(const QString& path);
  // Reads path into the editor; reports a failure. True when read.
  bool ReadPlanFile(const QString& path);
  void RememberRecent(const QString& path);
  void ForgetRecent(const QString& path);
  void FillOpeningPanel(int32_t k);
  void FillWallPanel(int32_t w);
  void FillObjectPanel(int32_t o);
  void FillCornerPanel(int32_t c);
  WallRun SelectedRun(int32_t w) const;
  void FillRoomPanel(int32_t r);
  void ApplyOpeningEdit(int32_t k);
  void ApplyWallEdit(int32_t w);
  // Tells the user that the online part is missing; true when it is.
  bool OnlineMissing() const;
  void ShowTool(TCasa::Tool mode, const char* status);

  std::unique_ptr<OnlineService> online_;
  std::unique_ptr<WindowDialogs> dialogs_;
  std::unique_ptr<SheetCommands> sheetCommands_;
  bool shown_ = false;
  QString startFile_;
};

}  // namespace casavo
