// The layer panel: the drawing's layers with their colour, on/off switch and the current layer
// marked. Double-clicking a layer makes it current (LAYER, Set, as typed); the check box turns
// it on or off as one undoable step.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

class AcDbDatabase;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorn::gui {

class LayerPanel : public QWidget {
    Q_OBJECT

public:
    // The columns of the list.
    enum Column { kCurrentColumn, kNameColumn, kOnColumn, kColourColumn };

    explicit LayerPanel(QWidget* parent);

    // Lists the layers again when the drawing changed since the last look (its revision counts
    // every change, the current layer's too) or another drawing is open.
    void refresh();

    QTreeWidget* list() const { return m_list; }
    // The row of a layer; null when the list has none of that name.
    QTreeWidgetItem* itemOf(const QString& layer) const;

  Q_SIGNALS:
    // A layer was turned on or off from the panel: the window's title and picture follow.
    void layerSwitched();

private:
    void rebuild(AcDbDatabase* db);
    void setOnToolTip(QTreeWidgetItem* item, bool on);
    void onItemChanged(QTreeWidgetItem* item, int column);
    void onItemDoubleClicked(QTreeWidgetItem* item, int column);
    // Turns the layer on or off; false (and a message) when its record cannot be changed now.
    bool switchLayer(const std::wstring& name, bool on);

    QTreeWidget* m_list = nullptr;
    AcDbDatabase* m_shown = nullptr;
    std::uint64_t m_revision = 0;
    bool m_filling = false;
};

}  // namespace vorn::gui
