// Dialogs: CDialog built from a template of the current resource module, modal or modeless, with
// dialog data exchange (DDX_...) between controls and variables, and the host's dialog classes.
#pragma once

#include "host/mfc/cwnd.h"
#include "host/mfc/resources.h"

class CDialog;

// Direction and owner of one data exchange. A failing exchange (a number that does not read)
// marks it failed; UpdateData then returns FALSE and leaves the variable unchanged.
class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to variables
  CWnd* m_pDlgWnd;
  bool m_failed = false;
  // The control of that id; a missing control fails the exchange and is reported.
  HWND PrepareCtrl(int id);
  void Fail(const wchar_t* what);
};

void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// id is the first radio button of its group (the one with the group style); value is the index
// of the checked button in the group, -1 when none is.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Combo box text. To the control: an editable combo selects the row equal to value (ignoring
// case) and otherwise shows value as typed, never a different row that merely starts with it;
// a drop-down list selects the equal row, else the first row starting with value. From the
// control: the shown text.
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBString(CDataExchange* dx, int id, CString& value);
// Binds a control object to the control on the first exchange.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd {
 public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Modeless: builds the window from the template in the current resource module (or the one
  // given to the constructor) and runs OnInitDialog; FALSE when the template is missing or the
  // dialog already has a window. OnInitDialog returning FALSE does not fail the creation. The
  // window stays hidden until ShowWindow.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  // Modal: builds the window, then takes events until EndDialog; the result, or -1 when the
  // window could not be built.
  virtual INT_PTR DoModal();
  void EndDialog(int result);
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual BOOL OnInitDialog();
  BOOL DestroyWindow() override;

  bool IsModal() const { return m_modal; }
  bool IsModelessWindow() const { return m_hWnd != nullptr && !m_modal; }
  bool ModalEnded() const { return m_modalEnded; }
  int ModalResult() const { return m_modalResult; }
  UINT GetTemplateId() const { return m_templateId; }
  // Adjusts a rectangle from dialog units to pixels.
  void MapDialogRect(CRect* rect) const;
  void NextDlgCtrl() const {}
  void GotoDlgCtrl(CWnd* control);

 protected:
  virtual void DoDataExchange(CDataExchange* dx);
  virtual void OnOK();
  virtual void OnCancel();
  void DefaultClose() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  DECLARE_MESSAGE_MAP()

 private:
  BOOL Build(UINT templateId, CWnd* parent, bool modal);
  UINT m_templateId = 0;
  CWnd* m_parent = nullptr;

 protected:
  HINSTANCE m_resources = nullptr;  // null: the current resource module

 private:
  bool m_modal = false;
  bool m_modalEnded = false;
  int m_modalResult = 0;
};

// The host's dialog classes on which the framework's dialog base is built.
class CAdUiBaseDialog : public CDialog {
 public:
  CAdUiBaseDialog() = default;
  explicit CAdUiBaseDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE resources = nullptr);

 protected:
  DECLARE_MESSAGE_MAP()
};

class CAcUiDialog : public CAdUiBaseDialog {
 public:
  CAcUiDialog() = default;
  explicit CAcUiDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE resources = nullptr);

 protected:
  DECLARE_MESSAGE_MAP()
};

// One modal step: takes the next event for the running modal dialog and handles it; false when
// the input ended. The dialog layer installs the reader of '@' events; the default answers the
// default button at once.
using ModalEventPump = std::function<bool(CDialog& dialog)>;
namespace vorn::mfc {
ModalEventPump SetModalEventPump(ModalEventPump pump);
}
