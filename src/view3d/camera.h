// Camera: the 3D view's eye, in scene metres.

#pragma once

#include <QMatrix4x4>
#include <QPointF>
#include <QSize>
#include <QVector3D>

#include "model3d/mesh.h"

namespace casavo::view3d {

// Scene space: metres, x as the plan's x, y upwards, z as the plan's y.
QVector3D ToScene(model3d::Vec3 planPoint);
model3d::Vec3 ToPlan(QVector3D scenePoint);

// Where the view looks from and to. Orbiting turns the eye about a point in
// front of it; visiting turns the view about the eye itself.
class Camera {
 public:
  // Looks at the box lo..hi (scene space) from above and to the south.
  void Frame(QVector3D lo, QVector3D hi);
  void LookAt(QVector3D eye, QVector3D target);

  // Degrees of turn and of tilt.
  void Orbit(double yaw, double pitch);
  void Look(double yaw, double pitch);
  // Moves eye and target across the view by a fraction of the distance.
  void Pan(double right, double up);
  // Brings the eye closer (factor < 1) or further.
  void Zoom(double factor);
  // The eye moved on the ground, forward and to the right (metres).
  QVector3D Step(double forward, double right) const;
  void SetEye(QVector3D eye) { eye_ = eye; }

  QVector3D Eye() const { return eye_; }
  QVector3D Forward() const;
  QMatrix4x4 ViewProjection(QSize viewport) const;
  // The ray through a pixel of the viewport, from the eye.
  QVector3D RayThrough(QPointF pixel, QSize viewport) const;

 private:
  QVector3D Target() const { return eye_ + Forward() * static_cast<float>(distance_); }
  void SetFrom(QVector3D eye, QVector3D target);

  QVector3D eye_{0, 10, 10};
  double yaw_ = -90;    // degrees from +x towards +z
  double pitch_ = -45;  // degrees upwards
  double distance_ = 10;
};

}  // namespace casavo::view3d
