// TCasa, the plan editor control, and TPlanInfo, the online identity of its plan.

#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_seams.h"
#include "editor/length_entry.h"
#include "editor/wall_runs.h"
#include "plan/casa_plan.h"
#include "plan/local_refresh.h"
#include "render/tracing_layer.h"
#include "render/unit_edit.h"
#include "render/view_cache.h"

namespace casavo {

// The online identity of the plan being edited. Texts are UTF-8, except
// Fichier, which holds a plan text as its bytes.
struct TPlanInfo {
  std::string Titre;             // title, shown in the window's caption
  std::string PlanId;            // the service's id; empty for a plan never saved there
  std::string Createur;          // login of the plan's creator, compared by the autosave
  std::string Divers1;           // a field of the service's list, passed on unchanged
  std::string Divers2;           // another such field
  std::string DateModification;  // modification stamp given by the service
  uint8_t Partage = 0;           // 0 "Aucun", 1 "Lecture", 2 "Modification", 3 "Utilisation"
  std::string Fichier;           // the plan text (its bytes) when the record carries one
  bool CalqueLocal = false;      // traced over a picture kept on this computer, never sent
};

// The plan area: shows the one plan of the program and turns mouse and
// keyboard input into edits. A press is read according to the current tool,
// and every tool but the select tool lasts for one press only.
class TCasa : public QWidget {
  Q_OBJECT

 public:
  // The tools (Mode). Every switch on a tool lists them all without a
  // default, so that the compiler names each one a new tool leaves out.
  enum Tool : uint8_t {
    ModeSelect = 0,      // select, drag, pan; the tool every other one returns to
    ModeDrawWall = 1,    // a press starts a wall
    ModeAddOpening = 2,  // a press places an opening on the wall under it
    ModeAddObject = 3,   // a press places an object off the walls
    ModeTraceScale = 4,  // two clicks on the traced picture, then its true distance
    ModeTraceLevel = 5,  // two clicks along a line of the picture that should be level
  };

  explicit TCasa(QWidget* owner = nullptr);
  ~TCasa() override;

  // Pixel offsets of a grabbed corner, and of a grabbed wall's ends, from the
  // press position (for a run: every corner's, in Run order).
  int32_t GrabDX = 0;
  int32_t GrabDY = 0;
  int32_t GrabC1DX = 0;
  int32_t GrabC1DY = 0;
  int32_t GrabC2DX = 0;
  int32_t GrabC2DY = 0;
  bool MouseIsDown = false;
  // A move arrived since the last press.
  bool Moved = false;
  int32_t MouseX = 0;
  int32_t MouseY = 0;
  int32_t DownX = 0;
  int32_t DownY = 0;
  // The view offsets at the press, for panning.
  int32_t DownX0 = 0;
  int32_t DownY0 = 0;
  // Corners next to the grabbed corner or wall, tried first by Snap.
  TIntList Neighbours;
  Tool Mode = ModeSelect;
  // The tool armed by the user: it comes back after each press until Échap, a
  // right click or another tool.
  Tool ArmedTool = ModeSelect;
  // The unit of bare numbers typed while drawing: the wall length field's.
  QString LengthUnit = QStringLiteral("m");
  // The kind of each new opening: the one last chosen.
  int32_t NextOpeningSorte = 0;
  // The furniture model the add-object tool places ("lit140"); empty for a
  // plain 60 cm box.
  std::string NextModel;
  // Owned; refilled in place by a new plan, a load or an undo, never replaced.
  const std::unique_ptr<TCasaPlan> Plan;
  TPlanInfo PlanInfo;
  // The local file the plan was opened from or last saved to (UTF-8); empty
  // for a plan that has none.
  std::string FilePath;
  // The undo history: the plan text of each state from the one opened or
  // created on, and the label of the change that led to it. The last item is
  // the state shown.
  std::vector<std::string> UndoLabels;
  std::vector<std::string> UndoSnapshots;
  // The states undone, the next one to redo last.
  std::vector<std::string> RedoLabels;
  std::vector<std::string> RedoSnapshots;
  // The label of text typed into a panel and not recorded yet.
  std::string PendingUndoLabel;

