// KyRoadDlg: the modeless road settings dialog beside the road command. It keeps no values of
// its own: its controls are bound to the road settings.
#pragma once

#include "framework/ui/KyUiDialog.h"

// Controls of template 2004.
enum KyRoadDlgControl {
    IDC_ROAD_LEFTWIDTH = 2005,
    IDC_ROAD_RIGHTWIDTH = 2006,
    IDC_ROAD_CENTERLINE = 2007,
    IDC_ROAD_FILLETRADIUS = 2010,
    IDC_ROAD_POS_BASE = 2015,
    IDC_ROAD_POS_LEFT = 2016,
    IDC_ROAD_POS_RIGHT = 2017,
    IDC_ROAD_SAMECENTER = 2018,
    IDC_ROAD_SAMERADIUS = 2019,
    IDC_ROAD_FILLET = 2020,
    IDC_ROAD_RADIUSLABEL = 2021,
};
constexpr UINT IDD_ROAD_DLG = 2004;

class KyRoadDlg : public KyUiDialog {
public:
    // The setting texts are made from the millimetre memory in the working drawing's units.
    explicit KyRoadDlg(CWnd* parent = nullptr);
    // Stores the texts back into the millimetre memory.
    ~KyRoadDlg() override;

    BOOL OnInitDialog() override;
    // Controls to settings (UpdateData(TRUE)); a dialog without a window keeps the settings. A
    // width or radius that is no usable size keeps its last good value.
    void Commit();

    // The close box: beside a command, two cancels end it (the command destroys the dialog).
    void OnClose();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // With refuse, a size that is no usable one is refused and its field shows the value kept.
    void CommitSizes(bool refuse);
    void OnKillFocusWidth();
    void OnClickCommit();
    void OnClickFillet();
    // Enables the fillet style, the radius and its label exactly when filleting is on.
    void EnableFilletControls();
    DECLARE_MESSAGE_MAP()
};
