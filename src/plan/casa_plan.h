// TCasaPlan, the plan model, and its records TWall, TOpening, TPiece, TObjet.

#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plan/fixed_table.h"
#include "plan/geometry.h"
#include "plan/int_list.h"
#include "plan/keyed_list.h"
#include "plan/trace.h"

namespace casavo {

class AdditionIndex;
class CornerWallIndex;

// Selection kinds: the values of SelKind, saying which table SelIndex indexes.
// A switch on a kind lists them all without a default, so that the compiler
// names each one a new kind leaves out.
enum SelectionKind : uint8_t {
  kSelNothing = 0,  // SelIndex is 0
  kSelCorner = 1,   // Corners
  kSelWall = 2,     // Walls
  kSelOpening = 3,  // Openings
  kSelObject = 4,   // Objects
  kSelRoom = 5,     // Rooms
};

// One wall (mur): a thick segment along its centre line from C1 to C2.
struct TWall {
  int32_t C1 = 0;     // index in Corners of the start corner
  int32_t C2 = 0;     // index in Corners of the end corner
  int32_t epais = 0;  // thickness, mm; epais/2 (towards zero) on each side of the centre line
  // Drawn hexagon: C1, outline point 1, outline point 2, C2, outline point 3,
  // outline point 4 (figure at JoinEnd in plan_outline.cpp). Derived.
  std::array<TPoint, 6> Shape{};
  bool JoinedAtC1 = false;  // another wall meets the C1 end; derived
  bool JoinedAtC2 = false;  // another wall meets the C2 end; derived
};

// One door or window (trou). It has no position of its own: it lies on its
// wall. The field names are the plan file's attribute names.
struct TOpening {
  int32_t cote = 0;    // 1: the door swings to the other side of the wall; else 0
  int32_t sorte = 0;   // type code (door, window, bay...; the table is in the main window)
  int32_t volet = 0;   // shutter: 0 none, 1 right, 2 left, 3 double
  int32_t imur = 0;    // index in Walls of the wall that carries it
  int32_t dcoin1 = 0;  // mm along the centre line from the wall's C1 to the opening's middle
  int32_t large = 0;   // width along the wall, mm
};

// One detected room (pièce); found again by every DetectRooms.
struct TPiece {
  double surface = 0;  // area of the inner polygon, mm², > 0
  TPoint Centre;       // area centroid, where the label goes; (0, 0) for no area
  std::string hash;    // key of the room's name, kind and colour: MD5 of Border, upper-case hex
  // Last: the fields before it and the walk's first items share a cache line,
  // which is all a room detection writes of most records.
  TIntList Border;  // closed walk of Outline entries; the last item is the first
};

// One placed object (objet), a rotated rectangle. The field names are the
// plan file's attribute names.
struct TObjet {
  int32_t x = 0;       // centre, mm
  int32_t y = 0;       // centre, mm (downwards)
  int32_t l = 0;       // extent along its own x axis before rotation, mm
  int32_t h = 0;       // extent along its own y axis before rotation, mm
  int32_t a = 0;       // rotation about the centre, degrees
  int32_t groupe = 0;  // group number from NextGroup; 0 or less: in no group
  std::string nom;     // name shown on the plan and in its panel, UTF-8
  std::string modele;  // furniture model whose symbol is drawn ("lit140"...); empty: a plain box
  int32_t DragX = 0;   // pixels: screen position minus the press, during a drag; not saved
  int32_t DragY = 0;   // pixels, as DragX
};

// The whole drawing of one floor: fixed-capacity tables, the rooms found from
// the walls, the view and the display switches. Lengths are int32 millimetres,
// x to the right, y downwards. Tables are 1-based with a count.
class TCasaPlan {
 public:
  static constexpr int32_t kMaxCorners = 4000;
  static constexpr int32_t kMaxWalls = 2000;
  static constexpr int32_t kMaxOpenings = 2000;
  static constexpr int32_t kMaxOutline = 16000;
  static constexpr int32_t kMaxRooms = 1000;
  static constexpr int32_t kMaxObjects = 1000;

  TCasaPlan() = default;

  // Host notifications; both optional.
  std::function<void(const std::string& text)> OnMessage;
  std::function<void(void* sender)> OnSelectionChange;

  // View (pixels and pixels per millimetre).
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t ViewWidth = 0;
  int32_t ViewHeight = 0;
  double zx = 1.0;
  double zy = 1.0;
  int32_t MarkerSize = 6;

