// Main directory and support file lookup.
#include "framework/library/KyFindFile.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "host/base/textcodec.h"

namespace fs = std::filesystem;

namespace {

std::wstring g_strMainDirectory;

std::wstring WithSeparator(std::wstring dir) {
  if (!dir.empty() && dir.back() != L'/') dir += L'/';
  return dir;
}

std::wstring DefaultMainDirectory() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  fs::path base = ec ? fs::current_path(ec) : exe.parent_path();
  for (const fs::path& candidate : {base / "support", base / ".." / "share" / "vorncad" / "support"}) {
    if (fs::is_directory(candidate, ec)) return WithSeparator(vorn::FromUtf8(candidate.lexically_normal().string()));
  }
  return WithSeparator(vorn::FromUtf8((base / "support").string()));
}

bool IsFile(const std::wstring& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::path(vorn::ToUtf8(path)), ec);
}

// path itself, or for a ".dwg" name its ".dxf" twin; empty when neither exists.
std::wstring Existing(const std::wstring& path) {
  if (IsFile(path)) return path;
  if (path.size() > 4) {
    std::wstring ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](wchar_t c) { return std::towlower(c); });
    if (ext == L".dwg") {
      std::wstring twin = path.substr(0, path.size() - 4) + L".dxf";
      if (IsFile(twin)) return twin;
    }
  }
  return std::wstring();
}

}  // namespace

std::wstring KyNormalizeSeparators(const std::wstring& name) {
  std::wstring out = name;
  std::replace(out.begin(), out.end(), L'\\', L'/');
  return out;
}

std::wstring GetMainDirectory() {
  if (g_strMainDirectory.empty()) g_strMainDirectory = DefaultMainDirectory();
  return g_strMainDirectory;
}

void SetMainDirectory(const std::wstring& dir) {
  g_strMainDirectory = WithSeparator(KyNormalizeSeparators(dir));
}

std::wstring FindFile(const std::wstring& name, const std::wstring& path) {
  std::wstring file = KyNormalizeSeparators(name);
  if (file.empty()) return std::wstring();
  std::wstring found = Existing(file);
  if (!found.empty() || (file[0] == L'/')) return found;

  std::vector<std::wstring> dirs;
  if (!path.empty()) dirs.push_back(WithSeparator(KyNormalizeSeparators(path)));
  std::wstring main = GetMainDirectory();
  dirs.push_back(main);
  dirs.push_back(main + L"DwgLib/");
  std::vector<std::wstring> libs;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(vorn::ToUtf8(main + L"DwgLib")), ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_directory(ec)) libs.push_back(vorn::FromUtf8(it->path().string()) + L"/");
  }
  std::sort(libs.begin(), libs.end());
  for (const std::wstring& lib : libs) {
    dirs.push_back(lib);
    dirs.push_back(lib + L"SysLib/");
  }
  for (const std::wstring& dir : dirs) {
    found = Existing(dir + file);
    if (!found.empty()) return found;
  }
  return std::wstring();
}
