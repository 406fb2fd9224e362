#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace casavo {
namespace {

struct ToolRun {
  int exitCode = -1;
  QString standardError;
};

// Runs casavo-tool without a display, as on a server.
ToolRun RunTool(const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.remove("DISPLAY");
  process.setProcessEnvironment(environment);
  process.start(CASAVO_BINARY_DIR "/tools/casavo-tool", arguments);
  if (!process.waitForFinished(60000)) return {};
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

}  // namespace
}  // namespace casavo
