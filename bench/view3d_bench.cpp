// The 3D view's share of a drag: rebuilding the whole model, and a whole
// frame of the view (refresh, rebuild, upload, draw) in OpenGL.

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include "bench.h"
#include "model3d/model3d.h"
#include "model3d/model_cache.h"
#include "view3d/camera.h"
#include "view3d/scene_renderer.h"

namespace casavo::bench {

void BM_Build3D(benchmark::State& state) {
  const TCasaPlan& plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  // Into the same mesh each time, as the view rebuilds.
  model3d::Mesh mesh;
  for (auto _ : state) model3d::Build3D(plan, mesh);
  state.counters["triangles"] = static_cast<double>(mesh.faces.size());
  ReportSize(state, plan);
}

// The model as the view keeps it while a corner is dragged: the outlines
// refreshed after each nudge, then only the walls that changed rebuilt and
// the whole model put together again.
void BM_Update3D(benchmark::State& state) {
  TCasaPlan plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  const int32_t corner = plan.Walls[plan.WallCount / 2].C1;
  model3d::ModelCache cache;
  cache.Update(plan);
  int32_t step = 30;
  for (auto _ : state) {
    plan.Corners[corner].x += step;
    step = -step;
    plan.RefreshGeometry();
    cache.Update(plan);
  }
  state.counters["rebuilt"] = cache.WallsRebuilt();
  ReportSize(state, plan);
}

// One frame of the view while a wall is dragged, at 1280 x 800: the editor's
// refresh of the outlines, the model updated, uploaded and drawn, and the
// drawing finished. Needs OpenGL: run under xvfb-run with
// QT_QPA_PLATFORM=xcb (and LIBGL_ALWAYS_SOFTWARE=1 for Mesa's renderer).
void BM_Frame3D(benchmark::State& state) {
  QOpenGLContext context;
  QOffscreenSurface surface;
  surface.create();
  if (!context.create() || !context.makeCurrent(&surface)) {
    state.SkipWithError("no OpenGL context on this platform");
    return;
  }
  TCasaPlan plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  const QSize size(1280, 800);
  QOpenGLFramebufferObject target(size, QOpenGLFramebufferObject::Depth);
  target.bind();
  view3d::SceneRenderer renderer;
  view3d::Camera camera;
  const TRect bounds = plan.GetBounds();
  camera.Frame(view3d::ToScene({double(bounds.left), double(bounds.top), 0}),
               view3d::ToScene({double(bounds.right), double(bounds.bottom), 0}));
  const int32_t corner = plan.Walls[plan.WallCount / 2].C1;
  int32_t step = 30;
  model3d::ModelCache cache;
  for (auto _ : state) {
    plan.Corners[corner].x += step;
    step = -step;
    plan.RefreshGeometry();
    renderer.Upload(cache.Update(plan), 0, 0);
    context.functions()->glViewport(0, 0, size.width(), size.height());
    renderer.Draw(camera.ViewProjection(size));
    context.functions()->glFinish();
  }
  target.release();
  context.doneCurrent();
  ReportSize(state, plan);
}

}  // namespace casavo::bench
