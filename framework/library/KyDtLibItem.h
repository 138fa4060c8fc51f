// Nodes of a symbol library tree: libraries, categories, directories and items, each holding
// its children in file order.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class KyDtLibItemBase {
 public:
  explicit KyDtLibItemBase(std::wstring name) : m_strName(std::move(name)) {}
  virtual ~KyDtLibItemBase() = default;
  KyDtLibItemBase(const KyDtLibItemBase&) = delete;
  KyDtLibItemBase& operator=(const KyDtLibItemBase&) = delete;

  const std::wstring& GetName() const { return m_strName; }
  // The name a user reads: the one the library file gives in the language of the switch
  // (name_en="..." for "en"), else the name. The name stays what the module keeps and writes.
  const std::wstring& GetShownName() const;
  void SetNameIn(const std::wstring& language, std::wstring name);
  // "Library", "Category", "Directory" or "Item". A category groups nodes and is looked into
  // by searches that only enter directories of a given name.
  virtual const wchar_t* GetKindName() const = 0;

  int GetChildCount() const { return static_cast<int>(m_children.size()); }
  // Null when index is out of range.
  KyDtLibItemBase* GetChild(int index) const;
  KyDtLibItemBase* AddChild(std::unique_ptr<KyDtLibItemBase> child);

 private:
  std::wstring m_strName;
  std::map<std::wstring, std::wstring> m_names;  // by language
  std::vector<std::unique_ptr<KyDtLibItemBase>> m_children;
};

class KyDtLibDirectory : public KyDtLibItemBase {
 public:
  using KyDtLibItemBase::KyDtLibItemBase;
  const wchar_t* GetKindName() const override { return L"Directory"; }
};

class KyDtLibCategory : public KyDtLibItemBase {
 public:
  using KyDtLibItemBase::KyDtLibItemBase;
  const wchar_t* GetKindName() const override { return L"Category"; }
};

class KyDtLibItem : public KyDtLibItemBase {
 public:
  KyDtLibItem(std::wstring name, std::wstring dataFile)
      : KyDtLibItemBase(std::move(name)), m_strDataFile(std::move(dataFile)) {}
  const wchar_t* GetKindName() const override { return L"Item"; }
  // The drawing file, relative to the library's symbol folder, with '/' separators.
  const std::wstring& GetDataFile() const { return m_strDataFile; }

 private:
  std::wstring m_strDataFile;
};

class KyDtLibrary : public KyDtLibItemBase {
 public:
  KyDtLibrary(std::wstring name, std::wstring symbolFolder)
      : KyDtLibItemBase(std::move(name)), m_strSymbolFolder(std::move(symbolFolder)) {}
  const wchar_t* GetKindName() const override { return L"Library"; }
  // Full path of the folder the items' data files are relative to, ending with '/'.
  const std::wstring& GetSymbolFolder() const { return m_strSymbolFolder; }

 private:
  std::wstring m_strSymbolFolder;
};
