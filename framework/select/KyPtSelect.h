// Prompted selection: one entity, or several, optionally with keywords offered at the prompt.
#pragma once

#include <string>

#include "host/ed/adsdefs.h"

class CString;
class KyAdsEnt;
class KyAdsEntSet;

// One entity the filter admits: the host code (RTNORM, RTNONE, RTCAN, RTKWORD when a keyword
// of a preceding acedInitGet was typed).
int KyPtSelectEntity(const wchar_t* prompt, KyAdsEnt& entity, const resbuf* filter = nullptr);
// Several entities: RTNORM when something was selected (the set holds it); RTNONE when Enter
// came first; RTERROR when the selection ended empty; RTCAN on Esc.
int KyPtSelectEntities(const wchar_t* prompt, KyAdsEntSet& set, const resbuf* filter = nullptr);
// The same with keywords: keywords carries the space-separated keyword list in ("A U") and,
// when the user typed one, the chosen keyword out (its full text) with RTKWORD; the set is
// then empty. Other results leave keywords as it was.
int KyPtSelectEntities(const wchar_t* prompt, KyAdsEntSet& set, const resbuf* filter, std::wstring& keywords);
int KyPtSelectEntities(const wchar_t* prompt, KyAdsEntSet& set, const resbuf* filter, CString& keywords);