  // --- painting, pointer dispatch, failures (casa.cpp) ---
  // Redraws the whole plan off screen now and shows it.
  void Paint();
  // The last picture drawn.
  const QImage& Picture() const { return picture_; }
  // The outlines and rooms the gesture under way keeps up to date, if any.
  const LocalRefresh* GestureRefresh() const { return localRefresh_ ? &*localRefresh_ : nullptr; }

  // The pointer and keyboard handlers, in pixels of the control.
  void MouseDown(int32_t x, int32_t y);
  void MouseMove(int32_t x, int32_t y);
  void MouseUp(int32_t x, int32_t y);
  void KeyDown(int key, Qt::KeyboardModifiers shift);

  // --- tools and typed lengths (casa_drawing.cpp) ---
  // Arms a tool until Échap, a right click or another tool; Disarm goes back
  // to selecting.
  void ArmTool(Tool mode);
  void Disarm();

  // --- view (casa_view.cpp) ---
  // The view: zooms by factor keeping the plan point under the pixel where it
  // is; fits the whole plan in the view.
  void ZoomAt(int32_t x, int32_t y, double factor);
  void FitPlan();

  // The entry that takes a typed length while a wall is drawn.
  LengthEntry* Entry() const { return entry_; }
  // A typed length in millimetres and how it reads ("3,60 m"); nothing when
  // it is no length.
  std::optional<std::pair<double, QString>> ReadTypedLength(const QString& text) const;

  void ClearSelection();

  // Furniture: the add-object tool for one placement of model; a placement
  // at a pixel (as a press of that tool, or a drop from the catalogue); a
  // turn of the selected object, with its group; copy and paste of it and
  // its group. Each change is one undo step.
  void ArmFurniture(const std::string& model);
  int32_t PlaceFurniture(int32_t x, int32_t y);
  void TurnSelection(int32_t degrees);
  void CopySelection();
  void PasteSelection();

  // --- hit tests (hit_tests.cpp), snapping (snap.cpp) ---
  // Hit tests: the 1-based index under the pixel, or 0.
  int32_t CornerAt(int32_t x, int32_t y) const;
  int32_t WallAt(int32_t x, int32_t y) const;
  int32_t OpeningAt(int32_t x, int32_t y, int32_t wall) const;
  int32_t RoomAt(int32_t x, int32_t y) const;
  int32_t ObjetAt(int32_t x, int32_t y) const;

  // The plan point p moved onto nearby corners and walls; sets the guides.
  TPoint Snap(TPoint p, bool excludeSelected);

  // --- undo history and recovery file (undo_history.cpp) ---
  // Undo history. Every step, undo and redo also rewrites the recovery file.
  void PushUndo(const std::string& label);
  // Records the pending panel edit, if any, as its own step.
  void CommitPendingUndo();
  void Undo();
  void Redo();
  void ClearUndo();
  // Starts a new history whose first state is the plan as it is now; saved
  // tells whether that state is kept somewhere (a file or the service).
  void StartHistory(const std::string& label, bool saved);
  bool UndoAvailable() const { return UndoLabels.size() > 1; }
  bool RedoAvailable() const { return !RedoLabels.empty(); }
  // The state shown is now kept somewhere.
  void MarkSaved();
  // Writes the state shown to the recovery file (after a load, a save or a
  // new plan, which take no step).
  void Autosave();
  // The plan changed since it was opened, created or last saved.
  bool Modified() const;

  // The recovery file of the plan in progress; empty without an application folder.
  static std::string RecoveryFilePath();
  // Offers to reload a recovery file left by a run that did not end normally.
  // True when the plan was reloaded.
  bool OfferRecovery();
  // Deletes the recovery file (and the name of the plan's file beside it).
  static void DeleteRecoveryFile();

