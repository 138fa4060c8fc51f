// The layer panel and its dock in the main window.
#include "gui/layerpanel.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/mainwindow.h"
#include "gui/menus.h"
#include "host/db/db.h"
#include "host/ed/editor.h"
#include "host/render/palette.h"

namespace vorn::gui {
namespace {

constexpr int kNameRole = Qt::UserRole;

// A square of the layer's colour as the drawing view shows it (on its dark background), framed
// so that white and black both show on the list.
QIcon Swatch(int aci) {
    const vorn::render::Rgb c = vorn::render::AciToRgb(aci, false);
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(96, 96, 96));
    p.setBrush(QColor::fromRgbF(c.r, c.g, c.b));
    p.drawRect(QRect(0, 0, 13, 13));
    return QIcon(pixmap);
}

const AcDbLayerTable* LayerTable(const AcDbDatabase* db) {
    return db ? AcDbLayerTable::cast(db->peekObject(db->layerTableId())) : nullptr;
}

}  // namespace

LayerPanel::LayerPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("layerList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setFocusPolicy(Qt::NoFocus);  // typing stays with the drawing and the command line
    m_list->setHeaderLabels({QString(), tr("Layer"), tr("On"), tr("Colour")});
    m_list->headerItem()->setToolTip(kCurrentColumn, tr("The current layer: new objects go there"));
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(kCurrentColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(kOnColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(kColourColumn, QHeaderView::ResizeToContents);
    m_list->setToolTip(tr("Double-click a layer to make it current; the box turns it on or off"));
    layout->addWidget(m_list);

    connect(m_list, &QTreeWidget::itemChanged, this, &LayerPanel::onItemChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &LayerPanel::onItemDoubleClicked);
}

void LayerPanel::refresh() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    const std::uint64_t revision = db ? db->revision() : 0;
    if (db == m_shown && revision == m_revision && (db || m_list->topLevelItemCount() == 0)) return;
    rebuild(db);
    m_shown = db;
    m_revision = revision;
}

QTreeWidgetItem* LayerPanel::itemOf(const QString& layer) const {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->data(kNameColumn, kNameRole).toString() == layer) return item;
    }
    return nullptr;
}

void LayerPanel::rebuild(AcDbDatabase* db) {
    const QSignalBlocker blocker(m_list);
    const QString selected = m_list->currentItem()
                                 ? m_list->currentItem()->data(kNameColumn, kNameRole).toString()
                                 : QString();
    m_list->clear();
    const AcDbLayerTable* table = LayerTable(db);
    if (!table) return;
    const AcDbObjectId current = db->clayer();
    for (const AcDbObjectId& id : table->recordIds()) {
        const auto* layer = AcDbLayerTableRecord::cast(db->peekObject(id));
        if (!layer) continue;
        const QString name = QString::fromStdWString(layer->name());
        auto* item = new QTreeWidgetItem(m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setData(kNameColumn, kNameRole, name);
        item->setText(kNameColumn, name);
        item->setCheckState(kOnColumn, layer->isOff() ? Qt::Unchecked : Qt::Checked);
        setOnToolTip(item, !layer->isOff());
        const int aci = layer->color().colorIndex();
        item->setIcon(kColourColumn, Swatch(aci));
        item->setText(kColourColumn, QString::number(aci));
        item->setToolTip(kColourColumn, tr("Colour %1").arg(aci));
        if (id == current) {
            item->setText(kCurrentColumn, QStringLiteral("\u2713"));
            item->setToolTip(kCurrentColumn, tr("The current layer"));
            QFont bold = item->font(kNameColumn);
            bold.setBold(true);
            item->setFont(kNameColumn, bold);
        }
        if (name == selected) m_list->setCurrentItem(item);
    }
}

void LayerPanel::setOnToolTip(QTreeWidgetItem* item, bool on) {
    item->setToolTip(
        kOnColumn, on ? tr("On: click to hide its objects") : tr("Off: click to show its objects"));
}

void LayerPanel::onItemChanged(QTreeWidgetItem* item, int column) {
    if (column != kOnColumn) return;
    const bool on = item->checkState(kOnColumn) == Qt::Checked;
    const AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    const bool shownAsIs = db && db == m_shown && db->revision() == m_revision;
    const QSignalBlocker blocker(m_list);
    if (!switchLayer(item->data(kNameColumn, kNameRole).toString().toStdWString(), on)) {
        item->setCheckState(kOnColumn, on ? Qt::Unchecked : Qt::Checked);
        return;
    }
    setOnToolTip(item, on);
    // The item is in the middle of its click: the list is not rebuilt under it. When the switch
    // was the only change it already shows; otherwise it is listed again once the click is over.
    if (shownAsIs)
        m_revision = db->revision();
    else
        QTimer::singleShot(0, this, &LayerPanel::refresh);
    Q_EMIT layerSwitched();
}

void LayerPanel::onItemDoubleClicked(QTreeWidgetItem* item, int column) {
    if (column == kOnColumn) return;  // a quick second click on the box is no wish to switch layers
    RunCommandWithAnswers(
        L"LAYER", {L"S", item->data(kNameColumn, kNameRole).toString().toStdWString(), L""});
}

bool LayerPanel::switchLayer(const std::wstring& name, bool on) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    const AcDbObjectId id = db ? db->findLayer(name) : AcDbObjectId();
    if (id.isNull()) return false;
    // At Command: the switch is a step of its own, which U takes back as it would a LAYER
    // command; while a command waits it joins that command's step.
    const bool ownStep = !vorn::ed::CommandActive();
    if (ownStep) vorn::ed::BeginUndoStep(L"LAYER");
    AcDbLayerTableRecord* layer = nullptr;
    const bool opened = acdbOpenObject(layer, id, AcDb::kForWrite) == Acad::eOk;
    if (opened) {
        layer->setIsOff(!on);
        layer->close();
    }
    if (ownStep) vorn::ed::EndUndoStep();
    if (!opened)
        vorn::ed::Print(L"\nLayer \"" + name +
                        L"\" is in use by the running command and cannot be switched now.\n");
    return opened;
}

void MainWindow::buildLayerPanel() {
    auto* dock = new QDockWidget(tr("Layers"), this);
    dock->setObjectName(QStringLiteral("layerDock"));
    auto* panel = new LayerPanel(dock);
    panel->setObjectName(QStringLiteral("layers"));
    dock->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    resizeDocks({dock}, {240}, Qt::Horizontal);
    connect(panel, &LayerPanel::layerSwitched, this, &MainWindow::refresh);
    if (auto* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"))) {
        view->addSeparator();
        QAction* toggle = dock->toggleViewAction();
        toggle->setObjectName(QStringLiteral("layerDockToggle"));
        view->addAction(toggle);
    }
    panel->refresh();
}

}  // namespace vorn::gui
