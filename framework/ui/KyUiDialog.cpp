// The framework's dialog base: the modeless state, initialisation, closing and message boxes.
#include "framework/ui/KyUiDialog.h"

BEGIN_MESSAGE_MAP(KyUiDialog, CAcUiDialog)
END_MESSAGE_MAP()

KyUiDialog::KyUiDialog(UINT templateId, CWnd* parent, HINSTANCE resources)
    : CAcUiDialog(templateId, parent, resources) {}

KyUiDialog::~KyUiDialog() = default;

BOOL KyUiDialog::Create(UINT templateId, CWnd* parent) {
    // The state is set before the window is built so that OnInitDialog already sees it.
    m_nModelessState = kModeless;
    const BOOL created = CAcUiDialog::Create(templateId, parent);
    if (!created) m_nModelessState = kNotModeless;
    return created;
}

INT_PTR KyUiDialog::DoModal() {
    m_nModelessState = kNotModeless;
    return CAcUiDialog::DoModal();
}

BOOL KyUiDialog::DestroyWindow() {
    m_nModelessState = kNotModeless;
    return CAcUiDialog::DestroyWindow();
}

int KyUiDialog::GetModelessState() const {
    // A window destroyed behind the object's back (its parent went, the host closed it) leaves
    // no modeless dialog, whatever the flag says.
    if (!m_hWnd || IsModal()) return kNotModeless;
    return m_nModelessState;
}

BOOL KyUiDialog::OnInitDialog() { return CAcUiDialog::OnInitDialog(); }

void KyUiDialog::OnClose() { CWnd::OnClose(); }

int KyUiDialog::MessageBoxW(const wchar_t* text, const wchar_t* caption, UINT type) {
    CString title;
    if (!caption) {
        GetWindowText(title);
        caption = title.GetString();
    }
    return ::MessageBoxW(GetSafeHwnd(), text ? text : L"", caption, type);
}
