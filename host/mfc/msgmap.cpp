// Message-map lookup and dispatch: the tables are searched from the most derived class to the root.
#include "host/mfc/msgmap.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMapEntry(UINT message, UINT code, UINT id) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
      if (e->nMessage != message) continue;
      if (message == WM_COMMAND) {
        if (e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
      } else {
        return e;
      }
    }
    // A class whose map names itself as its base would loop for ever.
    if (map->pfnGetBaseMap && map->pfnGetBaseMap() == map) break;
  }
  return nullptr;
}

bool CCmdTarget::DispatchMapEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
  const AFX_MSGMAP_ENTRY* e = FindMapEntry(message, code, id);
  if (!e) return false;
  switch (e->nSig) {
    case AfxSig_vv:
      (this->*(e->pfn))();
      result = 0;
      return true;
    case AfxSig_bWww:
      result = (this->*(e->pfnSetCursor))(reinterpret_cast<CWnd*>(wParam), LOWORD(lParam), HIWORD(lParam));
      return true;
    case AfxSig_vwl:
      (this->*(e->pfnRange))(id);
      result = 0;
      return true;
    case AfxSig_end:
      break;
  }
  return false;
}
