// The settings store's file: a JSON object whose members are the dictionary paths (UTF-8),
// each an object of values: integers, numbers with a fraction, or strings.
#include "framework/store/KyHistoryData.h"

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include "host/base/hostio.h"
#include "host/base/textcodec.h"

KyHistoryData g_dictHistoryData;

namespace fs = std::filesystem;
using nlohmann::json;

// ---- dictionary ---------------------------------------------------------------------------

KyHistoryDict::KyHistoryDict(KyHistoryData* owner) : m_pOwner(owner) {}

bool KyHistoryDict::HasValue(const std::wstring& name) const { return m_values.count(name) != 0; }

bool KyHistoryDict::GetValue(const std::wstring& name, int& value) const {
  auto it = m_values.find(name);
  if (it == m_values.end() || !std::holds_alternative<int>(it->second)) return false;
  value = std::get<int>(it->second);
  return true;
}

bool KyHistoryDict::GetValue(const std::wstring& name, double& value) const {
  auto it = m_values.find(name);
  if (it == m_values.end()) return false;
  if (const double* d = std::get_if<double>(&it->second)) {
    value = *d;
    return true;
  }
  if (const int* i = std::get_if<int>(&it->second)) {
    value = *i;
    return true;
  }
  return false;
}

bool KyHistoryDict::GetValue(const std::wstring& name, std::wstring& value) const {
  auto it = m_values.find(name);
  if (it == m_values.end() || !std::holds_alternative<std::wstring>(it->second)) return false;
  value = std::get<std::wstring>(it->second);
  return true;
}

bool KyHistoryDict::SetValue(const std::wstring& name, int value) { return Store(name, value); }

bool KyHistoryDict::SetValue(const std::wstring& name, double value) {
  if (!std::isfinite(value)) return false;
  return Store(name, value);
}

bool KyHistoryDict::SetValue(const std::wstring& name, const std::wstring& value) {
  return Store(name, value);
}

bool KyHistoryDict::Store(const std::wstring& name, const Value& value) {
  m_values[name] = value;
  return m_pOwner->Save();
}

// ---- store --------------------------------------------------------------------------------

KyHistoryData::KyHistoryData() = default;
KyHistoryData::~KyHistoryData() = default;

std::string KyHistoryData::DefaultFileName() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.config";
  }
  return base + "/vorncad/settings.json";
}

void KyHistoryData::SetFileName(const std::string& path) {
  m_path = path;
  m_bLoaded = false;
  m_dicts.clear();
}

void KyHistoryData::EnsureLoaded() {
  if (m_bLoaded) return;
  if (m_path.empty()) m_path = DefaultFileName();
  Load(m_path);
}

namespace {

// Reads one dictionary object; false when a member is of a kind the store never writes.
bool ReadDict(const json& object, std::map<std::wstring, std::variant<int, double, std::wstring>>& out) {
  if (!object.is_object()) return false;
  for (auto it = object.begin(); it != object.end(); ++it) {
    const json& v = it.value();
    std::wstring name = vorn::FromUtf8(it.key());
    if (v.is_number_integer()) {
      long long n = v.get<long long>();
      if (n < INT32_MIN || n > INT32_MAX) return false;
      out[name] = static_cast<int>(n);
    } else if (v.is_number_float()) {
      double d = v.get<double>();
      if (!std::isfinite(d)) return false;
      out[name] = d;
    } else if (v.is_string()) {
      out[name] = vorn::FromUtf8(v.get<std::string>());
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

bool KyHistoryData::Load(const std::string& path) {
  m_path = path;
  m_bLoaded = true;
  m_dicts.clear();
  std::error_code ec;
  if (!fs::exists(path, ec)) return true;

  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string reason;
  json root;
  if (!in) {
    reason = "it cannot be read";
  } else {
    root = json::parse(text.str(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) reason = "it is not a JSON object of dictionaries";
  }
  if (reason.empty()) {
    for (auto it = root.begin(); it != root.end(); ++it) {
      auto dict = std::unique_ptr<KyHistoryDict>(new KyHistoryDict(this));
      if (!ReadDict(it.value(), dict->m_values)) {
        reason = "dictionary \"" + it.key() + "\" holds a value that is not an integer, number or text";
        break;
      }
      m_dicts[vorn::FromUtf8(it.key())] = std::move(dict);
    }
  }
  if (reason.empty()) return true;

  m_dicts.clear();
  std::string kept = path + ".bad";
  in.close();
  fs::rename(path, kept, ec);
  vorn::HostPrint(vorn::FromUtf8("\nSettings file " + path + " ignored: " + reason +
                                 (ec ? "; it is left in place and will not be overwritten"
                                     : "; kept as " + kept) +
                                 ". Defaults are used.\n"));
  // A file that could not be moved aside must not be overwritten by the next save.
  if (ec) m_path.clear();
  return false;
}

bool KyHistoryData::Save() {
  EnsureLoaded();
  if (m_path.empty()) return false;
  json root = json::object();
  for (const auto& [path, dict] : m_dicts) {
    json object = json::object();
    for (const auto& [name, value] : dict->m_values) {
      std::string key = vorn::ToUtf8(name);
      if (const int* i = std::get_if<int>(&value)) object[key] = *i;
      else if (const double* d = std::get_if<double>(&value)) object[key] = *d;
      else object[key] = vorn::ToUtf8(std::get<std::wstring>(value));
    }
    root[vorn::ToUtf8(path)] = std::move(object);
  }
  std::string text = root.dump(2) + "\n";

  std::error_code ec;
  fs::path target(m_path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  std::string temp = m_path + ".tmp" + std::to_string(getpid());
  bool ok = false;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    ok = static_cast<bool>(out);
  }
  if (ok) {
    fs::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) {
    fs::remove(temp, ec);
    vorn::HostPrint(vorn::FromUtf8("\nSettings could not be saved to " + m_path +
                                   "; the previous file is unchanged.\n"));
  }
  return ok;
}

KyHistoryDict& KyHistoryData::FindOrAddDict(const std::wstring& path) {
  EnsureLoaded();
  auto& slot = m_dicts[path];
  if (!slot) slot.reset(new KyHistoryDict(this));
  return *slot;
}