  int32_t SelIndex = 0;
  uint8_t SelKind = kSelNothing;
  // The other pieces of the straight run the selected wall belongs to, shown
  // selected with it; emptied by every SetSelection.
  TIntList SelectedRun;

  int32_t GuideX = -1;
  int32_t GuideY = -1;
  int32_t DefaultThickness = 250;
  // Height of every wall, for the 3D view (millimetres).
  static constexpr int32_t kDefaultWallHeight = 2500;
  static constexpr int32_t kMinWallHeight = 1000;
  static constexpr int32_t kMaxWallHeight = 10000;
  int32_t WallHeight = kDefaultWallHeight;

  bool ShowDimensions = false;
  bool ShowProblems = false;
  bool ShowRooms = false;
  bool ShowObjects = false;
  bool ShowObjectNames = false;

  int32_t CornerCount = 0;
  FixedTable<TPoint, kMaxCorners> Corners;
  int32_t WallCount = 0;
  FixedTable<TWall, kMaxWalls> Walls;
  int32_t OpeningCount = 0;
  FixedTable<TOpening, kMaxOpenings> Openings;
  // Outline point k of wall w is entry 4w+k.
  FixedTable<TPoint, kMaxOutline> Outline;
  int32_t RoomCount = 0;
  FixedTable<TPiece, kMaxRooms> Rooms;
  // Where the last room detection's walks stopped without closing: the wall
  // faces do not meet there, shown as problems.
  std::vector<TPoint> OpenWalkEnds;
  // Room attributes keyed by room hash: name, kind, colour ("RRGGBB").
  KeyedList RoomNames;
  KeyedList RoomKinds;
  KeyedList RoomColours;
  int32_t ObjectCount = 0;
  FixedTable<TObjet, kMaxObjects> Objects;
  int32_t NextGroup = 0;
  // The picture traced over, if any; it follows the plan when the origin shifts.
  TTrace Trace;

  // --- lifetime (plan_view.cpp) -----------------------------------------
  // New plan: tables, room attributes, NextGroup and selection emptied, the
  // wall height back to its default. The
  // view and the display switches are left alone.
  void Clear();

  // --- selection and host (plan_view.cpp) ---------------------------------
  void SetSelection(int32_t index, uint8_t kind);
  // SelIndex when SelKind is kind, else 0.
  int32_t Selected(uint8_t kind) const;
  // The selected wall, or a piece of its selected run.
  bool WallSelected(int32_t w) const;
  // Calls OnMessage when assigned.
  void Message(const std::string& text) const;
  // Calls OnSelectionChange (with a null sender) when assigned.
  void NotifySelectionChange() const;

  // --- view conversions, long double rounded once, half to even (plan_view.cpp) ---
  int32_t PlanToScreenX(int32_t x) const;
  int32_t PlanToScreenY(int32_t y) const;
  TPoint PlanToScreen(TPoint p) const;
  int32_t ScreenToPlanX(int32_t px) const;
  int32_t ScreenToPlanY(int32_t py) const;
  TPoint ScreenToPlan(TPoint p) const;

  // --- geometry (plan_shapes.cpp; outlines: plan_outline.cpp) -------------
  TQuad WallPolygon(int32_t w) const;
  TQuad OpeningPolygon(int32_t n) const;
  TQuad ObjetPolygon(int32_t n) const;
  // SegmentIntersection of wall i's and wall j's centre lines: a point on wall i.
  TPoint WallIntersection(int32_t i, int32_t j) const;
  // Shape, JoinedAtC1/C2 and Outline[4w+1..4w+4] of wall w.
  void UpdateWallOutline(int32_t w);
  // The same, finding the walls at its corners through an index of the plan
  // as it stands instead of scanning the table.
  void UpdateWallOutline(int32_t w, const CornerWallIndex& index);
  // Every wall's outline, then the rooms when ShowRooms is on.
  void RefreshGeometry();
  // Smallest rectangle holding every corner; (INT32_MAX, INT32_MAX, INT32_MIN,
  // INT32_MIN) without corners.
  TRect GetBounds() const;

  // --- corners (plan_edit.cpp) ----------------------------------------------
  int32_t FindOrAddCorner(TPoint p);
  int32_t AddCorner(TPoint p);
  void DeleteCorner(int32_t k);
  void MergeCorners(int32_t keep, int32_t remove);
  TIntList CornersAround(int32_t k) const;
  TIntList WallsAtCorner(int32_t k) const;

