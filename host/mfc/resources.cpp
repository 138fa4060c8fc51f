// The resource registry: modules and their dialog templates and cursors, the current resource
// handle, extension modules, and the headless cursor.
#include "host/mfc/resources.h"

#include <algorithm>
#include <map>
#include <memory>

struct HINSTANCE__ {
  std::wstring name;
  std::map<int, vorn::mfc::DialogTemplate> dialogs;
  std::map<int, std::unique_ptr<HCURSOR__>> cursors;
};

struct HCURSOR__ {
  int id = 0;
  std::wstring name;
  int hotX = 0, hotY = 0;
};

namespace {

struct ResourceWorld {
  // Modules are never freed while the program runs: a stale handle kept by a module that was
  // unloaded must not point at freed memory. Unregistering empties and retires the module.
  std::vector<std::unique_ptr<HINSTANCE__>> modules;
  std::vector<HINSTANCE> retired;
  HINSTANCE current = nullptr;
  std::vector<HINSTANCE> chain;
  std::map<int, std::unique_ptr<HCURSOR__>> systemCursors;
  HCURSOR cursor = nullptr;
  std::vector<HCURSOR> history;
};

// Never destroyed: a module's static objects (its CDynLinkLibrary) may be destroyed at exit
// after this would have been, and still take themselves out of the chain.
ResourceWorld& Resources() {
  static ResourceWorld& world = *new ResourceWorld;
  return world;
}

bool Retired(HINSTANCE module) {
  const auto& r = Resources().retired;
  return std::find(r.begin(), r.end(), module) != r.end();
}

HCURSOR SystemCursor(int id) {
  static const std::map<int, const wchar_t*> names = {
      {32512, L"arrow"}, {32513, L"ibeam"}, {32514, L"wait"}, {32515, L"cross"}, {32649, L"hand"}};
  auto name = names.find(id);
  if (name == names.end()) return nullptr;
  auto& slot = Resources().systemCursors[id];
  if (!slot) {
    slot = std::make_unique<HCURSOR__>();
    slot->id = id;
    slot->name = name->second;
  }
  return slot.get();
}

}  // namespace

namespace vorn::mfc {

HINSTANCE RegisterResourceModule(const std::wstring& name) {
  ResourceWorld& w = Resources();
  for (auto& m : w.modules)
    if (m->name == name) {
      w.retired.erase(std::remove(w.retired.begin(), w.retired.end(), m.get()), w.retired.end());
      return m.get();
    }
  w.modules.push_back(std::make_unique<HINSTANCE__>());
  w.modules.back()->name = name;
  return w.modules.back().get();
}

void UnregisterResourceModule(HINSTANCE module) {
  if (!IsResourceModule(module)) return;
  ResourceWorld& w = Resources();
  module->dialogs.clear();
  // Cursor handles stay valid (a cursor may still be the current one); only lookups stop.
  w.retired.push_back(module);
  w.chain.erase(std::remove(w.chain.begin(), w.chain.end(), module), w.chain.end());
  if (w.current == module) w.current = nullptr;
}

bool IsResourceModule(HINSTANCE module) {
  if (!module || Retired(module)) return false;
  for (auto& m : Resources().modules)
    if (m.get() == module) return true;
  return false;
}

std::wstring ResourceModuleName(HINSTANCE module) {
  return IsResourceModule(module) ? module->name : std::wstring();
}

HINSTANCE HostResourceModule() {
  static HINSTANCE host = RegisterResourceModule(L"vorncad");
  return host;
}

bool AddDialogTemplate(HINSTANCE module, const DialogTemplate& dialog) {
  if (!IsResourceModule(module)) return false;
  module->dialogs[dialog.id] = dialog;
  return true;
}

bool AddCursorResource(HINSTANCE module, const CursorResource& cursor) {
  if (!IsResourceModule(module)) return false;
  auto& slot = module->cursors[cursor.id];
  if (!slot) slot = std::make_unique<HCURSOR__>();
  slot->id = cursor.id;
  slot->name = cursor.name;
  slot->hotX = cursor.hotX;
  slot->hotY = cursor.hotY;
  return true;
}

const DialogTemplate* FindDialogTemplate(HINSTANCE module, int id) {
  if (!IsResourceModule(module)) return nullptr;
  auto it = module->dialogs.find(id);
  return it == module->dialogs.end() ? nullptr : &it->second;
}

HCURSOR CurrentCursor() { return Resources().cursor; }
std::vector<HCURSOR> CursorHistory() { return Resources().history; }
void ClearCursorHistory() { Resources().history.clear(); }
std::wstring CursorName(HCURSOR cursor) { return cursor ? cursor->name : std::wstring(); }
int CursorId(HCURSOR cursor) { return cursor ? cursor->id : 0; }

}  // namespace vorn::mfc

HINSTANCE AfxGetResourceHandle() {
  ResourceWorld& w = Resources();
  if (!vorn::mfc::IsResourceModule(w.current)) w.current = vorn::mfc::HostResourceModule();
  return w.current;
}

void AfxSetResourceHandle(HINSTANCE module) { Resources().current = module; }

HINSTANCE AfxGetInstanceHandle() { return vorn::mfc::HostResourceModule(); }

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE module) {
  if (!vorn::mfc::IsResourceModule(module)) return FALSE;
  state.hModule = module;
  state.hResource = module;
  state.bInitialized = TRUE;
  return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
  ResourceWorld& w = Resources();
  w.chain.erase(std::remove(w.chain.begin(), w.chain.end(), state.hResource), w.chain.end());
  state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL)
    : m_hModule(state.hModule), m_hResource(state.hResource) {
  if (m_hResource) Resources().chain.push_back(m_hResource);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  auto& chain = Resources().chain;
  auto it = std::find(chain.begin(), chain.end(), m_hResource);
  if (it != chain.end()) chain.erase(it);
}

std::vector<HINSTANCE> AfxResourceChain() { return Resources().chain; }

HCURSOR LoadCursorW(HINSTANCE module, LPCWSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;  // cursors are registered by number only
  const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
  if (!module) return SystemCursor(id);
  if (!vorn::mfc::IsResourceModule(module)) return nullptr;
  auto it = module->cursors.find(id);
  return it == module->cursors.end() ? nullptr : it->second.get();
}

HCURSOR LoadCursor(HINSTANCE module, LPCWSTR name) { return LoadCursorW(module, name); }

HCURSOR SetCursor(HCURSOR cursor) {
  ResourceWorld& w = Resources();
  HCURSOR old = w.cursor;
  w.cursor = cursor;
  w.history.push_back(cursor);
  // Keep the record bounded in long sessions: it is for looking at recent behaviour.
  if (w.history.size() > 1000) w.history.erase(w.history.begin(), w.history.begin() + 500);
  return old;
}
