// TCasa: construction, painting, the pointer dispatch by tool, failures of a step.

#include "editor/casa.h"

#include <QMouseEvent>
#include <QPainter>

#include "common/errors.h"
#include "editor/messages.h"
#include "render/painter.h"

namespace casavo {

TCasa::TCasa(QWidget* owner)
    : QWidget(owner),
      Plan(std::make_unique<TCasaPlan>()),
      keyState_(std::make_unique<SystemKeyState>()),
      dialogs_(std::make_unique<MessageBoxDialogs>(this)),
      entry_(new LengthEntry(this, [this](const QString& typed) {
        const auto read = ReadTypedLength(typed);
        return read ? read->second : QString();
      })) {
  setFocusPolicy(Qt::StrongFocus);
  // Hover feedback needs moves without a button held.
  setMouseTracking(true);
  // The picture covers the whole control; nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  StartHistory("Nouveau plan", true);
  lengthUnits_.AddUnit(QStringLiteral("mm"), QStringLiteral("millimètre"), 1);
  lengthUnits_.AddUnit(QStringLiteral("cm"), QStringLiteral("centimètre"), 10);
  lengthUnits_.AddUnit(QStringLiteral("m"), QStringLiteral("mètre"), 1000);
  connect(entry_, &LengthEntry::Applied, this, &TCasa::ApplyTypedLength);
  connect(entry_, &LengthEntry::Cancelled, this, [this] { setFocus(Qt::OtherFocusReason); });
}

TCasa::~TCasa() = default;

void TCasa::SetKeyState(std::unique_ptr<KeyState> keyState) {
  keyState_ = std::move(keyState);
}

void TCasa::SetDialogs(std::unique_ptr<EditorDialogs> dialogs) {
  dialogs_ = std::move(dialogs);
}

// --- painting -------------------------------------------------------------

void TCasa::Render() {
  if (Plan->ViewWidth <= 0 || Plan->ViewHeight <= 0) return;
  QImage image(Plan->ViewWidth, Plan->ViewHeight, QImage::Format_ARGB32_Premultiplied);
  try {
    viewCache_.PaintWhole(*Plan, image);
    tracing_.Follow(TraceFile(), Plan->Trace.page);
    if (TracingShown()) {
      QPainter painter(&image);
      DrawTracingOver(painter, *Plan, Plan->Trace, tracing_.Image());
    }
  } catch (const std::exception& error) {
    // A picture that cannot be drawn now would fail again on every move:
    // keep the last good one and say why once per paint in the status bar.
    Plan->Message(std::string("Erreur d'affichage : ") + error.what());
    return;
  }
  picture_ = std::move(image);
}

void TCasa::Paint() {
  localRefresh_.reset();
  Render();
  update();
  emit Painted();
}

void TCasa::PrepareMove() {
  try {
    viewCache_.PrepareChange(*Plan);
  } catch (const std::exception&) {
    viewCache_.Invalidate();
  }
}

void TCasa::PaintMoved(const std::vector<int32_t>& corners) {
  bool painted = false;
  // The picture to trace is blended over the whole view: a partial repaint
  // would leave it out where the plan is redrawn.
  if (!TracingShown()) {
    try {
      if (!localRefresh_ || !localRefresh_->Fits(*Plan)) localRefresh_.emplace(*Plan);
      const std::vector<int32_t> walls = localRefresh_->CornersMoved(*Plan, corners);
      painted = viewCache_.PaintChange(*Plan, picture_, walls);
    } catch (const std::exception&) {
      // The whole paint below says what went wrong.
      viewCache_.Invalidate();
    }
  }
  if (!painted) {
    localRefresh_.reset();
    Render();
  }
  update();
  emit Painted();
}

void TCasa::paintEvent(QPaintEvent*) {
  // After a resize the picture is redrawn at the new size before it is shown.
  if (picture_.size() != QSize(Plan->ViewWidth, Plan->ViewHeight)) Render();
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawImage(0, 0, picture_);
  PaintOverlay(painter);
}

void TCasa::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Plan->ViewWidth = width();
  Plan->ViewHeight = height();
}

// --- pointer and keys -------------------------------------------------------

// The middle button pans with any tool; the right button puts an armed tool
// down; any other button acts as the primary one.
void TCasa::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::MiddleButton) {
    StartPan(p.x(), p.y());
  } else if (event->button() == Qt::RightButton && ArmedTool != ModeSelect) {
    Disarm();
  } else {
    MouseDown(p.x(), p.y());
  }
}

