// Camera: plan <-> scene coordinates, eye placement and framing.

#include "view3d/camera.h"

#include <QtMath>
#include <algorithm>

namespace casavo::view3d {
namespace {

constexpr float kFieldOfView = 50;
constexpr float kNear = 0.05f;
constexpr float kFar = 2000;

}  // namespace

QVector3D ToScene(model3d::Vec3 p) {
  return {static_cast<float>(p.x / 1000), static_cast<float>(p.z / 1000),
          static_cast<float>(p.y / 1000)};
}

model3d::Vec3 ToPlan(QVector3D p) {
  return {p.x() * 1000.0, p.z() * 1000.0, p.y() * 1000.0};
}

QVector3D Camera::Forward() const {
  const double yaw = qDegreesToRadians(yaw_), pitch = qDegreesToRadians(pitch_);
  return QVector3D(static_cast<float>(std::cos(pitch) * std::cos(yaw)),
                   static_cast<float>(std::sin(pitch)),
                   static_cast<float>(std::cos(pitch) * std::sin(yaw)));
}

void Camera::SetFrom(QVector3D eye, QVector3D target) {
  const QVector3D d = target - eye;
  distance_ = std::max(0.01f, d.length());
  yaw_ = qRadiansToDegrees(std::atan2(d.z(), d.x()));
  pitch_ = qRadiansToDegrees(std::asin(std::clamp(d.y() / d.length(), -1.0f, 1.0f)));
  eye_ = eye;
}

void Camera::LookAt(QVector3D eye, QVector3D target) {
  SetFrom(eye, target);
}

void Camera::Frame(QVector3D lo, QVector3D hi) {
  const QVector3D centre = (lo + hi) / 2;
  const float size = std::max({hi.x() - lo.x(), hi.z() - lo.z(), 4.0f});
  // From the south (larger plan y), raised, so that the whole plan shows.
  SetFrom(centre + QVector3D(0, size * 0.95f, size * 1.1f), centre);
}

void Camera::Orbit(double yaw, double pitch) {
  const QVector3D target = Target();
  yaw_ += yaw;
  pitch_ = std::clamp(pitch_ + pitch, -89.0, -2.0);
  eye_ = target - Forward() * static_cast<float>(distance_);
}

void Camera::Look(double yaw, double pitch) {
  yaw_ += yaw;
  pitch_ = std::clamp(pitch_ + pitch, -80.0, 80.0);
}

void Camera::Pan(double right, double up) {
  const QVector3D forward = Forward();
  const QVector3D side = QVector3D::crossProduct(forward, {0, 1, 0}).normalized();
  const QVector3D lift = QVector3D::crossProduct(side, forward).normalized();
  eye_ += (side * static_cast<float>(right) + lift * static_cast<float>(up)) *
          static_cast<float>(distance_);
}

void Camera::Zoom(double factor) {
  const QVector3D target = Target();
  distance_ = std::clamp(distance_ * factor, 0.5, 1000.0);
  eye_ = target - Forward() * static_cast<float>(distance_);
}

QVector3D Camera::Step(double forward, double right) const {
  const double yaw = qDegreesToRadians(yaw_);
  const QVector3D ahead(static_cast<float>(std::cos(yaw)), 0, static_cast<float>(std::sin(yaw)));
  const QVector3D side(-ahead.z(), 0, ahead.x());
  return eye_ + ahead * static_cast<float>(forward) + side * static_cast<float>(right);
}

QMatrix4x4 Camera::ViewProjection(QSize viewport) const {
  QMatrix4x4 projection;
  const float aspect = viewport.height() > 0 ? float(viewport.width()) / viewport.height() : 1;
  projection.perspective(kFieldOfView, aspect, kNear, kFar);
  QMatrix4x4 view;
  view.lookAt(eye_, eye_ + Forward(), {0, 1, 0});
  return projection * view;
}

QVector3D Camera::RayThrough(QPointF pixel, QSize viewport) const {
  const QMatrix4x4 inverse = ViewProjection(viewport).inverted();
  const float x = float(2 * pixel.x() / viewport.width() - 1);
  const float y = float(1 - 2 * pixel.y() / viewport.height());
  const QVector3D far = inverse.map(QVector3D(x, y, 1));
  return (far - eye_).normalized();
}

}  // namespace casavo::view3d
