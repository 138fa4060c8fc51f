// Dialog windows: widget trees built from the host's dialog windows, brought up to date whenever
// the editor waits, and the user's actions in them turned into the dialog events the handlers
// already take from scripts. Modeless dialogs send their events through the editor's queue;
// a modal dialog runs its own event loop until the user acts, then hands the action over.
#include "gui/dialogwidgets.h"

#include <cairo.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "gui/frontend.h"
#include "host/base/hostio.h"
#include "host/ed/editor.h"
#include "host/mfc/dialog.h"
#include "host/mfc/hostwindows.h"
#include "host/mfc/resources.h"
#include "host/ui/dialogevents.h"
#include "host/ui/modalinput.h"

namespace vorn::gui {

namespace {

using vorn::mfc::ControlKind;
using vorn::ui::DialogEvent;

QString Q(const std::wstring& text) {
    return QString::fromStdWString(text);
}

// '&' marks a mnemonic in a control's text and is not shown; "&&" is one '&'. Buttons and group
// boxes read the mark as Qt does; labels need it taken out.
QString WithoutMnemonics(const std::wstring& text) {
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return Q(plain);
}

// Multi-line edits keep CR LF line ends in the host, as the platform's edits do.
QString FromHostLines(const std::wstring& text) {
    QString s = Q(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::wstring ToHostLines(const QString& text) {
    QString s = text;
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s.toStdWString();
}

// The template's font, or a CJK font when this system lacks it (the module's dialogs name 宋体).
QFont DialogFont(const std::wstring& name, int points) {
    const QString fallback = QStringLiteral("WenQuanYi Micro Hei");
    const QStringList families = QFontDatabase::families();
    QString family = Q(name);
    if (family.isEmpty() || !families.contains(family, Qt::CaseInsensitive))
        family = families.contains(fallback, Qt::CaseInsensitive) ? fallback
                                                                  : QApplication::font().family();
    QFont font(family);
    font.setPointSize(points > 0 ? points : 9);
    return font;
}

// The platform's rounding of dialog units: value × base / units, to the nearest pixel.
int MulDiv(int value, int base, int units) {
    const long long n = static_cast<long long>(value) * base;
    return static_cast<int>(n >= 0 ? (n + units / 2) / units : -((-n + units / 2) / units));
}

// The line of a dialog event as a script writes it; an edit's text is quoted so that blanks at
// its ends, and quotes of its own, reach the handler unchanged.
std::wstring EventLine(const DialogEvent& e) {
    const std::wstring id = std::to_wstring(e.id);
    switch (e.kind) {
        case DialogEvent::Kind::Edit:
            return L"edit " + id + L" \"" + e.text + L"\"";
        case DialogEvent::Kind::Click:
            return L"click " + id;
        case DialogEvent::Kind::Select:
            return L"select " + id + L" " + std::to_wstring(e.row);
        case DialogEvent::Kind::DblClick:
            return L"dblclick " + id + L" " + std::to_wstring(e.row);
        case DialogEvent::Kind::Focus:
            return L"focus " + id;
        case DialogEvent::Kind::Close:
            return L"close";
        default:
            return std::wstring();
    }
}

QCursor CursorOf(HCURSOR cursor) {
    switch (vorn::mfc::CursorId(cursor)) {
        case 32512:
            return QCursor(Qt::ArrowCursor);
        case 32513:
            return QCursor(Qt::IBeamCursor);
        case 32514:
            return QCursor(Qt::WaitCursor);
        case 32649:
            return QCursor(Qt::PointingHandCursor);
        // The system cross, and the module's own cursors: they are pointers for placing things
        // (the tree cursor) and carry no pixels here, so a cross stands for them.
        default:
            return QCursor(Qt::CrossCursor);
    }
}

// What an owner-drawn control's handler paints, at the control's size.
QImage RenderPicture(const vorn::mfc::PaintHandler& paint, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size.isEmpty() || !paint) return image;
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, size.width(),
                                            size.height(), static_cast<int>(image.bytesPerLine()));
    cairo_t* cr = cairo_create(surface);
    paint(cr, 0, 0, size.width(), size.height());
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    return image;
}

std::function<void()>& FocusViewHandler() {
    static std::function<void()> handler;
    return handler;
}

// The editor's handling of a typed or scripted dialog event: the open dialog takes it.
bool DispatchToOpenDialog(const std::wstring& line, std::wstring& output) {
    if (!vorn::ui::HasOpenDialog()) {
        output = L"@" + line + L": no dialog is open to take this event.";
        return false;
    }
    DialogEvent event;
    std::wstring error;
    if (!vorn::ui::ParseDialogEvent(line, event, error)) {
        output = error;
        return false;
    }
    if (!vorn::ui::DispatchDialogEvent(event, output)) {
        if (output.empty()) output = L"@" + line + L": no dialog took the event.";
        return false;
    }
    return true;
}

// A static text or picture. With a paint handler it shows what the handler painted; a static
// with the notify style reports clicks.
class StaticControl : public QLabel {
public:
    explicit StaticControl(QWidget* parent) : QLabel(parent) {}
    std::function<void()> onClick;
    void setPicture(QImage picture) {
        m_picture = std::move(picture);
        update();
    }
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (m_picture.isNull()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter.drawImage(0, 0, m_picture);
    }
    void mousePressEvent(QMouseEvent* event) override {
        m_pressed = onClick && event->button() == Qt::LeftButton;
        QLabel::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           rect().contains(event->position().toPoint());
        m_pressed = false;
        QLabel::mouseReleaseEvent(event);
        if (click && onClick) onClick();
    }

private:
    QImage m_picture;
    bool m_pressed = false;
};

class DialogWidgets;

// What the user did in a modal dialog, waiting for the modal run to hand it over.
struct ModalAction {
    enum class Kind { Event, DefaultButton, Cancel };
    Kind kind = Kind::Event;
    DialogEvent event;
};

// The window of one host dialog.
class DialogWindow : public QDialog {
public:
    DialogWindow(HWND hwnd, QWidget* mainWindow, DialogWidgets& owner);
    ~DialogWindow() override;

