// Resources as data: dialog templates and cursors that a module registers under its resource
// handle, the current resource handle, extension-module set-up, and the recorded cursor.
#pragma once

#include <string>
#include <vector>

#include "host/mfc/afxtypes.h"
#include "host/mfc/window.h"

namespace vorn::mfc {

// One control of a dialog template. Position and size in dialog units.
struct ControlTemplate {
  int id = IDC_STATIC;
  ControlKind kind = ControlKind::Static;
  std::wstring text;
  int x = 0, y = 0, cx = 0, cy = 0;
  DWORD style = 0;  // ControlStyle bits
};

struct DialogTemplate {
  int id = 0;
  std::wstring caption;
  int cx = 0, cy = 0;  // client size in dialog units
  std::wstring fontName = L"宋体";
  int fontSize = 9;
  std::wstring language = L"zh-CN";
  std::vector<ControlTemplate> controls;  // tab order
};

// A cursor resource; headless, only its name and hot spot matter.
struct CursorResource {
  int id = 0;
  std::wstring name;
  int hotX = 0, hotY = 0;
};

// Registers a resource module (a plug-in, or the host). The handle stays valid until
// UnregisterResourceModule; registering the same name again gives the same handle.
HINSTANCE RegisterResourceModule(const std::wstring& name);
void UnregisterResourceModule(HINSTANCE module);
bool IsResourceModule(HINSTANCE module);
std::wstring ResourceModuleName(HINSTANCE module);
// The host's own resources, current until something else is made current.
HINSTANCE HostResourceModule();
// Adding an id that is already there replaces it. False for an unknown module.
bool AddDialogTemplate(HINSTANCE module, const DialogTemplate& dialog);
bool AddCursorResource(HINSTANCE module, const CursorResource& cursor);
// Null when the module or the id is unknown.
const DialogTemplate* FindDialogTemplate(HINSTANCE module, int id);

// The cursor last set with SetCursor (null before any), and every cursor set so far, oldest
// first, for tests and transcripts. Cursor handles name what they show.
HCURSOR CurrentCursor();
std::vector<HCURSOR> CursorHistory();
void ClearCursorHistory();
std::wstring CursorName(HCURSOR cursor);
int CursorId(HCURSOR cursor);

}  // namespace vorn::mfc

// The current resource handle; dialogs and cursors are looked up in its module.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
HINSTANCE AfxGetInstanceHandle();

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HINSTANCE hModule = nullptr;
  HINSTANCE hResource = nullptr;
};
// Records the module's handle for its resources; FALSE for a handle that is not registered.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE module);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL all = FALSE);

// Joins a module's resources to the application's chain for as long as it lives.
class CDynLinkLibrary {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL system = FALSE);
  virtual ~CDynLinkLibrary();
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
  HINSTANCE m_hModule;
  HINSTANCE m_hResource;
};
// Modules joined by CDynLinkLibrary objects alive now, oldest first.
std::vector<HINSTANCE> AfxResourceChain();

// A null module looks up the system cursors (IDC_ARROW, ...). Null when not found.
HCURSOR LoadCursorW(HINSTANCE module, LPCWSTR name);
HCURSOR LoadCursor(HINSTANCE module, LPCWSTR name);
// Headless: the cursor is recorded; the previous one is returned.
HCURSOR SetCursor(HCURSOR cursor);
