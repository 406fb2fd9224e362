// The "Meubles" section: the catalogue tree, its symbols, and entries dragged onto the plan.
#include "ui/furniture_catalogue.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <algorithm>

#include "editor/casa.h"
#include "render/furniture_symbols.h"
#include "render/surface_qpainter.h"

namespace casavo {
namespace {

constexpr int kIconPixels = 32;
constexpr int kKeyRole = Qt::UserRole;

QString Centimetres(int32_t millimetres) {
  return QString::number(millimetres / 10);
}

}  // namespace

QIcon FurnitureIcon(const FurnitureModel& model, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainterSurface surface(image, Shortcuts::kNone);
    surface.SetSmoothing(true);
    // The longer side fills the square less a pixel's margin on each side.
    const double scale = (size - 2.0) / std::max(model.width, model.depth);
    surface.Translate(size / 2.0, size / 2.0);
    surface.Scale(scale, scale);
    DrawFurnitureSymbol(surface, model.key, model.width, model.depth, kFurnitureInk);
  }
  return QIcon(QPixmap::fromImage(image));
}

FurnitureCatalogue::FurnitureCatalogue(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setIconSize(QSize(kIconPixels, kIconPixels));
  setIndentation(6);
  setRootIsDecorated(true);
  setUniformRowHeights(false);
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragOnly);
  setToolTip(QString());
  QTreeWidgetItem* group = nullptr;
  for (const FurnitureModel& model : FurnitureModels()) {
    const QString groupName = QString::fromUtf8(model.group);
    if (!group || group->text(0) != groupName) {
      group = new QTreeWidgetItem(this, {groupName});
      QFont bold = group->font(0);
      bold.setBold(true);
      group->setFont(0, bold);
      group->setFlags(Qt::ItemIsEnabled);
    }
    const QString size =
        Centimetres(model.width) + QStringLiteral(" × ") + Centimetres(model.depth);
    auto* entry = new QTreeWidgetItem(group, {QString::fromUtf8(model.name) + '\n' + size + " cm"});
    entry->setIcon(0, FurnitureIcon(model, kIconPixels));
    entry->setData(0, kKeyRole, QString::fromUtf8(model.key));
    entry->setToolTip(0,
                      QStringLiteral("Cliquez puis cliquez sur le plan, ou glissez sur le plan"));
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
  }
  expandAll();
  // A click on a group's name closes or opens it; on an entry, chooses it.
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    const QString key = item->data(0, kKeyRole).toString();
    if (key.isEmpty())
      item->setExpanded(!item->isExpanded());
    else
      emit ModelChosen(key);
  });
}

QTreeWidgetItem* FurnitureCatalogue::Entry(const QString& key) const {
  for (int g = 0; g < topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = topLevelItem(g);
    for (int i = 0; i < group->childCount(); ++i)
      if (group->child(i)->data(0, kKeyRole).toString() == key) return group->child(i);
  }
  return nullptr;
}

QMimeData* FurnitureCatalogue::mimeData(const QList<QTreeWidgetItem*>& items) const {
  if (items.isEmpty() || items.front()->data(0, kKeyRole).toString().isEmpty()) return nullptr;
  auto* mime = new QMimeData;
  mime->setData(kMimeType, items.front()->data(0, kKeyRole).toString().toUtf8());
  return mime;
}

void FurnitureCatalogue::AcceptDropsOn(TCasa* editor) {
  editor_ = editor;
  editor->setAcceptDrops(true);
  editor->installEventFilter(this);
}

// Other drops (plan files) go on to the window.
bool FurnitureCatalogue::eventFilter(QObject* watched, QEvent* event) {
  if (watched != editor_) return false;
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (!drag->mimeData()->hasFormat(kMimeType)) return false;
    drag->acceptProposedAction();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasFormat(kMimeType)) return false;
    drop->acceptProposedAction();
    editor_->NextModel = QString::fromUtf8(drop->mimeData()->data(kMimeType)).toStdString();
    editor_->Disarm();
    const QPoint at = drop->position().toPoint();
    editor_->PlaceFurniture(at.x(), at.y());
    editor_->Plan->NotifySelectionChange();
    editor_->setFocus(Qt::OtherFocusReason);
    emit ModelDropped();
    return true;
  }
  return false;
}

}  // namespace casavo
