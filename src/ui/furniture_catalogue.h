// The "Meubles" section: the catalogue tree, its symbols, and entries dragged onto the plan.
#pragma once

#include <QIcon>
#include <QObject>
#include <QTreeWidget>

namespace casavo {

class TCasa;
struct FurnitureModel;

// The picture of a model's symbol in a square of size pixels.
QIcon FurnitureIcon(const FurnitureModel& model, int size);

// The furniture catalogue of the side menu: one branch per group, one entry
// per model with its symbol, name and sizes. A click on an entry chooses the
// model; an entry dragged onto the plan is placed where it is dropped.
class FurnitureCatalogue : public QTreeWidget {
  Q_OBJECT

 public:
  static inline const QString kMimeType = QStringLiteral("application/x-casavo-meuble");

  explicit FurnitureCatalogue(QWidget* parent = nullptr);

  // The entry of a model's key, or null.
  QTreeWidgetItem* Entry(const QString& key) const;
  // Lets the plan area take entries dropped on it.
  void AcceptDropsOn(TCasa* editor);

 signals:
  // An entry was clicked: the model of that key is to be placed.
  void ModelChosen(const QString& key);
  // An entry was dropped on the plan and placed.
  void ModelDropped();

 protected:
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TCasa* editor_ = nullptr;
};

}  // namespace casavo
