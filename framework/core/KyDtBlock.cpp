// KyDtLoadBlock: a support drawing becomes a block definition of the drawing, once per name.
#include "framework/core/KyDtBlock.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "host/base/textcodec.h"
#include "host/db/dbmain.h"
#include "host/dxf/dxf.h"
#include "host/ed/aced.h"

namespace fs = std::filesystem;

namespace {

// The file to read: the name as given, or its ".dxf" twin when the name says ".dwg" (support
// drawings are named as the suite names them, but this system keeps them as DXF).
bool ResolveDrawingFile(const fs::path& given, fs::path& file) {
    std::error_code ec;
    if (fs::is_regular_file(given, ec)) {
        file = given;
        if (given.extension() != ".dwg" && given.extension() != ".DWG") return true;
    }
    fs::path twin = given;
    twin.replace_extension(".dxf");
    if (fs::is_regular_file(twin, ec)) {
        file = twin;
        return true;
    }
    return !file.empty() && given.extension() != ".dwg" && given.extension() != ".DWG";
}

}  // namespace

AcDbObjectId KyDtLoadBlock(const wchar_t* file, AcDbDatabase* db) {
    if (file == nullptr || *file == L'\0') {
        acutPrintf(L"\nCannot load a block: no drawing file was named.");
        return AcDbObjectId::kNull;
    }
    if (db == nullptr) db = acdbHostApplicationServices()->workingDatabase();
    if (db == nullptr) {
        acutPrintf(L"\nCannot load block \"%s\": there is no drawing to load it into.", file);
        return AcDbObjectId::kNull;
    }
    const fs::path given(vorn::ToUtf8(file));
    const std::wstring name = vorn::FromUtf8(given.stem().string());
    const AcDbObjectId known = db->findBlock(name);
    if (!known.isNull()) return known;

    fs::path path;
    if (!ResolveDrawingFile(given, path)) {
        acutPrintf(L"\nCannot load block \"%s\": the drawing file does not exist (a DXF file is expected).",
                   file);
        return AcDbObjectId::kNull;
    }
    AcDbObjectId id;
    std::string error;
    if (vorn::dxf::LoadDxfAsBlock(path.string(), *db, name, id, error) != Acad::eOk || id.isNull()) {
        acutPrintf(L"\nCannot load block \"%s\": %s", file, vorn::FromUtf8(error).c_str());
        return AcDbObjectId::kNull;
    }
    return id;
}