void TCasa::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  const QPoint p = event->position().toPoint();
  if (panning_)
    Guarded([&] { Pan(p.x(), p.y()); });
  else
    MouseMove(p.x(), p.y());
}

void TCasa::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  const QPoint p = event->position().toPoint();
  if (panning_) {
    panning_ = false;
    return;
  }
  MouseUp(p.x(), p.y());
}

void TCasa::keyPressEvent(QKeyEvent* event) {
  QWidget::keyPressEvent(event);
  KeyDown(event->key(), event->modifiers());
}

// What each tool does with the pointer (tools 1 to 3 go back to ModeSelect
// inside their press, so the release after it is the select tool's; the two
// trace tools go back after their second click):
//
//   tool            press              move (button up / down)           release
//   ModeSelect      SelectPress        SelectHover / SelectDrag          Release
//   ModeDrawWall    DrawWallPress      DrawWallHover                     -
//   ModeAddOpening  AddOpeningPress    AddOpeningHover / -               -
//   ModeAddObject   AddObjectPress     AddObjectHover / -                -
//   ModeTraceScale  TracePress         -                                 -
//   ModeTraceLevel  TracePress         -                                 -
//
// Any button acts as the primary one.
void TCasa::MouseDown(int32_t x, int32_t y) {
  entry_->hide();
  drawn_ = false;
  drawingWall_ = false;
  placing_ = false;
  MouseIsDown = true;
  Moved = false;
  refused_ = false;
  DownX = x;
  DownY = y;
  DownX0 = Plan->x0;
  DownY0 = Plan->y0;
  setFocus(Qt::MouseFocusReason);
  Guarded([&] {
    // Text typed into a panel is a step of its own, before what this press does.
    CommitPendingUndo();
    if (Mode == ModeSelect && GrabTrace(x, y)) return;
    switch (Mode) {
      case ModeSelect:
        SelectPress(x, y);
        break;
      case ModeTraceScale:
      case ModeTraceLevel:
        TracePress(x, y);
        break;
      case ModeDrawWall:
        DrawWallPress(x, y);
        break;
      case ModeAddOpening:
        AddOpeningPress(x, y);
        break;
      case ModeAddObject:
        AddObjectPress(x, y);
        break;
    }
  });
}

void TCasa::MouseMove(int32_t x, int32_t y) {
  MouseX = x;
  MouseY = y;
  Guarded([&] {
    if (traceDrag_) return DragTrace(x, y);
    switch (Mode) {
      case ModeSelect:
        if (MouseIsDown)
          SelectDrag(x, y);
        else
          SelectHover(x, y);
        break;
      case ModeDrawWall:
        DrawWallHover(x, y);
        break;
      case ModeAddOpening:
        if (!MouseIsDown) AddOpeningHover(x, y);
        break;
      case ModeAddObject:
        if (!MouseIsDown) AddObjectHover(x, y);
        break;
      case ModeTraceScale:
      case ModeTraceLevel:
        break;
    }
  });
  // Set after the dispatch: the first move after a press still sees false.
  Moved = true;
}

void TCasa::MouseUp(int32_t, int32_t) {
  if (!MouseIsDown) return;
  if (traceDrag_) {
    traceDrag_ = false;
    MouseIsDown = false;
    setCursor(Qt::ArrowCursor);
    if (Moved) PushUndo("Déplacer le calque");
    Moved = false;
    return;
  }
  switch (Mode) {
    case ModeSelect:
      if (!refused_) Release();
      break;
    case ModeDrawWall:
    case ModeAddOpening:
    case ModeAddObject:
    case ModeTraceScale:
    case ModeTraceLevel:
      break;
  }
  MouseIsDown = false;
  Moved = false;
  // An armed tool is ready for the next press.
  if (ArmedTool != ModeSelect) Mode = ArmedTool;
  Paint();
}

// --- selection and failures -----------------------------------------------------

void TCasa::ClearSelection() {
  Plan->SetSelection(0, kSelNothing);
  Plan->NotifySelectionChange();
}

void TCasa::Status(std::string_view key) const {
  Plan->Message(Msg(key));
}

void TCasa::Guarded(const std::function<void()>& step) {
  const char* note = nullptr;
  try {
    step();
    return;
  } catch (const RangeError&) {
    note = "Le plan est plein : l'opération a été interrompue.";
  } catch (const OverflowError&) {
    note = "Coordonnées trop grandes : l'opération a été interrompue.";
  }
  Paint();
  Plan->Message(note);
}

bool TCasa::Refuse(bool fits, const char* text) {
  if (fits) return false;
  refused_ = true;
  Plan->Message(text);
  return true;
}

}  // namespace casavo
