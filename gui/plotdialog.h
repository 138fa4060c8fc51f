// PLOT's dialog in the window: the sheet, the scale, the area, its place, the margins, the
// colours and the file, beside a preview of the sheet drawn by the plot's own painter.
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>

#include "host/cmds/plotcmds.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace vorn::gui {

// The sheet as the plot will paint it, fitted into the widget on a grey table.
class PlotPreview : public QWidget {
    Q_OBJECT

public:
    explicit PlotPreview(QWidget* parent);
    // Paints the plot of db with options (the file aside) at the widget's size; false with
    // what is wrong, the sheet then left blank.
    bool draw(const AcDbDatabase& db, const vorn::render::PlotOptions& options, vorn::render::PlotReport& report,
              std::string& error);
    // No sheet: the choices make none.
    void clear();
    // The sheet as last drawn, one pixel a preview pixel.
    const QImage& sheet() const { return m_sheet; }
    QSize sizeHint() const override { return QSize(440, 320); }

Q_SIGNALS:
    // The sheet is to be drawn again at the new size.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_sheet;
    QRectF m_printable;  // the printable area on m_sheet
};

class PlotDialog : public QDialog {
    Q_OBJECT

public:
    // Shows choices; the preview follows every change.
    PlotDialog(const AcDbDatabase& db, const vorn::cmds::PlotChoices& choices, QWidget* parent);

    // The choices as the widgets hold them now.
    vorn::cmds::PlotChoices choices() const;
    // The answer of the command's hook: 1 OK, 0 Cancel, 2 pick the window in the drawing.
    static constexpr int kPickWindow = 2;

    // Draws the preview now rather than after the pause that gathers quick changes.
    void updatePreview();

private:
    void changed();
    void accept() override;

    const AcDbDatabase& m_db;
    vorn::cmds::PlotChoices m_base;  // what no widget shows: the window's corners, the view
    QComboBox* m_sheet = nullptr;
    QComboBox* m_orientation = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QComboBox* m_scale = nullptr;
    QRadioButton* m_extents = nullptr;
    QRadioButton* m_window = nullptr;
    QRadioButton* m_view = nullptr;
    QPushButton* m_pick = nullptr;
    QCheckBox* m_centred = nullptr;
    QDoubleSpinBox* m_offsetX = nullptr;
    QDoubleSpinBox* m_offsetY = nullptr;
    QDoubleSpinBox* m_margin = nullptr;
    QCheckBox* m_monochrome = nullptr;
    QLineEdit* m_file = nullptr;
    QLabel* m_status = nullptr;
    PlotPreview* m_preview = nullptr;
    QTimer* m_redraw = nullptr;
};

// Makes PLOT in the window ask through PlotDialog (vorn::cmds::SetPlotDialog); while a script
// runs in the window, or without a window, PLOT asks its prompts.
void InstallPlotDialog();

}  // namespace vorn::gui
