// The settings store g_dictHistoryData: named values in dictionaries keyed by a path such as
// "ZEMRA\DESIGN\GENERALDRAWING\ROADSLOPE", kept in one JSON file between runs.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <variant>

class KyHistoryData;

// One dictionary: int, double or text values by name. Every SetValue writes the whole store to
// its file at once, so a value set in one run is there in the next even if the run crashes.
class KyHistoryDict {
 public:
  // False when name is absent or holds a value of another kind. An int value also reads as a
  // double (the file cannot tell 1500 from 1500.0); a double never reads as an int.
  bool GetValue(const std::wstring& name, int& value) const;
  bool GetValue(const std::wstring& name, double& value) const;
  bool GetValue(const std::wstring& name, std::wstring& value) const;
  // False when the value is refused (non-finite double) or the file could not be written; the
  // value is kept in memory in the second case.
  bool SetValue(const std::wstring& name, int value);
  bool SetValue(const std::wstring& name, double value);
  bool SetValue(const std::wstring& name, const std::wstring& value);
  bool HasValue(const std::wstring& name) const;

 private:
  friend class KyHistoryData;
  using Value = std::variant<int, double, std::wstring>;
  explicit KyHistoryDict(KyHistoryData* owner);
  bool Store(const std::wstring& name, const Value& value);

  KyHistoryData* m_pOwner;
  std::map<std::wstring, Value> m_values;
};

class KyHistoryData {
 public:
  KyHistoryData();
  ~KyHistoryData();
  KyHistoryData(const KyHistoryData&) = delete;
  KyHistoryData& operator=(const KyHistoryData&) = delete;

  // $XDG_CONFIG_HOME/vorncad/settings.json, or ~/.config/vorncad/settings.json.
  static std::string DefaultFileName();

  // Where the store lives; the next use loads from there. The program sets it from --settings.
  void SetFileName(const std::string& path);
  const std::string& GetFileName() const { return m_path; }
  // Drops what is in memory and reads path. A missing file gives an empty store silently; an
  // unreadable or corrupt one gives an empty store, is renamed to path + ".bad" and one warning
  // is printed. False in that second case.
  bool Load(const std::string& path);
  // Writes every dictionary to a temporary file beside the store and renames it over the store,
  // so a failed write leaves the previous file whole. False (with a warning) on failure.
  bool Save();

  // The dictionary of path, created empty when missing. Loads the file on first use.
  KyHistoryDict& FindOrAddDict(const std::wstring& path);

 private:
  void EnsureLoaded();

  std::string m_path;
  bool m_bLoaded = false;
  std::map<std::wstring, std::unique_ptr<KyHistoryDict>> m_dicts;
};

extern KyHistoryData g_dictHistoryData;
