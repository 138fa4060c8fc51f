// The row drag: the sampler follows the cursor from the row's start, the update lays the row
// from the current settings.
#include "parking/parkjig.h"

#include <cmath>

#include "geometry/KyGePoint.h"
#include "host/ed/aced.h"
#include "parking/parkdlg.h"
#include "parking/parkrowlayout.h"
#include "parking/parksettings.h"
#include "parking/parkspace.h"

KyDrawParkSpaceJig::KyDrawParkSpaceJig(KyDbParkSpace* row, KyUiDrawParkSpaceDlg* dialog)
    : m_pDlg(dialog), m_pRow(row) {}

KyDrawParkSpaceJig::~KyDrawParkSpaceJig() = default;

void KyDrawParkSpaceJig::SetPrompt(const wchar_t* text) {
    m_strPrompt = text ? text : L"";
    acutPrintf(L"%s", m_strPrompt.c_str());
}

void KyDrawParkSpaceJig::SetBasePoint(const AcGePoint3d& p) {
    m_ptBase = p;
    // The cursor of the previous row means nothing for this one: the row starts empty.
    m_ptCurrent = p;
    if (m_pRow) {
        m_pRow->SetStartPoint(p);
        m_pRow->SetEndPoint(p);
        m_pRow->SetCount(0);
    }
}

void KyDrawParkSpaceJig::SetRowSide(int flag) {
    if (m_pRow) m_pRow->SetSideFlag(flag);
}

int KyDrawParkSpaceJig::DoDrag() {
    acedInitGet(0, m_strKeywords.c_str());
    const DragStatus status = drag();
    // A click where the cursor already stood runs no update; the row is laid once more so
    // that a change made in the dialog meanwhile counts.
    if (status == kNormal) update();
    return ToResultCode(status);
}

AcEdJig::DragStatus KyDrawParkSpaceJig::sampler() {
    setUserInputControls(kNullResponseAccepted | kAnyBlankTerminatesInput);
    if (!m_strKeywords.empty()) setKeywordList(m_strKeywords.c_str());
    AcGePoint3d p;
    const DragStatus status = acquirePoint(p, m_ptBase);
    if (status == kNormal) {
        if (std::hypot(p.x - m_ptCurrent.x, p.y - m_ptCurrent.y, p.z - m_ptCurrent.z) <= g_distZero)
            return kNoChange;
        m_ptCurrent = p;
    }
    return status;
}

bool KyDrawParkSpaceJig::update() {
    if (m_pDlg) m_pDlg->Commit();
    ApplySettings();
    return true;
}

void KyDrawParkSpaceJig::ApplySettings() {
    if (!m_pRow) return;
    const double f = KyParkUnitFactor();
    const double d = KyParkTextValue(g_strParkDepth);
    const double a = GetStdAngle(KyParkTextValue(g_strParkAngle) * 3.1415926536 / 180);
    // The spacing along the row that gives the set width square to the slanted sides; an
    // angle along the row (sin 0) has no such spacing and lays nothing.
    double w = std::fabs(KyParkTextValue(g_strParkWidth) / std::sin(a));
    if (!std::isfinite(w)) w = 0.0;
    m_pRow->SetDepth(d);
    m_pRow->SetAngle(a);
    m_pRow->SetSpaceWidth(w);
    m_pRow->SetRows(KyParkIsDoubleRow(g_strParkRows) ? 2 : 1);
    const double len = std::hypot(m_ptCurrent.x - m_ptBase.x, m_ptCurrent.y - m_ptBase.y);
    // Spaces without depth would be written as flat outlines: none are laid then.
    m_pRow->SetCount(d > 0.0 ? vorn::parking::ParkSpaceCount(len, w, 100 * f) : 0);
    m_pRow->SetStyle(KyParkStyleFromText(g_strParkStyle));
    m_pRow->SetEndPoint(m_ptCurrent);
}

AcDbEntity* KyDrawParkSpaceJig::entity() const { return m_pRow; }
