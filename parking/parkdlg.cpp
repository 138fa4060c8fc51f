// The parking dialog: data exchange with the parking settings, its reactions, and the schematic
// of one space drawn into the preview frame.
#include "parking/parkdlg.h"

#include <cmath>

#include "frame/VornFrame.h"
#include "framework/core/KyDtBlock.h"
#include "framework/library/KyFindFile.h"
#include "framework/select/KyPtSysVar.h"
#include "geometry/KyGeTol.h"
#include "host/db/dbblockref.h"
#include "host/db/dbpline.h"
#include "parking/parksettings.h"

BEGIN_MESSAGE_MAP(KyUiDrawParkSpaceDlg, KyUiDialog)
    ON_BN_CLICKED(IDC_PARK_EXCHANGE, OnExchange)
    ON_CBN_SETFOCUS(IDC_PARK_WIDTH, OnWidthFocus)
    ON_CBN_SELCHANGE(IDC_PARK_WIDTH, OnWidthSelect)
    ON_CBN_EDITCHANGE(IDC_PARK_WIDTH, OnWidthEdit)
    ON_CBN_SETFOCUS(IDC_PARK_DEPTH, OnDepthFocus)
    ON_CBN_SELCHANGE(IDC_PARK_DEPTH, OnDepthSelect)
    ON_CBN_EDITCHANGE(IDC_PARK_DEPTH, OnDepthEdit)
    ON_CBN_SETFOCUS(IDC_PARK_ANGLE, OnAngleFocus)
    ON_CBN_SELCHANGE(IDC_PARK_ANGLE, OnAngleSelect)
    ON_CBN_EDITCHANGE(IDC_PARK_ANGLE, OnAngleEdit)
    ON_CBN_SELCHANGE(IDC_PARK_ROWS, OnRowsSelect)
    ON_CBN_SELCHANGE(IDC_PARK_STYLE, OnStyleSelect)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

constexpr double kHalfWidth = 200.0;
constexpr double kFront = 400.0;
constexpr double kBack = -400.0;

std::unique_ptr<AcDbPolyline> Polyline(std::initializer_list<AcGePoint2d> points, bool closed) {
    auto pline = std::make_unique<AcDbPolyline>();
    unsigned int i = 0;
    for (const AcGePoint2d& p : points) pline->addVertexAt(i++, p);
    pline->setClosed(closed);
    return pline;
}

AcDbObjectId CarBlock() {
    const std::wstring path = FindFile(L"car.dwg");
    return path.empty() ? AcDbObjectId() : KyDtLoadBlock(path.c_str());
}

}  // namespace

KyParkPreviewEntities BuildParkPreview(int field, int style, double angleDegrees,
                                       const AcDbObjectId& carBlock) {
    KyParkPreviewEntities out;
    // Any angle but a right one shows the same parallelogram: the schematic marks that the
    // spaces slant, not by how much.
    const bool slanted = !(std::fabs(angleDegrees - 90.0) <= g_fZero);
    const double s = slanted ? kHalfWidth / 2 : 0.0;
    const double t = slanted ? 20.0 : 0.0;
    const double h = kHalfWidth;

    auto outline = Polyline({{-h, kFront}, {h, kFront}, {h - s, kBack}, {-h - s, kBack}}, true);
    outline->setColorIndex(7);
    out.push_back(std::move(outline));

    if (style == 1) {
        out.push_back(Polyline({{-h, kFront}, {h - s, kBack}}, false));
    } else if (style == 2) {
        out.push_back(Polyline({{-h - s, kBack}, {0, kFront}, {h - s, kBack}}, false));
    } else if (style == 3 && !carBlock.isNull()) {
        auto car = std::make_unique<AcDbBlockReference>(AcGePoint3d(-s / 2, 0, 0), carBlock);
        car->setRotation(s > g_distZero ? -std::atan(0.125) : 0.0);
        AcDbExtents box;
        if (car->geomExtentsBestFit(box) == Acad::eOk) car->setScaleFactors(AcGeScale3d(0.1, 0.1, 1.0));
        out.push_back(std::move(car));
    }

    std::unique_ptr<AcDbPolyline> marker;
    if (field == 0) {
        marker = Polyline({{-h, 440}, {-h, kFront}, {-h, 420}, {h, 420}, {h, 440}, {h, kFront}}, false);
    } else if (field == 1) {
        marker = Polyline({{-h, kFront}, {-240, kFront + t}, {-220, kFront + t / 2},
                           {-220 - s, t / 2 + kBack}, {-h - s, kBack}, {-240 - s, t + kBack}},
                          false);
    } else if (field == 2) {
        marker = std::make_unique<AcDbPolyline>();
        marker->addVertexAt(0, AcGePoint2d(-h - s + s / 10, -360), -1.3);
        marker->addVertexAt(1, AcGePoint2d(-h - s + 40, kBack), 1.3);
    }
    if (marker) {
        marker->setColorIndex(3);
        out.push_back(std::move(marker));
    }
    return out;
}

