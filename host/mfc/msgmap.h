// Message maps that read like the platform's: a static table of member-function pointers per
// class, chained to the base class's table, searched from the most derived class upwards.
#pragma once

#include "host/mfc/afxtypes.h"
#include "host/mfc/winmsg.h"

class CCmdTarget;
class CWnd;

using AFX_PMSG = void (CCmdTarget::*)();
using AFX_PMSG_SETCURSOR = BOOL (CCmdTarget::*)(CWnd*, UINT, UINT);
using AFX_PMSG_RANGE = void (CCmdTarget::*)(UINT);

// How a handler is called.
enum AfxSig {
  AfxSig_end = 0,
  AfxSig_vv,      // void Handler()              commands, notifications, WM_CLOSE
  AfxSig_bWww,    // BOOL Handler(CWnd*, UINT, UINT)   WM_SETCURSOR
  AfxSig_vwl,     // void Handler(UINT id)        command ranges
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // WM_COMMAND, WM_CLOSE, WM_SETCURSOR, ...
  UINT nCode;     // notification code for WM_COMMAND
  UINT nID;       // first control id, 0 for window messages
  UINT nLastID;   // last control id of a range
  AfxSig nSig;
  // One handler, in the field of its signature; the others are null.
  AFX_PMSG pfn;
  AFX_PMSG_SETCURSOR pfnSetCursor;
  AFX_PMSG_RANGE pfnRange;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// The root of every class with a message map.
class CCmdTarget {
 public:
  CCmdTarget() = default;
  virtual ~CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;

  // Runs the first handler for (message, code, id) found in the maps; false when none. For
  // WM_SETCURSOR, wParam carries the CWnd* of the window under the cursor.
  bool DispatchMapEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam,
                        LRESULT& result);
  // The entry that would handle the message, or null.
  const AFX_MSGMAP_ENTRY* FindMapEntry(UINT message, UINT code, UINT id) const;

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                           \
 protected:                                             \
  static const AFX_MSGMAP* GetThisMessageMap();         \
  const AFX_MSGMAP* GetMessageMap() const override;     \
                                                        \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    typedef theClass ThisClass;                                                     \
    typedef baseClass TheBaseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                   \
  {0, 0, 0, 0, AfxSig_end, nullptr, nullptr, nullptr}                                                         \
  };                                                                                        \
  static_assert(sizeof(ThisClass) > 0, "message map of an incomplete class");              \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                       \
  }

#define VORN_MSG_VV(fn) static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&ThisClass::fn))
#define VORN_NOTIFY(code, id, fn) {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), AfxSig_vv, VORN_MSG_VV(fn), nullptr, nullptr},

#define ON_COMMAND(id, fn) VORN_NOTIFY(0, id, fn)
#define ON_BN_CLICKED(id, fn) VORN_NOTIFY(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) VORN_NOTIFY(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) VORN_NOTIFY(EN_CHANGE, id, fn)
#define ON_EN_SETFOCUS(id, fn) VORN_NOTIFY(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) VORN_NOTIFY(EN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) VORN_NOTIFY(CBN_SELCHANGE, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) VORN_NOTIFY(CBN_EDITCHANGE, id, fn)
#define ON_CBN_SETFOCUS(id, fn) VORN_NOTIFY(CBN_SETFOCUS, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) VORN_NOTIFY(CBN_KILLFOCUS, id, fn)
#define ON_CBN_DBLCLK(id, fn) VORN_NOTIFY(CBN_DBLCLK, id, fn)
#define ON_LBN_SELCHANGE(id, fn) VORN_NOTIFY(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) VORN_NOTIFY(LBN_DBLCLK, id, fn)
#define ON_LBN_SETFOCUS(id, fn) VORN_NOTIFY(LBN_SETFOCUS, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) VORN_NOTIFY(LBN_KILLFOCUS, id, fn)
#define ON_STN_CLICKED(id, fn) VORN_NOTIFY(STN_CLICKED, id, fn)
#define ON_STN_DBLCLK(id, fn) VORN_NOTIFY(STN_DBLCLK, id, fn)
#define ON_CONTROL(code, id, fn) VORN_NOTIFY(code, id, fn)
#define ON_COMMAND_RANGE(firstId, lastId, fn)                                                   \
  {WM_COMMAND, 0, static_cast<UINT>(firstId), static_cast<UINT>(lastId), AfxSig_vwl,            \
   nullptr, nullptr,                                                                            \
   static_cast<AFX_PMSG_RANGE>(static_cast<void (ThisClass::*)(UINT)>(&ThisClass::fn))},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, AfxSig_vv, VORN_MSG_VV(OnClose), nullptr, nullptr},
#define ON_WM_SETCURSOR()                                                                        \
  {WM_SETCURSOR, 0, 0, 0, AfxSig_bWww,                                                           \
   nullptr,                                                                                      \
   static_cast<AFX_PMSG_SETCURSOR>(                                                              \
       static_cast<BOOL (ThisClass::*)(CWnd*, UINT, UINT)>(&ThisClass::OnSetCursor)),            \
   nullptr},
