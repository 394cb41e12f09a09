#include "ui/storage_actions.h"

#include <QAction>
#include <QListWidget>
#include <QMouseEvent>

#include "draw/trace_area.h"
#include "ui/form1.h"

namespace sfigmo {

StorageActions::StorageActions(TForm1* window, StorageSurface surface)
    : QObject(window),
      context_(std::move(surface)),
      registration_(context_),
      browser_(context_),
      trends_(context_) {
  setObjectName(QStringLiteral("StorageActions"));
}

StorageActions* StorageActions::install(TForm1* window, StorageSurface surface) {
  auto* actions = new StorageActions(window, std::move(surface));
  actions->connectAll(*window);
  return actions;
}

void StorageActions::connectAll(TForm1& f) {
  connect(f.Regis_, &QAction::triggered, this, [this] { registration_.Regis(); });
  connect(f.Save_, &QAction::triggered, this, [this] { registration_.Save(); });
  connect(f.Open_, &QAction::triggered, this, [this] { browser_.OpenClick(); });
  connect(f.Graf_, &QAction::triggered, this, [this] { trends_.GrafClick(); });
  connect(f.ListBox1, &QListWidget::itemDoubleClicked, this, [this] { browser_.OpenChosen(); });
  connect(f.ListBox1, &QListWidget::itemClicked, this, [this] { browser_.ListClicked(); });
  connect(f.ListBox2, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { trends_.EntryClicked(item->listWidget()->row(item)); });
  connect(f.ListBox2, &QListWidget::itemDoubleClicked, this, [this] { trends_.DrawChosenRange(); });
  f.TrendReplay = [this] { trends_.DrawChosenRange(); };
  f.RegistrationReplay = [this] { registration_.replay(); };
  f.TreeView1->setMouseTracking(true);
  f.TreeView1->installEventFilter(this);
  traceArea_ = f.TreeView1;
}

bool StorageActions::eventFilter(QObject* watched, QEvent* event) {
  // The window is not touched for other events: they also arrive while it
  // is being destroyed.
  if (event->type() == QEvent::MouseMove && watched == traceArea_) {
    const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
    trends_.ShowReadOutAt(context_.surface.traceCanvas().layout().toDesignX(x));
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace sfigmo