    HWND hwnd() const { return m_hwnd; }
    bool alive() const { return vorn::mfc::IsLiveWindow(m_hwnd) && m_hwnd->serial == m_serial; }
    bool modal() const { return alive() && m_hwnd->modal; }
    // The host's state into the widgets, signals blocked; true when the window was shown now.
    bool sync();
    // Typing not handed over yet goes to the dialog, except in the widget that holds target
    // (the user is pressing in it).
    void commitEdits(const QWidget* target);

    std::deque<ModalAction> actions;
    QEventLoop* modalLoop = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Control {
        HWND hwnd = nullptr;
        unsigned long serial = 0;
        QWidget* widget = nullptr;
        unsigned long paintCount = 0;
        QSize paintedSize;
    };

    void build();
    QWidget* makeWidget(HWND c);
    QRect placeOf(const HWND__* c) const;
    void syncControl(Control& c);
    void syncRadioGroups();
    bool commit(Control& c);
    Control* controlOf(const QObject* widget);
    void act(DialogEvent::Kind kind, int id, int row = 0, std::wstring text = std::wstring());
    void place();
    bool shouldShow() const;

    DialogWidgets& m_owner;
    HWND m_hwnd;
    unsigned long m_serial;
    int m_baseX = 6, m_baseY = 12;  // the font's average character cell in pixels
    std::vector<Control> m_controls;
    std::vector<unsigned long> m_childSerials;
    std::vector<QButtonGroup*> m_radioGroups;
};

// The dialog windows of one main window, the hooks that keep them in step, and the way their
// events travel to the handlers.
class DialogWidgets : public QObject {
public:
    explicit DialogWidgets(QWidget* mainWindow);
    ~DialogWidgets() override;

