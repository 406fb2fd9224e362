// SceneRenderer: the mesh under soft light over a ground plane.

#pragma once

#include <QMatrix4x4>
#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <cstdint>
#include <memory>

#include "model3d/mesh.h"

namespace casavo::view3d {

// Draws a mesh with soft light over a ground plane, in the current OpenGL
// context. Glass is drawn last, see-through.
class SceneRenderer : protected QOpenGLFunctions {
 public:
  // Needs the context current; so does every call below.
  SceneRenderer();

  // Takes the mesh's faces; those of the element (kind, index) show tinted.
  void Upload(const model3d::Mesh& mesh, uint8_t kind, int32_t index);
  void Draw(const QMatrix4x4& viewProjection);

 private:
  void DrawRange(int first, int count);

  std::unique_ptr<QOpenGLShaderProgram> program_;
  QOpenGLBuffer buffer_{QOpenGLBuffer::VertexBuffer};
  int opaqueVertices_ = 0;
  int glassVertices_ = 0;
};

}  // namespace casavo::view3d
