// Drawing walls as users expect: armed tools, magnetism, the typed length of
// the wall just drawn, and the live length and angle beside the pointer.
#include <QPainter>
#include <cmath>

#include "common/numeric.h"
#include "editor/casa.h"
#include "editor/magnetism.h"
#include "editor/messages.h"

namespace casavo {
namespace {

const QColor kGuide{0, 200, 0};
const QColor kLabelBack{255, 255, 225};

int32_t CornerAtPoint(const TCasaPlan& plan, TPoint p) {
  for (int32_t c = 1; c <= plan.CornerCount; ++c)
    if (plan.Corners[c] == p) return c;
  return 0;
}

TPoint OtherEnd(const TCasaPlan& plan, int32_t w, int32_t c) {
  const TWall& wall = plan.Walls[w];
  return plan.Corners[wall.C1 == c ? wall.C2 : wall.C1];
}

}  // namespace

void TCasa::ArmTool(Tool mode) {
  ArmedTool = mode;
  Mode = mode;
}

void TCasa::Disarm() {
  ArmedTool = ModeSelect;
  Mode = ModeSelect;
  entry_->hide();
  setCursor(Qt::ArrowCursor);
  Plan->GuideX = -1;
  Plan->GuideY = -1;
  Paint();
}

// The wall at the corner whose direction is nearest a multiple of 15° turns
// onto it; the corner then sits at a whole number of centimetres from that
// wall's other end.
TPoint TCasa::Magnetise(int32_t c, TPoint q) {
  const TIntList walls = Plan->WallsAtCorner(c);
  double best = 360;
  Magnetised chosen{q, false};
  for (int32_t i = 1; i <= walls.Count; ++i) {
    const TPoint anchor = OtherEnd(*Plan, walls[i], c);
    if (anchor == q) continue;
    const double angle = UserAngle(anchor, q);
    const double off = std::fabs(angle - std::round(angle / 15) * 15);
    if (off >= best) continue;
    best = off;
    chosen = casavo::Magnetise(anchor, q, Plan->zx);
    magnetAnchor_ = anchor;
  }
  magnetTurned_ = chosen.turned;
  return chosen.point;
}

std::optional<std::pair<double, QString>> TCasa::ReadTypedLength(const QString& text) const {
  const auto read = ReadLength(text, &lengthUnits_, LengthUnit);
  if (!read || read->number <= 0) return std::nullopt;
  const double mm = lengthUnits_.Convert(read->number, read->unit, QStringLiteral("mm"));
  return std::pair{mm, TUnitEdit::FormatFloat(read->number, QStringLiteral("0.00")) +
                           QLatin1Char(' ') + read->unit};
}

bool TCasa::OpenLengthEntry(const QString& typed) {
  const bool drawingNow = MouseIsDown && drawingWall_ && Plan->Selected(kSelCorner) > 0;
  if (!drawingNow && !drawn_) return false;
  // Typing during the drag ends it where the pointer is.
  if (drawingNow) MouseUp(MouseX, MouseY);
  if (!drawn_) return false;
  const double length = Distance(drawnStart_, drawnEnd_);
  const double shown = lengthUnits_.Convert(length, QStringLiteral("mm"), LengthUnit);
  const TPoint end = Plan->PlanToScreen(drawnEnd_);
  entry_->Open(QPoint(std::min(end.x + 12, std::max(0, width() - 320)), end.y + 12),
               TUnitEdit::FormatFloat(shown, QStringLiteral("0.00")),
               QString::number(std::lround(UserAngle(drawnStart_, drawnEnd_)) % 360), typed);
  return true;
}

void TCasa::ApplyTypedLength(const QString& lengthText, const QString& angleText) {
  const auto length = ReadTypedLength(lengthText);
  bool angleOk = false;
  const double angle =
      QString(angleText).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&angleOk);
  if (!length || !angleOk || !std::isfinite(angle)) {
    Plan->Message(length ? "Tapez un angle en degrés, par exemple 90."
                         : "Tapez une longueur, par exemple 3,60 ou 360 cm.");
    return;
  }
  const int32_t end = CornerAtPoint(*Plan, drawnEnd_);
  if (end == 0) return;
  entry_->hide();
  setFocus(Qt::OtherFocusReason);
  Guarded([&] {
    Plan->Corners[end] = AlongUserAngle(drawnStart_, length->first, angle);
    Plan->CleanUpAfterCornerMove(end);
    Paint();
    AmendUndo(Msg("CASA_UNDO_COIN"));
  });
  drawn_ = false;
  Plan->NotifySelectionChange();
}

int32_t TCasa::LiveWall() const {
  const int32_t c = Plan->Selected(kSelCorner);
  if (!MouseIsDown || !Moved || c == 0) return 0;
  const TIntList walls = Plan->WallsAtCorner(c);
  for (int32_t i = 1; i <= walls.Count; ++i)
    if (!magnetTurned_ || OtherEnd(*Plan, walls[i], c) == magnetAnchor_) return walls[i];
  return walls.Count > 0 ? walls[1] : 0;
}

void TCasa::PaintOverlay(QPainter& painter) {
  const int32_t w = LiveWall();
  if (w == 0) return;
  const int32_t c = Plan->Selected(kSelCorner);
  const TPoint anchor = OtherEnd(*Plan, w, c);
  const TPoint a = Plan->PlanToScreen(anchor);
  const TPoint b = Plan->PlanToScreen(Plan->Corners[c]);
  painter.setRenderHint(QPainter::Antialiasing);
  if (magnetTurned_ && a.x != b.x && a.y != b.y) {
    // The snapped direction, across the view.
    const QLineF line(a.x, a.y, b.x, b.y);
    QLineF guide = line;
    guide.setLength(4 * (width() + height()));
    QLineF back(line.p2(), line.p1());
    back.setLength(4 * (width() + height()));
    painter.setPen(QPen(kGuide, 1));
    painter.drawLine(back.p2(), guide.p2());
  }
  const double length =
      lengthUnits_.Convert(Distance(anchor, Plan->Corners[c]), QStringLiteral("mm"), LengthUnit);
  const QString text = QStringLiteral("%1 %2  %3°")
                           .arg(TUnitEdit::FormatFloat(length, QStringLiteral("0.00")), LengthUnit)
                           .arg(std::lround(UserAngle(anchor, Plan->Corners[c])) % 360);
  QRect box = painter.fontMetrics().boundingRect(text).adjusted(-4, -2, 4, 2);
  box.moveTopLeft(QPoint(MouseX + 16, MouseY + 18));
  painter.fillRect(box, kLabelBack);
  painter.setPen(Qt::black);
  painter.drawRect(box);
  painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace casavo
