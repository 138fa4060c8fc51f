// PLOT's dialog: its widgets make the same choices as PLOT's prompts, and the preview is the
// plot itself, painted by the plot's painter into an image the size of the widget.
#include "gui/plotdialog.h"

#include <cairo.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "gui/nativedialogs.h"
#include "host/base/textcodec.h"
#include "host/db/dbmain.h"

namespace vorn::gui {
namespace {

using vorn::cmds::PlotChoices;

constexpr int kRedrawPauseMs = 120;   // changes within this pause are drawn once
constexpr double kTablePixels = 12;   // the grey table round the sheet
const char* const kSheets[] = {"A0", "A1", "A2", "A3", "A4"};
const char* const kScales[] = {"1:100", "1:200", "1:250", "1:500", "1:1000", "1:2000", "1:5000", "Fit"};

QString Mm(double v) { return QString::number(v, 'f', 0); }

QDoubleSpinBox* MmBox(const QString& name, double lo, double hi, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(lo, hi);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

}  // namespace

// ---- the preview ----

PlotPreview::PlotPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 180);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

bool PlotPreview::draw(const AcDbDatabase& db, const vorn::render::PlotOptions& o, vorn::render::PlotReport& report,
                       std::string& error) {
    m_sheet = QImage();
    const double unit = std::min((width() - 2 * kTablePixels) / o.sheet.width,
                                 (height() - 2 * kTablePixels) / o.sheet.height);
    bool ok = unit > 0;
    if (ok) {
        const double ratio = devicePixelRatioF();
        QImage image(static_cast<int>(std::ceil(o.sheet.width * unit * ratio)),
                     static_cast<int>(std::ceil(o.sheet.height * unit * ratio)), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        cairo_surface_t* surface =
            cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, image.width(), image.height(),
                                                static_cast<int>(image.bytesPerLine()));
        cairo_t* cr = cairo_create(surface);
        ok = vorn::render::PaintPlot(cr, db, o, unit * ratio, ratio, report, error);
        cairo_destroy(cr);
        cairo_surface_finish(surface);
        cairo_surface_destroy(surface);
        image.setDevicePixelRatio(ratio);
        m_sheet = image;
        m_printable = QRectF(o.margin * unit, o.margin * unit, (o.sheet.width - 2 * o.margin) * unit,
                             (o.sheet.height - 2 * o.margin) * unit);
    }
    update();
    return ok;
}

void PlotPreview::clear() {
    m_sheet = QImage();
    update();
}

void PlotPreview::resizeEvent(QResizeEvent*) { Q_EMIT resized(); }

void PlotPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x70, 0x74, 0x78));
    if (m_sheet.isNull()) return;
    const QSizeF size = m_sheet.deviceIndependentSize();
    const QPointF at((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.fillRect(QRectF(at + QPointF(3, 3), size), QColor(0, 0, 0, 90));
    painter.drawImage(at, m_sheet);
    // The margins, as a faint line nothing of the plot crosses.
    painter.setPen(QPen(QColor(0x90, 0xb0, 0xd0), 1, Qt::DashLine));
    painter.drawRect(m_printable.translated(at));
}

// ---- the dialog ----

PlotDialog::PlotDialog(const AcDbDatabase& db, const PlotChoices& c, QWidget* parent)
    : QDialog(parent), m_db(db), m_base(c) {
    setObjectName(QStringLiteral("plot"));
    setWindowTitle(tr("Plot"));

    // The sheet: a named size lying or standing, or width by height.
    m_sheet = new QComboBox(this);
    m_sheet->setObjectName(QStringLiteral("sheet"));
    for (const char* name : kSheets) m_sheet->addItem(QString::fromLatin1(name));
    m_sheet->addItem(tr("W x H"));
    m_orientation = new QComboBox(this);
    m_orientation->setObjectName(QStringLiteral("orientation"));
    m_orientation->addItems({tr("Landscape"), tr("Portrait")});
    vorn::render::Sheet sheet;
    std::string error;
    if (!vorn::render::ParseSheet(ToUtf8(c.sheet), sheet, error)) vorn::render::ParseSheet("A3", sheet, error);
    m_width = MmBox(QStringLiteral("sheetWidth"), 10, 5000, sheet.width, this);
    m_height = MmBox(QStringLiteral("sheetHeight"), 10, 5000, sheet.height, this);
    const QString name = QString::fromStdString(sheet.name).toUpper();
    const bool named = (name.size() == 2 || (name.size() == 3 && name.endsWith(QLatin1Char('P')))) &&
                       name.startsWith(QLatin1Char('A'));
    m_sheet->setCurrentIndex(named ? name.mid(1, 1).toInt() : m_sheet->count() - 1);
    m_orientation->setCurrentIndex(named && name.size() == 3 ? 1 : 0);
    auto* sheetRow = new QHBoxLayout;
    sheetRow->addWidget(m_sheet);
    sheetRow->addWidget(m_orientation);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_width);
    sizeRow->addWidget(new QLabel(QStringLiteral("x"), this));
    sizeRow->addWidget(m_height);

    m_scale = new QComboBox(this);
    m_scale->setObjectName(QStringLiteral("scale"));
    m_scale->setEditable(true);
    for (const char* s : kScales) m_scale->addItem(QString::fromLatin1(s));
    m_scale->setCurrentText(QString::fromStdWString(c.scale.empty() ? FromUtf8(vorn::render::PlotScaleText(db.printScale()))
                                                                    : c.scale));

    // The area: the extents, a window picked in the drawing, or what the window shows.
    auto* area = new QGroupBox(tr("Area"), this);
    m_extents = new QRadioButton(tr("Extents"), area);
    m_extents->setObjectName(QStringLiteral("areaExtents"));
    m_window = new QRadioButton(tr("Window"), area);
    m_window->setObjectName(QStringLiteral("areaWindow"));
    m_view = new QRadioButton(tr("Current view"), area);
    m_view->setObjectName(QStringLiteral("areaView"));
    m_view->setEnabled(c.view.isValid());
    m_pick = new QPushButton(tr("Pick <"), area);
    m_pick->setObjectName(QStringLiteral("pickWindow"));
    m_pick->setToolTip(tr("Pick the window's two corners in the drawing"));
    auto* corners = new QLabel(area);
    if (c.window.isValid())
        corners->setText(QStringLiteral("%1, %2 \u2013 %3, %4")
                             .arg(c.window.minPoint().x, 0, 'f', 0)
                             .arg(c.window.minPoint().y, 0, 'f', 0)
                             .arg(c.window.maxPoint().x, 0, 'f', 0)
                             .arg(c.window.maxPoint().y, 0, 'f', 0));
    (c.area == PlotChoices::Area::Window && c.window.isValid() ? m_window
     : c.area == PlotChoices::Area::View && c.view.isValid()   ? m_view
                                                               : m_extents)
        ->setChecked(true);
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->addWidget(m_extents);
    auto* windowRow = new QHBoxLayout;
    windowRow->addWidget(m_window);
    windowRow->addWidget(m_pick);
    windowRow->addStretch();
    areaLayout->addLayout(windowRow);
    areaLayout->addWidget(corners);
    areaLayout->addWidget(m_view);

    m_centred = new QCheckBox(tr("Centred on the sheet"), this);
    m_centred->setObjectName(QStringLiteral("centred"));
    m_centred->setChecked(c.centred);
    m_offsetX = MmBox(QStringLiteral("offsetX"), -5000, 5000, c.offsetX, this);
    m_offsetY = MmBox(QStringLiteral("offsetY"), -5000, 5000, c.offsetY, this);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(m_offsetX);
    offsetRow->addWidget(m_offsetY);
    m_margin = MmBox(QStringLiteral("margin"), 0, 2500, c.margin, this);
    m_monochrome = new QCheckBox(tr("Monochrome: every colour black"), this);
    m_monochrome->setObjectName(QStringLiteral("monochrome"));
    m_monochrome->setChecked(c.monochrome);

    m_file = new QLineEdit(QString::fromStdWString(c.file), this);
    m_file->setObjectName(QStringLiteral("file"));
    m_file->setPlaceholderText(tr("a .pdf, .png or .svg file"));
    auto* browse = new QPushButton(tr("Browse\u2026"), this);
    browse->setObjectName(QStringLiteral("browse"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file);
    fileRow->addWidget(browse);

    auto* form = new QFormLayout;
    form->addRow(tr("Sheet"), sheetRow);
    form->addRow(tr("Size"), sizeRow);
    form->addRow(tr("Scale"), m_scale);
    form->addRow(area);
    form->addRow(m_centred);
    form->addRow(tr("Offset x, y"), offsetRow);
    form->addRow(tr("Margins"), m_margin);
    form->addRow(m_monochrome);
    form->addRow(tr("File"), fileRow);

    m_preview = new PlotPreview(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    connect(m_preview, &PlotPreview::resized, this, &PlotDialog::changed);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    auto* right = new QVBoxLayout;
    right->addWidget(m_preview, 1);
    right->addWidget(m_status);

    auto* columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addLayout(right, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &PlotDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pick, &QPushButton::clicked, this, [this] { done(kPickWindow); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, tr("Plot file"), m_file->text(),
                                                          tr("Plots (*.pdf *.png *.svg)"));
        if (!file.isEmpty()) m_file->setText(file);
    });

    m_redraw = new QTimer(this);
    m_redraw->setSingleShot(true);
    m_redraw->setInterval(kRedrawPauseMs);
    connect(m_redraw, &QTimer::timeout, this, &PlotDialog::updatePreview);
    const auto change = [this] { changed(); };
    connect(m_sheet, &QComboBox::currentIndexChanged, this, change);
    connect(m_orientation, &QComboBox::currentIndexChanged, this, change);
    connect(m_scale, &QComboBox::currentTextChanged, this, change);
    for (QDoubleSpinBox* box : {m_width, m_height, m_offsetX, m_offsetY, m_margin})
        connect(box, &QDoubleSpinBox::valueChanged, this, change);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{m_extents, m_window, m_view, m_centred,
                                                                           m_monochrome})
        connect(button, &QAbstractButton::toggled, this, change);
    connect(m_file, &QLineEdit::textChanged, this, [this] { m_status->setStyleSheet(QString()); });

    resize(900, 560);
    changed();
}