    void sync();
    DialogWindow* windowOf(HWND hwnd) const;
    // The user's action in a dialog window.
    void post(DialogWindow& window, DialogEvent event);
    void postModal(DialogWindow& window, ModalAction action);
    void cursorOver(HWND dialog, HWND control, QWidget* widget);
    bool handleLine(const std::wstring& line, std::wstring& output);
    bool modalStep(CDialog& dialog);
    void remember(int templateId, const QPoint& position) { m_positions[templateId] = position; }
    const QPoint* rememberedPosition(int templateId) const {
        auto it = m_positions.find(templateId);
        return it == m_positions.end() ? nullptr : &it->second;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending {
        std::wstring line;
        HWND dialog = nullptr;
        unsigned long serial = 0;
    };
    bool dispatch(const DialogEvent& event, std::wstring& output);

    QPointer<QWidget> m_main;
    std::map<unsigned long, QPointer<DialogWindow>> m_windows;  // by the dialog's serial
    // Window events on their way through the editor's queue, oldest first, each with the
    // dialog it came from.
    std::deque<Pending> m_pending;
    std::map<int, QPoint> m_positions;  // where the user left each dialog, by template id
    ModalEventPump m_previousPump;
    int m_waitHook = 0;
    HWND m_lastFocus = nullptr;
};

QPointer<DialogWidgets>& Installed() {
    static QPointer<DialogWidgets> widgets;
    return widgets;
}

// ---- DialogWindow ----

DialogWindow::DialogWindow(HWND hwnd, QWidget* mainWindow, DialogWidgets& owner)
    : QDialog(mainWindow), m_owner(owner), m_hwnd(hwnd), m_serial(hwnd->serial) {
    setObjectName(QString::number(hwnd->id));
    if (hwnd->modal) {
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setWindowModality(Qt::ApplicationModal);
    } else {
        // Beside the main window, not in front of the user's typing: the drawing keeps the
        // keyboard until the user clicks into the dialog.
        setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    setFont(DialogFont(hwnd->fontName, hwnd->fontSize));
    // The average character cell as the platform measures it: the width of the 52 letters,
    // halved with rounding after dividing by 26, and the font's height.
    const QFontMetrics metrics(font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
    setFixedSize(MulDiv(hwnd->cx, m_baseX, 4), MulDiv(hwnd->cy, m_baseY, 8));
    build();
}

DialogWindow::~DialogWindow() {
    // The widgets go after this part of the window: a field losing the focus then must not
    // call back into it.
    for (QObject* child : findChildren<QObject*>()) {
        child->disconnect(this);
        child->removeEventFilter(this);
    }
}

QRect DialogWindow::placeOf(const HWND__* c) const {
    const int left = MulDiv(c->x, m_baseX, 4), top = MulDiv(c->y, m_baseY, 8);
    const int right = MulDiv(c->x + c->cx, m_baseX, 4), bottom = MulDiv(c->y + c->cy, m_baseY, 8);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

QWidget* DialogWindow::makeWidget(HWND c) {
    const int id = c->id;
    const bool readOnly = (c->style & vorn::mfc::kStyleReadOnly) != 0;
    switch (c->kind) {
        case ControlKind::Edit:
            if (c->style & vorn::mfc::kStyleMultiline) {
                auto* edit = new QPlainTextEdit(this);
                edit->setReadOnly(readOnly);
                edit->setTabChangesFocus(true);
                return edit;
            } else {
                auto* edit = new QLineEdit(this);
                edit->setReadOnly(readOnly);
                connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
                    if (Control* control = controlOf(edit)) commit(*control);
                });
                return edit;
            }
        case ControlKind::ComboDropDown:
        case ControlKind::ComboDropList: {
            auto* box = new QComboBox(this);
            if (c->kind == ControlKind::ComboDropDown) {
                box->setEditable(true);
                // Typing only types: it neither adds a row nor picks one that matches (Enter
                // would otherwise choose an equal row), nor completes the text.
                box->setInsertPolicy(QComboBox::NoInsert);
                box->setDuplicatesEnabled(true);
                box->setCompleter(nullptr);
                connect(box->lineEdit(), &QLineEdit::editingFinished, this, [this, box] {
                    if (Control* control = controlOf(box)) commit(*control);
                });
            }
            connect(box, &QComboBox::activated, this, [this, id](int row) {
                if (row >= 0) act(DialogEvent::Kind::Select, id, row);
            });
            return box;
        }
        case ControlKind::ListBox:
        case ControlKind::DragListBox: {
            auto* list = new QListWidget(this);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            connect(list, &QListWidget::currentRowChanged, this, [this, id](int row) {
                if (row >= 0) act(DialogEvent::Kind::Select, id, row);
            });
            connect(list, &QListWidget::itemDoubleClicked, this,
                    [this, id, list](QListWidgetItem* item) {
                        const int row = list->row(item);
                        if (row >= 0) act(DialogEvent::Kind::DblClick, id, row);
                    });
            return list;
        }
        case ControlKind::PushButton: {
            auto* button = new QPushButton(this);
            // Enter is the window's to handle (keyPressEvent), not QDialog's default-button rule.
            button->setAutoDefault(false);
            button->setDefault((c->style & vorn::mfc::kStyleDefault) != 0);
            connect(button, &QPushButton::clicked, this,
                    [this, id] { act(DialogEvent::Kind::Click, id); });
            return button;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(this);
            if (c->style & vorn::mfc::kStyleRightText) box->setLayoutDirection(Qt::RightToLeft);
            connect(box, &QCheckBox::clicked, this,
                    [this, id] { act(DialogEvent::Kind::Click, id); });
            return box;
        }
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(this);
            connect(radio, &QRadioButton::clicked, this,
                    [this, id] { act(DialogEvent::Kind::Click, id); });
            return radio;
        }
        case ControlKind::GroupBox: {
            auto* group = new QGroupBox(this);
            // Only a frame behind the controls placed over it: clicks go through to them.
            group->setAttribute(Qt::WA_TransparentForMouseEvents);
            return group;
        }
        case ControlKind::Static:
        case ControlKind::Picture: {
            auto* label = new StaticControl(this);
            label->setTextFormat(Qt::PlainText);
            const DWORD style = c->style;
            Qt::Alignment align = (style & vorn::mfc::kStyleCenter)      ? Qt::AlignHCenter
                                  : (style & vorn::mfc::kStyleRightText) ? Qt::AlignRight
                                                                         : Qt::AlignLeft;
            label->setAlignment(align | Qt::AlignTop);
            if ((style & vorn::mfc::kStyleBorder) || c->kind == ControlKind::Picture)
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            if (c->kind == ControlKind::Static && c->cy >= 16) label->setWordWrap(true);
            if (style & vorn::mfc::kStyleNotify)
                label->onClick = [this, id] { act(DialogEvent::Kind::Click, id); };
            return label;
        }
        case ControlKind::Dialog:
        case ControlKind::Frame:
            break;
    }
    return nullptr;
}

void DialogWindow::build() {
    for (Control& c : m_controls) delete c.widget;
    for (QButtonGroup* g : m_radioGroups) delete g;
    m_controls.clear();
    m_radioGroups.clear();
    m_childSerials.clear();
    for (const auto& child : m_hwnd->children) {
        m_childSerials.push_back(child->serial);
        QWidget* widget = makeWidget(child.get());
        if (!widget) continue;
        widget->setObjectName(QString::number(child->id));
        widget->installEventFilter(this);
        Control c;
        c.hwnd = child.get();
        c.serial = child->serial;
        c.widget = widget;
        m_controls.push_back(c);
    }
    // Radio buttons are exclusive in the groups the host makes of them, not across the window.
    std::map<HWND, QButtonGroup*> groupOf;
    for (Control& c : m_controls) {
        auto* radio = qobject_cast<QRadioButton*>(c.widget);
        if (!radio) continue;
        radio->setAutoExclusive(false);
        const std::vector<HWND> members = vorn::mfc::RadioGroupOf(c.hwnd);
        if (members.empty()) continue;
        QButtonGroup*& group = groupOf[members.front()];
        if (!group) {
            group = new QButtonGroup(this);
            m_radioGroups.push_back(group);
        }
        group->addButton(radio);
    }
    for (Control& c : m_controls)
        if (qobject_cast<QGroupBox*>(c.widget)) c.widget->lower();
    for (Control& c : m_controls) syncControl(c);
    syncRadioGroups();
}

bool DialogWindow::shouldShow() const {
    if (!alive() || !m_hwnd->visible) return false;
    // A modal run that has ended leaves its window to be destroyed: it must not come back.
    if (m_hwnd->modal)
        if (auto* dialog = dynamic_cast<CDialog*>(m_hwnd->handler); dialog && dialog->ModalEnded())
            return false;
    return true;
}

bool DialogWindow::sync() {
    if (!alive()) return false;
    std::vector<unsigned long> serials;
    for (const auto& child : m_hwnd->children) serials.push_back(child->serial);
    if (serials != m_childSerials) build();
    const QString title = Q(m_hwnd->text);
    if (windowTitle() != title) setWindowTitle(title);
    if (isEnabled() != m_hwnd->enabled) setEnabled(m_hwnd->enabled);
    for (Control& c : m_controls) syncControl(c);
    syncRadioGroups();
    const bool show = shouldShow();
    if (show && !isVisible()) {
        place();
        QDialog::setVisible(true);
        return true;
    }
    if (!show && isVisible()) {
        if (!m_hwnd->modal) m_owner.remember(m_hwnd->id, pos());
        QDialog::setVisible(false);
    }
    return false;
}

void DialogWindow::place() {
    QWidget* main = parentWidget();
    if (const QPoint* at = m_owner.rememberedPosition(m_hwnd->id); at && !m_hwnd->modal) {
        move(*at);
    } else if (main) {
        const QRect frame = main->frameGeometry();
        if (m_hwnd->modal)
            move(frame.center() - QPoint(width() / 2, height() / 2));
        else  // the top right corner of the main window, clear of its menus and tool bars
            move(frame.topLeft() + QPoint(std::max(0, frame.width() - width() - 32), 96));
    }
}

void DialogWindow::syncControl(Control& c) {
    if (!vorn::mfc::IsLiveWindow(c.hwnd) || c.hwnd->serial != c.serial) {
        c.widget->hide();
        return;
    }
    const HWND__* h = c.hwnd;
    QWidget* w = c.widget;
    const QSignalBlocker block(w);
    const QRect place = placeOf(h);
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        // A template gives a combo box its dropped-down height; closed it is one line high.
        QRect closed = place;
        closed.setHeight(std::min(place.height(), box->sizeHint().height()));
        if (box->geometry() != closed) box->setGeometry(closed);
    } else if (w->geometry() != place) {
        w->setGeometry(place);
    }
    if (w->isEnabled() != h->enabled) w->setEnabled(h->enabled);
    if (w->isHidden() == h->visible) w->setVisible(h->visible);
    const QString text = Q(h->text);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // Typing the user has not finished stays; it reaches the dialog when they leave.
        if (!edit->isModified() && edit->text() != text) edit->setText(text);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        const QString lines = FromHostLines(h->text);
        if (!edit->document()->isModified() && edit->toPlainText() != lines) {
            edit->setPlainText(lines);
            edit->document()->setModified(false);
        }
    } else if (auto* box = qobject_cast<QComboBox*>(w)) {
        // Rows and choice wait too while the user types into the box: both would replace the text.
        if (box->isEditable() && box->lineEdit()->isModified()) return;
        bool same = box->count() == static_cast<int>(h->rows.size());
        for (int i = 0; same && i < box->count(); ++i)
            same = box->itemText(i) == Q(h->rows[static_cast<size_t>(i)]);
        if (!same) {
            box->clear();
            for (const auto& row : h->rows) box->addItem(Q(row));
        }
        if (box->currentIndex() != h->curSel) box->setCurrentIndex(h->curSel);
        if (box->isEditable() && box->currentText() != text) box->setEditText(text);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        bool same = list->count() == static_cast<int>(h->rows.size());
        for (int i = 0; same && i < list->count(); ++i)
            same = list->item(i)->text() == Q(h->rows[static_cast<size_t>(i)]);
        if (!same) {
            list->clear();
            for (const auto& row : h->rows) list->addItem(Q(row));
        }
        if (list->currentRow() != h->curSel ||
            (h->curSel >= 0 && !list->item(h->curSel)->isSelected())) {
            list->setCurrentRow(h->curSel);
            if (h->curSel < 0)
                list->clearSelection();
            else
                list->scrollToItem(list->item(h->curSel));
        }
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        if (check->text() != text) check->setText(text);
        const Qt::CheckState state = h->check == BST_CHECKED         ? Qt::Checked
                                     : h->check == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                                     : Qt::Unchecked;
        if (state == Qt::PartiallyChecked) check->setTristate(true);
        if (check->checkState() != state) check->setCheckState(state);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->text() != text) button->setText(text);  // radio checks: syncRadioGroups
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        if (group->title() != text) group->setTitle(text);
    } else if (auto* label = dynamic_cast<StaticControl*>(w)) {
        if (h->kind == ControlKind::Static) {
            const QString shown = WithoutMnemonics(h->text);
            if (label->text() != shown) label->setText(shown);
        }
        if (h->paint) {
            // Painted again only when the control asked for it (Invalidate) or changed size.
            if (!label->hasPicture() || c.paintCount != h->paintCount ||
                c.paintedSize != place.size()) {
                label->setPicture(RenderPicture(h->paint, place.size()));
                c.paintCount = h->paintCount;
                c.paintedSize = place.size();
            }
        } else if (label->hasPicture()) {
            label->setPicture(QImage());
        }
    }
}

