// Dialogs as widget windows, driven as a user drives them: typing, clicking and choosing in the
// widgets while the editor waits, and what the dialog's handlers hear of it. Also the native
// message box, file dialog and library picker.
#include <cairo.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

#include "gui/dialogwidgets.h"
#include "gui/frontend.h"
#include "gui/nativedialogs.h"
#include "host/base/hostio.h"
#include "host/ed/aced.h"
#include "host/ed/editor.h"
#include "host/ed/sysvars.h"
#include "host/mfc/afx.h"
#include "host/mfc/hostwindows.h"
#include "tests/gui/steps.h"
#include "tests/host/ui/testdialog.h"

namespace {

using namespace vorn::test;  // the test dialog's control ids

template <typename W = QWidget>
W* Control(QWidget* window, int id) {
    return window ? window->findChild<W*>(QString::number(id)) : nullptr;
}

// Typing as a user does: keys for ASCII, the input method's committed text for Chinese.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

// What typing over a field's text does: all of it chosen first, then replaced.
void Retype(QWidget* widget, const QString& text) {
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    Type(widget, text);
}

// A double click as the platform delivers it: press, release, press with a double-click event,
// release.
void DoubleClick(QWidget* widget, const QPoint& at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &twice);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

QPoint RowCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

// A main window with a drawing view, the dialog windows installed over it, the test dialogs'
// resources current and the transcript kept.
class DialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        resources = std::make_unique<DialogFixture>();
        main = std::make_unique<QWidget>();
        main->resize(800, 600);
        view = new QWidget(main.get());
        view->setGeometry(0, 0, 800, 600);
        main->show();
        vorn::gui::FrontEnd::instance().install();
        vorn::ed::SetTranscriptSink([this](const std::string& utf8) { transcript += utf8; });
        vorn::gui::InstallDialogWidgets(main.get());
    }
    void TearDown() override {
        first.reset();
        second.reset();
        vorn::gui::SetFocusViewHandler(nullptr);
        main.reset();
        vorn::ed::SetTranscriptSink(nullptr);
        resources.reset();
    }

    TestDialog& Open(std::unique_ptr<TestDialog>& dialog) {
        dialog = std::make_unique<TestDialog>();
        EXPECT_TRUE(dialog->Create(kDialogId, acedGetAcadFrame()));
        dialog->ShowWindow(SW_SHOW);
        vorn::gui::SyncDialogWidgets();
        return *dialog;
    }
    QWidget* WindowOf(const TestDialog& dialog) { return vorn::gui::DialogWindowOf(dialog.m_hWnd); }

    // The editor waits at a prompt; each step runs in turn while it waits, as the user's
    // actions would, and the prompt is answered with Enter after the last.
    void WhileTheEditorWaits(std::vector<std::function<void()>> steps) {
        vorn::test::StepOptions options;
        options.afterLast = [] { vorn::gui::FrontEnd::instance().postEnter(); };
        vorn::test::PlaySteps(steps, [] {
            wchar_t answer[256];
            acedGetString(1, L"\nName: ", answer, 256);
        }, options);
    }

    std::unique_ptr<DialogFixture> resources;  // the test dialog's template current
    std::unique_ptr<QWidget> main;
    QWidget* view = nullptr;
    std::unique_ptr<TestDialog> first, second;
    std::string transcript;
};

TEST_F(DialogWindows, TemplateBecomesWidgetsInPlace) {
    TestDialog& dialog = Open(first);
    QWidget* window = WindowOf(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("测试对话框"));
    // The mnemonic mark is not shown.
    EXPECT_EQ(Control<QLabel>(window, kLabel)->text(), QStringLiteral("左宽："));
    EXPECT_TRUE(Control<QLineEdit>(window, kReadOnly)->isReadOnly());
    EXPECT_FALSE(Control<QComboBox>(window, kDropList)->isEditable());
    EXPECT_EQ(Control<QComboBox>(window, kDropList)->count(), 2);
    EXPECT_EQ(Control<QGroupBox>(window, kGroup)->title(), QStringLiteral("定位线位置"));
    // Two radio groups, each with its own choice.
    EXPECT_TRUE(Control<QRadioButton>(window, kRadioC)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(window, kRadioX)->isChecked());

    // Every control lies inside the window, and controls apart in the template stay apart.
    const std::vector<std::unique_ptr<HWND__>>& children = dialog.m_hWnd->children;
    for (const auto& a : children) {
        QWidget* wa = Control(window, a->id);
        ASSERT_NE(wa, nullptr) << a->id;
        EXPECT_TRUE(window->rect().contains(wa->geometry())) << a->id;
        for (const auto& b : children) {
            if (a == b || a->kind == vorn::mfc::ControlKind::GroupBox ||
                b->kind == vorn::mfc::ControlKind::GroupBox)
                continue;
            const bool apartX = a->x + a->cx <= b->x || b->x + b->cx <= a->x;
            const bool apartY = a->y + a->cy <= b->y || b->y + b->cy <= a->y;
            if (apartX || apartY) {
                EXPECT_FALSE(wa->geometry().intersects(Control(window, b->id)->geometry()))
                    << a->id << " " << b->id;
            }
        }
    }
    // A combo box's template height is its dropped-down list; closed it is one line.
    EXPECT_LT(Control(window, kCombo)->height(), Control(window, kList)->height());
}

