// Tests of casavo-tool's render subcommand.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

namespace casavo {
namespace {

struct ToolRun {
  int exitCode = -1;
  QString standardError;
};

// Runs casavo-tool without a display, as on a server.
ToolRun RunTool(const QStringList& arguments, QString* output = nullptr) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.remove("DISPLAY");
  environment.insert("LC_ALL", "fr_FR.UTF-8");
  process.setProcessEnvironment(environment);
  process.start(CASAVO_BINARY_DIR "/tools/casavo-tool", arguments);
  if (!process.waitForFinished(60000)) return {};
  if (output) *output = QString::fromUtf8(process.readAllStandardOutput());
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QString Example(const char* name) {
  return QString(CASAVO_SOURCE_DIR "/examples/") + name;
}

int TintedPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      count += qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
    }
  return count;
}

TEST(RenderTool, WritesThePreviewWithTheRequestedDisplay) {
  QTemporaryDir dir;
  const QString plain = dir.filePath("plain.png");
  const QString rooms = dir.filePath("rooms.png");
  ToolRun run = RunTool({"render", Example("studio.plan"), plain});
  ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
  EXPECT_TRUE(run.standardError.isEmpty()) << run.standardError.toStdString();
  run = RunTool({"render", Example("studio.plan"), rooms, "--scale", "100", "--rooms"});
  ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();

  // The studio's corners span 6000 x 5000 mm, plus 1000 mm on each side.
  const QImage small(plain, "PNG");
  const QImage large(rooms, "PNG");
  EXPECT_EQ(small.size(), QSize(400, 350));
  EXPECT_EQ(large.size(), QSize(800, 700));
  EXPECT_EQ(TintedPixels(small), 0);  // black and white without rooms
  EXPECT_GT(TintedPixels(large), 100000);
}

TEST(RenderTool, FailuresAndUsageErrors) {
  QTemporaryDir dir;
  const QString out = dir.filePath("out.png");
  QFile empty(dir.filePath("empty.plan"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.write(
      "<?xml version=\"1.0\"?><Casavo><affichage><zx>0.05</zx><zy>0.05</zy></affichage>"
      "<plan/></Casavo>");
  empty.close();

  ToolRun run = RunTool({"render", empty.fileName(), out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.standardError.contains("Le plan est vide")) << run.standardError.toStdString();
  EXPECT_EQ(run.standardError.count('\n'), 1);
  EXPECT_FALSE(QFile::exists(out));

  run = RunTool({"render", dir.filePath("missing.plan"), out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.standardError.count('\n'), 1);

  for (const QStringList& usage :
       {QStringList{"render", Example("studio.plan")},
        QStringList{"render", Example("studio.plan"), out, "--scale"},
        QStringList{"render", Example("studio.plan"), out, "--scale", "0"},
        QStringList{"render", Example("studio.plan"), out, "--scale", "5x"},
        QStringList{"render", Example("studio.plan"), out, "--walls"}}) {
    EXPECT_EQ(RunTool(usage).exitCode, 2) << usage.join(' ').toStdString();
  }
  EXPECT_FALSE(QFile::exists(out));
}

TEST(RenderTool, PaperOutputsRefusalsAndTheRoomSchedule) {
  QTemporaryDir dir;
  const QString house = Example("maison_familiale.plan");
  ToolRun run = RunTool({"render", house, dir.filePath("m.pdf"), "--scale", "1:50"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.standardError.contains("1:100")) << run.standardError.toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("m.pdf")));

  run = RunTool({"render", house, dir.filePath("m.pdf"), "--scale", "1:50", "--paper", "A3"});
  EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
  QFile pdf(dir.filePath("m.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  // The sheet on A4 landscape at 100 dpi; then the plan alone, cropped.
  ASSERT_EQ(RunTool({"render", house, dir.filePath("m.png"), "--scale", "1:100", "--dpi", "100"})
                .exitCode,
            0);
  EXPECT_EQ(QImage(dir.filePath("m.png")).size(), QSize(1169, 827));
  ASSERT_EQ(
      RunTool({"render", house, dir.filePath("b.svg"), "--scale", "1:200", "--no-sheet"}).exitCode,
      0);
  QFile svg(dir.filePath("b.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_FALSE(svg.readAll().contains("Échelle"));

  for (const QStringList& usage :
       {QStringList{"render", house, dir.filePath("x.pdf"), "--scale", "50"},
        QStringList{"render", house, dir.filePath("x.png"), "--dpi", "300"},
        QStringList{"render", house, dir.filePath("x.gif")},
        QStringList{"render", house, dir.filePath("x.pdf"), "--paper", "A5"}})
    EXPECT_EQ(RunTool(usage).exitCode, 2) << usage.join(' ').toStdString();

  QString csv;
  ASSERT_EQ(RunTool({"rooms", house, "--csv"}, &csv).exitCode, 0);
  QStringList lines = csv.split('\n', Qt::SkipEmptyParts);
  ASSERT_GT(lines.size(), 2);
  EXPECT_EQ(lines.front(), "Pièce;Type;Surface (m²)");
  const QLocale french(QLocale::French);
  int64_t sum = 0;
  for (int i = 1; i + 1 < lines.size(); ++i)
    sum += std::llround(french.toDouble(lines[i].section(';', 2)) * 100);
  EXPECT_EQ(std::llround(french.toDouble(lines.back().section(';', 2)) * 100), sum);
  EXPECT_TRUE(lines.back().startsWith("Total;;"));
}

}  // namespace
}  // namespace casavo