void DialogWindow::syncRadioGroups() {
    for (QButtonGroup* group : m_radioGroups) {
        // Exclusive groups cannot show "none checked"; the host's state may be that.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons()) {
            Control* c = controlOf(button);
            if (!c || !vorn::mfc::IsLiveWindow(c->hwnd)) continue;
            const bool checked = c->hwnd->check == BST_CHECKED;
            if (button->isChecked() != checked) {
                const QSignalBlocker block(button);
                button->setChecked(checked);
            }
        }
        group->setExclusive(true);
    }
}

DialogWindow::Control* DialogWindow::controlOf(const QObject* widget) {
    for (Control& c : m_controls)
        if (c.widget == widget) return &c;
    return nullptr;
}

bool DialogWindow::commit(Control& c) {
    if (!vorn::mfc::IsLiveWindow(c.hwnd) || c.hwnd->serial != c.serial) return false;
    QLineEdit* line = qobject_cast<QLineEdit*>(c.widget);
    if (auto* box = qobject_cast<QComboBox*>(c.widget)) line = box->lineEdit();
    std::wstring text;
    if (line) {
        if (!line->isModified()) return false;
        line->setModified(false);
        text = line->text().toStdWString();
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(c.widget)) {
        if (!edit->document()->isModified()) return false;
        edit->document()->setModified(false);
        text = ToHostLines(edit->toPlainText());
    } else {
        return false;
    }
    act(DialogEvent::Kind::Edit, c.hwnd->id, 0, std::move(text));
    return true;
}