TEST_F(DialogWindows, UserActionsReachTheHandlersAsTheyWouldFromEvents) {
    TestDialog& dialog = Open(first);
    QWidget* window = WindowOf(dialog);
    ASSERT_NE(window, nullptr);
    QListWidget* list = Control<QListWidget>(window, kList);
    QWidget* comboEdit = Control<QComboBox>(window, kCombo)->lineEdit();
    WhileTheEditorWaits({
        // Regression: text typed and then left by a click into the drawing reached no handler.
        // Blanks at both ends and quotes inside must arrive as typed.
        [&] {
            Retype(Control(window, kEdit), QStringLiteral(" 道路 \"宽\" 度 "));
            QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(400, 300));
        },
        [&] {
            Retype(comboEdit, QStringLiteral("4500"));
            QTest::keyClick(comboEdit, Qt::Key_Return);
        },
        [&] { QTest::keyClick(Control(window, kDropList), Qt::Key_Up); },
        [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, 2)); },
        [&] { DoubleClick(list->viewport(), RowCentre(list, 0)); },
        [&] { QTest::mouseClick(Control(window, kCheck), Qt::LeftButton); },
        [&] { QTest::mouseClick(Control(window, kRadioA), Qt::LeftButton); },
        [&] { QTest::mouseClick(Control(window, kPreview), Qt::LeftButton); },
    });
    // The double-click's own event chooses its row again first, as @dblclick does.
    const std::vector<std::wstring> expected = {L"edit-set", L"edit-change", L"edit-kill", L"combo-focus",
                                                L"combo-edit", L"drop-sel:0", L"list-sel:2", L"list-sel:0",
                                                L"list-sel:0", L"list-dbl:0", L"check", L"radio-a", L"preview"};
    EXPECT_EQ(dialog.calls, expected);
    // The host has what was typed, and its state shows: A chosen in its group, the other group
    // untouched, the box cleared.
    CString typed;
    dialog.GetDlgItemText(kEdit, typed);
    EXPECT_EQ(typed.str(), L" 道路 \"宽\" 度 ");
    dialog.GetDlgItemText(kCombo, typed);
    EXPECT_EQ(typed.str(), L"4500");
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCheck), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_TRUE(Control<QRadioButton>(window, kRadioA)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(window, kRadioC)->isChecked());
    EXPECT_TRUE(Control<QRadioButton>(window, kRadioX)->isChecked());
    // Nothing refused, nothing echoed.
    EXPECT_EQ(transcript.find("@"), std::string::npos) << transcript;
}

