// The suite's main directory and the lookup of support files in it.
#pragma once

#include <string>

// The main directory, always ending with '/'. Default: the support/ folder installed beside
// the program (or <prefix>/share/vorncad/support/); the program sets it from --support.
std::wstring GetMainDirectory();
// An empty dir goes back to the default; a missing final separator is added.
void SetMainDirectory(const std::wstring& dir);

// Full path of a support file, empty when none is found. Backslashes in name and path count as
// '/'. Looked for in this order, the first existing file winning:
//   1. name itself (absolute, or relative to the working directory);
//   2. path + name, when path is given;
//   3. main directory + name;
//   4. main directory + "DwgLib/" + name;
//   5. for each library folder F under DwgLib (in name order): F/name, then F/SysLib/name.
// At every step a name ending in ".dwg" (any case) also finds the same stem ending in ".dxf"
// when no ".dwg" file is there.
std::wstring FindFile(const std::wstring& name, const std::wstring& path = std::wstring());

// Backslashes turned into '/'.
std::wstring KyNormalizeSeparators(const std::wstring& name);