void DialogWindow::commitEdits(const QWidget* target) {
    for (Control& c : m_controls) {
        if (target && (c.widget == target || c.widget->isAncestorOf(target))) continue;
        commit(c);
    }
}

void DialogWindow::act(DialogEvent::Kind kind, int id, int row, std::wstring text) {
    if (!alive()) return;
    DialogEvent event;
    event.kind = kind;
    event.id = id;
    event.row = row;
    event.text = std::move(text);
    m_owner.post(*this, std::move(event));
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // A modal dialog is cancelled as its Cancel button would; beside a command, Esc
        // cancels the command, as it does at the command line.
        if (modal())
            m_owner.postModal(*this, {ModalAction::Kind::Cancel, {}});
        else
            FrontEnd::instance().postCancel();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else if (modal()) {
            commitEdits(nullptr);
            m_owner.postModal(*this, {ModalAction::Kind::DefaultButton, {}});
        }
        return;  // a modeless dialog has nothing to confirm: its fields took the text already
    }
    QDialog::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (!alive() || QCoreApplication::closingDown() || FrontEnd::instance().inputEnded()) {
        QDialog::closeEvent(event);
        return;
    }
    // The close box is the dialog's to answer: its handler hides or destroys it, and the
    // window follows at the next sync.
    event->ignore();
    commitEdits(nullptr);
    act(DialogEvent::Kind::Close, 0);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (Control* c = controlOf(watched); c && alive() && vorn::mfc::IsLiveWindow(c->hwnd))
            m_owner.cursorOver(m_hwnd, c->hwnd, c->widget);
    } else if (event->type() == QEvent::FocusOut) {
        // A multi-line edit has no "editing finished" of its own.
        if (qobject_cast<QPlainTextEdit*>(watched))
            if (Control* c = controlOf(watched)) commit(*c);
    }
    return QDialog::eventFilter(watched, event);
}

