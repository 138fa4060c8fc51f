// The host's main frame and drawing view: windows that live as long as the program.
#include "host/mfc/hostwindows.h"

namespace {

CWnd* HostWindow(const wchar_t* name) {
  CWnd* wnd = new CWnd;  // never freed: the host's windows outlive every dialog and module
  HWND hwnd = vorn::mfc::CreateTopLevelWindow(vorn::mfc::ControlKind::Frame, name);
  hwnd->visible = true;
  wnd->Attach(hwnd);
  return wnd;
}

}  // namespace

CWnd* acedGetAcadFrame() {
  static CWnd* frame = HostWindow(L"vorncad");
  return frame;
}

CWnd* acedGetAcadDwgView() {
  static CWnd* view = HostWindow(L"drawing");
  return view;
}
