// Shared by the benchmarks: generated plans of a given size.

#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "plan/casa_plan.h"

namespace casavo::bench {

// A generated plan of about `walls` walls (houses and blocks of flats: rooms
// on a grid with shared walls, doors, windows, named rooms), geometry and
// rooms refreshed. Built once per size and kept for the whole run.
const TCasaPlan& GeneratedPlan(int32_t walls);

// The same plan centred in a view of width x height pixels at the zoom that
// shows all of it, but not below minZoom, with rooms, lengths and problems
// shown and nothing selected.
TCasaPlan FittedPlan(int32_t walls, int32_t width, int32_t height, double minZoom = 0);

// The smallest zoom the editor's slider offers (1 m = 10 pixels).
inline constexpr double kSliderMinZoom = 0.01;

// Reports the real size of the plan measured, next to its time.
void ReportSize(benchmark::State& state, const TCasaPlan& plan);

// The benchmarks; each takes the requested wall count as its argument.
void BM_RefreshGeometry(benchmark::State& state);
void BM_DetectRooms(benchmark::State& state);
void BM_DragRooms(benchmark::State& state);
void BM_CleanUpAfterCornerMove(benchmark::State& state);
void BM_Draw(benchmark::State& state);
void BM_DrawWholePlan(benchmark::State& state);
void BM_CreatePreview(benchmark::State& state);
void BM_WritePlanXml(benchmark::State& state);
void BM_ReadPlanXml(benchmark::State& state);
void BM_PushUndo(benchmark::State& state);
void BM_UndoRedo(benchmark::State& state);
void BM_DragFrame(benchmark::State& state);
void BM_DragRunFrame(benchmark::State& state);
void BM_Build3D(benchmark::State& state);
void BM_Update3D(benchmark::State& state);
void BM_Frame3D(benchmark::State& state);

}  // namespace casavo::bench
