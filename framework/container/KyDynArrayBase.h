// The cursor interface shared by every dynamic container of the framework: a length, a cursor
// (index -1 stands before the first element) and three primitives the rest is built from.
#pragma once

#include <algorithm>
#include <vector>

// Sentinel index answered when an operation is refused (bad index).
constexpr int KY_INVALID_INDEX = -1;

template <typename T>
class KyDynArrayBase {
 public:
  virtual ~KyDynArrayBase() = default;

  virtual int GetLength() const = 0;
  int GetCurIndex() const { return m_nCur; }
  bool IsEmpty() const { return GetLength() == 0; }

  // Puts the cursor on element index; -1 puts it before the first. False (cursor unchanged)
  // for any other index.
  virtual bool MoveTo(int index) = 0;
  // Inserts value right after the cursor (at the front when the cursor is -1) and moves the
  // cursor onto it; answers the new element's index.
  virtual int InsertCur(const T& value) = 0;
  // Removes the element under the cursor; the cursor then stands on the element before it
  // (-1 when the first was removed), so InsertCur puts a replacement back in the same place.
  // False when the cursor is -1.
  virtual bool DelCur() = 0;
  virtual void Reset() = 0;

  // Element access by index; false / null when index is out of range.
  virtual const T* GetPtrAt(int index) const = 0;
  T* GetPtrAt(int index) {
    return const_cast<T*>(static_cast<const KyDynArrayBase*>(this)->GetPtrAt(index));
  }
  bool GetAt(int index, T& value) const {
    const T* p = GetPtrAt(index);
    if (!p) return false;
    value = *p;
    return true;
  }
  bool SetAt(int index, const T& value) {
    T* p = GetPtrAt(index);
    if (!p) return false;
    *p = value;
    return true;
  }
  T* GetCur() { return GetPtrAt(m_nCur); }

  // Moves to the end and inserts: the new element's index.
  int Append(const T& value) {
    MoveTo(GetLength() - 1);
    return InsertCur(value);
  }
  // Inserts so that value gets index (0 <= index <= length); KY_INVALID_INDEX otherwise.
  int Insert(int index, const T& value) {
    if (index < 0 || index > GetLength()) return KY_INVALID_INDEX;
    MoveTo(index - 1);
    return InsertCur(value);
  }
  // Removes element index; false when out of range.
  bool Del(int index) {
    if (!MoveTo(index) || index < 0) return false;
    return DelCur();
  }
  // Index of the first element equal to value, or KY_INVALID_INDEX.
  int Find(const T& value) const {
    for (int i = 0; i < GetLength(); ++i)
      if (*GetPtrAt(i) == value) return i;
    return KY_INVALID_INDEX;
  }

  // Stable sort: equal elements keep their order in either direction. The cursor returns to -1.
  void Sort(bool ascending = true) {
    std::vector<T> items;
    items.reserve(static_cast<size_t>(GetLength()));
    for (int i = 0; i < GetLength(); ++i) items.push_back(*GetPtrAt(i));
    if (ascending)
      std::stable_sort(items.begin(), items.end(), [](const T& a, const T& b) { return a < b; });
    else
      std::stable_sort(items.begin(), items.end(), [](const T& a, const T& b) { return b < a; });
    for (int i = 0; i < GetLength(); ++i) *GetPtrAt(i) = items[static_cast<size_t>(i)];
    MoveTo(-1);
  }

 protected:
  int m_nCur = -1;
};
