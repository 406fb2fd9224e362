// Tests of the sheet: scale, paper, title block, schedule, outputs.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <tuple>

#include "render/painter.h"
#include "render/sheet.h"
#include "render/sheet_output.h"
#include "render/surface_recording.h"
#include "render_test_util.h"

namespace casavo {
namespace {

using namespace casavo::testing;

constexpr int kReadBackDpi = 254;  // ten pixels a millimetre of paper

// A 10 m x 5 m rectangle of 200 mm walls (centre lines), 10,20 m outside.
std::unique_ptr<TCasaPlan> Rectangle(int32_t width = 10000, int32_t height = 5000) {
  auto plan = NewPlan();
  const TPoint a{0, 0}, b{width, 0}, c{width, height}, d{0, height};
  Wall(*plan, a, b, 200);
  Wall(*plan, b, c, 200);
  Wall(*plan, c, d, 200);
  Wall(*plan, d, a, 200);
  return plan;
}

SheetOptions PlainWalls(int32_t scale) {
  SheetOptions options;
  options.paper.scale = scale;
  options.rooms = options.dimensions = options.problems = false;
  options.title = QStringLiteral("Rectangle");
  return options;
}

// The page as pdftoppm or rsvg-convert sees it, at kReadBackDpi.
QImage ReadBack(const QByteArray& bytes, SheetFormat format, const QTemporaryDir& dir) {
  const QString input = dir.filePath("sheet." + FormatExtension(format));
  QFile file(input);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  const QString dpi = QString::number(kReadBackDpi);
  QProcess process;
  if (format == SheetFormat::kPdf)
    process.start("pdftoppm", {"-r", dpi, "-png", "-singlefile", input, dir.filePath("page")});
  else
    process.start("rsvg-convert", {"--dpi-x", dpi, "--dpi-y", dpi, "-b", "white", "-o",
                                   dir.filePath("page.png"), input});
  EXPECT_TRUE(process.waitForFinished(60000)) << process.program().toStdString() << " missing";
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QImage(dir.filePath("page.png"));
}

// Leftmost to rightmost dark pixel more than a millimetre above the band's
// frame: the outer faces.
int DrawingWidth(const QImage& page, const Sheet& sheet) {
  const int bandTop = static_cast<int>((sheet.Layout().band.top() - 1) * kReadBackDpi / 25.4);
  int left = page.width(), right = -1;
  for (int y = 0; y < bandTop; ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 128) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  return right - left;
}

TEST(Sheet, TenMetresReadBackToScaleFromPdfAndSvg) {
  struct Case {
    SheetFormat format;
    int32_t scale;
    int expected;
    int tolerance;
  };
  QTemporaryDir dir;
  auto plan = Rectangle();
  for (const Case& c :
       {Case{SheetFormat::kPdf, 100, 1020, 5}, Case{SheetFormat::kSvg, 100, 1020, 5},
        Case{SheetFormat::kPdf, 50, 2040, 10}, Case{SheetFormat::kSvg, 50, 2040, 10},
        Case{SheetFormat::kPng, 100, 1020, 5}}) {
    const Sheet sheet(*plan, PlainWalls(c.scale));
    const QImage page = c.format == SheetFormat::kPng
                            ? SheetImage(sheet, kReadBackDpi)
                            : ReadBack(SheetBytes(sheet, c.format), c.format, dir);
    ASSERT_FALSE(page.isNull());
    // A4 at 254 dpi, landscape for a wide plan (poppler rounds the points up).
    EXPECT_NEAR(page.width(), 2970, 1);
    EXPECT_NEAR(page.height(), 2100, 1);
    EXPECT_NEAR(DrawingWidth(page, sheet), c.expected, c.tolerance)
        << FormatExtension(c.format).toStdString() << " 1:" << c.scale;
  }
}

TEST(Sheet, TheTracedPictureShowsOnlyWhenAsked) {
  auto plan = Rectangle();
  // A grey picture over the middle of the rectangle, where the plain walls leave white.
  plan->Trace.path = "scan.png";
  plan->Trace.scale = 10;
  plan->Trace.x = 4000;
  plan->Trace.y = 2000;
  plan->Trace.opacity = 1;
  QImage grey(200, 100, QImage::Format_RGB32);
  grey.fill(QColor(128, 128, 128));
  SheetOptions options = PlainWalls(100);
  options.tracingPicture = grey;
  const auto centre = [&](bool tracing) {
    options.tracing = tracing;
    const Sheet sheet(*plan, options);
    const QImage page = SheetImage(sheet, kReadBackDpi);
    const QRectF drawing = sheet.Layout().drawing;
    return qGray(page.pixel(static_cast<int>(drawing.center().x() * kReadBackDpi / 25.4),
                            static_cast<int>(drawing.center().y() * kReadBackDpi / 25.4)));
  };
  EXPECT_EQ(centre(false), 255);
  EXPECT_LT(centre(true), 200);
}

TEST(Sheet, SvgCountsMillimetresAndPdfKeepsItsTexts) {
  auto plan = Rectangle();
  const Sheet sheet(*plan, PlainWalls(100));
  const QByteArray svg = SheetSvg(sheet);
  EXPECT_TRUE(svg.contains("width=\"297mm\" height=\"210mm\"")) << svg.left(600).toStdString();
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 297 210\""));

