// Where vorncad finds its plug-in, support data and language dictionaries: in the installed
// layout relative to the program, or, for a program run from its build tree, in the build and
// source trees it was built from.
#pragma once

#include <string>

namespace vorn::app {

struct FileLocations {
    std::string supportDir;  // the suite's main directory (--support overrides it)
    std::string langDir;     // language dictionaries
    std::string moduleDir;   // where VornGeneralDrawing.arx is, and where ARX looks for a bare name
    bool buildTree = false;  // the program runs from the build tree it was built in
};

// An installed program (PREFIX/bin/vorncad) uses PREFIX/lib/vorncad and PREFIX/share/vorncad
// only, wherever PREFIX has been moved; the source tree is used for a build tree's program only.
FileLocations LocateFiles(const std::string& programDir);

// The plug-in vorncad loads at start.
std::string ModuleFile(const FileLocations& where);

// What --version prints: the version, then the support folder, the plug-in and the language
// dictionaries in use, each marked when it is missing.
std::string VersionText(const FileLocations& where, const std::string& supportInUse);

}  // namespace vorn::app
