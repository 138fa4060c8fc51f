// AcDbObject: residency, erase, XDATA and the open/close calls that hand over to the database.
#include "host/db/dbobject.h"

#include <cmath>
#include <cstdio>

#include "host/db/dbimpl.h"
#include "host/db/dbmain.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObject, AcRxObject)

AcDbXDataItem::Kind AcDbXDataItem::kindOfCode(int code) {
    if (code >= 1010 && code <= 1039) return kPoint;
    if (code >= 1040 && code <= 1042) return kReal;
    if (code >= 1060 && code <= 1071) return kInteger;
    return kString;
}

AcDbXDataItem::Kind AcDbXDataItem::kind() const { return kindOfCode(code); }

bool AcDbXDataItem::isFinite() const {
    switch (kind()) {
        case kPoint: return std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
        case kReal: return std::isfinite(real);
        default: return true;
    }
}

bool AcDbXDataItem::operator==(const AcDbXDataItem& o) const {
    if (code != o.code) return false;
    switch (kind()) {
        case kPoint: return point.x == o.point.x && point.y == o.point.y && point.z == o.point.z;
        case kReal: return real == o.real;
        case kInteger: return integer == o.integer;
        default: return str == o.str;
    }
}

AcDbObject::AcDbObject(const AcDbObject& other) : AcRxObject(other), m_xdata(other.m_xdata), m_kept(other.m_kept) {}

AcDbObject::~AcDbObject() = default;

void AcDbObject::copyBaseFrom(const AcDbObject& other) {
    m_xdata = other.m_xdata;
    m_kept = other.m_kept;
}

Acad::ErrorStatus AcDbObject::setKeptData(std::shared_ptr<const AcDbKeptData> data) {
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    m_kept = std::move(data);
    return Acad::eOk;
}

void AcDbObject::vornSetResidency(const AcDbObjectId& id, const AcDbObjectId& owner) {
    m_id = id;
    m_ownerId = owner;
}

bool AcDbObject::isReadEnabled() const {
    if (!isDatabaseResident()) return true;
    return vorn::db::detail::OpenState(this) != 0;
}

bool AcDbObject::isWriteEnabled() const {
    if (!isDatabaseResident()) return true;
    return vorn::db::detail::OpenState(this) == 2;
}

bool AcDbObject::assertWriteEnabled() const {
    if (isWriteEnabled()) return true;
    std::fprintf(stderr, "vorncad: a change to %ls (handle %ls) was refused: it is not open for write\n",
                 isA()->name(), m_id.handle().toString().c_str());
    return false;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
    if (!isDatabaseResident()) return Acad::eNotInDatabase;
    if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
    if (erasing && m_erased) return Acad::eWasErased;
    m_erased = erasing;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
    if (!isDatabaseResident()) return Acad::eNotInDatabase;
    return vorn::db::detail::Upgrade(this);
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
    if (!isDatabaseResident()) return Acad::eNotInDatabase;
    return vorn::db::detail::Downgrade(this);
}

Acad::ErrorStatus AcDbObject::close() {
    if (!isDatabaseResident()) return Acad::eNotInDatabase;
    return vorn::db::detail::Close(this);
}

AcDbXDataItems AcDbObject::xData(const std::wstring& app) const {
    for (const auto& entry : m_xdata)
        if (entry.first == app) return entry.second;
    return {};
}

Acad::ErrorStatus AcDbObject::setXData(const std::wstring& app, const AcDbXDataItems& items) {
    if (app.empty()) return Acad::eInvalidInput;
    for (const auto& item : items)
        if (!item.isFinite()) return Acad::eInvalidInput;
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
    for (auto it = m_xdata.begin(); it != m_xdata.end(); ++it) {
        if (it->first != app) continue;
        if (items.empty()) m_xdata.erase(it);
        else it->second = items;
        return Acad::eOk;
    }
    if (!items.empty()) m_xdata.emplace_back(app, items);
    return Acad::eOk;
}

std::vector<std::wstring> AcDbObject::xDataApplications() const {
    std::vector<std::wstring> apps;
    for (const auto& entry : m_xdata) apps.push_back(entry.first);
    return apps;
}

bool AcDbObject::xDataFinite() const {
    for (const auto& entry : m_xdata)
        for (const auto& item : entry.second)
            if (!item.isFinite()) return false;
    return true;
}

AcRxObject* AcDbObject::clone() const {
    AcRxObject* made = isA()->create();
    AcDbObject* copy = AcDbObject::cast(made);
    if (!copy) {
        delete made;
        return nullptr;
    }
    copy->copyBaseFrom(*this);
    return copy;
}

bool AcDbObject::isFiniteObject() const { return xDataFinite(); }

void AcDbObject::remapIds(const std::function<AcDbObjectId(const AcDbObjectId&)>&) {}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, const AcDbObjectId& id, AcDb::OpenMode mode, bool openErased) {
    object = nullptr;
    if (id.isNull()) return Acad::eNullObjectId;
    return vorn::db::detail::Open(object, id, mode, openErased);
}