PlotChoices PlotDialog::choices() const {
    PlotChoices c = m_base;
    const int sheet = m_sheet->currentIndex();
    if (sheet >= 0 && sheet < static_cast<int>(std::size(kSheets)))
        c.sheet = FromUtf8(std::string(kSheets[sheet]) + (m_orientation->currentIndex() == 1 ? "P" : ""));
    else
        c.sheet = (QString::number(m_width->value()) + QLatin1Char('x') + QString::number(m_height->value()))
                      .toStdWString();
    c.scale = m_scale->currentText().trimmed().toStdWString();
    c.area = m_window->isChecked() ? PlotChoices::Area::Window
             : m_view->isChecked() ? PlotChoices::Area::View
                                   : PlotChoices::Area::Extents;
    c.centred = m_centred->isChecked();
    c.offsetX = m_offsetX->value();
    c.offsetY = m_offsetY->value();
    c.margin = m_margin->value();
    c.monochrome = m_monochrome->isChecked();
    c.file = m_file->text().trimmed().toStdWString();
    return c;
}

void PlotDialog::changed() {
    const bool custom = m_sheet->currentIndex() == m_sheet->count() - 1;
    m_orientation->setEnabled(!custom);
    m_width->setEnabled(custom);
    m_height->setEnabled(custom);
    m_offsetX->setEnabled(!m_centred->isChecked());
    m_offsetY->setEnabled(!m_centred->isChecked());
    m_redraw->start();
}