  // --- walls (plan_edit.cpp; joins: joins.cpp) ------------------------------
  // Finds or adds both corners, appends a wall of DefaultThickness and splits
  // it at its crossings. Returns the new wall's index. An add that raises
  // leaves the plan as it was (so do all the operations below that raise).
  int32_t AddWall(TPoint p1, TPoint p2);
  // The same with a given thickness, which the pieces cut off it keep too.
  int32_t AddWallOfThickness(TPoint p1, TPoint p2, int32_t epais);
  // Appends the wall (c1, c2, epais) as it is, without splitting.
  int32_t AppendWall(int32_t c1, int32_t c2, int32_t epais);
  void SplitAtCrossings(int32_t a);
  // Where a wall end at p, on a wall running on to q, joins the walls: when p
  // lies inside another wall's body, a few millimetres off its centre line,
  // the foot on that line (of the nearest such wall); otherwise p.
  TPoint JoinedEnd(TPoint p, TPoint q) const;
  // Moves the corner onto the centre line of a wall whose body holds it, as
  // JoinedEnd does for a wall end; the crossing cut then joins them.
  void JoinCornerToWalls(int32_t corner);
  void DeleteWall(int32_t a);
  int32_t WallLength(int32_t w) const;
  TPoint WallMiddle(int32_t w) const;

  // --- openings (plan_edit.cpp; clamps: plan_cleanup.cpp) ---------------------
  int32_t AddOpening(int32_t imur, int32_t large, int32_t dcoin1, int32_t sorte, int32_t volet,
                     int32_t cote);
  void DeleteOpening(int32_t n);
  bool ClampOpening(int32_t n);
  bool ClampAllOpenings();

  // --- objects (plan_edit.cpp) ------------------------------------------------
  int32_t AddObjet(int32_t x, int32_t y, int32_t l, int32_t h, int32_t a, int32_t groupe,
                   const std::string& nom);
  void DeleteObjet(int32_t n);

  // --- whole plan (plan_cleanup.cpp; overlaps: overlaps.cpp) --------------------
  void RemoveShortAndDuplicateWalls();
  void MergeCoincidentCorners();
  void NormaliseOrigin();
  // Walls that cover a common stretch of one line: the thicker (between
  // equals, the earlier) keeps it and the other is cut back to what lies
  // beyond, or goes. Exact duplicates are left to RemoveShortAndDuplicateWalls.
  void CutOverlappingWalls();
  // The clean-up pass after a gesture, up to and including RefreshGeometry.
  // The editor repaints, records its undo step and, after a corner move, runs
  // NormaliseOrigin once more itself.
  void CleanUpAfterCornerMove(int32_t corner);
  void CleanUpAfterWallMove(int32_t wall);
  // After a whole plan is read: free ends poking into other walls are joined
  // as the clean-up joins them, and the walls they now end on are cut there.
  // When it raises, the plan is left as it was.
  void JoinPokingEndsEverywhere();

  // --- rooms (rooms.cpp) ----------------------------------------------------------
  // Rebuilds RoomCount and Rooms from Outline. Never raises.
  void DetectRooms();
  // Signed shoelace area (mm²) and centroid of a walk of outline entries.
  double Area(const TIntList& walk) const;
  TPoint Centroid(const TIntList& walk) const;
  // Attributes of room r, empty when none is stored.
  std::string RoomName(int32_t r) const;
  std::string RoomKind(int32_t r) const;
  std::string RoomColour(int32_t r) const;

  // --- many walls at once (plan_edit.cpp, addition_index.cpp) -----------------------
  // While a BulkAdding lives, the plan keeps an index of its corner positions
  // and of where its walls lie, so that each wall added finds its corners and
  // the walls it crosses without scanning the tables, with the same results.
  // Meanwhile the plan must change only through its adding operations, as the
  // plan text reader does; a deletion or a shift of the origin drops the index.
  class BulkAdding {
   public:
    explicit BulkAdding(TCasaPlan& plan);
    ~BulkAdding();
    BulkAdding(const BulkAdding&) = delete;
    BulkAdding& operator=(const BulkAdding&) = delete;

   private:
    TCasaPlan& plan_;
    bool owner_ = false;
  };

 private:
  // What an add has changed so far: the counts before it, the walls whose
  // start a cut moved, with their old start, and the openings a cut moved to
  // the piece it cut off. A failed add is taken back through it, whatever
  // depth of cuts it failed at.
  struct AddJournal {
    int32_t corners = 0;
    int32_t walls = 0;
    std::vector<std::pair<int32_t, int32_t>> movedStarts;
    std::vector<std::pair<int32_t, TPoint>> movedCorners;
    std::vector<std::pair<int32_t, TOpening>> movedOpenings;
  };