  void SetKeyState(std::unique_ptr<KeyState> keyState);
  void SetDialogs(std::unique_ptr<EditorDialogs> dialogs);

  // The picture traced over (casa_trace.cpp). Each change that moves or
  // scales it is an undo step; opacity, display and lock are noted as a
  // pending one.
  // Lays the file's picture under the plan at the view's top left corner and
  // arms the scale tool; the reason, when it cannot be read.
  std::optional<QString> ImportTrace(const QString& path, int32_t page);
  void StartTraceScale();
  void StartTraceLevel();
  // Turns the picture about its point at the middle of the view.
  void TurnTrace(double degrees);
  void SetTraceOpacity(double opacity);
  void SetTraceVisible(bool visible);
  void SetTraceLocked(bool locked);
  void RemoveTrace();
  // The picture's file as it can be read: a relative path is under the
  // folder of the plan's file.
  QString TraceFile() const;
  // After a plan was read: reads its picture. One that cannot be read is
  // dropped from the plan, and the text says so.
  std::optional<QString> OpenPlanTrace();
  // The plan is about to be written to toFile instead of fromFile (either
  // may be empty): the picture's path follows, relative where both are local.
  void RebaseTrace(const std::string& fromFile, const std::string& toFile);
  const TracingPicture& Tracing() const { return tracing_; }
  // The real distance between the two clicks of the scale tool, as typed.
  std::function<std::optional<QString>(const QString& prompt)> AskTraceDistance;

 signals:
  // A step, an undo, a redo, a new history or a save: what can be undone,
  // redone or saved may have changed.
  void HistoryChanged();
  // The zoom changed from the plan area (wheel, keys, fit).
  void ZoomChanged(double zoom);
  // The plan was drawn anew: after every change, also in the middle of a drag.
  void Painted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // --- gestures (casa_gestures.cpp; magnetism: casa_drawing.cpp, magnetism.cpp) ---
  // Presses, drags and releases.
  void SelectPress(int32_t x, int32_t y);
  void ObjectPress(int32_t o, int32_t previous, int32_t x, int32_t y);
  void RecordObjectDrags(int32_t x, int32_t y);
  void GrabCorner(int32_t c, int32_t x, int32_t y);
  void GrabWall(int32_t w, int32_t x, int32_t y);
  void SelectDrag(int32_t x, int32_t y);
  void DragCorner(int32_t c, int32_t x, int32_t y);
  void DragWall(int32_t w, int32_t x, int32_t y);
  void DragRun(int32_t x, int32_t y);
  int32_t DuplicateWall(int32_t w);
  void DragObject(int32_t o, int32_t x, int32_t y);
  // Object o against the wall it is near, turned from its angle at the press.
  void MagnetiseObject(int32_t o);
  void Pan(int32_t x, int32_t y);
  void Release();
  // Ends a corner, wall or object move: clean-up, paint, undo step, panels.
  void FinishMove(const std::function<void()>& cleanUp, std::string_view undoKey);
  void DrawWallPress(int32_t x, int32_t y);
  void AddOpeningPress(int32_t x, int32_t y);
  void AddObjectPress(int32_t x, int32_t y);

  // Magnetism of a dragged corner when no guide holds it.
  TPoint Magnetise(int32_t c, TPoint q);
  // The typed length and angle of the wall just drawn.
  bool OpenLengthEntry(const QString& typed);
  void ApplyTypedLength(const QString& length, const QString& angle);
  // The wall whose length and angle the live label shows, or 0.
  int32_t LiveWall() const;
  void PaintOverlay(QPainter& painter);
  void RememberDrawnWall(TPoint endBefore);
  // Replaces the last step, when it is one, by the plan as it is now.
  void AmendUndo(const std::string& label);
  void StartPan(int32_t x, int32_t y);

