// Scoped system variables, undo groups and the framework's cancel.
#include "framework/select/KyPtSysVar.h"

#include "host/ed/aced.h"
#include "host/ed/sysvars.h"

bool g_bOnlySnapBaseCurve = false;

int KyPtGetVar(const wchar_t* name, int& value) {
    resbuf rb;
    rb.rbnext = nullptr;
    rb.restype = RTNONE;
    if (!name || acedGetVar(name, &rb) != RTNORM) return RTERROR;
    if (rb.restype == RTSTR) {
        acutDelString(rb.resval.rstring);
        return RTERROR;
    }
    if (rb.restype == RTSHORT) value = rb.resval.rint;
    else if (rb.restype == RTLONG) value = rb.resval.rlong;
    else return RTERROR;
    return RTNORM;
}

KyAdsResBuf::KyAdsResBuf(int value) {
    m_rb.rbnext = nullptr;
    m_rb.restype = RTSHORT;
    m_rb.resval.rint = static_cast<short>(value);
}

KyPtPushSysVar::KyPtPushSysVar(const wchar_t* name, int value) : m_strName(name ? name : L"") {
    if (KyPtGetVar(m_strName.c_str(), m_nOld) != RTNORM) return;
    m_bValid = true;
    acedSetVar(m_strName.c_str(), KyAdsResBuf(value));
}

KyPtPushSysVar::~KyPtPushSysVar() {
    if (m_bValid) acedSetVar(m_strName.c_str(), KyAdsResBuf(m_nOld));
}

KyPtPushUndoGroup::KyPtPushUndoGroup() {
    KyPtPushSysVar echo(L"CMDECHO", 0);
    m_bOpen = acedCommand(RTSTR, L"UNDO", RTSTR, L"BEGIN", 0) == RTNORM;
}

KyPtPushUndoGroup::~KyPtPushUndoGroup() {
    if (!m_bOpen) return;
    KyPtPushSysVar echo(L"CMDECHO", 0);
    acedCommand(RTSTR, L"UNDO", RTSTR, L"END", 0);
}

void KySendESC() { acedPostCancel(); }