// Two dialogs stand; the older one's window is used, though script events would address the
// newer. What its handler changes shows in its widgets.
TEST_F(DialogWindows, HandlersOfTheWindowsDialogAnswerAndTheirChangesShow) {
    TestDialog& older = Open(first);
    TestDialog& newer = Open(second);
    QWidget* window = WindowOf(older);
    ASSERT_NE(window, WindowOf(newer));
    // What a handler does to its own controls, for the widgets to follow.
    older.onButton = [&older] {
        ::EnableWindow(::GetDlgItem(older.m_hWnd, kCheck), FALSE);
        ::ShowWindow(::GetDlgItem(older.m_hWnd, kLabel), SW_HIDE);
        older.SetDlgItemText(kEdit, L"改过的名字");
        ::SendMessageW(::GetDlgItem(older.m_hWnd, kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"d"));
        ::SendMessageW(::GetDlgItem(older.m_hWnd, kList), LB_SETCURSEL, 3, 0);
        older.CheckRadioButton(kRadioX, kRadioY, kRadioY);
    };
    WhileTheEditorWaits({[&] { QTest::mouseClick(Control(window, kButton), Qt::LeftButton); }});
    ASSERT_EQ(older.calls, std::vector<std::wstring>{L"button"});
    EXPECT_TRUE(newer.calls.empty());
    EXPECT_FALSE(Control(window, kCheck)->isEnabled());
    EXPECT_TRUE(Control(window, kLabel)->isHidden());
    EXPECT_EQ(Control<QLineEdit>(window, kEdit)->text(), QStringLiteral("改过的名字"));
    QListWidget* list = Control<QListWidget>(window, kList);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_TRUE(Control<QRadioButton>(window, kRadioY)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(window, kRadioX)->isChecked());

    // The close box asks the dialog, which hides itself; its window follows.
    WhileTheEditorWaits({[&] { window->close(); }});
    EXPECT_EQ(older.calls.back(), L"close");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(DialogWindows, ModalRunEndsWithTheUsersAnswer) {
    struct Case {
        const char* what;
        std::function<void(QWidget* window)> act;
        INT_PTR result;
        const wchar_t* name;
    };
    const Case cases[] = {
        {"typed, then OK",
         [](QWidget* w) {
             Retype(Control(w, kEdit), QStringLiteral("新 名字"));
             QTest::mouseClick(Control(w, IDOK), Qt::LeftButton);
         },
         IDOK, L"新 名字"},
        {"Enter in a field answers the default button",
         [](QWidget* w) {
             Retype(Control(w, kEdit), QStringLiteral("x"));
             QTest::keyClick(Control(w, kEdit), Qt::Key_Return);
         },
         IDOK, L"x"},
        {"Esc cancels", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, IDCANCEL, L"hello"},
    };
    for (const Case& c : cases) {
        TestDialog dialog;
        QPointer<QWidget> window;
        QTimer::singleShot(0, [&] {
            window = vorn::gui::DialogWindowOf(dialog.m_hWnd);
            ASSERT_TRUE(window && window->isVisible() && window->isModal()) << c.what;
            c.act(window);
        });
        EXPECT_EQ(dialog.DoModal(), c.result) << c.what;
        EXPECT_EQ(dialog.m_text.str(), c.name) << c.what;
        EXPECT_TRUE(!window || !window->isVisible()) << c.what;
    }
}

TEST_F(DialogWindows, FocusGoesBackToTheDrawingWhenTheDialogHandsItOver) {
    int handedBack = 0;
    vorn::gui::SetFocusViewHandler([&] { ++handedBack; });
    TestDialog& dialog = Open(first);
    acedGetAcadDwgView()->SetFocus();  // as the module's commands do once their dialog stands
    vorn::gui::SyncDialogWidgets();
    EXPECT_EQ(handedBack, 1);
    // Leaving a field moves the host's focus to the view too, but the user's focus stays put.
    QWidget* window = WindowOf(dialog);
    WhileTheEditorWaits({[&] {
        Type(Control(window, kEdit), QStringLiteral("7"));
        QTest::keyClick(Control(window, kEdit), Qt::Key_Return);
    }});
    EXPECT_EQ(handedBack, 1);
}

TEST_F(DialogWindows, PreviewPaintsThroughItsHandlerAndSetsItsCursor) {
    TestDialog& dialog = Open(first);
    QColor colour(Qt::red);
    CStatic preview;
    ASSERT_TRUE(preview.SubclassDlgItem(kPreview, &dialog));
    preview.SetPaintHandler([&](cairo_t* cr, double x, double y, double w, double h) {
        cairo_set_source_rgb(cr, colour.redF(), colour.greenF(), colour.blueF());
        cairo_rectangle(cr, x, y, w, h);
        cairo_fill(cr);
    });
    vorn::gui::SyncDialogWidgets();
    QWidget* widget = Control(WindowOf(dialog), kPreview);
    const QPoint centre = widget->rect().center();
    EXPECT_EQ(widget->grab().toImage().pixelColor(centre), QColor(Qt::red));
    colour = Qt::blue;
    preview.Invalidate();
    vorn::gui::SyncDialogWidgets();
    EXPECT_EQ(widget->grab().toImage().pixelColor(centre), QColor(Qt::blue));

    dialog.cursorOverPreview = LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(2008));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(widget, &enter);
    EXPECT_EQ(widget->cursor().shape(), Qt::CrossCursor);
    preview.SetPaintHandler(nullptr);
    preview.UnsubclassWindow();
}

// ---- native dialogs ----

class NativeDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        main = std::make_unique<QWidget>();
        vorn::gui::InstallNativeDialogs(main.get());
    }
    void TearDown() override {
        vorn::SetNativeDialogs({});
        main.reset();
    }
    // Runs act on the modal dialog that comes up next.
    template <typename Dialog>
    void WhenItComesUp(std::function<void(Dialog*)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(dialog);
        });
    }
    std::unique_ptr<QWidget> main;
};

