// AcArray: the platform's growable array as ObjectARX code uses it (append, length, at,
// removeAt, find, ...), a thin layer over std::vector; and the id and pointer arrays.
#pragma once

#include <algorithm>
#include <cassert>
#include <vector>

template <class T>
class AcArray {
public:
    AcArray() = default;
    explicit AcArray(int reserve) { m_items.reserve(reserve > 0 ? static_cast<size_t>(reserve) : 0); }
    AcArray(std::initializer_list<T> items) : m_items(items) {}

    int length() const { return static_cast<int>(m_items.size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return m_items.empty(); }
    bool empty() const { return m_items.empty(); }
    size_t size() const { return m_items.size(); }

    // Returns the index of the new element.
    int append(const T& value) { m_items.push_back(value); return length() - 1; }
    AcArray& append(const AcArray& other) {
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return *this;
    }
    AcArray& insertAt(int index, const T& value) {
        assert(index >= 0 && index <= length() && "AcArray::insertAt: index out of range");
        m_items.insert(m_items.begin() + index, value);
        return *this;
    }
    AcArray& removeAt(int index) {
        assert(index >= 0 && index < length() && "AcArray::removeAt: index out of range");
        m_items.erase(m_items.begin() + index);
        return *this;
    }
    bool remove(const T& value) {
        auto it = std::find(m_items.begin(), m_items.end(), value);
        if (it == m_items.end()) return false;
        m_items.erase(it);
        return true;
    }
    AcArray& removeLast() { m_items.pop_back(); return *this; }
    AcArray& removeAll() { m_items.clear(); return *this; }
    AcArray& setLogicalLength(int n) { m_items.resize(n > 0 ? static_cast<size_t>(n) : 0); return *this; }
    bool contains(const T& value) const { return find(value) >= 0; }
    bool find(const T& value, int& index) const {
        index = find(value);
        return index >= 0;
    }
    int find(const T& value) const {
        auto it = std::find(m_items.begin(), m_items.end(), value);
        return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
    }
    const T& at(int index) const {
        assert(index >= 0 && index < length() && "AcArray::at: index out of range");
        return m_items[static_cast<size_t>(index)];
    }
    T& at(int index) {
        assert(index >= 0 && index < length() && "AcArray::at: index out of range");
        return m_items[static_cast<size_t>(index)];
    }
    const T& operator[](int index) const { return at(index); }
    T& operator[](int index) { return at(index); }
    const T& first() const { return at(0); }
    const T& last() const { return at(length() - 1); }
    AcArray& setAt(int index, const T& value) { at(index) = value; return *this; }
    AcArray& reverse() { std::reverse(m_items.begin(), m_items.end()); return *this; }

    const T* asArrayPtr() const { return m_items.data(); }
    T* asArrayPtr() { return m_items.data(); }
    typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_items.end(); }
    typename std::vector<T>::iterator begin() { return m_items.begin(); }
    typename std::vector<T>::iterator end() { return m_items.end(); }
    const std::vector<T>& asVector() const { return m_items; }
    std::vector<T>& asVector() { return m_items; }

    bool operator==(const AcArray& o) const { return m_items == o.m_items; }
    bool operator!=(const AcArray& o) const { return m_items != o.m_items; }

private:
    std::vector<T> m_items;
};

class AcDbObjectId;
using AcDbVoidPtrArray = AcArray<void*>;
using AcGeDoubleArray = AcArray<double>;
