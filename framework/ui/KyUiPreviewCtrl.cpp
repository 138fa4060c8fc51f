// The preview control: what it holds, fitting it into the control, and painting it through
// the host's Cairo sink whenever the dialog's picture is drawn.
#include "framework/ui/KyUiPreviewCtrl.h"

#include <cairo.h>

#include "framework/library/KyFindFile.h"
#include "host/base/textcodec.h"
#include "host/db/dbmain.h"
#include "host/dxf/dxf.h"
#include "host/render/cairosink.h"

namespace {

// The background of the drawing screen, as pictures of the drawing use it.
constexpr double kScreenRgb[3] = {33 / 255.0, 40 / 255.0, 48 / 255.0};
// The dialog face, as the dialog's picture paints it.
constexpr double kFaceRgb[3] = {0.831, 0.816, 0.784};
constexpr double kMargin = 0.1;

}  // namespace

KyUiPreviewCtrl::KyUiPreviewCtrl(int nMode) : m_nMode(nMode) {}

KyUiPreviewCtrl::~KyUiPreviewCtrl() {
    // The window may outlive this object (a dialog destroyed after its members); its painter
    // must not call into a dead object.
    if (m_hWnd) vorn::mfc::SetPaintHandler(m_hWnd, nullptr);
}

BOOL KyUiPreviewCtrl::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!CStatic::SubclassDlgItem(id, parent)) return FALSE;
    InstallPaint();
    return TRUE;
}

void KyUiPreviewCtrl::InstallPaint() {
    if (m_hWnd && !m_hWnd->paint)
        SetPaintHandler([this](cairo_t* cr, double x, double y, double w, double h) { Paint(cr, x, y, w, h); });
}

void KyUiPreviewCtrl::Repaint() {
    InstallPaint();
    if (m_hWnd) Invalidate();
}

void KyUiPreviewCtrl::Init(bool bScreen) { SetMode(kModeFrame | kModeMargin | (bScreen ? kModeScreen : 0)); }

void KyUiPreviewCtrl::SetMode(int nMode) {
    m_nMode = nMode;
    Repaint();
}

void KyUiPreviewCtrl::ErasePreview() {
    m_entities.clear();
    m_fileDb.reset();
    m_strFile.clear();
    Repaint();
}

bool KyUiPreviewCtrl::Draw(const wchar_t* file) {
    ErasePreview();
    if (!file || !*file) return false;
    const std::wstring path = FindFile(file);
    if (path.empty()) return false;
    std::string error;
    std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(vorn::ToUtf8(path), error);
    if (!db) return false;
    m_fileDb = std::move(db);
    m_strFile = file;
    Repaint();
    return true;
}

void KyUiPreviewCtrl::Keep(AcDbEntity* entity) {
    if (!entity) return;
    if (entity->objectId().isNull()) {
        m_entities.emplace_back(entity);
        return;
    }
    if (AcDbEntity* copy = AcDbEntity::cast(entity->clone())) m_entities.emplace_back(copy);
}

bool KyUiPreviewCtrl::Draw(AcDbEntity* entity) {
    ErasePreview();
    Keep(entity);
    Repaint();
    return !m_entities.empty();
}

bool KyUiPreviewCtrl::Draw(AcDbVoidPtrArray& entities) {
    ErasePreview();
    for (int i = 0; i < entities.length(); ++i) Keep(static_cast<AcDbEntity*>(entities[i]));
    entities.setLogicalLength(0);
    Repaint();
    return !m_entities.empty();
}

int KyUiPreviewCtrl::GetEntityCount() const {
    if (m_fileDb) return m_fileDb->modelSpaceIds().length();
    return static_cast<int>(m_entities.size());
}

bool KyUiPreviewCtrl::GetExtents(AcDbExtents& box) const {
    box = AcDbExtents();
    if (m_fileDb) {
        box = m_fileDb->modelSpaceExtents();
    } else {
        for (const auto& e : m_entities) {
            AcDbExtents x;
            if (e->getGeomExtents(x) == Acad::eOk) box.addExt(x);
        }
    }
    return box.isValid();
}

void KyUiPreviewCtrl::Paint(cairo_t* cr, double x, double y, double w, double h) const {
    if (!cr || w <= 0 || h <= 0) return;
    const bool screen = (m_nMode & kModeScreen) != 0;
    const double* bg = screen ? kScreenRgb : kFaceRgb;
    cairo_save(cr);
    cairo_set_source_rgb(cr, bg[0], bg[1], bg[2]);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    AcDbExtents box;
    if (GetExtents(box)) {
        const double margin = (m_nMode & kModeMargin) ? kMargin : 0.0;
        const vorn::render::View view = vorn::render::View::Fit(box, w, h, margin).Offset(x, y);
        vorn::render::PaintStyle style;
        style.lightBackground = !screen;
        if (m_fileDb) {
            vorn::render::CairoSink sink(cr, view, m_fileDb.get(), style);
            for (const AcDbObjectId& id : m_fileDb->modelSpaceIds())
                if (const AcDbEntity* e = AcDbEntity::cast(m_fileDb->peekObject(id))) sink.drawEntity(e);
        } else {
            // Entities not in a drawing take layers and blocks from the working drawing.
            vorn::render::CairoSink sink(cr, view, acdbHostApplicationServices()->workingDatabase(), style);
            for (const auto& e : m_entities) sink.drawEntity(e.get());
        }
    }
    if (m_nMode & kModeFrame) {
        // A sunken edge: shadow at the top and left, light at the bottom and right.
        cairo_set_line_width(cr, 1.0);
        cairo_set_source_rgb(cr, 0.502, 0.502, 0.502);
        cairo_move_to(cr, x + 0.5, y + h - 0.5);
        cairo_line_to(cr, x + 0.5, y + 0.5);
        cairo_line_to(cr, x + w - 0.5, y + 0.5);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, x + w - 0.5, y + 0.5);
        cairo_line_to(cr, x + w - 0.5, y + h - 0.5);
        cairo_line_to(cr, x + 0.5, y + h - 0.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}
