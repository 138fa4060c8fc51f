// Object ids and handles: an id names one object of one database (the database and the
// object's slot); the handle is the slot's stable number as drawing files write it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "host/db/acadstrg.h"
#include "host/db/dbarray.h"

class AcDbDatabase;

class AcDbHandle {
public:
    AcDbHandle() = default;
    explicit AcDbHandle(std::uint64_t value) : m_value(value) {}
    std::uint64_t value() const { return m_value; }
    bool isNull() const { return m_value == 0; }
    // Upper-case hexadecimal without leading zeros, as drawing files write handles ("1A").
    std::wstring toString() const;
    bool operator==(const AcDbHandle& o) const { return m_value == o.m_value; }
    bool operator!=(const AcDbHandle& o) const { return m_value != o.m_value; }
    bool operator<(const AcDbHandle& o) const { return m_value < o.m_value; }

private:
    std::uint64_t m_value = 0;
};

class AcDbObjectId {
public:
    AcDbObjectId() = default;
    // For the database and its close friends (the editor packs ids into entity names).
    AcDbObjectId(AcDbDatabase* db, std::uint32_t index) : m_db(db), m_index(index) {}

    static const AcDbObjectId kNull;

    bool isNull() const { return m_db == nullptr; }
    // True while the id names an object that exists (erased or not); false once its append
    // was undone or it was purged.
    bool isValid() const;
    bool isErased() const;
    // The object's handle (its slot number plus one); null for the null id.
    AcDbHandle handle() const;
    AcDbDatabase* database() const { return m_db; }
    AcDbDatabase* originalDatabase() const { return m_db; }
    std::uint32_t index() const { return m_index; }

    bool operator==(const AcDbObjectId& o) const { return m_db == o.m_db && m_index == o.m_index; }
    bool operator!=(const AcDbObjectId& o) const { return !(*this == o); }
    // Database order: ids of one database compare by slot, which is the order of appending.
    bool operator<(const AcDbObjectId& o) const {
        if (m_db != o.m_db) return std::less<const AcDbDatabase*>()(m_db, o.m_db);
        return m_index < o.m_index;
    }
    bool operator>(const AcDbObjectId& o) const { return o < *this; }
    bool operator<=(const AcDbObjectId& o) const { return !(o < *this); }
    bool operator>=(const AcDbObjectId& o) const { return !(*this < o); }

private:
    AcDbDatabase* m_db = nullptr;
    std::uint32_t m_index = 0;
};

namespace std {
template <>
struct hash<AcDbObjectId> {
    size_t operator()(const AcDbObjectId& id) const noexcept {
        return std::hash<const void*>()(id.database()) ^ (static_cast<size_t>(id.index()) * 0x9E3779B97F4A7C15ull);
    }
};
}  // namespace std

using AcDbObjectIdArray = AcArray<AcDbObjectId>;
