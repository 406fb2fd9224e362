// View3D: the 3D view widget.

#include "view3d/view3d.h"

#include <QMouseEvent>
#include <QOpenGLFramebufferObject>
#include <QWheelEvent>
#include <cmath>

#include "model3d/model3d.h"
#include "view3d/scene_renderer.h"

namespace casavo::view3d {
namespace {

constexpr double kEyeHeight = 1600;    // millimetres
constexpr double kKneeHeight = 500;    // where walls stop the walker
constexpr double kWalkerRadius = 200;  // millimetres
constexpr double kStep = 0.25;         // metres per key press
constexpr double kTurnPerPixel = 0.4;  // degrees
constexpr int kClickSlop = 4;          // pixels a click may move

}  // namespace

View3D::View3D(const TCasaPlan& plan, QWidget* parent) : QOpenGLWidget(parent), plan_(plan) {
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(200, 150);
  QSurfaceFormat format = QSurfaceFormat::defaultFormat();
  format.setDepthBufferSize(24);
  format.setSamples(4);
  setFormat(format);
}

View3D::~View3D() {
  // A platform without OpenGL never made a context nor a renderer.
  if (!context()) return;
  makeCurrent();
  renderer_.reset();
  doneCurrent();
}

void View3D::PlanChanged() {
  meshStale_ = true;
  update();
}

void View3D::SelectionChanged() {
  uploadStale_ = true;
  update();
}

const model3d::Mesh& View3D::Model() {
  if (meshStale_) Rebuild();
  return *mesh_;
}

void View3D::Rebuild() {
  // Floors need the rooms even while the plan does not show them; they are
  // then found on a copy, so that the plan and its text stay as they are.
  const TCasaPlan* source = &plan_;
  if (!plan_.ShowRooms) {
    if (!roomsFound_) roomsFound_ = std::make_unique<TCasaPlan>();
    *roomsFound_ = plan_;
    roomsFound_->DetectRooms();
    source = roomsFound_.get();
  }
  mesh_ = &cache_.Update(*source);
  obstacles_.reset();
  meshStale_ = false;
  uploadStale_ = true;
  if (!framed_ && !mesh_->faces.empty()) FramePlan();
}

void View3D::FramePlan() {
  const TRect bounds = plan_.GetBounds();
  if (bounds.left > bounds.right) return;
  const QVector3D lo = ToScene({double(bounds.left), double(bounds.top), 0});
  const QVector3D hi = ToScene({double(bounds.right), double(bounds.bottom), 0});
  camera_.Frame(lo, hi);
  framed_ = true;
  visiting_ = false;
  update();
}

void View3D::StartVisit(int32_t room) {
  TPoint at;
  if (room >= 1 && room <= plan_.RoomCount) {
    at = plan_.Rooms[room].Centre;
  } else {
    const TRect b = plan_.GetBounds();
    at = {b.left / 2 + b.right / 2, b.top / 2 + b.bottom / 2};
  }
  const QVector3D eye = ToScene({double(at.x), double(at.y), kEyeHeight});
  camera_.LookAt(eye, eye + QVector3D(1, 0, 0));
  visiting_ = true;
  framed_ = true;
  setFocus();
  update();
}

void View3D::StopVisit() {
  if (visiting_) FramePlan();
}

bool View3D::Walk(double forward, double right) {
  const model3d::Mesh& mesh = Model();
  if (!obstacles_) obstacles_.emplace(mesh, kKneeHeight);
  const QVector3D to = camera_.Step(forward, right);
  if (obstacles_->Blocked(ToPlan(camera_.Eye()), ToPlan(to), kWalkerRadius)) return false;
  camera_.SetEye(to);
  update();
  return true;
}

void View3D::initializeGL() {
  renderer_ = std::make_unique<SceneRenderer>();
}

void View3D::paintGL() {
  if (!renderer_) return;
  if (meshStale_) Rebuild();
  if (uploadStale_) {
    renderer_->Upload(*mesh_, plan_.SelKind, plan_.SelIndex);
    uploadStale_ = false;
  }
  const qreal ratio = devicePixelRatioF();
  glViewport(0, 0, int(width() * ratio), int(height() * ratio));
  renderer_->Draw(camera_.ViewProjection(size()));
}

QImage View3D::RenderImage(QSize size) {
  // The context comes with the first showing.
  if (!context()) return QImage();
  makeCurrent();
  if (meshStale_) Rebuild();
  renderer_->Upload(*mesh_, plan_.SelKind, plan_.SelIndex);
  QOpenGLFramebufferObjectFormat format;
  format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
  format.setSamples(4);
  QOpenGLFramebufferObject target(size, format);
  target.bind();
  context()->functions()->glViewport(0, 0, size.width(), size.height());
  renderer_->Draw(camera_.ViewProjection(size));
  QImage image = target.toImage();
  target.release();
  doneCurrent();
  uploadStale_ = true;
  return image;
}

QPointF View3D::Project(model3d::Vec3 planPoint) const {
  const QVector3D ndc = camera_.ViewProjection(size()).map(ToScene(planPoint));
  return {(ndc.x() + 1) / 2 * width(), (1 - ndc.y()) / 2 * height()};
}

void View3D::Pick(QPoint pixel) {
  const QVector3D direction = camera_.RayThrough(pixel, size());
  const model3d::Vec3 origin = ToPlan(camera_.Eye());
  const model3d::Vec3 along = ToPlan(direction);
  const auto hit = model3d::Pick(Model(), origin, along);
  if (hit && hit->face->kind != 0) emit Picked(hit->face->kind, hit->face->index);
}

void View3D::mousePressEvent(QMouseEvent* event) {
  pressAt_ = lastAt_ = event->position().toPoint();
  dragged_ = false;
}

void View3D::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const QPoint d = at - lastAt_;
  lastAt_ = at;
  if ((at - pressAt_).manhattanLength() > kClickSlop) dragged_ = true;
  if (!dragged_) return;
  if (visiting_)
    camera_.Look(d.x() * kTurnPerPixel, -d.y() * kTurnPerPixel);
  else if (event->buttons() & Qt::RightButton)
    camera_.Pan(-d.x() * 1.5 / std::max(1, height()), d.y() * 1.5 / std::max(1, height()));
  else if (event->buttons() & Qt::LeftButton)
    camera_.Orbit(d.x() * kTurnPerPixel, -d.y() * kTurnPerPixel);
  update();
}

void View3D::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragged_ && event->button() == Qt::LeftButton) Pick(event->position().toPoint());
}

void View3D::wheelEvent(QWheelEvent* event) {
  if (visiting_) return;
  camera_.Zoom(std::pow(0.9, event->angleDelta().y() / 120.0));
  update();
}

void View3D::keyPressEvent(QKeyEvent* event) {
  if (!visiting_) return QOpenGLWidget::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Up:
      Walk(kStep, 0);
      break;
    case Qt::Key_Down:
      Walk(-kStep, 0);
      break;
    case Qt::Key_Left:
      Walk(0, -kStep);
      break;
    case Qt::Key_Right:
      Walk(0, kStep);
      break;
    case Qt::Key_Escape:
      StopVisit();
      break;
    default:
      QOpenGLWidget::keyPressEvent(event);
  }
}

}  // namespace casavo::view3d
