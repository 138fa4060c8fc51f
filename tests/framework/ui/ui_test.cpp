// The framework's dialog layer: the modeless state on every way a window comes and goes, the
// close box and message boxes, the preview's ownership of what it shows and its picture, the
// pick button stepping aside, and temporary screen vectors in world coordinates.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/core/KyDbUtil.h"
#include "framework/ui/KyUiDialog.h"
#include "framework/ui/KyUiPickButton.h"
#include "framework/ui/KyUiPreviewCtrl.h"
#include "framework/ui/KyUiScreenDc.h"
#include "geometry/KyGeometry.h"
#include "host/base/hostio.h"
#include "host/base/textcodec.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/dxf/dxf.h"
#include "host/ed/aced.h"
#include "host/ed/ucs.h"
#include "host/mfc/hostwindows.h"
#include "host/render/render.h"
#include "host/ui/dialogshot.h"

namespace {

constexpr int kTemplate = 9100, kPreview = 10, kPick = 11;

class ResourceFixture {
public:
    ResourceFixture() {
        m_module = vorn::mfc::RegisterResourceModule(L"framework-ui-test");
        vorn::mfc::DialogTemplate t;
        t.id = kTemplate;
        t.caption = L"预览";
        t.cx = 120;
        t.cy = 80;
        t.controls = {
            {kPreview, vorn::mfc::ControlKind::Picture, L"静态", 5, 5, 60, 60, vorn::mfc::kStyleBorder},
            {kPick, vorn::mfc::ControlKind::PushButton, L"...", 70, 5, 40, 12, 0},
        };
        vorn::mfc::AddDialogTemplate(m_module, t);
        m_saved = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    ~ResourceFixture() { AfxSetResourceHandle(m_saved); }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_saved = nullptr;
};

class StateDialog : public KyUiDialog {
public:
    StateDialog() : KyUiDialog(kTemplate) {}
    BOOL OnInitDialog() override {
        stateAtInit = GetModelessState();
        return KyUiDialog::OnInitDialog();
    }
    int stateAtInit = -1;
};

class PrintCapture {
public:
    PrintCapture() : m_saved(vorn::SetHostPrinter([this](const std::wstring& t) { text += t; })) {}
    ~PrintCapture() { vorn::SetHostPrinter(m_saved); }
    std::wstring text;

private:
    vorn::HostPrinter m_saved;
};

AcDbLine* NewLine(double x0, double y0, double x1, double y1) {
    return new AcDbLine(AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0));
}

// The colour of one pixel of an RGB24 surface, as 0xRRGGBB.
unsigned Pixel(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    return *reinterpret_cast<const std::uint32_t*>(row + 4 * x) & 0xffffffu;
}

}  // namespace

TEST(KyUiDialog, ModelessStateFollowsTheWindowHoweverItGoes) {
    ResourceFixture res;
    StateDialog d;
    EXPECT_EQ(d.GetModelessState(), 0);
    ASSERT_TRUE(d.Create(kTemplate, acedGetAcadFrame()));
    EXPECT_NE(d.stateAtInit, 0);  // already set while the dialog initialises
    EXPECT_TRUE(d.IsModeless());
    d.DestroyWindow();
    EXPECT_EQ(d.GetModelessState(), 0);

    // A window destroyed behind the object's back leaves no modeless dialog either.
    ASSERT_TRUE(d.Create(kTemplate, acedGetAcadFrame()));
    ::DestroyWindow(d.m_hWnd);
    EXPECT_EQ(d.GetModelessState(), 0);

    // A template that is not there: no window, no modeless state.
    StateDialog missing;
    PrintCapture print;
    EXPECT_FALSE(missing.Create(kTemplate + 1));
    EXPECT_EQ(missing.GetModelessState(), 0);

    // A modal run is never modeless, not even while it initialises.
    StateDialog modal;
    modal.DoModal();
    EXPECT_EQ(modal.stateAtInit, 0);
    EXPECT_EQ(modal.GetModelessState(), 0);
}

TEST(KyUiDialog, CloseBoxHidesAModelessDialogAndMessageBoxesNameTheirCaption) {
    ResourceFixture res;
    StateDialog d;
    ASSERT_TRUE(d.Create(kTemplate));
    d.ShowWindow(SW_SHOW);
    ::SendMessageW(d.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(d.m_hWnd));  // the window stays for its command to destroy
    EXPECT_FALSE(d.IsWindowVisible());

    PrintCapture print;
    EXPECT_EQ(d.MessageBoxW(L"读取图库组失败", L"错误", MB_ICONERROR), IDOK);
    EXPECT_NE(print.text.find(L"错误"), std::wstring::npos);
    EXPECT_NE(print.text.find(L"读取图库组失败"), std::wstring::npos);
    print.text.clear();
    d.MessageBoxW(L"完成");
    EXPECT_NE(print.text.find(L"预览"), std::wstring::npos);  // the dialog's own caption
}

