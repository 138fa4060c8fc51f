// KyAdsRBList: ownership of result buffer chains.
#include "framework/select/KyAdsRBList.h"

#include <utility>

KyAdsRBList::~KyAdsRBList() { Reset(); }

KyAdsRBList::KyAdsRBList(const KyAdsRBList& other) : m_chain(acutCopyRb(other.m_chain)) {}

KyAdsRBList& KyAdsRBList::operator=(const KyAdsRBList& other) {
    if (this != &other) {
        Reset();
        m_chain = acutCopyRb(other.m_chain);
    }
    return *this;
}

KyAdsRBList::KyAdsRBList(KyAdsRBList&& other) noexcept : m_chain(std::exchange(other.m_chain, nullptr)) {}

KyAdsRBList& KyAdsRBList::operator=(KyAdsRBList&& other) noexcept {
    if (this != &other) {
        Reset();
        m_chain = std::exchange(other.m_chain, nullptr);
    }
    return *this;
}

KyAdsRBList& KyAdsRBList::operator=(resbuf* chain) {
    if (chain != m_chain) {
        Reset();
        m_chain = chain;
    }
    return *this;
}

void KyAdsRBList::AppendOwned(resbuf* chain) {
    if (!chain) return;
    if (!m_chain) {
        m_chain = chain;
        return;
    }
    resbuf* last = m_chain;
    while (last->rbnext) last = last->rbnext;
    last->rbnext = chain;
}

void KyAdsRBList::AddTypes(const wchar_t* names) { AppendOwned(acutBuildList(RTDXF0, names ? names : L"", 0)); }
void KyAdsRBList::AddLayers(const wchar_t* names) { AppendOwned(acutBuildList(8, names ? names : L"", 0)); }
void KyAdsRBList::Append(const resbuf* chain) { AppendOwned(acutCopyRb(chain)); }

resbuf* KyAdsRBList::Detach() { return std::exchange(m_chain, nullptr); }

void KyAdsRBList::Reset() {
    if (m_chain) acutRelRb(m_chain);
    m_chain = nullptr;
}