// ---- DialogWidgets ----

DialogWidgets::DialogWidgets(QWidget* mainWindow) : QObject(mainWindow), m_main(mainWindow) {
    m_previousPump = vorn::mfc::SetModalEventPump([](CDialog& dialog) {
        if (DialogWidgets* widgets = Installed()) return widgets->modalStep(dialog);
        return vorn::ui::RunModalStep(dialog);
    });
    vorn::ed::SetDialogEventHandler([](const std::wstring& line, std::wstring& output) {
        if (DialogWidgets* widgets = Installed()) return widgets->handleLine(line, output);
        return DispatchToOpenDialog(line, output);
    });
    m_waitHook = FrontEnd::instance().addWaitHook([this] {
        // The editor waits with its queue empty: every window event has been handled.
        m_pending.clear();
        sync();
    });
    qApp->installEventFilter(this);
}

DialogWidgets::~DialogWidgets() {
    for (auto& [serial, window] : m_windows) delete window.data();
    FrontEnd::instance().removeWaitHook(m_waitHook);
    vorn::mfc::SetModalEventPump(std::move(m_previousPump));
    vorn::ed::SetDialogEventHandler(nullptr);
}

DialogWindow* DialogWidgets::windowOf(HWND hwnd) const {
    if (!vorn::mfc::IsLiveWindow(hwnd)) return nullptr;
    auto it = m_windows.find(hwnd->serial);
    return it == m_windows.end() ? nullptr : it->second.data();
}

