// The pick button: the dialog hidden during a pick and shown again after it.
#include "framework/ui/KyUiPickButton.h"

#include "host/mfc/hostwindows.h"

KyUiPickButton::~KyUiPickButton() {
    // A pick left open (an early return past EndPick) must not leave the dialog hidden.
    if (m_nDepth > 0) {
        m_nDepth = 1;
        EndPick();
    }
}

BOOL KyUiPickButton::SubclassDlgItem(UINT id, CWnd* parent) { return CButton::SubclassDlgItem(id, parent); }

void KyUiPickButton::BeginPick() {
    if (m_nDepth++ > 0) return;
    CWnd* dialog = GetParent();
    m_bWasVisible = dialog && dialog->IsWindowVisible();
    if (m_bWasVisible) dialog->ShowWindow(SW_HIDE);
    if (CWnd* view = acedGetAcadDwgView()) view->SetFocus();
}

void KyUiPickButton::EndPick() {
    if (m_nDepth == 0 || --m_nDepth > 0) return;
    CWnd* dialog = GetParent();
    if (dialog && m_bWasVisible) dialog->ShowWindow(SW_SHOW);
    m_bWasVisible = false;
}
