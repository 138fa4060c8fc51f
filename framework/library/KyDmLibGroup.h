// Symbol library groups (".dmls" files): a group of libraries, each an ordered tree of
// categories, directories and items. The file is XML:
//
//   <libgroup name="...">
//     <library name="..." folder="SysLib">       folder: symbol folder, relative to the file
//       <category name="...">                     categories and directories nest up to 256 deep
//         <directory name="...">
//           <item name="..." file="a/b.dxf"/>     file: relative to the symbol folder
//
// Libraries, categories, directories and items may give their name in other languages beside
// it, name_en="..." (GetShownName).
// An item whose file is empty, absolute, or leaves the symbol folder through ".." is skipped,
// and so is a library whose folder does so, and what lies deeper than 256 levels; the reasons
// are kept (GetSkipped).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/library/KyDtLibItem.h"

class KyDmLibGroup {
 public:
  KyDmLibGroup();
  virtual ~KyDmLibGroup();
  KyDmLibGroup(const KyDmLibGroup&) = delete;
  KyDmLibGroup& operator=(const KyDmLibGroup&) = delete;

  // Backslashes count as '/'.
  void SetFileName(const std::wstring& file);
  const std::wstring& GetFileName() const { return m_strFile; }

  // Reads the group file and the list of its libraries (without their trees). False when the
  // file cannot be read or is not a library group; GetError then says why.
  bool ReadFromXML();
  // Builds every library's tree from the file read by ReadFromXML. False when nothing was read.
  bool ReadLibFromXML();

  const std::wstring& GetGroupName() const { return m_strGroupName; }
  int GetLibraryCount() const { return static_cast<int>(m_libraries.size()); }
  KyDtLibrary* GetLibrary(int index) const;
  void ClearLibraries() { m_libraries.clear(); }

  const std::wstring& GetError() const { return m_strError; }
  const std::vector<std::wstring>& GetSkipped() const { return m_skipped; }

 private:
  struct Document;
  std::wstring m_strFile;
  std::wstring m_strGroupName;
  std::wstring m_strError;
  std::vector<std::wstring> m_skipped;
  std::vector<std::unique_ptr<KyDtLibrary>> m_libraries;
  std::unique_ptr<Document> m_pDoc;
};

// A group whose items are drawings.
class KyDtDwgLibGroup : public KyDmLibGroup {};

// Whether a data file may be used: relative, non-empty and never above its folder.
bool KyIsContainedPath(const std::wstring& relative);
