// Icons of the site-plan commands, drawn by code so that they stay sharp at each tool-bar size.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vorn::gui {

// The picture of a site-plan command (KyDrawRoad, KyRoadFillet, KyDrawParkSpace, KyRYBS,
// KyMapLegend, KyRoadElev, KyRoadSlope) at size × size pixels; a null pixmap for any other name.
QPixmap DrawCommandIcon(const QString& command, int size);

// The same picture as an icon holding the 24 and 32 pixel drawings (a null icon for another name).
QIcon CommandIcon(const QString& command);

}  // namespace vorn::gui
