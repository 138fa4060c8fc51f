// Headless message boxes and file dialogs over the host's transcript and input line.
#include "host/mfc/msgbox.h"

#include <algorithm>

#include "host/base/hostio.h"

namespace vorn::mfc {

int DefaultMessageBoxAnswer(UINT type) {
  const UINT buttons = type & 0x0f;
  const int which = static_cast<int>((type >> 8) & 0x0f);  // 0, 1, 2: MB_DEFBUTTON1..3
  auto pick = [which](std::initializer_list<int> answers) {
    const int n = static_cast<int>(answers.size());
    return *(answers.begin() + (which < n ? which : 0));
  };
  switch (buttons) {
    case MB_OKCANCEL: return pick({IDOK, IDCANCEL});
    case MB_ABORTRETRYIGNORE: return pick({IDABORT, IDRETRY, IDIGNORE});
    case MB_YESNOCANCEL: return pick({IDYES, IDNO, IDCANCEL});
    case MB_YESNO: return pick({IDYES, IDNO});
    case MB_RETRYCANCEL: return pick({IDRETRY, IDCANCEL});
    default: return IDOK;
  }
}

}  // namespace vorn::mfc

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
  if (const auto& native = vorn::NativeDialogs().messageBox) {
    const int answer = native(text ? text : L"", caption ? caption : L"", type);
    if (answer >= 0) return answer;
  }
  std::wstring line = L"\n";
  if (caption && *caption) line += std::wstring(L"[") + caption + L"] ";
  line += text ? text : L"";
  vorn::HostPrint(line);
  return vorn::mfc::DefaultMessageBoxAnswer(type);
}

int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) { return MessageBoxW(owner, text, caption, type); }

int AfxMessageBox(LPCWSTR text, UINT type, UINT) { return MessageBoxW(nullptr, text, L"vorncad", type); }

CFileDialog::CFileDialog(BOOL openFileDialog, LPCWSTR defaultExt, LPCWSTR fileName, DWORD flags, LPCWSTR filter,
                         CWnd*)
    : m_bOpenFileDialog(openFileDialog), m_defaultExt(defaultExt), m_fileName(fileName), m_flags(flags),
      m_filter(filter) {}

INT_PTR CFileDialog::DoModal() {
  if (const auto& native = vorn::NativeDialogs().fileDialog) {
    std::wstring chosen;
    const int answer = native(m_bOpenFileDialog != FALSE, m_filter.str(), m_fileName.str(), chosen);
    if (answer == 0) return IDCANCEL;
    if (answer > 0) {
      m_path = CString(chosen.c_str());
      if (GetFileExt().IsEmpty() && !m_defaultExt.IsEmpty()) {
        CString ext = m_defaultExt;
        ext.TrimLeft(L'.');
        m_path += L"." + ext;
      }
      return IDOK;
    }
  }
  // The filter's first description ("Drawings (*.dwg)") tells the user what is expected.
  CString kind = m_filter;
  const int bar = kind.Find(L'|');
  if (bar >= 0) kind = kind.Left(bar);
  std::wstring prompt = m_bOpenFileDialog ? L"\nFile to open" : L"\nFile to save";
  if (!kind.IsEmpty()) prompt += L" (" + kind.str() + L")";
  if (!m_fileName.IsEmpty()) prompt += L" <" + m_fileName.str() + L">";
  prompt += L": ";
  std::wstring line;
  if (!vorn::HostReadLine(prompt, line)) return IDCANCEL;
  CString path(line);
  path.Trim();
  if (path.GetLength() >= 2 && path[0] == L'"' && path[path.GetLength() - 1] == L'"')
    path = path.Mid(1, path.GetLength() - 2);
  if (path.IsEmpty()) path = m_fileName;
  if (path.IsEmpty() || path.CompareNoCase(L"ESC") == 0 || path == L"^C") return IDCANCEL;
  m_path = path;
  if (GetFileExt().IsEmpty() && !m_defaultExt.IsEmpty()) {
    CString ext = m_defaultExt;
    ext.TrimLeft(L'.');
    m_path += L"." + ext;
  }
  return IDOK;
}

CString CFileDialog::GetFileName() const {
  const int slash = std::max(m_path.ReverseFind(L'/'), m_path.ReverseFind(L'\\'));
  return m_path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind(L'.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind(L'.');
  return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const {
  const int slash = std::max(m_path.ReverseFind(L'/'), m_path.ReverseFind(L'\\'));
  return slash < 0 ? CString() : m_path.Left(slash);
}
