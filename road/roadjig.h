// KyRoadJig: the drag of a road segment's end point (straight) or an arc's middle point, with
// the road preview; and the two drags the road command runs.
#pragma once

#include "framework/jig/VornEdJig.h"
#include "host/ge/ge.h"

class KyDbRoad;
class KyRoadDlg;

class KyRoadJig : public VornEdJig {
public:
    // dialog (may be null) is committed before every preview update.
    explicit KyRoadJig(KyRoadDlg* dialog);
    ~KyRoadJig() override;

    void SetKeywords(const wchar_t* keywords) { m_pKeywords = keywords; }
    void SetFirstPoint(const AcGePoint3d& p);
    void SetSecondPoint(const AcGePoint3d& p);
    AcGePoint3d GetSecondPoint() const { return m_ptSecond; }
    AcGePoint3d GetThirdPoint() const { return m_ptThird; }
    // Printed on the command line; the drag itself shows no prompt of its own.
    void ShowPrompt(const wchar_t* text);

    // The end point of a straight segment; read the outcome with GetLineStatus.
    void DragLine();
    // RTCAN, RTNONE, RTNORM, or RTKWORD with the keyword's position (1 for the first).
    int GetLineStatus(int& keyword) const;
    // The middle point of an arc: RTCAN, RTNONE, RTNORM, or the keyword number itself.
    int DragArc();

    DragStatus sampler() override;
    bool update() override;
    AcDbEntity* entity() const override;

    const KyDbRoad* Road() const { return m_pRoad; }

private:
    int m_nStatus = kNormal;
    KyRoadDlg* m_pDlg;
    const wchar_t* m_pKeywords = nullptr;
    AcGePoint3d m_ptFirst, m_ptSecond, m_ptThird;
    KyDbRoad* m_pRoad;
    int m_nMode = 0;
};

// The end point of a straight segment from start (world points). RTNORM with the point,
// RTKWORD with the keyword's position in keywords, RTNONE or RTCAN.
int DragRoadLine(KyRoadDlg* dialog, const wchar_t* keywords, const wchar_t* prompt,
                 const AcGePoint3d& start, int& keyword, AcGePoint3d& end);
// The middle point of the arc from start to end (world points): RTNORM with the point, else
// RTNONE or RTCAN.
int DragRoadArc(KyRoadDlg* dialog, const AcGePoint3d& start, const AcGePoint3d& end,
                AcGePoint3d& middle);
