// View3D: the OpenGL widget that shows the plan in 3D.

#pragma once

#include <QImage>
#include <QOpenGLWidget>
#include <QPoint>
#include <cstdint>
#include <memory>
#include <optional>

#include "model3d/mesh.h"
#include "model3d/model_cache.h"
#include "model3d/picking.h"
#include "plan/casa_plan.h"
#include "view3d/camera.h"

namespace casavo::view3d {

class SceneRenderer;

// The plan in 3D. Left-drag orbits, right-drag pans, the wheel zooms; a click
// picks what is under the pointer. In a visit the arrows walk, a drag looks
// around and Escape ends it.
class View3D : public QOpenGLWidget {
  Q_OBJECT

 public:
  explicit View3D(const TCasaPlan& plan, QWidget* parent = nullptr);
  ~View3D() override;

  // The plan changed: the model is rebuilt before the next frame.
  void PlanChanged();
  // The plan's selection changed: only the tint moves.
  void SelectionChanged();

  Camera& ViewCamera() { return camera_; }
  // Looks at the whole plan from outside.
  void FramePlan();
  // At eye height in room r (or the middle of the plan when there is none),
  // looking along +x.
  void StartVisit(int32_t room);
  void StopVisit();
  bool Visiting() const { return visiting_; }
  // One walking step; false when a wall stops it.
  bool Walk(double forward, double right);

  // The view drawn off screen at another size; a null image before the view
  // was first shown.
  QImage RenderImage(QSize size);
  // Where a plan point shows in the widget, for the tests.
  QPointF Project(model3d::Vec3 planPoint) const;
  const model3d::Mesh& Model();

 signals:
  // A click on an element of the plan: its selection code and index.
  void Picked(uint8_t kind, int32_t index);

 protected:
  void initializeGL() override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Rebuild();
  void Pick(QPoint pixel);

  const TCasaPlan& plan_;
  std::unique_ptr<SceneRenderer> renderer_;
  std::unique_ptr<TCasaPlan> roomsFound_;
  model3d::ModelCache cache_;
  const model3d::Mesh* mesh_ = &kEmpty;
  static inline const model3d::Mesh kEmpty;
  std::optional<model3d::WalkObstacles> obstacles_;
  Camera camera_;
  bool meshStale_ = true;
  bool uploadStale_ = true;
  bool framed_ = false;
  bool visiting_ = false;
  QPoint pressAt_;
  QPoint lastAt_;
  bool dragged_ = false;
};

}  // namespace casavo::view3d
