// CString and CStringArray: the platform's wide string and string array, as thin wrappers over
// std::wstring and std::vector, with the conversions _wtof and _wtoi.
#pragma once

#include <string>
#include <vector>

#include "host/mfc/afxtypes.h"

class CString {
 public:
  CString() = default;
  CString(const wchar_t* text) : m_str(text ? text : L"") {}  // NOLINT: implicit like the original
  CString(const std::wstring& text) : m_str(text) {}          // NOLINT
  CString(wchar_t ch, int repeat = 1) : m_str(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch) {}
  CString(const wchar_t* text, int length);

  // printf-style formatting into the string; %s and %c take wide arguments, %S narrow ones.
  void Format(const wchar_t* format, ...);
  void AppendFormat(const wchar_t* format, ...);

  int GetLength() const { return static_cast<int>(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  wchar_t GetAt(int index) const;
  void SetAt(int index, wchar_t ch);
  wchar_t operator[](int index) const { return GetAt(index); }

  // Ordinal comparison: < 0, 0 or > 0. CompareNoCase folds letters with towlower.
  int Compare(const wchar_t* other) const;
  int CompareNoCase(const wchar_t* other) const;

  // -1 when not found. start beyond the end finds nothing.
  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* sub, int start = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* chars) const;

  // Out-of-range counts and starts are clamped, never undefined.
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;

  CString& Trim();
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim(wchar_t ch);
  CString& TrimLeft(wchar_t ch);
  CString& TrimRight(wchar_t ch);
  CString& Trim(const wchar_t* chars);
  CString& TrimLeft(const wchar_t* chars);
  CString& TrimRight(const wchar_t* chars);
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Number of replacements made.
  int Replace(wchar_t from, wchar_t to);
  int Replace(const wchar_t* from, const wchar_t* to);
  int Remove(wchar_t ch);
  int Insert(int index, wchar_t ch);
  int Insert(int index, const wchar_t* text);
  int Delete(int index, int count = 1);

  // A writable buffer of at least minLength characters (plus the terminator); ReleaseBuffer
  // ends the string at newLength, or at the first null character when newLength is -1.
  wchar_t* GetBuffer(int minLength = 0);
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  const wchar_t* GetString() const { return m_str.c_str(); }
  operator const wchar_t*() const { return m_str.c_str(); }  // NOLINT: as the original
  const std::wstring& str() const { return m_str; }

  CString& operator=(const wchar_t* text) { m_str = text ? text : L""; return *this; }
  CString& operator=(const std::wstring& text) { m_str = text; return *this; }
  CString& operator=(wchar_t ch) { m_str.assign(1, ch); return *this; }
  CString& operator+=(const CString& other) { m_str += other.m_str; return *this; }
  CString& operator+=(const wchar_t* text) { if (text) m_str += text; return *this; }
  CString& operator+=(wchar_t ch) { m_str += ch; return *this; }

  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
  friend CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
  friend CString operator+(const wchar_t* a, const CString& b) { CString r(a); r += b; return r; }
  friend CString operator+(const CString& a, wchar_t b) { CString r(a); r += b; return r; }
  friend CString operator+(wchar_t a, const CString& b) { CString r(a); r += b; return r; }

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
  friend bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
  friend bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

 private:
  void FormatV(bool append, const wchar_t* format, void* args);
  std::wstring m_str;
  // Length reserved by GetBuffer, so ReleaseBuffer can find the terminator within it.
  size_t m_buffer = 0;
};

class CStringArray {
 public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  bool IsEmpty() const { return m_items.empty(); }
  // Index checks are asserts: an index out of range is a programming error.
  const CString& GetAt(int index) const;
  CString& ElementAt(int index);
  void SetAt(int index, const CString& value) { ElementAt(index) = value; }
  const CString& operator[](int index) const { return GetAt(index); }
  CString& operator[](int index) { return ElementAt(index); }
  int Add(const CString& value) { m_items.push_back(value); return GetSize() - 1; }
  void InsertAt(int index, const CString& value, int count = 1);
  void RemoveAt(int index, int count = 1);
  void RemoveAll() { m_items.clear(); }
  void SetSize(int size);
  void Copy(const CStringArray& other) { m_items = other.m_items; }
  int Append(const CStringArray& other);

 private:
  std::vector<CString> m_items;
};

// Leading-number conversions: leading blanks skipped, parsing stops at the first character that
// does not fit, no number gives 0. A value out of range or not finite gives 0 as well, so no
// infinity ever comes out of a text field.
double _wtof(const wchar_t* text);
int _wtoi(const wchar_t* text);
long _wtol(const wchar_t* text);
