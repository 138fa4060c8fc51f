// KyUiPreviewCtrl: a static control of a dialog that shows a block preview: the model space of
// a drawing file, one entity or a set of entities, fitted into the control. What it shows is
// drawn whenever the dialog is drawn (@dialogshot).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/db/dbarray.h"
#include "host/db/dbextents.h"
#include "host/mfc/cwnd.h"

class AcDbDatabase;
class AcDbEntity;

class KyUiPreviewCtrl : public CStatic {
public:
    // Display mode bits (SetMode). The module's dialogs use 7: all three.
    enum : int {
        kModeFrame = 1,       // a sunken frame around the preview
        kModeScreen = 2,      // the drawing screen's dark background; otherwise the dialog face
        kModeMargin = 4,      // a tenth of the control left free on each side of the fit
    };

    explicit KyUiPreviewCtrl(int nMode = 0);
    ~KyUiPreviewCtrl() override;
    KyUiPreviewCtrl(const KyUiPreviewCtrl&) = delete;
    KyUiPreviewCtrl& operator=(const KyUiPreviewCtrl&) = delete;

    // Takes the dialog's static control id as the preview; FALSE when it is missing or taken.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // The usual look: frame and margin, on the screen background when bScreen is true.
    void Init(bool bScreen);
    void SetMode(int nMode);
    int GetMode() const { return m_nMode; }

    // Each Draw replaces what was shown; false (the preview then stands empty) when there is
    // nothing to show.
    // The model space of a drawing file (a ".dwg" name reads its ".dxf" twin); the file is read
    // once and kept while the preview shows it.
    bool Draw(const wchar_t* file);
    // An entity: one not in a drawing is taken over (the preview deletes it); one in a drawing
    // is copied and left alone.
    bool Draw(AcDbEntity* entity);
    // Every entity of the array, each as above; the array is emptied, so releasing it
    // afterwards deletes nothing twice.
    bool Draw(AcDbVoidPtrArray& entities);
    void ErasePreview();

    bool IsEmpty() const { return m_entities.empty() && !m_fileDb; }
    // The file shown (empty when entities or nothing are shown) and the entities shown.
    const std::wstring& GetFileName() const { return m_strFile; }
    int GetEntityCount() const;
    // The extents of what is shown; false when empty.
    bool GetExtents(AcDbExtents& box) const;

    // Paints the preview into the rectangle (pixels) of a picture; what the dialog's picture
    // calls for this control.
    void Paint(cairo_t* cr, double x, double y, double w, double h) const;

private:
    void InstallPaint();
    void Repaint();
    void Keep(AcDbEntity* entity);

    int m_nMode;
    std::wstring m_strFile;
    std::unique_ptr<AcDbDatabase> m_fileDb;
    std::vector<std::unique_ptr<AcDbEntity>> m_entities;
};