KyUiDrawParkSpaceDlg::KyUiDrawParkSpaceDlg(CWnd* parent) : KyUiDialog(IDD_PARK_DLG, parent), m_preview(0) {
    KyParkSettingsToTexts();
}

KyUiDrawParkSpaceDlg::~KyUiDrawParkSpaceDlg() { KyParkTextsToSettings(); }

void KyUiDrawParkSpaceDlg::DoDataExchange(CDataExchange* dx) {
    KyUiDialog::DoDataExchange(dx);
    DDX_CBString(dx, IDC_PARK_WIDTH, g_strParkWidth);
    DDX_CBString(dx, IDC_PARK_ANGLE, g_strParkAngle);
    DDX_CBString(dx, IDC_PARK_DEPTH, g_strParkDepth);
    DDX_CBString(dx, IDC_PARK_ROWS, g_strParkRows);
    DDX_CBString(dx, IDC_PARK_STYLE, g_strParkStyle);
    DDX_Check(dx, IDC_PARK_LABELCOUNT, g_bParkLabelCount);
}

BOOL KyUiDrawParkSpaceDlg::OnInitDialog() {
    KyUiDialog::OnInitDialog();
    InitLists();
    if (!m_preview.SubclassDlgItem(IDC_PARK_PREVIEW, this)) return FALSE;
    m_preview.SetMode(KyUiPreviewCtrl::kModeFrame | KyUiPreviewCtrl::kModeScreen | KyUiPreviewCtrl::kModeMargin);
    DrawPreview(g_nParkActiveField, g_nParkStyleIndex);
    return TRUE;
}

void KyUiDrawParkSpaceDlg::InitLists() {
    const double f = KyParkUnitFactor();
    auto fill = [this](int id, std::initializer_list<const wchar_t*> rows) {
        for (const wchar_t* row : rows)
            SendMessageW(GetDlgItem(id)->GetSafeHwnd(), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(KyUtTranslate(row).c_str()));
    };
    auto fillSizes = [this, f](int id, std::initializer_list<double> sizes) {
        for (double mm : sizes) {
            CString text;
            text.Format(L"%.2f", mm * f);
            SendMessageW(GetDlgItem(id)->GetSafeHwnd(), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(KyUtTranslate(text.GetString()).c_str()));
        }
    };
    if (!GetDlgItem(IDC_PARK_WIDTH) || !GetDlgItem(IDC_PARK_DEPTH) || !GetDlgItem(IDC_PARK_ANGLE) ||
        !GetDlgItem(IDC_PARK_ROWS) || !GetDlgItem(IDC_PARK_STYLE))
        return;
    fillSizes(IDC_PARK_WIDTH, {2400, 2500, 2600, 2800, 3000});
    fillSizes(IDC_PARK_DEPTH, {5000, 5300, 5500, 6000});
    fill(IDC_PARK_ANGLE, {L"30", L"45", L"60", L"90"});
    fill(IDC_PARK_ROWS, {L"单排", L"双排"});
    fill(IDC_PARK_STYLE, {L"无斜线", L"单斜线", L"双斜线", L"有停车"});
    CheckDlgButton(IDC_PARK_LABELCOUNT, g_bParkLabelCount ? BST_CHECKED : BST_UNCHECKED);
    UpdateData(FALSE);
}

void KyUiDrawParkSpaceDlg::Commit() {
    if (GetSafeHwnd()) UpdateData(TRUE);
}

