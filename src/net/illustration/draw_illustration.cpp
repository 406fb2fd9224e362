// Draws the picture of the account dialog: a small house plan, as the editor
// shows plans. Run it once after changing the drawing:
//   casavo-draw-illustration src/net/enregistrement.jpg
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int kWidth = 170;
constexpr int kHeight = 250;
constexpr int kWall = 7;

void Room(QPainter& p, const QRect& r, QColor fill, const QString& name) {
  p.fillRect(r, fill);
  p.setPen(QColor(60, 60, 60));
  QFont font = p.font();
  font.setPixelSize(11);
  p.setFont(font);
  p.drawText(r, Qt::AlignCenter, name);
}

void Walls(QPainter& p, const QPainterPath& path) {
  QPen pen(QColor(70, 70, 80), kWall, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  p.strokePath(path, pen);
  QPen hatch(QColor(170, 170, 180), 1);
  p.save();
  p.setClipPath(QPainterPathStroker(pen).createStroke(path));
  p.setPen(hatch);
  for (int x = -kHeight; x < kWidth; x += 4) p.drawLine(x, kHeight, x + kHeight, 0);
  p.restore();
}

void Door(QPainter& p, QPoint hinge, int width, int startAngle) {
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.drawArc(QRect(hinge.x() - width, hinge.y() - width, 2 * width, 2 * width), startAngle * 16,
            90 * 16);
}

void Window(QPainter& p, const QRect& gap) {
  p.fillRect(gap, Qt::white);
  p.setPen(QPen(QColor(40, 90, 160), 1));
  p.drawRect(gap.adjusted(0, 0, -1, -1));
  p.drawLine(gap.left(), gap.center().y(), gap.right(), gap.center().y());
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
    return 2;
  }
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(QColor(232, 240, 248));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  const QRect house(20, 30, 130, 190);
  Room(p, QRect(20, 30, 130, 90), QColor(250, 228, 190), QStringLiteral("Séjour"));
  Room(p, QRect(20, 120, 60, 100), QColor(204, 232, 204), QStringLiteral("Cuisine"));
  Room(p, QRect(80, 120, 70, 100), QColor(214, 214, 244), QStringLiteral("Chambre"));

  QPainterPath walls;
  walls.addRect(house);
  walls.moveTo(20, 120);
  walls.lineTo(58, 120);
  walls.moveTo(102, 120);
  walls.lineTo(150, 120);
  walls.moveTo(80, 120);
  walls.lineTo(80, 175);
  walls.moveTo(80, 200);
  walls.lineTo(80, 220);
  Walls(p, walls);

  Window(p, QRect(55, 27, 40, 7));
  Window(p, QRect(147, 150, 7, 40));
  p.fillRect(QRect(30, 217, 26, 7), QColor(232, 240, 248));
  Door(p, QPoint(30, 220), 24, 0);
  Door(p, QPoint(80, 200), 22, 90);

  QFont title = p.font();
  title.setPixelSize(18);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(40, 90, 160));
  p.drawText(QRect(0, 228, kWidth, 22), Qt::AlignCenter, QStringLiteral("Casavo"));
  p.end();
  return image.save(QString::fromLocal8Bit(argv[1]), "JPEG", 90) ? 0 : 1;
}