TEST(KyUiPreviewCtrl, TakesOverNewEntitiesCopiesResidentOnesAndReplacesOnEachDraw) {
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    const AcDbObjectId resident = AddToModelSpace(NewLine(0, 0, 5, 5), 1, db.get());
    ASSERT_FALSE(resident.isNull());

    KyUiPreviewCtrl preview;
    EXPECT_TRUE(preview.IsEmpty());
    AcDbVoidPtrArray entities;
    entities.append(NewLine(0, 0, 100, 0));
    entities.append(NewLine(0, 0, 0, 50));
    ASSERT_TRUE(preview.Draw(entities));
    EXPECT_EQ(entities.length(), 0);  // the array is emptied: releasing it deletes nothing twice
    EXPECT_EQ(preview.GetEntityCount(), 2);
    AcDbExtents box;
    ASSERT_TRUE(preview.GetExtents(box));
    EXPECT_DOUBLE_EQ(box.maxPoint().x, 100.0);
    EXPECT_DOUBLE_EQ(box.maxPoint().y, 50.0);

    AcDbEntity* open = nullptr;
    ASSERT_EQ(acdbOpenObject(open, resident, AcDb::kForRead), Acad::eOk);
    ASSERT_TRUE(preview.Draw(open));  // copied: the drawing keeps its entity
    open->close();
    EXPECT_EQ(preview.GetEntityCount(), 1);
    EXPECT_EQ(db->modelSpaceIds().length(), 1);
    ASSERT_TRUE(preview.GetExtents(box));
    EXPECT_DOUBLE_EQ(box.maxPoint().x, 5.0);

    EXPECT_FALSE(preview.Draw(static_cast<AcDbEntity*>(nullptr)));
    EXPECT_TRUE(preview.IsEmpty());
    preview.Draw(NewLine(1, 1, 2, 2));
    preview.ErasePreview();
    EXPECT_TRUE(preview.IsEmpty());
    EXPECT_FALSE(preview.GetExtents(box));
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

TEST(KyUiPreviewCtrl, DrawsAFileFittedIntoTheControlOnItsBackground) {
    const auto dir = std::filesystem::path(VORN_BINARY_DIR) / "test-output" / "framework-ui";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "cross.dxf").string();
    {
        AcDbDatabase cross(true);
        // A cross far from the origin: the fit must bring it into the control.
        AddToModelSpace(NewLine(1e6 - 500, 2e6, 1e6 + 500, 2e6), 1, &cross);
        AddToModelSpace(NewLine(1e6, 2e6 - 500, 1e6, 2e6 + 500), 1, &cross);
        std::string error;
        ASSERT_EQ(vorn::dxf::WriteDxf(cross, file, error), Acad::eOk) << error;
    }
    KyUiPreviewCtrl preview(KyUiPreviewCtrl::kModeScreen);
    EXPECT_FALSE(preview.Draw(L"no-such-drawing.dwg"));
    EXPECT_TRUE(preview.IsEmpty());
    ASSERT_TRUE(preview.Draw(vorn::FromUtf8(file).c_str()));
    EXPECT_EQ(preview.GetEntityCount(), 2);
    EXPECT_EQ(preview.GetFileName(), vorn::FromUtf8(file));

    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 120, 120);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_paint(cr);
    preview.Paint(cr, 10, 10, 100, 100);
    EXPECT_EQ(Pixel(s, 5, 5), 0xff0000u);             // outside the control: untouched
    EXPECT_EQ(Pixel(s, 12, 12), 0x212830u);           // the screen background
    EXPECT_NE(Pixel(s, 60, 60), 0x212830u);           // the cross stands in the middle
    EXPECT_NE(Pixel(s, 60, 15), 0x212830u);           // and fills the control without a margin
    preview.Init(false);                              // frame, margin, dialog face
    preview.Paint(cr, 10, 10, 100, 100);
    EXPECT_EQ(Pixel(s, 60, 15), Pixel(s, 15, 60));    // the margin is free on both axes
    EXPECT_NE(Pixel(s, 60, 60), Pixel(s, 15, 60));
    cairo_destroy(cr);
    cairo_surface_destroy(s);
}

