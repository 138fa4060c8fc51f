// Message boxes and the file dialog, headless: a message box prints its caption and text on the
// transcript and answers its default button; a file dialog takes the next input line as the path.
#pragma once

#include "host/mfc/cstring.h"
#include "host/mfc/cwnd.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);

namespace vorn::mfc {
// The answer of a message box of that type: its default button (MB_DEFBUTTON2 picks the second).
int DefaultMessageBoxAnswer(UINT type);
}

class CFileDialog {
 public:
  CFileDialog(BOOL openFileDialog, LPCWSTR defaultExt = nullptr, LPCWSTR fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR filter = nullptr,
              CWnd* parent = nullptr);
  virtual ~CFileDialog() = default;

  // Prompts for a path and reads one line: IDOK with the path, IDCANCEL on Esc, end of input or
  // an empty line. A path without an extension gets the default extension.
  virtual INT_PTR DoModal();
  CString GetPathName() const { return m_path; }
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  CString GetFolderPath() const;

  BOOL m_bOpenFileDialog;
  CString m_defaultExt;
  CString m_fileName;
  DWORD m_flags;
  CString m_filter;

 private:
  CString m_path;
};
