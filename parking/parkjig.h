// KyDrawParkSpaceJig: the drag of a parking row's end point. Every update reads the dialog's
// controls into the parking settings and lays the row anew from them.
#pragma once

#include <string>

#include "framework/jig/VornEdJig.h"
#include "host/ge/ge.h"

class KyDbParkSpace;
class KyUiDrawParkSpaceDlg;

class KyDrawParkSpaceJig : public VornEdJig {
public:
    // Neither is owned; dialog may be null (the settings are then read as they stand).
    KyDrawParkSpaceJig(KyDbParkSpace* row, KyUiDrawParkSpaceDlg* dialog);
    ~KyDrawParkSpaceJig() override;

    DragStatus sampler() override;
    bool update() override;
    AcDbEntity* entity() const override;

    // Stores the prompt and prints it on the command line.
    void SetPrompt(const wchar_t* text);
    void SetKeywords(const wchar_t* keywords) { m_strKeywords = keywords ? keywords : L""; }
    // The drag's base point, which is also the row's start.
    void SetBasePoint(const AcGePoint3d& p);
    void SetRowSide(int flag);
    // The cursor as the sampler stores it (for drives of the update without an editor).
    void SetCurrentPoint(const AcGePoint3d& p) { m_ptCurrent = p; }
    // RTNORM, RTNONE, RTCAN or RTKWORD.
    int DoDrag();

    // The settings as they stand into the row (what update does after committing the dialog).
    void ApplySettings();

private:
    KyUiDrawParkSpaceDlg* m_pDlg;
    AcGePoint3d m_ptBase;
    AcGePoint3d m_ptCurrent;
    std::wstring m_strPrompt;
    std::wstring m_strKeywords;
    KyDbParkSpace* m_pRow;
};
