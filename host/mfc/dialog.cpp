// CDialog: building the window from a template, modeless and modal runs, closing, and the
// host's dialog classes.
#include "host/mfc/dialog.h"

#include "host/base/hostio.h"

namespace {

ModalEventPump& Pump() {
  static ModalEventPump pump;
  return pump;
}

}  // namespace

namespace vorn::mfc {
ModalEventPump SetModalEventPump(ModalEventPump pump) {
  ModalEventPump old = std::move(Pump());
  Pump() = std::move(pump);
  return old;
}
}  // namespace vorn::mfc

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, OnOK)
  ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

BOOL CDialog::Build(UINT templateId, CWnd* parent, bool modal) {
  if (m_hWnd) return FALSE;
  HINSTANCE module = m_resources ? m_resources : AfxGetResourceHandle();
  const vorn::mfc::DialogTemplate* t = vorn::mfc::FindDialogTemplate(module, static_cast<int>(templateId));
  if (!t) {
    vorn::HostPrint(L"\nDialog template " + std::to_wstring(templateId) + L" is missing from the resources of \"" +
                    vorn::mfc::ResourceModuleName(module) + L"\"; the dialog is not shown.");
    return FALSE;
  }
  m_templateId = templateId;
  if (parent) m_parent = parent;
  HWND w = vorn::mfc::CreateTopLevelWindow(vorn::mfc::ControlKind::Dialog, t->caption);
  w->id = static_cast<int>(templateId);
  w->cx = t->cx;
  w->cy = t->cy;
  w->fontName = t->fontName;
  w->fontSize = t->fontSize;
  w->modal = modal;
  for (const auto& c : t->controls)
    vorn::mfc::CreateChildWindow(w, c.kind, c.id, c.text, c.style, c.x, c.y, c.cx, c.cy);
  Attach(w);
  m_modal = modal;
  m_modalEnded = false;
  m_modalResult = 0;
  if (modal) w->visible = true;
  OnInitDialog();
  return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Build(templateId, parent, false); }

INT_PTR CDialog::DoModal() {
  if (!Build(m_templateId, m_parent, true)) return -1;
  while (m_hWnd && !m_modalEnded) {
    ModalEventPump& pump = Pump();
    if (!pump) {
      OnOK();  // nobody can answer: the default button
      if (!m_modalEnded) EndDialog(IDCANCEL);
    } else if (!pump(*this)) {
      EndDialog(IDCANCEL);  // end of input
    }
  }
  if (!m_modalEnded) m_modalResult = IDCANCEL;  // destroyed from inside
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  m_modal = false;
  return m_modalResult;
}

void CDialog::EndDialog(int result) {
  m_modalResult = result;
  m_modalEnded = true;
  if (!m_modal) ShowWindow(SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  if (!m_hWnd) return FALSE;
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return dx.m_failed ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog() { return UpdateData(FALSE); }

BOOL CDialog::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

void CDialog::MapDialogRect(CRect* rect) const {
  if (!rect) return;
  const auto px = [](LONG v, double f) { return static_cast<LONG>(v * f + (v >= 0 ? 0.5 : -0.5)); };
  *rect = CRect(px(rect->left, vorn::mfc::kDluToPixelX), px(rect->top, vorn::mfc::kDluToPixelY),
                px(rect->right, vorn::mfc::kDluToPixelX), px(rect->bottom, vorn::mfc::kDluToPixelY));
}

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) control->SetFocus();
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;  // the message said what to correct; the dialog stays
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DefaultClose() { OnCancel(); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) { return CWnd::OnCommand(wParam, lParam); }

BEGIN_MESSAGE_MAP(CAdUiBaseDialog, CDialog)
END_MESSAGE_MAP()

CAdUiBaseDialog::CAdUiBaseDialog(UINT templateId, CWnd* parent, HINSTANCE resources)
    : CDialog(templateId, parent) {
  m_resources = resources;
}

BEGIN_MESSAGE_MAP(CAcUiDialog, CAdUiBaseDialog)
END_MESSAGE_MAP()

CAcUiDialog::CAcUiDialog(UINT templateId, CWnd* parent, HINSTANCE resources)
    : CAdUiBaseDialog(templateId, parent, resources) {}
