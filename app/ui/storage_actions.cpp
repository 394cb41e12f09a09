#include "ui/storage_actions.h"

#include <QAction>
#include <QListWidget>
#include <QMouseEvent>

#include "draw/trace_area.h"

namespace sfigmo {

StorageActions::StorageActions(QObject* window, StorageSurface surface)
    : QObject(window),
      context_(std::move(surface)),
      registration_(context_),
      browser_(context_),
      trends_(context_) {
  setObjectName(QStringLiteral("StorageActions"));
}

StorageActions* StorageActions::install(QObject* window, StorageSurface surface) {
  auto* actions = new StorageActions(window, std::move(surface));
  actions->connectAll();
  return actions;
}

void StorageActions::connectAll() {
  StorageSurface& f = context_.surface;
  connect(f.Regis_, &QAction::triggered, this, [this] { registration_.Regis(); });
  connect(f.Save_, &QAction::triggered, this, [this] { registration_.Save(); });
  connect(f.Open_, &QAction::triggered, this, [this] { browser_.OpenClick(); });
  connect(f.Graf_, &QAction::triggered, this, [this] { trends_.GrafClick(); });
  connect(f.ListBox1, &QListWidget::itemDoubleClicked, this, [this] { browser_.DblListBox(); });
  connect(f.ListBox1, &QListWidget::itemClicked, this, [this] { browser_.ListBox1Click(); });
  connect(f.ListBox2, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    trends_.ListBox2Click(context_.surface.ListBox2->row(item));
  });
  connect(f.ListBox2, &QListWidget::itemDoubleClicked, this,
          [this] { trends_.ListBox2DblClick(); });
  f.TrendReplay = [this] { trends_.ListBox2DblClick(); };
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
    trends_.TreeView1MouseMove(context_.surface.traceCanvas().layout().toDesignX(x));
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace sfigmo