  // The picture traced over: the two-click tools, the Maj drag and the
  // pull of wall ends onto its lines.
  void TracePress(int32_t x, int32_t y);
  bool GrabTrace(int32_t x, int32_t y);
  void DragTrace(int32_t x, int32_t y);
  void FinishTraceClicks(TracePoint second);
  bool SnapToTracing(TPoint& p) const;
  bool TracingShown() const {
    return tracing_.Loaded() && Plan->Trace.visible && Plan->Trace.opacity > 0;
  }
  void FitTrace();
  TracePoint ScreenToPlanExact(int32_t x, int32_t y) const;

  // --- hover (casa_hover.cpp) ---
  // Hover feedback.
  void SelectHover(int32_t x, int32_t y);
  void DrawWallHover(int32_t x, int32_t y);
  void AddOpeningHover(int32_t x, int32_t y);
  void AddObjectHover(int32_t x, int32_t y);

  // --- keys and deletion (casa_keys.cpp) ---
  void DeleteSelection();
  void ConfirmDelete(std::string_view questionKey, std::string_view undoKey,
                     const std::function<void()>& remove);
  // Shows the last state of the history.
  void RestoreCurrent();
  bool Recover(const std::string& path);

  // The catalogue text of key, to the status bar.
  void Status(std::string_view key) const;
  // Runs one step of a handler. A full table or an overflow abandons the step
  // with a note in the status bar instead of reaching the event loop.
  void Guarded(const std::function<void()>& step);
  // When the plan has no room left for what a gesture would add, the gesture
  // is refused for the rest of the press, with a note. True when refused.
  bool Refuse(bool fits, const char* text);
  // Draws the plan into the off-screen picture; keeps the old one on failure.
  void Render();
  // A drag move of corners, in two halves around the move itself: before it,
  // the picture's items are located; after it, the outlines and rooms the
  // corners reach are refreshed and only what they can have changed is
  // repainted. Anything else repaints the whole plan.
  void PrepareMove();
  void PaintMoved(const std::vector<int32_t>& corners);

  std::unique_ptr<KeyState> keyState_;
  std::unique_ptr<EditorDialogs> dialogs_;
  QImage picture_;
  ViewCache viewCache_;
  // The walls at each corner for the drag in progress; dropped by every
  // whole paint.
  std::optional<LocalRefresh> localRefresh_;
  // The grabbed corner's plan position at the press (Shift pins an axis to it).
  TPoint grabStart_;
  bool refused_ = false;
  // The middle button pans whatever the tool.
  bool panning_ = false;
  // The wall just drawn: where it starts and ends, open to a typed length
  // until the next press.
  bool drawingWall_ = false;
  bool drawn_ = false;
  TPoint drawnStart_;
  TPoint drawnEnd_;
  // The grabbed run and its corners' pixel offsets from the press.
  WallRun run_;
  std::vector<QPoint> runGrab_;
  // The direction magnetism holds, drawn as a guide through its anchor.
  bool magnetTurned_ = false;
  TPoint magnetAnchor_;
  TUnitEditBase lengthUnits_;
  LengthEntry* entry_;
  // Objects copied, and how many times they were pasted since.
  std::vector<TObjet> clipboard_;
  int32_t pastes_ = 0;
  // The dragged object's angle at the press: magnetism turns it only while
  // it stays near a wall.
  int32_t dragAngle_ = 0;
  // The press placed an object: its drag belongs to the same step.
  bool placing_ = false;
  // The rooms of the last state recorded: any other room is new.
  std::vector<std::string> knownRooms_;
  // The plan text last kept in a file or on the service; empty when none.
  std::string savedText_;
  TracingPicture tracing_;
  // The first click of a two-click trace tool, in picture pixels.
  std::optional<TracePoint> traceClick_;
  // A Maj drag of the picture: where it was at the press.
  bool traceDrag_ = false;
  TracePoint traceStart_;
};

}  // namespace casavo
