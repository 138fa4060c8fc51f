// Message boxes, file dialogs and the library picker as Qt dialogs, answering the host's hooks
// the way the platform's dialogs answer (IDOK, IDYES, a path, an item's index).
#include "gui/nativedialogs.h"

#include <cairo.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include <map>
#include <memory>

#include "framework/library/KyFindFile.h"
#include "gui/frontend.h"
#include "gui/plotdialog.h"
#include "host/base/hostio.h"
#include "host/base/textcodec.h"
#include "host/db/dbmain.h"
#include "host/dxf/dxf.h"
#include "host/ed/sysvars.h"
#include "host/mfc/msgbox.h"
#include "host/render/cairosink.h"

namespace vorn::gui {

namespace {

constexpr int kThumbnailPixels = 64;

QPointer<QWidget>& MainWindow() {
    static QPointer<QWidget> window;
    return window;
}

// ---- message boxes ----

struct Choice {
    QMessageBox::StandardButton button;
    int answer;
};

// The buttons of a message box type, in the platform's order, with what each answers.
std::vector<Choice> ChoicesOf(unsigned type) {
    switch (type & 0x0f) {
        case MB_OKCANCEL:
            return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        case MB_ABORTRETRYIGNORE:
            return {{QMessageBox::Abort, IDABORT},
                    {QMessageBox::Retry, IDRETRY},
                    {QMessageBox::Ignore, IDIGNORE}};
        case MB_YESNOCANCEL:
            return {{QMessageBox::Yes, IDYES},
                    {QMessageBox::No, IDNO},
                    {QMessageBox::Cancel, IDCANCEL}};
        case MB_YESNO:
            return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        case MB_RETRYCANCEL:
            return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        default:
            return {{QMessageBox::Ok, IDOK}};
    }
}

int MessageBoxAnswer(const std::wstring& text, const std::wstring& caption, unsigned type) {
    if (!UserCanAnswer()) return -1;
    QMessageBox box(Owner());
    box.setWindowTitle(QString::fromStdWString(caption));
    box.setText(QString::fromStdWString(text));
    switch (type & 0xf0) {
        case MB_ICONHAND:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONEXCLAMATION:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONASTERISK:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    const std::vector<Choice> choices = ChoicesOf(type);
    std::map<QAbstractButton*, int> answers;
    std::vector<QPushButton*> buttons;
    for (const Choice& c : choices) {
        buttons.push_back(box.addButton(c.button));
        answers[buttons.back()] = c.answer;
    }
    const size_t which = (type >> 8) & 0x0f;  // MB_DEFBUTTON1..3
    box.setDefaultButton(buttons[which < buttons.size() ? which : 0]);
    // Esc answers Cancel where there is one, OK when that is the only button; Qt's own choice
    // (No, for a yes/no question) otherwise.
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].answer == IDCANCEL || choices.size() == 1) box.setEscapeButton(buttons[i]);
    box.exec();
    auto it = answers.find(box.clickedButton());
    return it != answers.end() ? it->second : vorn::mfc::DefaultMessageBoxAnswer(type);
}

// ---- file dialogs ----

std::wstring Trim(const std::wstring& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == L' ') ++b;
    while (e > b && s[e - 1] == L' ') --e;
    return s.substr(b, e - b);
}

