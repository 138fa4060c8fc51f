// Prompted selection of one or several entities, with the keyword form.
#include "framework/select/KyPtSelect.h"

#include "framework/select/KyAdsEnt.h"
#include "framework/select/KyAdsEntSet.h"
#include "host/ed/selection.h"
#include "host/mfc/cstring.h"

int KyPtSelectEntity(const wchar_t* prompt, KyAdsEnt& entity, const resbuf* filter) {
    return entity.Select(prompt, filter);
}

int KyPtSelectEntities(const wchar_t* prompt, KyAdsEntSet& set, const resbuf* filter) {
    set.Reset();
    ads_name ss;
    int rc = vorn::ed::SelectEntities(prompt, filter, ss);
    if (rc != RTNORM) return rc;
    set.AssignFromAdsSet(ss);
    acedSSFree(ss);
    return set.IsEmpty() ? RTERROR : RTNORM;
}

int KyPtSelectEntities(const wchar_t* prompt, KyAdsEntSet& set, const resbuf* filter, std::wstring& keywords) {
    set.Reset();
    ads_name ss;
    std::wstring chosen;
    int rc = vorn::ed::SelectEntities(prompt, filter, ss, keywords.empty() ? nullptr : keywords.c_str(), &chosen);
    if (rc == RTKWORD) {
        keywords = chosen;
        return RTKWORD;
    }
    if (rc != RTNORM) return rc;
    set.AssignFromAdsSet(ss);
    acedSSFree(ss);
    return set.IsEmpty() ? RTERROR : RTNORM;
}

int KyPtSelectEntities(const wchar_t* prompt, KyAdsEntSet& set, const resbuf* filter, CString& keywords) {
    std::wstring text = keywords.str();
    int rc = KyPtSelectEntities(prompt, set, filter, text);
    if (rc == RTKWORD) keywords = text;
    return rc;
}
