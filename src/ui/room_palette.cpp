// The room colour box's popup of soft colours, with "Autre couleur…" for the full dialog.
#include "ui/room_palette.h"

#include <QGridLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "files/plan_xml.h"
#include "plan/room_colours.h"

namespace casavo {
namespace {

constexpr int kColumns = 4;
constexpr int kSwatchPixels = 28;

}  // namespace

RoomPalettePopup::RoomPalettePopup(QWidget* parent, const QColor& current,
                                   std::function<void(const QColor&)> chosen,
                                   std::function<void()> other)
    : QFrame(parent, Qt::Popup) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 6, 6, 6);
  auto* grid = new QGridLayout;
  grid->setSpacing(4);
  int n = 0;
  for (const char* text : casavo::RoomPalette()) {
    const QColor colour = QColor::fromRgb(TextToColour(text));
    auto* swatch = new QPushButton;
    swatch->setObjectName(QStringLiteral("couleur%1").arg(text));
    swatch->setFixedSize(kSwatchPixels, kSwatchPixels);
    swatch->setToolTip(QStringLiteral("#") + QString::fromLatin1(text));
    // The current colour is framed darker.
    const QString border = colour.rgb() == current.rgb() ? QStringLiteral("2px solid #404040")
                                                         : QStringLiteral("1px solid #a0a0a0");
    swatch->setStyleSheet(
        QStringLiteral("background-color: %1; border: %2;").arg(colour.name(), border));
    connect(swatch, &QPushButton::clicked, this, [this, colour, chosen] {
      close();
      chosen(colour);
    });
    grid->addWidget(swatch, n / kColumns, n % kColumns);
    ++n;
  }
  column->addLayout(grid);
  auto* more = new QPushButton(QStringLiteral("Autre couleur…"));
  more->setObjectName(QStringLiteral("autreCouleur"));
  connect(more, &QPushButton::clicked, this, [this, other] {
    close();
    other();
  });
  column->addWidget(more);
}

void RoomPalettePopup::PopUpUnder(QWidget* anchor) {
  adjustSize();
  QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
  // Above the box when the screen ends below it.
  if (const QScreen* screen = anchor->screen();
      screen && at.y() + height() > screen->availableGeometry().bottom())
    at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height());
  move(at);
  show();
}

}  // namespace casavo
