// Fixed arrays: KyArray (one row) and Ky2dArray (rows by columns), sized at construction or
// by SetSize, with checked access.
#pragma once

#include <cstddef>
#include <vector>

template <typename T>
class KyArray {
 public:
  KyArray() = default;
  explicit KyArray(int length, const T& fill = T()) { SetSize(length, fill); }

  // Negative lengths are taken as 0. Every element becomes fill.
  void SetSize(int length, const T& fill = T()) {
    m_items.assign(length > 0 ? static_cast<size_t>(length) : 0, fill);
  }
  int GetLength() const { return static_cast<int>(m_items.size()); }
  const T* GetPtrAt(int index) const {
    return index >= 0 && index < GetLength() ? &m_items[static_cast<size_t>(index)] : nullptr;
  }
  T* GetPtrAt(int index) {
    return index >= 0 && index < GetLength() ? &m_items[static_cast<size_t>(index)] : nullptr;
  }
  bool GetAt(int index, T& value) const {
    const T* p = GetPtrAt(index);
    if (p) value = *p;
    return p != nullptr;
  }
  bool SetAt(int index, const T& value) {
    T* p = GetPtrAt(index);
    if (p) *p = value;
    return p != nullptr;
  }

 private:
  std::vector<T> m_items;
};

template <typename T>
class Ky2dArray {
 public:
  Ky2dArray() = default;
  Ky2dArray(int rows, int cols, const T& fill = T()) { SetSize(rows, cols, fill); }

  void SetSize(int rows, int cols, const T& fill = T()) {
    m_nRows = rows > 0 && cols > 0 ? rows : 0;
    m_nCols = rows > 0 && cols > 0 ? cols : 0;
    m_cells.SetSize(m_nRows * m_nCols, fill);
  }
  int GetRows() const { return m_nRows; }
  int GetCols() const { return m_nCols; }
  const T* GetPtrAt(int row, int col) const { return m_cells.GetPtrAt(Cell(row, col)); }
  T* GetPtrAt(int row, int col) { return m_cells.GetPtrAt(Cell(row, col)); }
  bool GetAt(int row, int col, T& value) const { return m_cells.GetAt(Cell(row, col), value); }
  bool SetAt(int row, int col, const T& value) { return m_cells.SetAt(Cell(row, col), value); }

 private:
  int Cell(int row, int col) const {
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols) return -1;
    return row * m_nCols + col;
  }

  KyArray<T> m_cells;
  int m_nRows = 0;
  int m_nCols = 0;
};
