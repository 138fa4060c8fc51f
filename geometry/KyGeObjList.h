// Containers: the owning ordered list of geometry objects, and point sequences.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "geometry/KyGeObject.h"

// An ordered list that owns its objects. Each entry carries a double sort key (0 unless set;
// intersections set it to the point's parameter on the curve asked), and Sort orders by it.
class KyGeObjList {
public:
    KyGeObjList() = default;
    KyGeObjList(const KyGeObjList&) = delete;
    KyGeObjList& operator=(const KyGeObjList&) = delete;
    KyGeObjList(KyGeObjList&&) = default;
    KyGeObjList& operator=(KyGeObjList&&) = default;

    // Takes ownership; a null pointer is not added.
    KyGeObjList& operator<<(std::unique_ptr<KyGeObject> object);
    template <class T>
    KyGeObjList& operator<<(std::unique_ptr<T> object) { return *this << std::unique_ptr<KyGeObject>(std::move(object)); }
    // Appends with a sort key; returns the new index (-1 for null).
    int Append(std::unique_ptr<KyGeObject> object, double key = 0.0);
    // Appends a deep copy of object.
    int AppendClone(const KyGeObject& object, double key = 0.0);
    // Inserts before index (at the end when index >= length); false for null.
    bool Insert(int index, std::unique_ptr<KyGeObject> object, double key = 0.0);

    int GetLength() const { return static_cast<int>(m_items.size()); }
    int size() const { return GetLength(); }
    bool IsEmpty() const { return m_items.empty(); }
    // The object at index, null when out of range; the list keeps it.
    KyGeObject* GetAt(int index) const;
    KyGeObject* operator[](int index) const { return GetAt(index); }
    double GetKey(int index) const;
    void SetKey(int index, double key);

    // Deletes the object at index; false when out of range.
    bool Del(int index);
    // Hands the object at index out of the list (null when out of range).
    std::unique_ptr<KyGeObject> TakeOff(int index);
    // Deletes everything.
    void Reset() { m_items.clear(); }
    // Moves all of other's entries to the end of this list.
    void Splice(KyGeObjList& other);

    // Stable sort by key: ascending when true, descending otherwise; equal keys keep their order.
    void Sort(bool ascending = true);
    // Stable sort by a comparison of objects ("less than").
    void Sort(const std::function<bool(const KyGeObject&, const KyGeObject&)>& less);

private:
    struct Item {
        std::unique_ptr<KyGeObject> object;
        double key;
    };
    std::vector<Item> m_items;
};

// A growable array of points with the suite's reading and editing calls.
class KyGePointArray {
public:
    KyGePointArray() = default;
    int GetLength() const { return static_cast<int>(m_pts.size()); }
    int size() const { return GetLength(); }
    bool IsEmpty() const { return m_pts.empty(); }
    // Returns the new index.
    int Append(const KyGePoint& p);
    KyGePointArray& operator<<(const KyGePoint& p) { Append(p); return *this; }
    bool Insert(int index, const KyGePoint& p);
    bool Del(int index);
    void Reset() { m_pts.clear(); }
    // The point at index (the origin when out of range).
    KyGePoint GetAt(int index) const;
    bool SetAt(int index, const KyGePoint& p);
    // Unchecked access; index must be in range.
    KyGePoint& operator[](int index) { return m_pts[static_cast<size_t>(index)]; }
    const KyGePoint& operator[](int index) const { return m_pts[static_cast<size_t>(index)]; }
    const KyGePoint& Last() const { return m_pts.back(); }
    const std::vector<KyGePoint>& Points() const { return m_pts; }

private:
    std::vector<KyGePoint> m_pts;
};

// The list form of the suite; the same calls as the array.
class KyGePointList : public KyGePointArray {};
