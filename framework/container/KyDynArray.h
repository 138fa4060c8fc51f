// KyDynArray: the elements in one block, grown to the requested length plus a growth step.
#pragma once

#include <vector>

#include "framework/container/KyDynArrayBase.h"

template <typename T>
class KyDynArray : public KyDynArrayBase<T> {
 public:
  KyDynArray() = default;
  explicit KyDynArray(int allocUnit) { SetAllocUnit(allocUnit); }

  // Growth step in elements; values below 1 are taken as 1.
  void SetAllocUnit(int unit) { m_nAllocUnit = unit < 1 ? 1 : unit; }
  int GetAllocUnit() const { return m_nAllocUnit; }
  int GetAllocLength() const { return static_cast<int>(m_items.capacity()); }

  int GetLength() const override { return static_cast<int>(m_items.size()); }
  bool MoveTo(int index) override {
    if (index < -1 || index >= GetLength()) return false;
    this->m_nCur = index;
    return true;
  }
  int InsertCur(const T& value) override {
    Reserve(GetLength() + 1);
    int at = this->m_nCur + 1;
    m_items.insert(m_items.begin() + at, value);
    this->m_nCur = at;
    return at;
  }
  bool DelCur() override {
    if (this->m_nCur < 0) return false;
    m_items.erase(m_items.begin() + this->m_nCur);
    --this->m_nCur;
    return true;
  }
  void Reset() override {
    m_items.clear();
    this->m_nCur = -1;
  }
  // Empties and gives the block back.
  void Release() {
    Reset();
    std::vector<T>().swap(m_items);
  }
  const T* GetPtrAt(int index) const override {
    if (index < 0 || index >= GetLength()) return nullptr;
    return &m_items[static_cast<size_t>(index)];
  }
  using KyDynArrayBase<T>::GetPtrAt;

 private:
  void Reserve(int length) {
    if (length <= GetAllocLength()) return;
    m_items.reserve(static_cast<size_t>(length) + static_cast<size_t>(m_nAllocUnit));
  }

  std::vector<T> m_items;
  int m_nAllocUnit = 16;
};