// One filter of the platform's list, "Description" and "*.a;*.b", as Qt shows it:
// "Description (*.a *.b)".
QString QtFilterEntry(std::wstring description, std::wstring patterns) {
    // A description that names its patterns in brackets ("CAD图形文件(*.dwg)") gives them when
    // the pattern half is empty; the brackets are then written once, by us.
    const size_t open = description.rfind(L'(');
    if (open != std::wstring::npos && !description.empty() && description.back() == L')') {
        if (Trim(patterns).empty())
            patterns = description.substr(open + 1, description.size() - open - 2);
        description = Trim(description.substr(0, open));
    }
    QStringList list;
    for (const QString& p : QString::fromStdWString(patterns).split(
             QRegularExpression(QStringLiteral("[; ]+")), Qt::SkipEmptyParts))
        if (!list.contains(p, Qt::CaseInsensitive)) list << p;
    if (list.isEmpty()) list << QStringLiteral("*");
    if (list.contains(QStringLiteral("*.dwg"), Qt::CaseInsensitive) &&
        !list.contains(QStringLiteral("*.dxf"), Qt::CaseInsensitive))
        list << QStringLiteral("*.dxf");
    const QString name = QString::fromStdWString(description);
    return (name.isEmpty() ? list.join(QLatin1Char(' ')) : name) + QStringLiteral(" (") +
           list.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// The platform's filter list ("Drawings (*.dwg)|*.dwg|All (*.*)|*.*||") as Qt's name filters.
// Drawings asked for as *.dwg are offered as *.dxf too: this host keeps drawings as DXF and
// finds a .dwg name's .dxf twin.
QStringList QtFileFilters(const std::wstring& filter) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t bar = filter.find(L'|', start);
        parts.push_back(
            filter.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
    QStringList entries;
    for (size_t i = 0; i < parts.size(); i += 2) {
        const std::wstring description = Trim(parts[i]);
        const std::wstring patterns = i + 1 < parts.size() ? parts[i + 1] : std::wstring();
        if (description.empty() && Trim(patterns).empty()) continue;  // the closing "||"
        entries << QtFilterEntry(description, patterns);
    }
    return entries;
}

int FileDialogAnswer(bool open, const std::wstring& filter, const std::wstring& defaultName,
                     std::wstring& path) {
    if (!UserCanAnswer() || vorn::ed::FileDia() != 1) return -1;
    QFileDialog dialog(Owner(), open ? QObject::tr("Open") : QObject::tr("Save As"));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = QtFileFilters(filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!defaultName.empty()) {
        const QFileInfo name(QString::fromStdWString(defaultName));
        if (name.path() != QStringLiteral(".")) dialog.setDirectory(name.absolutePath());
        dialog.selectFile(name.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return 0;
    path = dialog.selectedFiles().front().toStdWString();
    return 1;
}

// ---- the library picker ----

// A small picture of a drawing's model space, dark lines on white; null when the file cannot be
// read or holds nothing. Kept for the session: library symbols do not change under the user.
QImage Thumbnail(const std::wstring& file) {
    static std::map<std::wstring, QImage> cache;
    const std::wstring path = FindFile(file);
    if (path.empty()) return QImage();
    if (auto it = cache.find(path); it != cache.end()) return it->second;
    QImage& image = cache[path];
    std::string error;
    std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(vorn::ToUtf8(path), error);
    if (!db) return image;
    const AcDbExtents box = db->modelSpaceExtents();
    if (!box.isValid()) return image;
    image = QImage(kThumbnailPixels, kThumbnailPixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, image.width(),
                                            image.height(), static_cast<int>(image.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    {
        vorn::render::PaintStyle style;
        style.lightBackground = true;
        const vorn::render::View view =
            vorn::render::View::Fit(box, image.width(), image.height(), 0.08);
        vorn::render::CairoSink sink(cr, view, db.get(), style);
        for (const AcDbObjectId& id : db->modelSpaceIds())
            if (const AcDbEntity* e = AcDbEntity::cast(db->peekObject(id))) sink.drawEntity(e);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    return image;
}

int PickItemAnswer(const std::wstring& caption, const std::vector<std::wstring>& names,
                   const std::vector<std::wstring>& files, int& chosen) {
    if (!UserCanAnswer()) return -1;
    QDialog dialog(Owner());
    dialog.setWindowTitle(QString::fromStdWString(caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("items"));
    list->setIconSize(QSize(kThumbnailPixels, kThumbnailPixels));
    list->setUniformItemSizes(true);
    for (const std::wstring& name : names) list->addItem(QString::fromStdWString(name));
    if (list->count() > 0) list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    dialog.resize(420, 480);
    // Previews come one item at a time while the list already stands, so a large library never
    // keeps the user waiting for the dialog.
    auto* previews = new QTimer(&dialog);
    int next = 0;
    QObject::connect(previews, &QTimer::timeout, &dialog, [&] {
        if (next >= list->count() || next >= static_cast<int>(files.size())) {
            previews->stop();
            return;
        }
        const QImage image = Thumbnail(files[static_cast<size_t>(next)]);
        if (!image.isNull()) list->item(next)->setIcon(QIcon(QPixmap::fromImage(image)));
        ++next;
    });
    previews->start(0);
    const int result = dialog.exec();
    previews->stop();
    if (result != QDialog::Accepted || list->currentRow() < 0) return 0;
    chosen = list->currentRow();
    return 1;
}

}  // namespace

bool UserCanAnswer() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
           !FrontEnd::instance().scriptRunning();
}

QWidget* Owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return MainWindow();
}

void InstallNativeDialogs(QWidget* mainWindow) {
    MainWindow() = mainWindow;
    vorn::HostNativeDialogs dialogs;
    dialogs.messageBox = MessageBoxAnswer;
    dialogs.fileDialog = FileDialogAnswer;
    dialogs.pickItem = PickItemAnswer;
    vorn::SetNativeDialogs(std::move(dialogs));
    InstallPlotDialog();
}

}  // namespace vorn::gui
