// The fuzz targets' work on one input. Readers that take a path get the bytes through a file in
// a scratch folder of this process, so that the whole path a user's file takes is exercised.
#include "fuzz/fuzzentries.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "app/options.h"
#include "framework/core/KyFramework.h"
#include "framework/library/KyDmLibGroup.h"
#include "framework/store/KyHistoryData.h"
#include "host/base/hostio.h"
#include "host/base/textcodec.h"
#include "host/cmds/cmds.h"
#include "host/dxf/dxf.h"
#include "host/dxf/dxfgroups.h"
#include "host/ed/commands.h"
#include "host/ed/dbinclude.h"
#include "host/ed/editor.h"
#include "host/ed/event.h"
#include "host/ed/frontends.h"

namespace vorn::fuzz {
namespace {

namespace fs = std::filesystem;

// A folder of this process's own under the system's temporary folder, removed at exit.
class Scratch {
public:
    Scratch() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vornfuzz.XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (::mkdtemp(buf.data())) m_dir = buf.data();
    }
    ~Scratch() {
        std::error_code ec;
        if (!m_dir.empty()) fs::remove_all(m_dir, ec);
    }
    // A file of that name in the folder holding exactly the bytes given.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }
    const std::string& Dir() const { return m_dir; }

private:
    std::string m_dir;
};

Scratch& Folder() {
    static Scratch scratch;
    return scratch;
}

std::string Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Framework entity classes are known to the reader only once the framework is set up.
void InitOnce() {
    static const bool done = [] {
        KyFrameworkInit();
        return true;
    }();
    (void)done;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

bool IsHandleCode(int code) {
    return code == 5 || code == 105 || (code >= 320 && code <= 369) || (code >= 390 && code <= 399) ||
           code == 480 || code == 481 || code == 1005;
}

// A saved file with what may change from one save to the next made neutral: handles are
// numbered in the order they first appear, anonymous block names lose their numbers, real
// numbers are compared to twelve digits.
std::string Canonical(const std::string& text) {
    std::vector<std::string> lines = Lines(text);
    std::map<std::string, std::size_t> handles;
    std::string out;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        int code = std::atoi(lines[i].c_str());
        std::string value = lines[i + 1];
        if (!value.empty() && value.back() == '\r') value.pop_back();
        if (IsHandleCode(code)) {
            value = "#" + std::to_string(handles.emplace(value, handles.size()).first->second);
        } else if (vorn::dxf::detail::KindOfCode(code) == vorn::dxf::detail::ValueKind::kReal) {
            // Values derived through trigonometry (the extents in the header, the view fitted
            // to them) may come out an ulp apart when the angles they stand on were read from
            // degrees again; twelve digits still tell any real change.
            char* end = nullptr;
            const double v = std::strtod(value.c_str(), &end);
            if (end && *end == '\0' && std::isfinite(v)) {
                char buf[40];
                std::snprintf(buf, sizeof buf, "%.12g", v);
                value = buf;
            }
        } else if (value.size() > 2 && value.compare(0, 2, "*U") == 0 &&
                   value.find_first_not_of("0123456789", 2) == std::string::npos) {
            value = "*U";
        }
        out += std::to_string(code) + "\n" + value + "\n";
    }
    return out;
}

// A drawing as the program saves it must read again, and saving what was read again must give
// the same drawing: otherwise a save loses or changes data.
std::string CheckSavedDrawing(const AcDbDatabase& db, const char* what) {
    const std::string text = vorn::dxf::DxfText(db);
    const std::string path = Folder().Write("saved.dxf", text);
    std::string error;
    std::unique_ptr<AcDbDatabase> again = vorn::dxf::ReadDxfFile(path, error);
    if (!again) return std::string(what) + " saves a file that cannot be read back: " + error;
    const std::string second = vorn::dxf::DxfText(*again);
    if (Canonical(second) != Canonical(text)) return std::string(what) + " saves a file that reads back as a different drawing";
    return {};
}

bool Finite(const vorn::ed::TypedPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }


// Walks a library tree; an item naming a file outside its folder is a fault of the reader.
std::string CheckLibraryNode(const KyDtLibItemBase& node, int depth) {
    if (depth > 10000) return "a library tree deeper than any file could make it";
    if (const auto* item = dynamic_cast<const KyDtLibItem*>(&node))
        if (!KyIsContainedPath(item->GetDataFile()))
            return "item \"" + vorn::ToUtf8(item->GetName()) + "\" kept with data file \"" +
                   vorn::ToUtf8(item->GetDataFile()) + "\" outside its folder";
    for (int i = 0; i < node.GetChildCount(); ++i) {
        std::string fault = CheckLibraryNode(*node.GetChild(i), depth + 1);
        if (!fault.empty()) return fault;
    }
    return {};
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string FuzzDxf(const std::uint8_t* data, std::size_t size) {
    InitOnce();
    const std::string path = Folder().Write("input.dxf", Bytes(data, size));
    std::string error;
    std::vector<std::string> notes;
    std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(path, error, notes);
    if (!db) {
        if (error.empty()) return "a refused drawing without a message";
        if (error.compare(0, path.size(), path) != 0) return "a refusal that does not name the file: " + error;
        return {};
    }
    // What was mended is said with the file and the line.
    for (const std::string& n : notes)
        if (n.compare(0, path.size() + 1, path + ":") != 0 || n.size() <= path.size() + 1 ||
            n[path.size() + 1] < '0' || n[path.size() + 1] > '9')
            return "a note that does not name the file and the line: " + n;
    bool fieldsNoted = false;
    for (const std::string& n : notes)
        fieldsNoted = fieldsNoted || n.find(" do not fit that kind of entity;") != std::string::npos;
    std::string fault = CheckSavedDrawing(*db, "a drawing read from a file");
    if (!fault.empty()) return fault;
    // Saved in its own form (binary for a binary file), it reads back as the same drawing.
    const std::string saved = Folder().Dir() + "/saved-own-form.dxf";
    if (vorn::dxf::WriteDxf(*db, saved, error) != Acad::eOk) return "a drawing that cannot be saved: " + error;
    std::unique_ptr<AcDbDatabase> again = vorn::dxf::ReadDxfFile(saved, error, notes);
    if (!again) return "a drawing saved in its own form that cannot be read back: " + error;
    // Fields of the program's own entities that this version cannot read are kept as they
    // came (a later version may have written them), so that note comes again; no other may.
    for (const std::string& n : notes)
        if (n.find(" do not fit that kind of entity; its carrier was kept as it is") == std::string::npos ||
            !fieldsNoted)
            return "a drawing saved in its own form that reads back mended: " + n;
    if (Canonical(vorn::dxf::DxfText(*again)) != Canonical(vorn::dxf::DxfText(*db)))
        return "a drawing saved in its own form reads back as a different drawing";
    return {};
}

std::string FuzzScriptLines(const std::uint8_t* data, std::size_t size) {
    const std::string text = Bytes(data, size);
    std::vector<std::string> lines = Lines(text);
    for (const std::string& raw : lines) {
        const std::wstring line = vorn::FromUtf8(raw);
        if (const auto ev = vorn::ed::ParseLine(line)) {
            if (!std::isfinite(ev->x) || !std::isfinite(ev->y) || !std::isfinite(ev->z))
                return "a non-finite cursor position from \"" + raw + "\"";
        }
        if (const auto n = vorn::ed::ParseNumber(line))
            if (!std::isfinite(*n)) return "a non-finite number from \"" + raw + "\"";
        if (const auto i = vorn::ed::ParseInteger(line))
            if (*i < -2147483647L - 1 || *i > 2147483647L) return "an integer out of range from \"" + raw + "\"";
        if (const auto p = vorn::ed::ParsePoint(line))
            if (!Finite(*p)) return "a non-finite point from \"" + raw + "\"";
    }
    // The same lines as the program's arguments.
    vorn::app::Options options;
    std::string error;
    if (vorn::app::ParseOptions(lines, options, error)) {
        if (options.units != "mm" && options.units != "m") return "units \"" + options.units + "\" accepted";
        if (options.lang != "zh" && options.lang != "en") return "language \"" + options.lang + "\" accepted";
    } else if (error.empty()) {
        return "refused arguments without a message";
    }
    return {};
}

std::string FuzzScript(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        InitOnce();
        vorn::cmds::RegisterHostCommands();
        // Nothing a random script types may write files anywhere.
        for (const wchar_t* name : {L"SAVE", L"SAVEAS", L"RENDER"}) vorn::ed::RemoveCommand(L"ACAD_HOST", name);
        vorn::ed::InstallHostChannels();
        g_dictHistoryData.SetFileName(Folder().Dir() + "/settings.json");
        return true;
    }();
    (void)ready;
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    vorn::ed::ResetEditor();
    vorn::ed::SetTranscriptSink([](const std::string&) {});
    vorn::ed::SetLineSource(vorn::ed::ScriptTextSource(Bytes(data, size)), true);
    vorn::ed::RunCommandLoop();
    std::string fault = CheckSavedDrawing(*db, "the drawing a script made");
    vorn::ed::ResetEditor();
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    return fault;
}

std::string FuzzLibGroup(const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder().Write("LibGroup.dmls", Bytes(data, size));
    KyDmLibGroup group;
    group.SetFileName(vorn::FromUtf8(path));
    if (!group.ReadFromXML()) {
        if (group.GetError().empty()) return "a refused library group without a message";
        return {};
    }
    group.ReadLibFromXML();
    for (int i = 0; i < group.GetLibraryCount(); ++i) {
        std::string fault = CheckLibraryNode(*group.GetLibrary(i), 0);
        if (!fault.empty()) return fault;
    }
    return {};
}

std::string FuzzSettings(const std::uint8_t* data, std::size_t size) {
    // The store's warnings about refused files are expected here; they are not shown.
    struct Quiet {
        vorn::HostPrinter previous = vorn::SetHostPrinter([](const std::wstring&) {});
        ~Quiet() { vorn::SetHostPrinter(previous); }
    } quiet;
    const std::string path = Folder().Write("settings.json", Bytes(data, size));
    std::error_code ec;
    fs::remove(path + ".bad", ec);
    KyHistoryData store;
    if (!store.Load(path)) {
        // A refused file is kept aside whole, never overwritten.
        if (FileText(path + ".bad") != Bytes(data, size)) return "a refused settings file is not kept as it was";
        return {};
    }
    if (!store.Save()) return "accepted settings cannot be saved";
    const std::string first = FileText(path);
    KyHistoryData again;
    if (!again.Load(path)) return "saved settings are refused when read again";
    if (!again.Save()) return "settings read again cannot be saved";
    if (FileText(path) != first) return "settings change when saved and read again";
    return {};
}

Entry EntryByName(const std::string& name) {
    if (name == "dxf") return FuzzDxf;
    if (name == "scriptlines") return FuzzScriptLines;
    if (name == "script") return FuzzScript;
    if (name == "libgroup") return FuzzLibGroup;
    if (name == "settings") return FuzzSettings;
    return nullptr;
}

}  // namespace vorn::fuzz
