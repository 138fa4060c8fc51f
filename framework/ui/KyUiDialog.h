// KyUiDialog: the framework's dialog base on the host's dialog class. It knows whether it runs
// modeless beside a command, which decides what its close box does in the module's dialogs.
#pragma once

#include "host/mfc/dialog.h"
#include "host/mfc/msgbox.h"

// Buttons a dialog may add to its caption bar. Headless dialogs draw none; the class keeps the
// place so that dialogs read as they do with a window front end.
class KyUiCaptionButton {
public:
    virtual ~KyUiCaptionButton() = default;
    // How many extra caption buttons the dialog shows (none here).
    virtual int GetCaptionButtonCount() const { return 0; }
};

class KyUiDialog : public CAcUiDialog, public KyUiCaptionButton {
public:
    // The modeless state while the dialog runs beside a command.
    enum : int { kNotModeless = 0, kModeless = 1 };

    explicit KyUiDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE resources = nullptr);
    ~KyUiDialog() override;

    // Modeless: the window from the template; the state is kModeless once it stands.
    BOOL Create(UINT templateId, CWnd* parent = nullptr) override;
    // Modal: the state stays kNotModeless for the whole run.
    INT_PTR DoModal() override;
    BOOL DestroyWindow() override;

    // Non-zero while the dialog's window stands as a modeless dialog; zero before Create,
    // during a modal run and after the window is gone, however it went.
    int GetModelessState() const;
    bool IsModeless() const { return GetModelessState() != kNotModeless; }

    BOOL OnInitDialog() override;
    // The base close handling: a modal run ends with IDCANCEL, a modeless window hides.
    void OnClose();

    // A message box owned by the dialog; its answer. A null caption shows the dialog's caption.
    int MessageBoxW(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);
    // The platform call, so that code inside a dialog may still name the owner itself.
    static int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
        return ::MessageBoxW(owner, text, caption, type);
    }

protected:
    DECLARE_MESSAGE_MAP()

private:
    int m_nModelessState = kNotModeless;
};
