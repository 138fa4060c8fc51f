// The owning object list and the point arrays.
#include "geometry/KyGeObjList.h"

#include <algorithm>
#include <cmath>

KyGeObjList& KyGeObjList::operator<<(std::unique_ptr<KyGeObject> object) {
    Append(std::move(object));
    return *this;
}

int KyGeObjList::Append(std::unique_ptr<KyGeObject> object, double key) {
    if (!object) return -1;
    m_items.push_back(Item{std::move(object), std::isfinite(key) ? key : 0.0});
    return GetLength() - 1;
}

int KyGeObjList::AppendClone(const KyGeObject& object, double key) { return Append(object.Clone(), key); }

bool KyGeObjList::Insert(int index, std::unique_ptr<KyGeObject> object, double key) {
    if (!object) return false;
    const size_t at = index < 0 ? 0 : std::min(static_cast<size_t>(index), m_items.size());
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), Item{std::move(object), std::isfinite(key) ? key : 0.0});
    return true;
}

KyGeObject* KyGeObjList::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return nullptr;
    return m_items[static_cast<size_t>(index)].object.get();
}

double KyGeObjList::GetKey(int index) const {
    if (index < 0 || index >= GetLength()) return 0.0;
    return m_items[static_cast<size_t>(index)].key;
}

void KyGeObjList::SetKey(int index, double key) {
    if (index < 0 || index >= GetLength() || !std::isfinite(key)) return;
    m_items[static_cast<size_t>(index)].key = key;
}

bool KyGeObjList::Del(int index) {
    if (index < 0 || index >= GetLength()) return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

std::unique_ptr<KyGeObject> KyGeObjList::TakeOff(int index) {
    if (index < 0 || index >= GetLength()) return nullptr;
    std::unique_ptr<KyGeObject> object = std::move(m_items[static_cast<size_t>(index)].object);
    m_items.erase(m_items.begin() + index);
    return object;
}

void KyGeObjList::Splice(KyGeObjList& other) {
    if (&other == this) return;
    for (Item& item : other.m_items) m_items.push_back(std::move(item));
    other.m_items.clear();
}

void KyGeObjList::Sort(bool ascending) {
    std::stable_sort(m_items.begin(), m_items.end(), [ascending](const Item& a, const Item& b) {
        return ascending ? a.key < b.key : b.key < a.key;
    });
}

void KyGeObjList::Sort(const std::function<bool(const KyGeObject&, const KyGeObject&)>& less) {
    std::stable_sort(m_items.begin(), m_items.end(),
                     [&less](const Item& a, const Item& b) { return less(*a.object, *b.object); });
}

int KyGePointArray::Append(const KyGePoint& p) {
    m_pts.push_back(p);
    return GetLength() - 1;
}

bool KyGePointArray::Insert(int index, const KyGePoint& p) {
    if (index < 0 || index > GetLength()) return false;
    m_pts.insert(m_pts.begin() + index, p);
    return true;
}

bool KyGePointArray::Del(int index) {
    if (index < 0 || index >= GetLength()) return false;
    m_pts.erase(m_pts.begin() + index);
    return true;
}

KyGePoint KyGePointArray::GetAt(int index) const {
    if (index < 0 || index >= GetLength()) return KyGePoint();
    return m_pts[static_cast<size_t>(index)];
}

bool KyGePointArray::SetAt(int index, const KyGePoint& p) {
    if (index < 0 || index >= GetLength()) return false;
    m_pts[static_cast<size_t>(index)] = p;
    return true;
}