void PlotDialog::updatePreview() {
    m_redraw->stop();
    PlotChoices c = choices();
    c.file = L"preview.png";  // the preview writes no file; the name is checked on OK
    vorn::render::PlotOptions o;
    vorn::render::PlotReport report;
    std::string error;
    bool ok = vorn::cmds::PlotOptionsOf(m_db, c, o, error);
    if (ok) {
        // A named sheet shows its size in the boxes; they are the size of a W x H sheet.
        const QSignalBlocker width(m_width), height(m_height);
        m_width->setValue(o.sheet.width);
        m_height->setValue(o.sheet.height);
        ok = m_preview->draw(m_db, o, report, error);
    } else {
        m_preview->clear();
    }
    if (!ok) {
        m_status->setStyleSheet(QStringLiteral("color: #b00000"));
        m_status->setText(QString::fromStdString(error));
        return;
    }
    m_status->setStyleSheet(QString());
    QString text = tr("At %1 the area takes %2 x %3 mm of the %4 x %5 mm sheet.")
                       .arg(QString::fromStdString(vorn::render::PlotScaleText(report.scale)), Mm(report.areaWidth),
                            Mm(report.areaHeight), Mm(o.sheet.width), Mm(o.sheet.height));
    if (report.cut)
        text += QLatin1Char(' ') + tr("That is more than the printable %1 x %2 mm: what lies beyond is cut off.")
                                       .arg(Mm(o.sheet.width - 2 * o.margin), Mm(o.sheet.height - 2 * o.margin));
    m_status->setText(text);
}

void PlotDialog::accept() {
    vorn::render::PlotOptions o;
    std::string error;
    if (!vorn::cmds::PlotOptionsOf(m_db, choices(), o, error)) {
        m_status->setStyleSheet(QStringLiteral("color: #b00000"));
        m_status->setText(tr("Cannot plot: %1.").arg(QString::fromStdString(error)));
        return;
    }
    QDialog::accept();
}

void InstallPlotDialog() {
    vorn::cmds::SetPlotDialog([](const AcDbDatabase& db, PlotChoices& choices) {
        QWidget* owner = Owner();
        if (!UserCanAnswer() || !owner) return -1;
        PlotDialog dialog(db, choices, owner);
        const int answer = dialog.exec();
        if (answer == QDialog::Rejected) return 0;
        choices = dialog.choices();
        return answer;
    });
}

}  // namespace vorn::gui
