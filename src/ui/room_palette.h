// The room colour box's popup of soft colours, with "Autre couleur…" for the full dialog.
#pragma once

#include <QColor>
#include <QFrame>
#include <functional>

namespace casavo {

// The room colours offered under the colour box: twelve soft colours and
// "Autre couleur…" for the full dialog. It closes on a choice or a click
// elsewhere.
class RoomPalettePopup : public QFrame {
  Q_OBJECT

 public:
  // chosen gets the colour picked; other runs when "Autre couleur…" is.
  RoomPalettePopup(QWidget* parent, const QColor& current,
                   std::function<void(const QColor&)> chosen, std::function<void()> other);

  // Opens under the widget.
  void PopUpUnder(QWidget* anchor);
};

}  // namespace casavo