TEST_F(NativeDialogs, MessageBoxAnswersWithTheButtonPressed) {
    struct Case {
        UINT type;
        std::function<void(QMessageBox*)> press;
        int answer;
        QMessageBox::Icon icon;
    };
    const auto click = [](QMessageBox::StandardButton b) {
        return [b](QMessageBox* box) { box->button(b)->click(); };
    };
    const auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };
    const Case cases[] = {
        {MB_OK | MB_ICONINFORMATION, key(Qt::Key_Return), IDOK, QMessageBox::Information},
        {MB_OKCANCEL | MB_ICONWARNING, click(QMessageBox::Cancel), IDCANCEL, QMessageBox::Warning},
        {MB_OKCANCEL | MB_DEFBUTTON2, key(Qt::Key_Return), IDCANCEL, QMessageBox::NoIcon},
        {MB_YESNO | MB_ICONQUESTION, click(QMessageBox::No), IDNO, QMessageBox::Question},
        {MB_YESNOCANCEL | MB_ICONERROR, key(Qt::Key_Escape), IDCANCEL, QMessageBox::Critical},
    };
    for (const Case& c : cases) {
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenItComesUp<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            icon = box->icon();
            c.press(box);
        });
        EXPECT_EQ(MessageBoxW(nullptr, L"道路宽度必须大于零", L"道路", c.type), c.answer)
            << std::hex << c.type;
        EXPECT_EQ(caption, QStringLiteral("道路"));
        EXPECT_EQ(icon, c.icon) << std::hex << c.type;
    }
}

TEST_F(NativeDialogs, FileDialogFollowsFiledia) {
    std::wstring error;
    ASSERT_TRUE(vorn::ed::SetSysVarFromText(L"FILEDIA", L"0", error));
    std::wstring path;
    EXPECT_EQ(vorn::NativeDialogs().fileDialog(true, L"Drawings (*.dwg)|*.dwg||", L"", path), -1);

    ASSERT_TRUE(vorn::ed::SetSysVarFromText(L"FILEDIA", L"1", error));
    const QString folder = QStringLiteral(VORN_SOURCE_DIR "/support");
    QStringList filters;
    WhenItComesUp<QFileDialog>([&](QFileDialog* dialog) {
        filters = dialog->nameFilters();
        dialog->setDirectory(folder);
        dialog->selectFile(QStringLiteral("car.dxf"));
        static_cast<QDialog*>(dialog)->accept();
    });
    CFileDialog chooser(TRUE, L"dwg", nullptr, OFN_HIDEREADONLY,
                        L"CAD图形文件(*.dwg)|*.dwg|所有文件 (*.*)|*.*||");
    EXPECT_EQ(chooser.DoModal(), IDOK);
    EXPECT_EQ(QString::fromStdWString(chooser.GetPathName().str()),
              folder + QStringLiteral("/car.dxf"));
    // Drawings asked for as DWG are offered as the DXF files this host keeps.
    EXPECT_EQ(filters, (QStringList{QStringLiteral("CAD图形文件 (*.dwg *.dxf)"),
                                    QStringLiteral("所有文件 (*.*)")}));

    WhenItComesUp<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(chooser.DoModal(), IDCANCEL);
}

TEST_F(NativeDialogs, LibraryPickerShowsItemsWithPreviews) {
    const std::vector<std::wstring> names = {L"树/乔木", L"车位/小车"};
    const std::vector<std::wstring> files = {VORN_SOURCE_DIR L"/support/_Tree1.dwg",
                                             VORN_SOURCE_DIR L"/support/car.dwg"};
    int chosen = -1;
    WhenItComesUp<QDialog>([](QDialog* dialog) {
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("items"));
        ASSERT_NE(list, nullptr);
        // The previews come while the list stands; both drawings are found by their DXF twins.
        EXPECT_TRUE(QTest::qWaitFor([list] { return !list->item(1)->icon().isNull(); }, 10000));
        EXPECT_FALSE(list->item(0)->icon().isNull());
        DoubleClick(list->viewport(), RowCentre(list, 1));
    });
    EXPECT_EQ(vorn::NativeDialogs().pickItem(L"LibGroup.dmls", names, files, chosen), 1);
    EXPECT_EQ(chosen, 1);

    WhenItComesUp<QDialog>([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(vorn::NativeDialogs().pickItem(L"LibGroup.dmls", names, files, chosen), 0);
}

}  // namespace
