// KyAdsRBList: an owned result buffer chain, mostly a selection filter built with
// acutBuildList: entity type names (RTDXF0 or group 0, comma lists such as "LINE,ARC") and
// layer names (group 8).
#pragma once

#include "host/ed/adsdefs.h"

class KyAdsRBList {
public:
    KyAdsRBList() = default;
    // Takes over a chain (null allowed), as acutBuildList gives it.
    explicit KyAdsRBList(resbuf* chain) : m_chain(chain) {}
    ~KyAdsRBList();
    KyAdsRBList(const KyAdsRBList& other);
    KyAdsRBList& operator=(const KyAdsRBList& other);
    KyAdsRBList(KyAdsRBList&& other) noexcept;
    KyAdsRBList& operator=(KyAdsRBList&& other) noexcept;
    // Replaces the chain by another one it takes over.
    KyAdsRBList& operator=(resbuf* chain);

    resbuf* Get() const { return m_chain; }
    operator const resbuf*() const { return m_chain; }  // NOLINT: filters pass as they are
    bool IsEmpty() const { return m_chain == nullptr; }
    // Appends a condition: entity type names (comma list) or layer names (comma list).
    void AddTypes(const wchar_t* names);
    void AddLayers(const wchar_t* names);
    // Appends a copy of another chain.
    void Append(const resbuf* chain);
    // Hands the chain out; the list is empty afterwards.
    resbuf* Detach();
    void Reset();

private:
    void AppendOwned(resbuf* chain);
    resbuf* m_chain = nullptr;
};
