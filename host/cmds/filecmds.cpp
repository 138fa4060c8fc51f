// Commands over files: SAVE and SAVEAS (DXF, written atomically), RENDER (a picture of the
// drawing) and INSERT (a block of the drawing, or a drawing file loaded as a block).
#include <filesystem>
#include <string>
#include <system_error>

#include "host/base/hostio.h"
#include "host/base/textcodec.h"
#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/dxf/dxf.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/editor.h"
#include "host/ed/sysvars.h"
#include "host/mfc/winmsg.h"
#include "host/render/render.h"

namespace vorn::cmds {
namespace {

namespace fs = std::filesystem;

std::wstring g_fileName;
// The drawing and its revision when it was last saved or opened.
const AcDbDatabase* g_savedDb = nullptr;
std::uint64_t g_savedRevision = 0;

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

std::wstring Extension(const std::wstring& path) { return Lower(fs::path(path).extension().wstring()); }

bool Save(const std::wstring& path) {
    AcDbDatabase* db = Drawing();
    if (!db) return false;
    std::string error;
    if (vorn::dxf::WriteDxf(*db, ToUtf8(path), error) != Acad::eOk) {
        Say(L"The drawing was not saved: " + FromUtf8(error));
        return false;
    }
    g_fileName = path;
    MarkDrawingSaved();
    Say(L"Drawing saved as " + path + L".");
    return true;
}

void SaveAs(bool askAlways) {
    if (!Drawing()) return;
    if (!askAlways && !g_fileName.empty()) {
        Save(g_fileName);
        return;
    }
    for (;;) {
        std::wstring path;
        const std::wstring prompt = g_fileName.empty() ? std::wstring(L"\nSave drawing as (.dxf): ")
                                                       : L"\nSave drawing as (.dxf) <" + g_fileName + L">: ";
        if (!AskFile(prompt, g_fileName, path, L"Drawings (*.dxf)|*.dxf")) return;
        const std::wstring ext = Extension(path);
        if (ext.empty()) path += L".dxf";
        else if (ext != L".dxf") {
            Say(L"Drawings are saved as DXF: give a file name ending in .dxf.");
            continue;
        }
        Save(path);
        return;
    }
}

void RenderCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    for (;;) {
        std::wstring path;
        if (!AskFile(L"\nEnter picture file name (.png, .svg or .pdf): ", L"", path,
                     L"Pictures (*.png *.svg *.pdf)|*.png;*.svg;*.pdf"))
            return;
        const std::wstring ext = Extension(path);
        if (ext != L".png" && ext != L".svg" && ext != L".pdf") {
            Say(L"A picture file name ends in .png, .svg or .pdf.");
            continue;
        }
        vorn::render::RenderOptions options;
        options.file = ToUtf8(path);
        options.window = PictureWindowExtents();
        std::string error;
        if (vorn::render::RenderDrawing(*db, options, error)) Say(L"Picture written to " + path + L".");
        else Say(L"No picture was written: " + FromUtf8(error));
        return;
    }
}

// The block to insert: one of the drawing, or a drawing file (".dxf" may be left off) that
// becomes a block named after the file. Null id when neither; the reason is shown.
AcDbObjectId BlockFor(AcDbDatabase* db, const std::wstring& name) {
    const AcDbObjectId known = db->findBlock(name);
    if (!known.isNull() && name[0] != L'*') return known;
    std::error_code ec;
    fs::path file(name);
    if (!fs::is_regular_file(file, ec) && Extension(name).empty()) file += ".dxf";
    if (!fs::is_regular_file(file, ec)) {
        Say(L"There is no block \"" + name + L"\" and no drawing file of that name.");
        return AcDbObjectId();
    }
    const std::wstring blockName = file.stem().wstring();
    AcDbObjectId id = db->findBlock(blockName);
    if (!id.isNull()) return id;  // loaded before: the drawing's definition is used
    std::string error;
    if (vorn::dxf::LoadDxfAsBlock(file.string(), *db, blockName, id, error) != Acad::eOk) {
        Say(L"The drawing could not be loaded as a block: " + FromUtf8(error));
        return AcDbObjectId();
    }
    return id;
}

void InsertCommand() {
    AcDbDatabase* db = Drawing();
    if (!db) return;
    AcDbObjectId block;
    while (block.isNull()) {
        std::wstring name;
        if (!AskFile(L"\nEnter block name or drawing file: ", L"", name)) return;
        block = BlockFor(db, name);
    }
    ads_point p;
    if (acedGetPoint(nullptr, L"\nSpecify insertion point: ", p) != RTNORM) return;
    ads_real scale = 1;
    acedInitGet(RSG_NOZERO, nullptr);
    int rc = acedGetReal(L"\nSpecify scale factor <1>: ", &scale);
    if (rc != RTNORM && rc != RTNONE) return;
    ads_real angle = 0;
    rc = acedGetAngle(p, L"\nSpecify rotation angle <0>: ", &angle);
    if (rc != RTNORM && rc != RTNONE) return;
    auto* ref = new AcDbBlockReference(ToWorld(p), block);
    ref->setScaleFactors(AcGeScale3d(scale));
    ref->setRotation(ToWorldAngle(angle));
    Append(ref);
}

// QUIT and EXIT: where a window asks (its message box), unsaved changes are saved, dropped
// or the quitting cancelled; a script or the terminal quits at once.
void QuitCommand() {
    const auto& ask = vorn::NativeDialogs().messageBox;
    if (ask && DrawingModified()) {
        const std::wstring name = g_fileName.empty() ? std::wstring(L"Drawing1.dxf")
                                                     : fs::path(g_fileName).filename().wstring();
        const int answer = ask(L"Save changes to " + name + L"?", L"vorncad", MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return;
        if (answer == IDYES) {
            SaveAs(false);
            if (DrawingModified()) return;  // not saved (cancelled or failed): stay
        }
    }
    vorn::ed::EndInput();
}

}  // namespace

void SetDrawingFileName(const std::wstring& path) { g_fileName = path; }

bool DrawingModified() {
    const AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return false;
    if (db != g_savedDb) return true;  // never marked as saved since it was opened
    return db->revision() != g_savedRevision;
}

void MarkDrawingSaved() {
    g_savedDb = acdbHostApplicationServices()->workingDatabase();
    g_savedRevision = g_savedDb ? g_savedDb->revision() : 0;
}
const std::wstring& DrawingFileName() { return g_fileName; }

void RegisterFileCommands() {
    using vorn::ed::AddCommand;
    AddCommand(kGroup, L"SAVE", L"SAVE", 0, [] { SaveAs(false); });
    AddCommand(kGroup, L"SAVEAS", L"SAVEAS", 0, [] { SaveAs(true); });
    AddCommand(kGroup, L"RENDER", L"RENDER", 0, RenderCommand);
    AddCommand(kGroup, L"INSERT", L"INSERT", 0, InsertCommand);
    AddCommand(kGroup, L"QUIT", L"QUIT", 0, QuitCommand);
    AddCommand(kGroup, L"EXIT", L"EXIT", 0, QuitCommand);
}

}  // namespace vorn::cmds
