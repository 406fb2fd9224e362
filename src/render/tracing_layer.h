// The picture to trace: read from PNG, JPEG or a PDF page, its dark lines found, drawn under the
// plan.
#pragma once

#include <QImage>
#include <QString>
#include <QTransform>
#include <optional>

#include "plan/casa_plan.h"
#include "plan/trace.h"

class QPainter;

namespace casavo {

// The picture a plan is traced over, read from a PNG or JPEG file or from one
// page of a PDF, with a grey copy kept for finding its lines.
class TracingPicture {
 public:
  // Reads the file; on failure keeps nothing and returns why, in French.
  std::optional<QString> Load(const QString& path, int32_t page);
  void Clear();

  // Reads the file again only when another file or page is asked for; a file
  // that cannot be read leaves no picture.
  void Follow(const QString& path, int32_t page);

  bool Loaded() const { return !image_.isNull(); }
  const QImage& Image() const { return image_; }
  const QString& Path() const { return path_; }
  int32_t Page() const { return page_; }

  // The nearest point on the dark straight lines of the picture within
  // radius picture pixels of at, moved only across those lines: onto the line
  // along the plan's x axis, the one along its y axis, or both at a corner.
  // angle is the picture's turn, so that "along the plan's axes" holds for a
  // turned picture too.
  std::optional<TracePoint> SnapToLines(TracePoint at, double radius, double angle) const;

 private:
  QImage image_;
  QImage grey_;
  QString path_;
  int32_t page_ = 0;
};

// The pages of a PDF file; 0 when it cannot be read.
int32_t PdfPageCount(const QString& path);

// Picture pixels to pixels of a view of the plan (or sheet dots).
QTransform TraceTransform(const TCasaPlan& plan, const TTrace& trace);

// Lays the picture over what the painter already drew so that the drawing
// shows through, as if the picture were under it: multiplying keeps dark
// lines of both and leaves white as white.
void DrawTracingOver(QPainter& painter, const TCasaPlan& plan, const TTrace& trace,
                     const QImage& picture);

}  // namespace casavo