TEST(KyUiPreviewCtrl, DialogPictureShowsThePreviewAndOutlivesTheControlObject) {
    ResourceFixture res;
    KyUiDialog d(kTemplate);
    ASSERT_TRUE(d.Create(kTemplate));
    d.ShowWindow(SW_SHOW);
    const auto dir = std::filesystem::path(VORN_BINARY_DIR) / "test-output" / "framework-ui";
    std::filesystem::create_directories(dir);
    std::wstring error;
    {
        KyUiPreviewCtrl preview;
        ASSERT_TRUE(preview.SubclassDlgItem(kPreview, &d));
        KyUiPreviewCtrl other;
        EXPECT_FALSE(other.SubclassDlgItem(kPreview, &d));  // taken already
        preview.Init(true);
        preview.Draw(NewLine(0, 0, 10, 10));
        EXPECT_TRUE(vorn::ui::DrawDialogPicture(d.m_hWnd, (dir / "preview.png").string(), error));
    }
    // The window outlives the control object: its painter must no longer call into it.
    EXPECT_TRUE(vorn::ui::DrawDialogPicture(d.m_hWnd, (dir / "preview-gone.png").string(), error))
        << vorn::ToUtf8(error);
    d.DestroyWindow();
    vorn::render::ReleaseRenderCaches();  // the font caches of the caption, for the leak checker
}

TEST(KyUiPickButton, TheDialogStepsAsideForNestedPicksAndComesBack) {
    ResourceFixture res;
    KyUiDialog d(kTemplate);
    ASSERT_TRUE(d.Create(kTemplate));
    d.ShowWindow(SW_SHOW);
    {
        KyUiPickButton pick;
        ASSERT_TRUE(pick.SubclassDlgItem(kPick, &d));
        {
            KyUiPickScope outer(pick);
            EXPECT_FALSE(d.IsWindowVisible());
            pick.BeginPick();
            pick.EndPick();
            EXPECT_FALSE(d.IsWindowVisible());  // only the outermost end brings it back
            EXPECT_TRUE(pick.IsPicking());
        }
        EXPECT_TRUE(d.IsWindowVisible());
        pick.EndPick();  // one end too many changes nothing
        EXPECT_TRUE(d.IsWindowVisible());
        pick.BeginPick();  // left open: the button's end shows the dialog again
    }
    EXPECT_TRUE(d.IsWindowVisible());
    // A hidden dialog stays hidden after a pick.
    d.ShowWindow(SW_HIDE);
    KyUiPickButton pick;
    ASSERT_TRUE(pick.SubclassDlgItem(kPick, &d));
    pick.BeginPick();
    pick.EndPick();
    EXPECT_FALSE(d.IsWindowVisible());
    d.DestroyWindow();
}

TEST(KyUiScreenDc, CurvesBecomeWorldVectorsUntilTheScreenIsRedrawn) {
    KyUiScreenDc::Clear();
    vorn::ed::Ucs ucs;
    ucs.origin[0] = 1000;
    ucs.angle = KyGePi / 2;
    ASSERT_TRUE(vorn::ed::SetUcs(ucs));
    KyUiScreenDc dc(1, 1);
    dc << KyGeLineSeg2d(KyGePoint(0, 0), KyGePoint(100, 0));
    ASSERT_EQ(vorn::ed::TemporaryVectors().size(), 1u);
    const vorn::ed::TemporaryVector& v = vorn::ed::TemporaryVectors()[0];
    EXPECT_NEAR(v.from[0], 0.0, 1e-9);  // world coordinates, whatever the user system
    EXPECT_NEAR(v.to[0], 100.0, 1e-9);
    EXPECT_NEAR(v.to[1], 0.0, 1e-9);
    EXPECT_EQ(v.colorIndex, 1);
    EXPECT_TRUE(v.highlight);
    vorn::ed::SetWorldUcs();

    // An arc as chords that stay on its circle; a closed polyline closes.
    const int before = dc.GetVectorCount();
    dc << KyGeArc2d(KyGePoint(0, 0), 50.0, 0.0, KyGePi);
    const int chords = dc.GetVectorCount() - before;
    EXPECT_GT(chords, 8);
    for (std::size_t i = 1; i < vorn::ed::TemporaryVectors().size(); ++i) {
        const auto& c = vorn::ed::TemporaryVectors()[i];
        EXPECT_NEAR(std::hypot(c.to[0], c.to[1]), 50.0, 1e-6);
    }
    KyGePolyline2d square;
    for (const KyGePoint& p : {KyGePoint(0, 0), KyGePoint(10, 0), KyGePoint(10, 10)}) square.AppendVertex(p);
    square.SetClosed(true);
    const int beforeSquare = dc.GetVectorCount();
    dc << square << static_cast<const KyGeObject*>(nullptr) << KyGePoint2d(KyGePoint(1, 1));
    EXPECT_EQ(dc.GetVectorCount() - beforeSquare, 3);

    KyUiScreenDc::Clear();
    EXPECT_TRUE(vorn::ed::TemporaryVectors().empty());
    const ads_point bad = {NAN, 0, 0}, good = {0, 0, 0};
    EXPECT_EQ(acedGrDraw(bad, good, 1, 0), RTREJ);
    EXPECT_TRUE(vorn::ed::TemporaryVectors().empty());
}
