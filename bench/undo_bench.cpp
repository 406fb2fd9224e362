// The undo step taken after every change: the plan text kept in memory and
// written to the recovery file of a temporary application folder.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench.h"
#include "editor/casa.h"
#include "files/settings.h"

namespace casavo::bench {
namespace {

// A fresh application folder for the run, removed afterwards; the user's own
// folder is never touched.
class TemporaryAppFolder {
 public:
  TemporaryAppFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "casavo-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
    folder_ = pattern;
    SetAppFolder(folder_ + "/");
  }
  ~TemporaryAppFolder() {
    SetAppFolder("");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TemporaryAppFolder(const TemporaryAppFolder&) = delete;
  TemporaryAppFolder& operator=(const TemporaryAppFolder&) = delete;

 private:
  std::string folder_;
};

// The history is emptied now and then, outside the timing, so that a long
// run does not fill the memory with snapshots.
constexpr size_t kHistoryKept = 32;

}  // namespace

void BM_PushUndo(benchmark::State& state) {
  const TemporaryAppFolder folder;
  TCasa casa;
  *casa.Plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    casa.PushUndo("Déplacer un coin");
    if (casa.UndoSnapshots.size() == kHistoryKept) {
      state.PauseTiming();
      casa.ClearUndo();
      state.ResumeTiming();
    }
  }
  if (!std::filesystem::exists(TCasa::RecoveryFilePath()))
    state.SkipWithError("no recovery file was written");
  ReportSize(state, *casa.Plan);
}

// One undo and one redo of a corner move: the plan read back from its
// snapshot twice and the recovery file rewritten twice.
void BM_UndoRedo(benchmark::State& state) {
  const TemporaryAppFolder folder;
  TCasa casa;
  *casa.Plan = GeneratedPlan(static_cast<int32_t>(state.range(0)));
  casa.StartHistory("Plan de départ", true);
  casa.Plan->Corners[1].x += 100;
  casa.PushUndo("Déplacer un coin");
  for (auto _ : state) {
    casa.Undo();
    casa.Redo();
  }
  if (casa.UndoSnapshots.size() != 2 || !casa.RedoSnapshots.empty())
    state.SkipWithError("the history lost a step");
  ReportSize(state, *casa.Plan);
}

}  // namespace casavo::bench