  // A copy of the plan, or a plan assigned to, starts without an index and
  // without an add in progress.
  class IndexHolder {
   public:
    IndexHolder();
    IndexHolder(const IndexHolder&);
    IndexHolder& operator=(const IndexHolder&);
    ~IndexHolder();

    std::unique_ptr<AdditionIndex> index;
    AddJournal* journal = nullptr;
  };

  // Runs an add; when it raises, the plan is put back as it was before it.
  template <class F>
  int32_t Atomically(F&& add);
  void TakeBack(const AddJournal& journal);
  // Corners of walls arriving inside wall w's body, or lying along it from
  // one of its ends, move onto its centre line. Returns the corners it moved.
  std::vector<int32_t> JoinCornersInside(int32_t w);
  // Free ends of wall w, and free ends of other walls, whose end face reaches
  // into the body of another wall (wall w, for the other walls' ends) while
  // the end point stays outside it, move onto that wall's centre line, when
  // the two are already linked through other walls, or when the wall is
  // free at both ends and bridges two linked walls or pokes into a wall on
  // a loop. A free end stopping beside the end of a linked wall, closer than
  // half of either thickness, takes its corner.
  // Returns the corners it moved.
  std::vector<int32_t> JoinPokingEnds(int32_t w);
  // Each end of wall w that lies a few millimetres from another wall's end
  // (closer than the room walk's coincidence) takes its corner. Returns the
  // corners it moved.
  std::vector<int32_t> JoinCoincidentEnds(int32_t w);
  // Where wall a's end at corner k pokes into wall b, if at no corner yet.
  std::optional<TPoint> PokeInto(int32_t a, int32_t k, int32_t b) const;
  // Where the corner k of two walls reaches into wall b with a point of
  // their joint, if at no corner yet. Works out the two walls' outlines.
  std::optional<TPoint> TipInto(int32_t k, int32_t b, const CornerWallIndex& ends);
  // The corners of two walls, at an end of wall w or reaching into it, whose
  // joint point (a sharp corner's mitre tip) reaches into a wall they are
  // linked to through others while the corner stays outside it, move onto
  // its centre line. Returns the corners it moved.
  std::vector<int32_t> JoinPokingTips(int32_t w);
  // Where the other end of wall a, whose end at corner k pokes into wall b,
  // pokes into a wall linked to b without a.
  std::optional<TPoint> BridgeEnd(int32_t a, int32_t k, int32_t b, TPoint x) const;
  // The end of wall b that wall a's free end at corner k stops beside.
  std::optional<int32_t> CornerBeside(int32_t a, int32_t k, int32_t b) const;
  std::optional<int32_t> CornerBesideAny(int32_t a, int32_t k) const;
  // Wall w starts at corner g from now on, ready for the cut that appends the
  // piece from g back to its old start, which is returned. Its openings keep
  // their place: those on the piece cut off go to it.
  int32_t CutStartAt(int32_t w, int32_t g);
  // Cuts every wall whose centre line runs through corner k, between its ends.
  void CutWallsThrough(int32_t k);
  void CutWallsThroughOf(int32_t k);
  bool CornerExistsAt(TPoint p) const;
  void MoveCorner(int32_t k, TPoint to);
  void SplitAtCrossingsOf(int32_t a);
  // Runs a whole-plan operation; when it raises, the plan is put back. Inside
  // another guarded operation it runs as it is: the outer one puts back all.
  template <class F>
  void Guarded(F&& operation);
  // Each join of the clean-up (ends inside bodies, poking ends and tips,
  // ends a millimetre apart) over `walls` in turn; returns the corners moved.
  std::vector<int32_t> JoinEndsAround(const std::vector<int32_t>& walls);
  void CleanUpAfterCornerMoveOf(int32_t corner);
  void CleanUpAfterWallMoveOf(int32_t wall);

  IndexHolder bulk_;
  // How many guarded operations are running; a copy of the plan runs none.
  struct GuardDepth {
    int32_t depth = 0;
    GuardDepth() = default;
    GuardDepth(const GuardDepth&) {}
    GuardDepth& operator=(const GuardDepth&) { return *this; }
  };
  GuardDepth guards_;
};

}  // namespace casavo