void DialogWidgets::sync() {
    if (!m_main) return;
    bool shownBeside = false;
    std::map<unsigned long, QPointer<DialogWindow>> kept;
    for (HWND hwnd : vorn::mfc::TopLevelWindows()) {
        if (hwnd->kind != ControlKind::Dialog || !vorn::mfc::IsLiveWindow(hwnd)) continue;
        QPointer<DialogWindow> window;
        if (auto it = m_windows.find(hwnd->serial); it != m_windows.end()) window = it->second;
        // A window is built when its dialog first shows.
        if (!window && hwnd->visible) window = new DialogWindow(hwnd, m_main, *this);
        if (!window) continue;
        if (window->sync() && !hwnd->modal) shownBeside = true;
        kept[hwnd->serial] = window;
    }
    for (auto& [serial, window] : m_windows) {
        if (!window || kept.count(serial)) continue;
        window->hide();
        window->deleteLater();  // its dialog is gone
    }
    m_windows = std::move(kept);

    // A dialog that gave the keyboard to the drawing view or the main frame (or one that has just
    // come up while they hold it) leaves the typing to the command line.
    HWND focus = ::GetFocus();
    const bool hostWindow = focus && (focus == acedGetAcadDwgView()->GetSafeHwnd() ||
                                      focus == acedGetAcadFrame()->GetSafeHwnd());
    const bool toView = hostWindow && (focus != m_lastFocus || shownBeside);
    m_lastFocus = focus;
    if (toView && FocusViewHandler()) FocusViewHandler()();
}

void DialogWidgets::post(DialogWindow& window, DialogEvent event) {
    event.dialog = window.hwnd();
    if (window.modal()) {
        postModal(window, {ModalAction::Kind::Event, std::move(event)});
        return;
    }
    const std::wstring line = EventLine(event);
    m_pending.push_back({line, window.hwnd(), window.hwnd()->serial});
    vorn::ed::Event e;
    e.kind = vorn::ed::EventKind::kDialog;
    e.text = line;
    e.silent = true;
    FrontEnd::instance().post(e);
}

void DialogWidgets::postModal(DialogWindow& window, ModalAction action) {
    window.actions.push_back(std::move(action));
    if (window.modalLoop) window.modalLoop->quit();
}

