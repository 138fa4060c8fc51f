// CString and CStringArray over the standard containers, and the text-to-number conversions.
#include "host/mfc/cstring.h"

#include <cassert>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <algorithm>

namespace {

// Wide printf on this platform reads %s and %c as narrow; the module's formats mean wide text,
// as on the platform it was written for. Rewrites the conversions: %s → %ls, %c → %lc, and the
// explicit narrow %S, %C → %s, %c. Conversions that carry their own length modifier stay.
std::wstring PortableFormat(const wchar_t* format) {
  std::wstring out;
  for (const wchar_t* p = format; *p; ++p) {
    out += *p;
    if (*p != L'%') continue;
    ++p;
    if (*p == L'%') { out += *p; continue; }
    // Flags, width, precision.
    while (*p && std::wcschr(L"-+ #0123456789.*", *p)) out += *p++;
    bool modified = false;
    while (*p && std::wcschr(L"hlLqjzt", *p)) { out += *p++; modified = true; }
    if (!*p) break;
    if (!modified && (*p == L's' || *p == L'c')) {
      out += L'l';
      out += *p;
    } else if (!modified && (*p == L'S' || *p == L'C')) {
      out += static_cast<wchar_t>(std::towlower(*p));
    } else {
      out += *p;
    }
  }
  return out;
}

void Clamp(int& first, int& count, int length) {
  if (first < 0) first = 0;
  if (first > length) first = length;
  if (count < 0) count = 0;
  if (count > length - first) count = length - first;
}

bool Contains(const wchar_t* chars, wchar_t ch) { return chars && ch && std::wcschr(chars, ch); }

}  // namespace

CString::CString(const wchar_t* text, int length) {
  if (text && length > 0) m_str.assign(text, static_cast<size_t>(length));
}

void CString::FormatV(bool append, const wchar_t* format, void* args) {
  if (!format) { if (!append) m_str.clear(); return; }
  const std::wstring fmt = PortableFormat(format);
  std::vector<wchar_t> buffer(256);
  // vswprintf reports a short buffer and a bad conversion alike; give up past 1M characters.
  for (;;) {
    va_list copy;
    va_copy(copy, *static_cast<va_list*>(args));
    const int n = std::vswprintf(buffer.data(), buffer.size(), fmt.c_str(), copy);
    va_end(copy);
    if (n >= 0) {
      if (append) m_str.append(buffer.data(), static_cast<size_t>(n));
      else m_str.assign(buffer.data(), static_cast<size_t>(n));
      return;
    }
    if (buffer.size() >= (1u << 20)) {
      if (!append) m_str.clear();
      return;
    }
    buffer.resize(buffer.size() * 4);
  }
}

void CString::Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(false, format, &args);
  va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(true, format, &args);
  va_end(args);
}

wchar_t CString::GetAt(int index) const {
  assert(index >= 0 && index < GetLength() && "CString index out of range");
  return m_str[static_cast<size_t>(index)];
}

void CString::SetAt(int index, wchar_t ch) {
  assert(index >= 0 && index < GetLength() && "CString index out of range");
  m_str[static_cast<size_t>(index)] = ch;
}

int CString::Compare(const wchar_t* other) const {
  const int c = m_str.compare(other ? other : L"");
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* other) const {
  const wchar_t* a = m_str.c_str();
  const wchar_t* b = other ? other : L"";
  for (;; ++a, ++b) {
    const auto ca = static_cast<wint_t>(std::towlower(static_cast<wint_t>(*a)));
    const auto cb = static_cast<wint_t>(std::towlower(static_cast<wint_t>(*b)));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!*a) return 0;
  }
}

