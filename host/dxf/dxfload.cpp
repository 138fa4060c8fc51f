// Loading drawings: whole-file reading into a scratch database, handed over only on success.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "host/db/dbkept.h"
#include "host/dxf/dxf.h"
#include "host/dxf/dxfreader.h"

namespace vorn::dxf {
namespace {

bool Slurp(const std::string& path, std::string& text, std::string& error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = path + ": cannot open the drawing: " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = path + ": cannot open the drawing: it is a folder, a DXF file was expected";
        return false;
    }
    if (static_cast<unsigned long long>(st.st_size) > detail::kMaxFileBytes) {
        error = path + ": the file is larger than " + std::to_string(detail::kMaxFileBytes >> 20) +
                " MB; drawings up to that size can be read";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the drawing: " + std::strerror(errno);
        return false;
    }
    text.resize(static_cast<size_t>(st.st_size));
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.gcount() != static_cast<std::streamsize>(text.size())) {
        error = path + ": cannot read the drawing: the file changed or could not be read";
        return false;
    }
    // DWG files start with their version: "AC1015", "AC1032", ... (and old ones "AC1.50").
    if (text.size() >= 6 && text.compare(0, 4, "AC10") == 0 && text[4] >= '0' && text[4] <= '9' && text[5] >= '0' &&
        text[5] <= '9') {
        error = path + ":1: DWG files cannot be opened yet; save it as DXF from the program that made it";
        return false;
    }
    if (text.size() >= 6 && text.compare(0, 3, "AC1") == 0 && text[3] == '.') {
        error = path + ":1: DWG files cannot be opened yet; save it as DXF from the program that made it";
        return false;
    }
    return true;
}

bool Parse(const std::string& text, const std::string& path, AcDbDatabase& db, std::string& error,
           std::vector<std::string>& notes) {
    const bool recording = db.isUndoRecording();
    db.setUndoRecording(false);
    try {
        detail::Reader reader(text, path, db);
        reader.read();
        notes = reader.notes();
    } catch (const detail::DxfError& e) {
        error = e.message;
        db.setUndoRecording(recording);
        return false;
    } catch (const std::bad_alloc&) {
        error = path + ": the drawing is too large for the memory available";
        db.setUndoRecording(recording);
        return false;
    }
    db.setUndoRecording(recording);
    db.clearUndo();
    return true;
}

void PrintNotes(const std::vector<std::string>& notes) {
    for (const std::string& n : notes) std::fprintf(stderr, "vorncad: warning: %s\n", n.c_str());
}

}  // namespace

std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::string& path, std::string& error, std::vector<std::string>& notes) {
    notes.clear();
    std::string text;
    if (!Slurp(path, text, error)) return nullptr;
    auto db = std::make_unique<AcDbDatabase>(true);
    if (!Parse(text, path, *db, error, notes)) return nullptr;
    return db;
}

std::unique_ptr<AcDbDatabase> ReadDxfFile(const std::string& path, std::string& error) {
    std::vector<std::string> notes;
    std::unique_ptr<AcDbDatabase> db = ReadDxfFile(path, error, notes);
    PrintNotes(notes);
    return db;
}

Acad::ErrorStatus ReadDxf(const std::string& path, AcDbDatabase& into, std::string& error) {
    std::string text;
    if (!Slurp(path, text, error)) return Acad::eFilerError;
    std::vector<std::string> notes;
    {
        AcDbDatabase scratch(true);
        if (!Parse(text, path, scratch, error, notes)) return Acad::eFilerError;
    }
    // The same text read the same way cannot fail now, short of memory.
    if (!Parse(text, path, into, error, notes)) return Acad::eFilerError;
    PrintNotes(notes);
    return Acad::eOk;
}

const std::vector<std::string>& ReadNotes(const AcDbDatabase& db) { return vorn::db::FileDataOf(db).notes; }

Acad::ErrorStatus LoadDxfAsBlock(const std::string& path, AcDbDatabase& db, const std::wstring& blockName,
                                 AcDbObjectId& blockId, std::string& error) {
    std::unique_ptr<AcDbDatabase> source = ReadDxfFile(path, error);
    if (!source) return Acad::eFilerError;
    Acad::ErrorStatus es = db.insert(blockId, blockName.c_str(), source.get());
    if (es != Acad::eOk) error = path + ": cannot make a block of the drawing (" + Acad::errorStatusText(es) + ")";
    return es;
}

}  // namespace vorn::dxf
