// View3DControls: the 3D view in the main window.

#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QCheckBox;
class QDockWidget;

namespace casavo {

class TCasa;
class TForm1;
class TkelpMenuLabel;
class TUnitEdit;
namespace view3d {
class View3D;
}

// The 3D view in the main window: the "Vue 3D" switch, the wall height field,
// "Visite" and "Exporter l'image 3D…" at the foot of "Affichage", and the
// dockable view, which follows the editor through its notifications.
class View3DControls : public QObject {
  Q_OBJECT

 public:
  // Where and at what size to write the picture.
  struct ImageRequest {
    QString path;
    QSize size;
  };

  // Before the side menu is made: the controls go into the display panel.
  explicit View3DControls(TForm1& window);

  QCheckBox* cbVue3D;
  TUnitEdit* ueHauteurMurs;
  TkelpMenuLabel* mlVisite;
  TkelpMenuLabel* mlExporter3D;
  QDockWidget* Dock;
  // Made when first shown: a window holding an OpenGL view needs a platform
  // with OpenGL, which the plan editor alone does not.
  view3d::View3D* View = nullptr;

  // Asks where and at what size; a test scripts the answer.
  std::function<std::optional<ImageRequest>()> AskImage;

  void cbVue3DClick();
  void ueHauteurMursChange();
  void mlVisiteClick();
  // True when the picture was written.
  bool mlExporter3DClick();
  // The plan was replaced, undone or redone: the field shows its height.
  void ShowWallHeight();

 private:
  void BuildControls();
  void BuildDock();
  void Connect();
  view3d::View3D& EnsureView();
  void SelectPicked(uint8_t kind, int32_t index);

  TForm1& window_;
  TCasa& editor_;
};

}  // namespace casavo