int CString::Find(wchar_t ch, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  const size_t at = m_str.find(ch, static_cast<size_t>(start));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const {
  if (!sub) return -1;
  if (start < 0) start = 0;
  if (start > GetLength()) return -1;
  const size_t at = m_str.find(sub, static_cast<size_t>(start));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
  const size_t at = m_str.rfind(ch);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const wchar_t* chars) const {
  if (!chars) return -1;
  const size_t at = m_str.find_first_of(chars);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  Clamp(first, count, GetLength());
  return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::TrimLeft() { return TrimLeft(L" \t\r\n\v\f"); }
CString& CString::TrimRight() { return TrimRight(L" \t\r\n\v\f"); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::TrimLeft(wchar_t ch) { const wchar_t set[2] = {ch, 0}; return TrimLeft(set); }
CString& CString::TrimRight(wchar_t ch) { const wchar_t set[2] = {ch, 0}; return TrimRight(set); }
CString& CString::Trim(const wchar_t* chars) { return TrimRight(chars).TrimLeft(chars); }

CString& CString::TrimLeft(const wchar_t* chars) {
  size_t n = 0;
  while (n < m_str.size() && Contains(chars, m_str[n])) ++n;
  m_str.erase(0, n);
  return *this;
}

CString& CString::TrimRight(const wchar_t* chars) {
  size_t n = m_str.size();
  while (n > 0 && Contains(chars, m_str[n - 1])) --n;
  m_str.erase(n);
  return *this;
}

CString& CString::MakeUpper() {
  for (auto& c : m_str) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::MakeLower() {
  for (auto& c : m_str) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_str.begin(), m_str.end());
  return *this;
}

int CString::Replace(wchar_t from, wchar_t to) {
  int n = 0;
  for (auto& c : m_str)
    if (c == from) { c = to; ++n; }
  return n;
}

int CString::Replace(const wchar_t* from, const wchar_t* to) {
  if (!from || !*from) return 0;
  const std::wstring f(from), t(to ? to : L"");
  int n = 0;
  for (size_t at = m_str.find(f); at != std::wstring::npos; at = m_str.find(f, at + t.size())) {
    m_str.replace(at, f.size(), t);
    ++n;
  }
  return n;
}

int CString::Remove(wchar_t ch) {
  const size_t before = m_str.size();
  m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
  return static_cast<int>(before - m_str.size());
}

int CString::Insert(int index, wchar_t ch) {
  const wchar_t text[2] = {ch, 0};
  return Insert(index, text);
}

int CString::Insert(int index, const wchar_t* text) {
  index = std::clamp(index, 0, GetLength());
  if (text) m_str.insert(static_cast<size_t>(index), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  Clamp(index, count, GetLength());
  m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return GetLength();
}

wchar_t* CString::GetBuffer(int minLength) {
  const size_t keep = m_str.size();
  m_buffer = std::max(keep, static_cast<size_t>(std::max(minLength, 0)));
  m_str.resize(m_buffer);
  // The terminator after the current text lets ReleaseBuffer(-1) find the end again.
  if (keep < m_buffer) m_str[keep] = L'\0';
  return &m_str[0];
}

wchar_t* CString::GetBufferSetLength(int length) {
  m_buffer = static_cast<size_t>(std::max(length, 0));
  m_str.resize(m_buffer);
  return &m_str[0];
}

void CString::ReleaseBuffer(int newLength) {
  size_t length = m_str.size();
  if (newLength < 0) {
    const size_t end = m_str.find(L'\0');
    if (end != std::wstring::npos) length = end;
  } else {
    length = std::min(length, static_cast<size_t>(newLength));
  }
  m_str.resize(length);
  m_buffer = 0;
}

const CString& CStringArray::GetAt(int index) const {
  assert(index >= 0 && index < GetSize() && "CStringArray index out of range");
  return m_items[static_cast<size_t>(index)];
}

CString& CStringArray::ElementAt(int index) {
  assert(index >= 0 && index < GetSize() && "CStringArray index out of range");
  return m_items[static_cast<size_t>(index)];
}

void CStringArray::InsertAt(int index, const CString& value, int count) {
  if (count <= 0) return;
  // Inserting past the end grows the array, as the original does.
  if (index > GetSize()) SetSize(index);
  index = std::max(index, 0);
  m_items.insert(m_items.begin() + index, static_cast<size_t>(count), value);
}

void CStringArray::RemoveAt(int index, int count) {
  assert(index >= 0 && count >= 0 && index + count <= GetSize() && "CStringArray removal out of range");
  m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
}

void CStringArray::SetSize(int size) { m_items.resize(static_cast<size_t>(std::max(size, 0))); }

int CStringArray::Append(const CStringArray& other) {
  const int first = GetSize();
  m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
  return first;
}

double _wtof(const wchar_t* text) {
  if (!text) return 0.0;
  errno = 0;
  wchar_t* end = nullptr;
  const double value = std::wcstod(text, &end);
  if (end == text || !std::isfinite(value) || (errno == ERANGE && std::fabs(value) > 1.0)) return 0.0;
  return value;
}

long _wtol(const wchar_t* text) {
  if (!text) return 0;
  errno = 0;
  wchar_t* end = nullptr;
  const long value = std::wcstol(text, &end, 10);
  if (end == text || errno == ERANGE) return 0;
  return value;
}

int _wtoi(const wchar_t* text) {
  const long value = _wtol(text);
  return (value < INT_MIN || value > INT_MAX) ? 0 : static_cast<int>(value);
}