void DialogWidgets::cursorOver(HWND dialog, HWND control, QWidget* widget) {
    // The dialog may choose the cursor over its control (WM_SETCURSOR), as it would on the
    // platform whenever the mouse arrives there.
    const LRESULT handled = ::SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    const HCURSOR cursor = vorn::mfc::CurrentCursor();
    if (handled && cursor)
        widget->setCursor(CursorOf(cursor));
    else
        widget->unsetCursor();
}

bool DialogWidgets::dispatch(const DialogEvent& event, std::wstring& output) {
    const bool taken = vorn::ui::DispatchDialogEvent(event, output);
    // Leaving a field hands the host's focus to the drawing view; the user's focus is where
    // they put it (perhaps the next field), so that move is not a dialog giving the focus away.
    if (event.kind == DialogEvent::Kind::Edit) m_lastFocus = ::GetFocus();
    return taken;
}

bool DialogWidgets::handleLine(const std::wstring& line, std::wstring& output) {
    auto it = std::find_if(m_pending.begin(), m_pending.end(),
                           [&](const Pending& p) { return p.line == line; });
    if (it == m_pending.end()) return DispatchToOpenDialog(line, output);
    const Pending pending = *it;
    m_pending.erase(m_pending.begin(), it + 1);
    // The window it came from has gone with its dialog: nobody is left to take it.
    if (!vorn::mfc::IsLiveWindow(pending.dialog) || pending.dialog->serial != pending.serial)
        return true;
    DialogEvent event;
    std::wstring error;
    if (!vorn::ui::ParseDialogEvent(line, event, error)) {
        output = error;
        return false;
    }
    event.dialog = pending.dialog;
    return dispatch(event, output);
}

bool DialogWidgets::modalStep(CDialog& dialog) {
    HWND hwnd = dialog.m_hWnd;
    if (!vorn::mfc::IsLiveWindow(hwnd)) return false;
    sync();
    QPointer<DialogWindow> window = windowOf(hwnd);
    // A script run in the window answers its dialogs with its own lines, as it would headless;
    // the window only shows what they do.
    if (!window || FrontEnd::instance().scriptRunning())
        return m_previousPump ? m_previousPump(dialog) : false;
    while (window && window->actions.empty()) {
        if (FrontEnd::instance().inputEnded()) return false;
        QEventLoop loop;
        window->modalLoop = &loop;
        loop.exec();
        if (!window) return false;
        window->modalLoop = nullptr;
        if (window->actions.empty()) return false;  // the application is quitting
    }
    if (!window) return false;
    std::deque<ModalAction> actions;
    actions.swap(window->actions);
    for (const ModalAction& action : actions) {
        if (!vorn::mfc::IsLiveWindow(hwnd) || dialog.ModalEnded()) break;
        std::wstring output;
        switch (action.kind) {
            case ModalAction::Kind::Event:
                dispatch(action.event, output);
                break;
            case ModalAction::Kind::DefaultButton:
                vorn::ui::HandleModalLine(dialog, L"");
                break;
            case ModalAction::Kind::Cancel:
                vorn::ui::HandleModalLine(dialog, L"ESC");
                break;
        }
        if (!output.empty()) vorn::HostPrint(L"\n" + output);
    }
    sync();
    return true;
}

bool DialogWidgets::eventFilter(QObject* watched, QEvent* event) {
    // A press anywhere but in the field being typed into ends the typing first, so that the
    // dialog has the new text before the press does anything (a click in the drawing view
    // answers the prompt at once).
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        if (auto* target = qobject_cast<QWidget*>(watched))
            for (auto& [serial, window] : m_windows)
                if (window) window->commitEdits(target);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace

void InstallDialogWidgets(QWidget* mainWindow) {
    delete Installed().data();
    Installed() = mainWindow ? new DialogWidgets(mainWindow) : nullptr;
}

void UninstallDialogWidgets() {
    delete Installed().data();
}

void SetFocusViewHandler(std::function<void()> handler) {
    FocusViewHandler() = std::move(handler);
}

void SyncDialogWidgets() {
    if (DialogWidgets* widgets = Installed()) widgets->sync();
}

QWidget* DialogWindowOf(HWND dialog) {
    DialogWidgets* widgets = Installed();
    return widgets ? widgets->windowOf(dialog) : nullptr;
}

}  // namespace vorn::gui
