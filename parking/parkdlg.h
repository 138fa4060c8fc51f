// KyUiDrawParkSpaceDlg: the modeless "车位布置" dialog beside the parking command. Its controls
// are bound to the parking settings; a schematic of one space shows the chosen style and marks
// the dimension being edited.
#pragma once

#include <memory>
#include <vector>

#include "framework/ui/KyUiDialog.h"
#include "framework/ui/KyUiPreviewCtrl.h"
#include "host/db/dbid.h"

class AcDbEntity;

enum KyParkDlgControl {
    IDC_PARK_EXCHANGE = 2000,
    IDC_PARK_LABELCOUNT = 2001,
    IDC_PARK_WIDTH = 2003,
    IDC_PARK_PREVIEW = 2004,
    IDC_PARK_ANGLE = 2007,
    IDC_PARK_ROWS = 2008,
    IDC_PARK_STYLE = 2009,
    IDC_PARK_DEPTH = 2010,
};
constexpr UINT IDD_PARK_DLG = 2000;

using KyParkPreviewEntities = std::vector<std::unique_ptr<AcDbEntity>>;

// The schematic of one space in its frame (front edge at y 400, back edge at y -400, half-width
// 200): the outline (a parallelogram when the angle text is not 90), the style's mark or the car
// block (when carBlock is not null), and the marker of the field. In this order.
KyParkPreviewEntities BuildParkPreview(int field, int style, double angleDegrees,
                                       const AcDbObjectId& carBlock);

class KyUiDrawParkSpaceDlg : public KyUiDialog {
public:
    // The size texts are made from the millimetre memory in the working drawing's units.
    explicit KyUiDrawParkSpaceDlg(CWnd* parent = nullptr);
    // Stores the size texts back into the millimetre memory.
    ~KyUiDrawParkSpaceDlg() override;

    BOOL OnInitDialog() override;
    // Controls to settings (UpdateData(TRUE)); a dialog without a window keeps the settings.
    void Commit();
    // Shows the schematic for that field and style in the preview control.
    void DrawPreview(int field, int style);
    // The close box: beside a command, two cancels end it (the command destroys the dialog).
    void OnClose();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void InitLists();
    void OnExchange();
    void OnWidthFocus();
    void OnWidthSelect();
    void OnWidthEdit();
    void OnDepthFocus();
    void OnDepthSelect();
    void OnDepthEdit();
    void OnAngleFocus();
    void OnAngleSelect();
    void OnAngleEdit();
    void OnRowsSelect();
    void OnStyleSelect();
    DECLARE_MESSAGE_MAP()

private:
    // The field's text from the selected row or the typed text, then the marker moved to it.
    void TakeSelected(int id, CString& value, int field);
    void TakeTyped(int id, CString& value, int field);
    // The preview's marker moved to that field.
    void MarkField(int field);

    KyUiPreviewCtrl m_preview;
};
