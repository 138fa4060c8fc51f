// KyMapLegend: drags a legend of the symbols chosen in the legend dialog and writes a copy at
// every click; "T" moves the legend's handle to another point of it.
#include "frame/VornCommands.h"
#include "frame/VornFrame.h"
#include "framework/core/KyDbUtil.h"
#include "framework/select/KyUtInput.h"
#include "host/db/dbentity.h"
#include "host/ed/aced.h"
#include "host/mfc/hostwindows.h"
#include "legend/legenddlg.h"
#include "legend/legendjig.h"

namespace {

void EraseEntities(const AcDbObjectIdArray& ids) {
    for (int i = 0; i < ids.length(); ++i) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, ids[i], AcDb::kForWrite) != Acad::eOk || !entity) continue;
        entity->erase();
        entity->close();
    }
}

}  // namespace

void KyMapLegend() {
    auto* dialog = new KyLegendDlg(nullptr);
    {
        KyUtPushResource resources(VornModuleResources());
        if (dialog->Create(IDD_LEGEND_DLG, acedGetAcadFrame())) {
            dialog->ShowWindow(SW_SHOW);
            if (CWnd* view = acedGetAcadDwgView()) view->SetFocus();
        }
    }
    double dx = 0.0, dy = 0.0;
    auto* jig = new KyDbMapLegendJig(dialog);
    const std::wstring prompt = KyUtTranslate(L"\n点取图例位置或 [改基点(T)]<退出>:");
    const std::wstring basePrompt = KyUtTranslate(L"\n输入插入点");
    for (;;) {
        jig->SetPrompt(prompt.c_str());
        jig->SetKeywords(L"T");
        jig->SetBaseOffset(dx, dy);
        const int rc = jig->DoDrag();
        if (rc == RTNORM) {
            AcDbObjectIdArray ids;
            BuildLegendEntities(*jig->Legend(), ids);
            continue;
        }
        if (rc != RTKWORD) break;
        const AcGePoint3d legendAt = jig->Legend()->GetPosition();
        // The legend stays visible in the drawing while the new handle is picked.
        AcDbObjectIdArray shown;
        BuildLegendEntities(*jig->Legend(), shown);
        AcGePoint3d base;
        if (KyUtGetPoint(nullptr, basePrompt.c_str(), base) == RTNORM) {
            // The offset is kept in world terms, as the cursor is, so that the legend stays
            // where it stands in a turned user system too.
            const AcGePoint3d b = UcsToWcs(base);
            dx = legendAt.x - b.x;
            dy = legendAt.y - b.y;
            jig->SetCurrentPoint(b);
        }
        EraseEntities(shown);
    }
    dialog->DestroyWindow();
    delete jig;
    delete dialog;
}

VORN_MODULE_COMMAND(L"KyMapLegend", KyMapLegend);
