// Locating vorncad's installed files relative to the program.
#include "app/filelocations.h"

#include <filesystem>
#include <system_error>

namespace vorn::app {
namespace {

namespace fs = std::filesystem;

// A path as it is shown and handed on: without "." and ".." steps, symbolic links kept.
std::string Tidy(const fs::path& p) {
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool IsBuildTree(const std::string& programDir) {
    std::error_code ec;
    return fs::equivalent(fs::path(programDir), fs::path(VORN_BUILD_PROGRAM_DIR), ec) && !ec;
}

std::string Described(const std::string& path, bool directory) {
    std::error_code ec;
    const bool there = directory ? fs::is_directory(path, ec) : fs::is_regular_file(path, ec);
    return there ? path : path + " (missing)";
}

}  // namespace

FileLocations LocateFiles(const std::string& programDir) {
    FileLocations where;
    const fs::path program(programDir);
    where.buildTree = IsBuildTree(programDir);
    if (where.buildTree) {
        // The plug-in is built beside the program; the data stays in the source tree.
        where.moduleDir = Tidy(program);
        where.supportDir = Tidy(VORN_SOURCE_SUPPORT_DIR);
        where.langDir = Tidy(VORN_SOURCE_LANG_DIR);
    } else {
        where.moduleDir = Tidy(program / VORN_PLUGIN_DIR_FROM_PROGRAM);
        where.supportDir = Tidy(program / VORN_DATA_DIR_FROM_PROGRAM / "support");
        where.langDir = Tidy(program / VORN_DATA_DIR_FROM_PROGRAM / "lang");
    }
    return where;
}

std::string ModuleFile(const FileLocations& where) {
    return Tidy(fs::path(where.moduleDir) / "VornGeneralDrawing.arx");
}

std::string VersionText(const FileLocations& where, const std::string& supportInUse) {
    return std::string("vorncad ") + VORN_VERSION +
           (where.buildTree ? " (run from its build tree)" : "") +
           "\nsupport folder: " + Described(Tidy(supportInUse), true) +
           "\nplug-in: " + Described(ModuleFile(where), false) +
           "\nlanguage dictionaries: " + Described(where.langDir, true) + "\n";
}

}  // namespace vorn::app