  QTemporaryDir dir;
  QFile pdf(dir.filePath("sheet.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
  pdf.write(SheetPdf(sheet));
  pdf.close();
  QProcess text;
  text.start("pdftotext", {pdf.fileName(), "-"});
  ASSERT_TRUE(text.waitForFinished(60000));
  const QString words = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(words.contains("Échelle 1:100")) << words.toStdString();
  EXPECT_TRUE(words.contains("Rectangle"));
}

TEST(Sheet, LayoutRefusesAScaleThatDoesNotFitAndNamesOneThatDoes) {
  struct Case {
    int32_t width, height;  // of the plan's centre lines, mm
    Paper paper;
    Orientation orientation;
    int32_t scale;
    int32_t laidOut;  // the scale used, or 0 when refused
    int32_t offered;  // the scale offered when refused
  };
  const Case cases[] = {
      {10000, 5000, Paper::kA4, Orientation::kAuto, 50, 50, 0},
      {16000, 12000, Paper::kA4, Orientation::kAuto, 50, 0, 100},
      {14000, 10000, Paper::kA3, Orientation::kAuto, 50, 50, 0},
      {16000, 12000, Paper::kA3, Orientation::kAuto, 50, 0, 100},
      {10000, 5000, Paper::kA4, Orientation::kPortrait, 50, 0, 100},
      {60000, 40000, Paper::kA4, Orientation::kAuto, 100, 0, 0},  // not even at 1:200
      {60000, 40000, Paper::kA4, Orientation::kAuto, kFitToPage, 281, 0},
  };
  for (const Case& c : cases) {
    auto plan = Rectangle(c.width, c.height);
    PaperChoice choice;
    choice.paper = c.paper;
    choice.orientation = c.orientation;
    choice.scale = c.scale;
    const std::string name = std::to_string(c.width) + " at 1:" + std::to_string(c.scale);
    try {
      const SheetLayout layout = LayOutSheet(*plan, choice, 1);
      EXPECT_EQ(layout.scale, c.laidOut) << name;
      // The drawing stays on the page, clear of the band.
      EXPECT_LE(layout.drawing.bottom(), layout.band.top()) << name;
      EXPECT_GE(layout.drawing.left(), 0) << name;
      EXPECT_LE(layout.drawing.right(), layout.page.width()) << name;
    } catch (const SheetError& e) {
      EXPECT_EQ(c.laidOut, 0) << name << ": " << e.what();
      EXPECT_EQ(e.fittingScale, c.offered) << name;
      if (c.offered) {
        EXPECT_NE(std::string(e.what()).find("1:" + std::to_string(c.offered)), std::string::npos);
      }
    }
  }
}

TEST(Sheet, ALongScheduleSpreadsOverColumnsWithinItsShareOfThePage) {
  auto plan = Rectangle(40000, 10000);
  PaperChoice a3;
  a3.paper = Paper::kA3;
  a3.scale = 200;
  for (const auto& [rooms, columns, listed] :
       {std::tuple{0, 1, 0}, std::tuple{5, 1, 5}, std::tuple{12, 3, 12}, std::tuple{200, 3, 66}}) {
    const SheetLayout layout = LayOutSheet(*plan, a3, rooms);
    EXPECT_EQ(layout.scheduleColumns, columns) << rooms;
    EXPECT_EQ(layout.scheduleRows, listed) << rooms;
    EXPECT_GE(layout.scheduleRowsPerColumn * layout.scheduleColumns, layout.scheduleRows);
    EXPECT_LE(layout.band.height(), 0.4 * layout.page.height()) << rooms;
  }
}

// The example house with every wall length shown, as a recording.
std::vector<RecordedOp> ExampleSheetOps(TCasaPlan& plan) {
  SheetOptions options;
  options.title = QStringLiteral("Maison");
  RecordingSurface surface;
  Sheet(plan, options).Draw(surface);
  return surface.Ops();
}

TEST(Sheet, ScheduleTitleBlockAndUprightTexts) {
  UseFrenchLocale();
  auto plan = NewPlan();
  // Walls in every direction, so that half of the lengths would read upside down.
  for (int32_t a = 0; a < 360; a += 15) {
    const double r = a * M_PI / 180;
    Wall(*plan, {20000, 20000},
         {20000 + static_cast<int32_t>(std::lround(6000 * std::cos(r))),
          20000 + static_cast<int32_t>(std::lround(6000 * std::sin(r)))},
         200);
  }
  const auto ops = ExampleSheetOps(*plan);
  int lengths = 0;
  for (const RecordedOp& op : OfKind(ops, Kind::kText)) {
    const double angle = std::atan2(op.transform.m12(), op.transform.m11()) * 180 / M_PI;
    EXPECT_GT(angle, -90 - 1e-9) << op.text.toStdString();
    EXPECT_LE(angle, 90 + 1e-9) << op.text.toStdString();
    lengths += op.text.endsWith(" m");
  }
  EXPECT_GE(lengths, 48);
  EXPECT_EQ(Texts(ops, "Échelle 1:100").size(), 1u);
  EXPECT_EQ(UprightAngle(180), 0);
  EXPECT_EQ(UprightAngle(270), 90);
  EXPECT_EQ(UprightAngle(-90), 90);
  EXPECT_EQ(UprightAngle(450), 90);
  EXPECT_EQ(UprightAngle(91), -89);
}

TEST(RoomSchedule, TotalIsTheSumOfTheLinesAndCsvFollowsTheLocale) {
  UseFrenchLocale();
  auto plan = NewPlan();
  const TPoint corners[] = {{0, 0}, {2000, 0}, {4000, 0}, {4000, 3000}, {2000, 3000}, {0, 3000}};
  for (int i = 0; i < 6; ++i) Wall(*plan, corners[i], corners[(i + 1) % 6], 200);
  Wall(*plan, {2000, 0}, {2000, 3000}, 100);  // two rooms
  plan->ShowRooms = false;
  const auto rows = RoomSchedule(*plan);
  ASSERT_EQ(rows.size(), 2u);
  int64_t sum = 0;
  for (const RoomRow& row : rows) sum += row.areaCents;
  EXPECT_EQ(TotalAreaCents(rows), sum);
  // 1,85 x 2,80 twice inside 200 mm outer walls and a 100 mm partition.
  EXPECT_EQ(sum, 2 * 518);
  EXPECT_EQ(ScheduleCsv(rows, QLocale(QLocale::French)).split('\n').at(3), "Total;;10,36");
  EXPECT_EQ(ScheduleCsv(rows, QLocale(QLocale::English)).split('\n').at(1), ";;5.18");

  const Sheet sheet(*plan, PlainWalls(100));
  RecordingSurface surface;
  sheet.Draw(surface);
  EXPECT_EQ(Texts(surface.Ops(), "10,36 m²").size(), 1u);  // the schedule's total line
  EXPECT_EQ(Texts(surface.Ops(), "Surface totale : 10,36 m²").size(), 1u);
}

}  // namespace
}  // namespace casavo
