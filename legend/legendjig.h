// KyDbMapLegendJig: drags the legend, rebuilt from the current selection at every cursor move,
// so that symbols added or removed in the dialog show at once.
#pragma once

#include "framework/jig/VornEdJig.h"
#include "legend/legendentity.h"

class KyLegendDlg;

class KyDbMapLegendJig : public VornEdJig {
public:
    explicit KyDbMapLegendJig(KyLegendDlg* dialog);
    ~KyDbMapLegendJig() override;
    KyDbMapLegendJig(const KyDbMapLegendJig&) = delete;
    KyDbMapLegendJig& operator=(const KyDbMapLegendJig&) = delete;

    DragStatus sampler() override;
    bool update() override;
    AcDbEntity* entity() const override;

    // Stores the prompt and prints it.
    void SetPrompt(const wchar_t* text);
    void SetKeywords(const wchar_t* keywords) { m_pKeywords = keywords; }
    void SetBaseOffset(double dx, double dy) {
        m_dx = dx;
        m_dy = dy;
    }
    void SetCurrentPoint(const AcGePoint3d& p) { m_ptCurrent = p; }
    const AcGePoint3d& GetCurrentPoint() const { return m_ptCurrent; }
    // RTNORM, RTNONE, RTCAN or RTKWORD.
    int DoDrag();

    KyDbMapLegend* Legend() const { return m_pLegend; }

private:
    // Whether the selection lists differ from what the legend shows.
    bool SelectionChanged() const;

    KyDbMapLegend* m_pLegend = nullptr;
    AcGePoint3d m_ptCurrent;
    double m_dx = 0.0, m_dy = 0.0;
    KyLegendDlg* m_pDlg;
    int m_nStatus = 0;
    const wchar_t* m_pPrompt = nullptr;
    const wchar_t* m_pKeywords = nullptr;
};
