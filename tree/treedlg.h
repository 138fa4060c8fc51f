// KyRYBSDlg: the modeless tree dialog "任意布树" beside the tree command. Its controls are bound
// to the tree settings; it speaks to the command through four request flags and a cancel.
#pragma once

#include "framework/ui/KyUiDialog.h"
#include "framework/ui/KyUiPickButton.h"
#include "framework/ui/KyUiPreviewCtrl.h"
#include "tree/treesettings.h"

enum KyTreeDlgControl {
    IDC_TREE_PREVIEW = 2102,
    IDC_TREE_SRC_DRAWING = 2081,
    IDC_TREE_SRC_LIBRARY = 2082,
    IDC_TREE_SRC_FILE = 2083,
    IDC_TREE_PICKBLOCK = 2097,
    IDC_TREE_PICKRADIUS = 2071,
    IDC_TREE_PICKSPACING = 2072,
    IDC_TREE_RADIUS = 2073,
    IDC_TREE_SPACING = 2074,
    IDC_TREE_RANDOMROTATE = 2075,
    IDC_TREE_SELFADJUST = 2076,
    IDC_TREE_RADIUSLABEL = 2093,
    IDC_TREE_SPACINGLABEL = 2094,
    IDC_TREE_RADIUSMIN = 2087,
    IDC_TREE_RADIUSMAX = 2089,
    IDC_TREE_SPACINGMIN = 2088,
    IDC_TREE_SPACINGMAX = 2090,
    IDC_TREE_TILDE1 = 2095,
    IDC_TREE_TILDE2 = 2096,
    IDC_TREE_FIXRADIUS = 2091,
    IDC_TREE_FIXSPACING = 2092,
    IDC_TREE_MODE_POINT = 2084,
    IDC_TREE_MODE_DRAG = 2005,
    IDC_TREE_MODE_PATH = 2085,
    IDC_TREE_MODE_AREA = 2086,
};
constexpr UINT IDD_TREE_DLG = 2001;

class KyRYBSDlg : public KyUiDialog {
public:
    // Reads the stored settings and formats the texts in the working drawing's units.
    explicit KyRYBSDlg(CWnd* parent = nullptr);
    // Writes the settings back to the store.
    ~KyRYBSDlg() override;

    BOOL OnInitDialog() override;

    CString GetRadiusMinText() const;
    CString GetRadiusMaxText() const;
    CString GetSpacingMinText() const;
    CString GetSpacingMaxText() const;

    int m_bPickRadius = 0;
    int m_bPickSpacing = 0;
    int m_bModeChanged = 0;
    int m_bRefresh = 0;

    // Shows and enables the controls of the current draw mode.
    void UpdateModeControls();
    // The tree block of the settings in the preview (the first default tree when none is set).
    void ShowTreePreview();
    // A block of the drawing in the preview; nothing for a null id.
    void PreviewBlockId(const AcDbObjectId& id);
    const KyUiPreviewCtrl& GetPreview() const { return m_preview; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnPickRadius();
    void OnPickSpacing();
    void OnKillFocusRadius() { ValidateNumberEdit(IDC_TREE_RADIUS); }
    void OnKillFocusSpacing() { ValidateNumberEdit(IDC_TREE_SPACING); }
    void OnKillFocusRadiusMin() { ValidateNumberEdit(IDC_TREE_RADIUSMIN); }
    void OnKillFocusRadiusMax() { ValidateNumberEdit(IDC_TREE_RADIUSMAX); }
    void OnKillFocusSpacingMin() { ValidateNumberEdit(IDC_TREE_SPACINGMIN); }
    void OnKillFocusSpacingMax() { ValidateNumberEdit(IDC_TREE_SPACINGMAX); }
    void OnModePoint() { SetMode(0); }
    void OnModeDrag() { SetMode(1); }
    void OnModePath() { SetMode(2); }
    void OnModeArea();
    void OnRandomRotate();
    void OnSelfAdjust();
    void OnFixRadius();
    void OnFixSpacing();
    void OnPreviewClicked();
    // The pick button: the tree block from the chosen source, previewed; the command is told
    // to take it from the next prompt on.
    void OnPickBlock();
    // Over the preview in the area mode the tree cursor (resource 2008) shows: a click there
    // steps to the next default tree.
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    void ValidateNumberEdit(int id);
    void SetMode(int mode);
    void AskFromDrawing(int& flag);
    // The tree block file in the preview; a missing file leaves it empty.
    void PreviewFile(const CString& file);
    void PickBlockInDrawing();
    void PickBlockFromLibrary();
    void PickBlockFromFile();

    KyUiPickButton m_pickButton;
    KyUiPreviewCtrl m_preview{0};
};
