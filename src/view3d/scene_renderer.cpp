// SceneRenderer: draws the mesh with OpenGL.

#include "view3d/scene_renderer.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "view3d/camera.h"

namespace casavo::view3d {
namespace {

using model3d::Face;
using model3d::Material;
using model3d::Vec3;

const char* const kVertexShader = R"(
attribute highp vec3 position;
attribute mediump vec3 normal;
attribute lowp vec4 colour;
uniform highp mat4 viewProjection;
varying mediump vec3 vNormal;
varying lowp vec4 vColour;
void main() {
  vNormal = normal;
  vColour = colour;
  gl_Position = viewProjection * vec4(position, 1.0);
}
)";

// A sky light from above and a sun from the south-west: faces turned either
// way are lit alike, so no face shows black.
const char* const kFragmentShader = R"(
varying mediump vec3 vNormal;
varying lowp vec4 vColour;
void main() {
  mediump vec3 n = normalize(vNormal);
  mediump vec3 sun = normalize(vec3(-0.4, 0.75, 0.55));
  mediump float light = 0.55 + 0.33 * abs(dot(n, sun)) + 0.1 * abs(n.y);
  gl_FragColor = vec4(vColour.rgb * light, vColour.a);
}
)";

constexpr int kFloats = 10;  // position, normal, colour
constexpr uint32_t kGroundColour = 0xC9D2BE;
constexpr uint32_t kHighlight = 0x2FA84F;
constexpr float kGlassAlpha = 0.35f;
// How far the ground reaches beyond the plan, metres.
constexpr float kGroundMargin = 40;

void Push(std::vector<float>& out, QVector3D p, QVector3D n, uint32_t rgb, float alpha) {
  out.insert(out.end(), {p.x(), p.y(), p.z(), n.x(), n.y(), n.z(), ((rgb >> 16) & 255) / 255.0f,
                         ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha});
}

uint32_t Mix(uint32_t a, uint32_t b) {
  const auto channel = [&](int shift) { return (((a >> shift) & 255) + ((b >> shift) & 255)) / 2; };
  return channel(16) << 16 | channel(8) << 8 | channel(0);
}

void PushFace(std::vector<float>& out, const Face& f, uint32_t rgb) {
  const QVector3D n = ToScene(f.normal);
  const float alpha = f.material == Material::Glass ? kGlassAlpha : 1;
  for (const Vec3& p : {f.a, f.b, f.c}) Push(out, ToScene(p), n, rgb, alpha);
}

void PushGround(std::vector<float>& out, const model3d::Mesh& mesh) {
  float x0 = 0, x1 = 10, z0 = 0, z1 = 10;
  if (!mesh.faces.empty()) {
    x0 = z0 = 1e9f;
    x1 = z1 = -1e9f;
    for (const Face& f : mesh.faces)
      for (const Vec3& p : {f.a, f.b, f.c}) {
        const QVector3D s = ToScene(p);
        x0 = std::min(x0, s.x()), x1 = std::max(x1, s.x());
        z0 = std::min(z0, s.z()), z1 = std::max(z1, s.z());
      }
  }
  x0 -= kGroundMargin, z0 -= kGroundMargin, x1 += kGroundMargin, z1 += kGroundMargin;
  const QVector3D up(0, 1, 0);
  for (const QVector3D& p : {QVector3D(x0, 0, z0), QVector3D(x1, 0, z0), QVector3D(x1, 0, z1),
                             QVector3D(x0, 0, z0), QVector3D(x1, 0, z1), QVector3D(x0, 0, z1)})
    Push(out, p, up, kGroundColour, 1);
}

}  // namespace

SceneRenderer::SceneRenderer() : program_(std::make_unique<QOpenGLShaderProgram>()) {
  initializeOpenGLFunctions();
  if (!program_->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
      !program_->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) ||
      !program_->link())
    throw std::runtime_error(program_->log().toStdString());
  buffer_.create();
}

void SceneRenderer::Upload(const model3d::Mesh& mesh, uint8_t kind, int32_t index) {
  std::vector<float> data;
  data.reserve((mesh.faces.size() * 3 + 6) * kFloats);
  PushGround(data, mesh);
  std::vector<const Face*> glass;
  for (const Face& f : mesh.faces) {
    if (f.material == Material::Glass) {
      glass.push_back(&f);
      continue;
    }
    const bool chosen = kind != 0 && f.kind == kind && f.index == index;
    PushFace(data, f, chosen ? Mix(f.rgb, kHighlight) : f.rgb);
  }
  opaqueVertices_ = static_cast<int>(data.size() / kFloats);
  for (const Face* f : glass) PushFace(data, *f, f->rgb);
  glassVertices_ = static_cast<int>(data.size() / kFloats) - opaqueVertices_;
  buffer_.bind();
  buffer_.allocate(data.data(), static_cast<int>(data.size() * sizeof(float)));
  buffer_.release();
}

void SceneRenderer::DrawRange(int first, int count) {
  if (count > 0) glDrawArrays(GL_TRIANGLES, first, count);
}

void SceneRenderer::Draw(const QMatrix4x4& viewProjection) {
  glClearColor(0.78f, 0.86f, 0.95f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  program_->bind();
  program_->setUniformValue("viewProjection", viewProjection);
  buffer_.bind();
  const int stride = kFloats * sizeof(float);
  program_->enableAttributeArray("position");
  program_->enableAttributeArray("normal");
  program_->enableAttributeArray("colour");
  program_->setAttributeBuffer("position", GL_FLOAT, 0, 3, stride);
  program_->setAttributeBuffer("normal", GL_FLOAT, 3 * sizeof(float), 3, stride);
  program_->setAttributeBuffer("colour", GL_FLOAT, 6 * sizeof(float), 4, stride);
  DrawRange(0, opaqueVertices_);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthMask(GL_FALSE);
  DrawRange(opaqueVertices_, glassVertices_);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  program_->disableAttributeArray("position");
  program_->disableAttributeArray("normal");
  program_->disableAttributeArray("colour");
  buffer_.release();
  program_->release();
}

}  // namespace casavo::view3d
