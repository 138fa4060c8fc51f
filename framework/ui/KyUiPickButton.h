// KyUiPickButton: a dialog button that starts a pick in the drawing. While the pick runs the
// dialog steps aside (hidden, the drawing view has the focus) and comes back when it ends.
#pragma once

#include "host/mfc/cwnd.h"

class KyUiPickButton : public CButton {
public:
    KyUiPickButton() = default;
    ~KyUiPickButton() override;

    // Takes the dialog's button id; FALSE when it is missing or taken.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    // Hides the button's dialog and hands the focus to the drawing view; EndPick undoes it.
    // Nested calls count: only the outermost EndPick brings the dialog back.
    void BeginPick();
    void EndPick();
    bool IsPicking() const { return m_nDepth > 0; }

private:
    int m_nDepth = 0;
    bool m_bWasVisible = false;
};

// BeginPick for the guard's lifetime.
class KyUiPickScope {
public:
    explicit KyUiPickScope(KyUiPickButton& button) : m_button(button) { m_button.BeginPick(); }
    ~KyUiPickScope() { m_button.EndPick(); }
    KyUiPickScope(const KyUiPickScope&) = delete;
    KyUiPickScope& operator=(const KyUiPickScope&) = delete;

private:
    KyUiPickButton& m_button;
};
