// The "Calque" section of the side menu and the import of a picture to trace.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QSlider;
class QWidget;

namespace casavo {

class TCasa;
class TForm1;
class TkelpMenuLabel;

// The picture to trace over: "Importer un plan à décalquer…" in "Fichier",
// and the "Calque" section, shown while the plan has a picture.
class CalquePanel : public QObject {
  Q_OBJECT

 public:
  // Before the side menu is made: the command goes into the file panel.
  explicit CalquePanel(TForm1& window);

  QWidget* pCalque;
  TkelpMenuLabel* mlImporterCalque;
  TkelpMenuLabel* mlEchelle;
  TkelpMenuLabel* mlRedresser;
  QDoubleSpinBox* seAngle;
  QSlider* tbOpacite;
  QCheckBox* cbAfficher;
  QCheckBox* cbVerrouiller;
  TkelpMenuLabel* mlRetirer;

  // The file to import, and the page of a PDF of several (from 0); a test
  // scripts the answers.
  std::function<QString()> AskFile;
  std::function<std::optional<int>(int pageCount)> AskPage;

  void mlImporterCalqueClick();
  // The section follows the plan: after every step, undo and new plan.
  void Refresh();

 private:
  void BuildControls();
  void Connect();

  TForm1& window_;
  TCasa& editor_;
  bool filling_ = false;
};

}  // namespace casavo
