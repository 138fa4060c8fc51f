// The legend drag: the sampler follows the cursor, the update lays out the current selection.
#include "legend/legendjig.h"

#include <cmath>

#include "framework/core/KyDbUtil.h"
#include "geometry/KyGeTol.h"
#include "host/ed/aced.h"
#include "legend/legenddlg.h"
#include "legend/legendlayout.h"
#include "legend/legendlibrary.h"

KyDbMapLegendJig::KyDbMapLegendJig(KyLegendDlg* dialog) : m_pDlg(dialog) {
    if (dialog) {
        m_pLegend = new KyDbMapLegend;
        m_pLegend->m_dRotation = UcsToWcs(0.0);
    }
}

KyDbMapLegendJig::~KyDbMapLegendJig() { delete m_pLegend; }

void KyDbMapLegendJig::SetPrompt(const wchar_t* text) {
    m_pPrompt = text;
    acutPrintf(L"%s", text ? text : L"");
}

AcEdJig::DragStatus KyDbMapLegendJig::sampler() {
    setUserInputControls(kNullResponseAccepted | kNoZeroResponseAccepted |
                         kNoNegativeResponseAccepted | kAccept3dCoordinates);
    if (m_pKeywords) setKeywordList(m_pKeywords);
    AcGePoint3d point;
    const DragStatus status = acquirePoint(point);
    if (status == kNormal) {
        // A cursor that stands still changes nothing, unless the dialog changed the selection
        // meanwhile: a click there must place the legend as it now is.
        if (std::hypot(point.x - m_ptCurrent.x, point.y - m_ptCurrent.y, point.z - m_ptCurrent.z) <=
                g_distZero &&
            !SelectionChanged())
            return kNoChange;
        m_ptCurrent = point;
    }
    return status;
}

bool KyDbMapLegendJig::SelectionChanged() const {
    if (!m_pLegend) return false;
    AcDbObjectIdArray ids;
    std::vector<std::wstring> names;
    m_pLegend->GetBlockIds(ids);
    m_pLegend->GetNames(names);
    if (ids.length() != g_legendBlockIds.length() || names != g_legendNames) return true;
    for (int i = 0; i < ids.length(); ++i)
        if (ids[i] != g_legendBlockIds[i]) return true;
    return false;
}

bool KyDbMapLegendJig::update() {
    if (!m_pLegend) return true;
    // Rows dragged into another order in the dialog take their blocks with them.
    if (m_pDlg) m_pDlg->SyncOrder();
    const AcGePoint3d p(m_ptCurrent.x + m_dx, m_ptCurrent.y + m_dy, m_ptCurrent.z);
    const AcDbObjectIdArray ids = g_legendBlockIds;
    const std::vector<std::wstring> names = g_legendNames;
    m_pLegend->SetPosition(p);
    m_pLegend->SetBlockIds(ids);
    m_pLegend->SetNames(names);
    if (static_cast<std::size_t>(ids.length()) == names.size()) {
        const std::vector<KyLegendRowPoints> rows =
            LegendRowLayout(p, UcsToWcs(0.0), KyDbGetPlotFactor(), ids.length());
        KyGePointArray blocks, texts;
        for (const KyLegendRowPoints& row : rows) {
            blocks.push_back(row.block);
            texts.push_back(row.text);
        }
        m_pLegend->SetBlockPositions(blocks);
        m_pLegend->SetTextPositions(texts);
    }
    return true;
}

AcDbEntity* KyDbMapLegendJig::entity() const { return m_pLegend; }

int KyDbMapLegendJig::DoDrag() {
    // The legend stands at the handle from the start, also for a click before any move.
    update();
    acedInitGet(0, m_pKeywords);
    const DragStatus status = drag();
    m_nStatus = status;
    return ToResultCode(status);
}
