// casavo-bench: the times of the work done on every mouse move, paint and
// undo step, on generated plans of 250, 1000 and 2000 walls. Run by hand on
// an optimised build; never by the tests.

#include <QApplication>

#include "bench.h"

namespace casavo::bench {
namespace {

benchmark::internal::Benchmark* Register(const char* name, void (*run)(benchmark::State&)) {
  auto* b = benchmark::RegisterBenchmark(name, run);
  for (int32_t walls : {250, 1000, 2000}) b->Arg(walls);
  return b->Unit(benchmark::kMillisecond);
}

// In the order of the road of one edit: model, paint, plan text, undo.
void RegisterAll() {
  Register("BM_RefreshGeometry", BM_RefreshGeometry);
  Register("BM_DetectRooms", BM_DetectRooms);
  Register("BM_DragRooms", BM_DragRooms);
  Register("BM_CleanUpAfterCornerMove", BM_CleanUpAfterCornerMove);
  Register("BM_Draw", BM_Draw);
  Register("BM_DrawWholePlan", BM_DrawWholePlan);
  // Encoded on several threads: the time the user waits is the wall clock's.
  Register("BM_CreatePreview", BM_CreatePreview)->UseRealTime();
  Register("BM_WritePlanXml", BM_WritePlanXml);
  Register("BM_ReadPlanXml", BM_ReadPlanXml);
  Register("BM_PushUndo", BM_PushUndo);
  Register("BM_UndoRedo", BM_UndoRedo);
  Register("BM_DragFrame", BM_DragFrame);
  Register("BM_DragRunFrame", BM_DragRunFrame);
  Register("BM_Build3D", BM_Build3D);
  Register("BM_Update3D", BM_Update3D);
  Register("BM_Frame3D", BM_Frame3D);
}

}  // namespace
}  // namespace casavo::bench

int main(int argc, char** argv) {
  // Painting needs a Qt application; no window is ever shown. The 3D frame
  // needs a platform with OpenGL, which the caller may choose.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  casavo::bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
