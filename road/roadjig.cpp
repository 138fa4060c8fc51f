// The road drag: samples move the segment's end or the arc's middle point, and every update
// commits the settings dialog so that changes made during the drag show at once.
#include "road/roadjig.h"

#include <cmath>

#include "frame/VornFrame.h"
#include "host/ed/aced.h"
#include "road/roadcurve.h"
#include "road/roaddlg.h"
#include "road/roadpreview.h"
#include "road/roadsettings.h"

KyRoadJig::KyRoadJig(KyRoadDlg* dialog) : m_pDlg(dialog), m_pRoad(new KyDbRoad) {}

KyRoadJig::~KyRoadJig() { delete m_pRoad; }

void KyRoadJig::SetFirstPoint(const AcGePoint3d& p) {
    m_ptFirst = p;
    m_pRoad->m_ptFirst = p;
}

void KyRoadJig::SetSecondPoint(const AcGePoint3d& p) {
    m_ptSecond = p;
    m_pRoad->m_ptSecond = p;
}

void KyRoadJig::ShowPrompt(const wchar_t* text) { acutPrintf(L"%s", text ? text : L""); }

void KyRoadJig::DragLine() {
    m_nMode = 0;
    m_pRoad->m_nMode = 0;
    acedInitGet(0, m_pKeywords);
    m_nStatus = drag();
}

int KyRoadJig::GetLineStatus(int& keyword) const {
    if (m_nStatus == kCancel) return RTCAN;
    if (m_nStatus == kNull) return RTNONE;
    if (m_nStatus < 1) return RTNORM;
    keyword = m_nStatus;
    return RTKWORD;
}

int KyRoadJig::DragArc() {
    m_nMode = 1;
    m_pRoad->m_nMode = 1;
    acedInitGet(0, m_pKeywords);
    const DragStatus status = drag();
    if (status == kCancel) return RTCAN;
    if (status == kNull) return RTNONE;
    if (status < 1) return RTNORM;
    return status;
}

AcEdJig::DragStatus KyRoadJig::sampler() {
    setUserInputControls(kNullResponseAccepted | kNoZeroResponseAccepted |
                         kNoNegativeResponseAccepted | kAccept3dCoordinates);
    AcGePoint3d point;
    DragStatus status;
    if (m_nMode == 0) {
        if (m_pKeywords) setKeywordList(m_pKeywords);
        status = acquirePoint(point, m_ptFirst);
    } else {
        setKeywordList(L"");
        status = acquirePoint(point);
    }
    if (status != kNormal) return status;
    AcGePoint3d& moved = m_nMode == 0 ? m_ptSecond : m_ptThird;
    if (std::hypot(point.x - moved.x, point.y - moved.y, point.z - moved.z) <=
        KyRoadDistZero())
        return kNoChange;
    moved = point;
    return kNormal;
}

bool KyRoadJig::update() {
    if (m_pDlg) m_pDlg->Commit();
    m_pRoad->m_dLeftWidth = KyRoadLeftWidth();
    m_pRoad->m_dRightWidth = KyRoadRightWidth();
    m_pRoad->m_nPosLine = g_nRoadPosLine;
    if (m_nMode == 0)
        m_pRoad->m_ptSecond = m_ptSecond;
    else
        m_pRoad->m_ptThird = m_ptThird;
    return true;
}

AcDbEntity* KyRoadJig::entity() const { return m_pRoad; }

int DragRoadLine(KyRoadDlg* dialog, const wchar_t* keywords, const wchar_t* prompt,
                 const AcGePoint3d& start, int& keyword, AcGePoint3d& end) {
    KyRoadJig jig(dialog);
    jig.ShowPrompt(prompt);
    jig.SetKeywords(keywords);
    jig.SetFirstPoint(start);
    jig.DragLine();
    const int result = jig.GetLineStatus(keyword);
    if (result == RTNORM) end = jig.GetSecondPoint();
    return result;
}

int DragRoadArc(KyRoadDlg* dialog, const AcGePoint3d& start, const AcGePoint3d& end,
                AcGePoint3d& middle) {
    KyRoadJig jig(dialog);
    jig.ShowPrompt(KyUtTranslate(L"\n圆弧道路的中间点<退出>：").c_str());
    jig.SetKeywords(L"");
    jig.SetFirstPoint(start);
    jig.SetSecondPoint(end);
    const int result = jig.DragArc();
    middle = jig.GetThirdPoint();
    return result;
}