void KyUiDrawParkSpaceDlg::DrawPreview(int field, int style) {
    if (!m_preview.GetSafeHwnd()) return;
    KyParkPreviewEntities entities = BuildParkPreview(
        field, style, KyParkTextValue(g_strParkAngle), style == kParkWithCar ? CarBlock() : AcDbObjectId());
    AcDbVoidPtrArray array;
    for (auto& entity : entities) array.append(entity.release());
    m_preview.Draw(array);
}

void KyUiDrawParkSpaceDlg::OnExchange() {
    CString width, depth;
    GetDlgItemText(IDC_PARK_WIDTH, width);
    GetDlgItemText(IDC_PARK_DEPTH, depth);
    g_strParkDepth = width;
    g_strParkWidth = depth;
    UpdateData(FALSE);
}

void KyUiDrawParkSpaceDlg::TakeSelected(int id, CString& value, int field) {
    CWnd* box = GetDlgItem(id);
    if (!box) return;
    const LRESULT row = SendMessageW(box->GetSafeHwnd(), CB_GETCURSEL, 0, 0);
    if (row >= 0) {
        const LRESULT len = SendMessageW(box->GetSafeHwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0);
        if (len >= 0) {
            std::wstring text(static_cast<std::size_t>(len) + 1, L'\0');
            SendMessageW(box->GetSafeHwnd(), CB_GETLBTEXT, static_cast<WPARAM>(row),
                         reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(len));
            value = text;
        }
    }
    MarkField(field);
}

void KyUiDrawParkSpaceDlg::TakeTyped(int id, CString& value, int field) {
    GetDlgItemText(id, value);
    MarkField(field);
}

void KyUiDrawParkSpaceDlg::MarkField(int field) {
    g_nParkActiveField = field;
    DrawPreview(g_nParkActiveField, g_nParkStyleIndex);
}

void KyUiDrawParkSpaceDlg::OnWidthFocus() { MarkField(kParkFieldWidth); }
void KyUiDrawParkSpaceDlg::OnWidthSelect() { TakeSelected(IDC_PARK_WIDTH, g_strParkWidth, kParkFieldWidth); }
void KyUiDrawParkSpaceDlg::OnWidthEdit() { TakeTyped(IDC_PARK_WIDTH, g_strParkWidth, kParkFieldWidth); }

void KyUiDrawParkSpaceDlg::OnDepthFocus() { MarkField(kParkFieldDepth); }
void KyUiDrawParkSpaceDlg::OnDepthSelect() { TakeSelected(IDC_PARK_DEPTH, g_strParkDepth, kParkFieldDepth); }
void KyUiDrawParkSpaceDlg::OnDepthEdit() { TakeTyped(IDC_PARK_DEPTH, g_strParkDepth, kParkFieldDepth); }

void KyUiDrawParkSpaceDlg::OnAngleFocus() { MarkField(kParkFieldAngle); }
void KyUiDrawParkSpaceDlg::OnAngleSelect() { TakeSelected(IDC_PARK_ANGLE, g_strParkAngle, kParkFieldAngle); }
void KyUiDrawParkSpaceDlg::OnAngleEdit() { TakeTyped(IDC_PARK_ANGLE, g_strParkAngle, kParkFieldAngle); }

void KyUiDrawParkSpaceDlg::OnRowsSelect() {
    CString text;
    GetDlgItemText(IDC_PARK_ROWS, text);
    g_strParkRows = text;
}

void KyUiDrawParkSpaceDlg::OnStyleSelect() {
    CWnd* box = GetDlgItem(IDC_PARK_STYLE);
    if (!box) return;
    const LRESULT row = SendMessageW(box->GetSafeHwnd(), CB_GETCURSEL, 0, 0);
    if (row < 0) return;
    g_nParkStyleIndex = static_cast<int>(row);
    GetDlgItemText(IDC_PARK_STYLE, g_strParkStyle);
    DrawPreview(g_nParkActiveField, g_nParkStyleIndex);
}

void KyUiDrawParkSpaceDlg::OnClose() {
    if (IsModeless()) {
        KySendESC();
        KySendESC();
        return;
    }
    KyUiDialog::OnClose();
}
