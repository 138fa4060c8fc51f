// PLOT: asks for the sheet, the scale, the area, its place on the sheet, the margins, the
// colours and the file, then plots. The answers are offered again as defaults next time.
// Also the drawing's line type scales LTSCALE and PSLTSCALE, kept among its header variables.
#include "host/cmds/plotcmds.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "host/base/textcodec.h"
#include "host/cmds/cmds.h"
#include "host/cmds/cmdutil.h"
#include "host/db/db.h"
#include "host/db/dbkept.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/dbaccess.h"
#include "host/ed/editor.h"
#include "host/ed/programoptions.h"
#include "host/ed/sysvars.h"
#include "host/ed/viewctl.h"

namespace vorn::cmds {
namespace {

namespace fs = std::filesystem;
using vorn::render::PlotOptions;

// The last plot's answers, the defaults of the next.
PlotChoices g_last;

PlotDialog& Dialog() {
    static PlotDialog dialog;
    return dialog;
}

// What the window shows now; invalid without a window.
AcDbExtents ShownView() {
    AcDbExtents box;
    const auto& shown = vorn::ed::GetViewControl().shownArea;
    double lo[2], hi[2];
    if (shown && shown(lo, hi)) {
        box.addPoint(AcGePoint3d(lo[0], lo[1], 0));
        box.addPoint(AcGePoint3d(hi[0], hi[1], 0));
    }
    return box;
}

constexpr const wchar_t* kNoView =
    L"There is no window whose view could be plotted: expected a corner point, Extents or Window";

std::wstring Mm(double v) {
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%.0f", v);
    return buf;
}

// A keyword of acedInitGet or, with RSG_OTHER, any text; Enter gives fallback. False on Esc.
bool AskWord(const wchar_t* keywords, const std::wstring& prompt, const std::wstring& fallback, std::wstring& word) {
    acedInitGet(RSG_OTHER, keywords);
    wchar_t buf[256] = {0};
    const int rc = acedGetKword(prompt.c_str(), buf, 256);
    if (rc == RTCAN) return false;
    word = rc == RTNONE || buf[0] == 0 ? fallback : std::wstring(buf);
    return true;
}

bool AskSheet(vorn::render::Sheet& sheet) {
    for (;;) {
        std::wstring word;
        if (!AskWord(L"A0 A1 A2 A3 A4 A0P A1P A2P A3P A4P",
                     L"\nSheet [A0/A1/A2/A3/A4/A0P/A1P/A2P/A3P/A4P] or WxH in millimetres <" + g_last.sheet + L">: ",
                     g_last.sheet, word))
            return false;
        std::string error;
        if (vorn::render::ParseSheet(ToUtf8(word), sheet, error)) {
            g_last.sheet = word;
            return true;
        }
        vorn::ed::RefuseAnswer(FromUtf8(error) + L".");
    }
}

bool AskScale(const AcDbDatabase& db, double& denominator) {
    const std::wstring fallback =
        g_last.scale.empty() ? FromUtf8(vorn::render::PlotScaleText(db.printScale())) : g_last.scale;
    for (;;) {
        std::wstring word;
        if (!AskWord(L"Fit", L"\nPlot scale 1:N or [Fit] <" + fallback + L">: ", fallback, word)) return false;
        std::string error;
        if (vorn::render::ParsePlotScale(ToUtf8(word), denominator, error)) {
            g_last.scale = word;
            return true;
        }
        vorn::ed::RefuseAnswer(FromUtf8(error) + L".");
    }
}

// The other corner of a window from its first; false on Esc. A window without area is refused.
bool AskOppositeCorner(const ads_point a, AcDbExtents& area) {
    for (;;) {
        ads_point b;
        if (acedGetCorner(a, L"\nOpposite corner: ", b) != RTNORM) return false;
        AcDbExtents box;
        box.addPoint(ToWorld(a));
        box.addPoint(ToWorld(b));
        if (box.maxPoint().x - box.minPoint().x > 0 && box.maxPoint().y - box.minPoint().y > 0) {
            area = box;
            return true;
        }
        vorn::ed::RefuseAnswer(L"The window has no area: expected two corners apart in x and in y.");
    }
}

// The drawing's extents, a window (its first corner given at once or after Window), or the
// view the window shows.
bool AskArea(AcDbExtents& area) {
    for (;;) {
        ads_point a;
        acedInitGet(RSG_OTHER, L"Extents Window View");
        int rc = acedGetPoint(nullptr, L"\nArea to plot: first corner of a window or [Extents/Window/View] <Extents>: ",
                              a);
        if (rc == RTCAN) return false;
        if (rc == RTNONE) return true;
        if (rc == RTKWORD) {
            wchar_t buf[256] = {0};
            acedGetInput(buf, 256);
            const std::wstring word = buf;
            if (word == L"Extents") return true;
            if (word == L"View") {
                area = ShownView();
                if (area.isValid()) return true;
                vorn::ed::RefuseAnswer(std::wstring(kNoView) + L".");
                continue;
            }
            if (word != L"Window") {
                vorn::ed::RefuseAnswer(L"\"" + word + L"\" is not accepted here: expected a corner point, Extents, "
                                       L"Window or View.");
                continue;
            }
            if (acedGetPoint(nullptr, L"\nFirst corner: ", a) != RTNORM) return false;
        }
        return AskOppositeCorner(a, area);
    }
}

bool AskPlace(PlotOptions& o) {
    for (;;) {
        std::wstring word;
        if (!AskWord(L"Centre Offset", L"\nPlace on the sheet [Centre/Offset] <Centre>: ", L"Centre", word))
            return false;
        if (word == L"Centre") return true;
        if (word == L"Offset") {
            ads_point p;
            acedInitGet(RSG_NONULL, nullptr);
            if (acedGetPoint(nullptr, L"\nOffset x,y in millimetres of the area's lower left corner from the "
                                      L"printable area's: ",
                             p) != RTNORM)
                return false;
            o.centred = false;
            o.offsetX = p[0];
            o.offsetY = p[1];
            return true;
        }
        vorn::ed::RefuseAnswer(L"\"" + word + L"\" is not accepted here: expected Centre or Offset.");
    }
}

bool AskMargin(const vorn::render::Sheet& sheet, double& margin) {
    const double most = std::min(sheet.width, sheet.height) / 2;
    for (;;) {
        ads_real m = g_last.margin;
        acedInitGet(RSG_NONEG, nullptr);
        const int rc = acedGetReal((L"\nMargins in millimetres <" + Mm(g_last.margin) + L">: ").c_str(), &m);
        if (rc == RTCAN) return false;
        if (rc == RTNONE) m = g_last.margin;
        if (m < most) {
            margin = g_last.margin = m;
            return true;
        }
        vorn::ed::RefuseAnswer(L"Margins of " + Mm(m) + L" mm leave nothing of the sheet: expected less than " +
                               Mm(most) + L" mm.");
    }
}

bool AskColours(bool& monochrome) {
    const std::wstring fallback = g_last.monochrome ? L"Monochrome" : L"Colour";
    for (;;) {
        std::wstring word;
        if (!AskWord(L"Colour Monochrome", L"\nColours [Colour/Monochrome] <" + fallback + L">: ", fallback, word))
            return false;
        if (word == L"Colour" || word == L"Monochrome") {
            monochrome = g_last.monochrome = word == L"Monochrome";
            return true;
        }
        vorn::ed::RefuseAnswer(L"\"" + word + L"\" is not accepted here: expected Colour or Monochrome.");
    }
}

bool AskPlotFile(std::wstring& file) {
    for (;;) {
        const std::wstring prompt = g_last.file.empty() ? std::wstring(L"\nPlot file (.pdf, .png or .svg): ")
                                                        : L"\nPlot file (.pdf, .png or .svg) <" + g_last.file + L">: ";
        if (!AskFile(prompt, g_last.file, file, L"Plots (*.pdf *.png *.svg)|*.pdf;*.png;*.svg")) return false;
        if (vorn::render::PictureKindOf(ToUtf8(file)) != vorn::render::PictureKind::Unknown) {
            g_last.file = file;
            return true;
        }
        vorn::ed::RefuseAnswer(L"\"" + file + L"\" is no plot file: expected a name ending in .pdf, .png or .svg.");
    }
}

// The window's plot dialog, again after each window picked in the drawing. -1 when there is
// no dialog to take it, 0 when cancelled, 1 when plotted (or refused with a message).
int PlotInDialog(const AcDbDatabase& db) {
    const PlotDialog& dialog = Dialog();
    if (!dialog) return -1;
    PlotChoices choices = g_last;
    choices.view = ShownView();
    // The first plot of a named drawing goes beside it, under its name.
    if (choices.file.empty() && !DrawingFileName().empty())
        choices.file = fs::path(DrawingFileName()).replace_extension(L".pdf").wstring();
    if (choices.area == PlotChoices::Area::View && !choices.view.isValid()) choices.area = PlotChoices::Area::Extents;
    for (;;) {
        const int answer = dialog(db, choices);
        if (answer != 2) {
            if (answer != 1) return answer;
            break;
        }
        // The window's corners in the drawing; Esc goes back to the dialog as it was.
        ads_point a;
        AcDbExtents box;
        if (acedGetPoint(nullptr, L"\nFirst corner of the area to plot: ", a) == RTNORM && AskOppositeCorner(a, box)) {
            choices.window = box;
            choices.area = PlotChoices::Area::Window;
        }
    }
    PlotOptions o;
    std::string error;
    if (!PlotOptionsOf(db, choices, o, error) || !PlotAndReport(db, o, error)) {
        Say(L"Nothing was plotted: " + FromUtf8(error));
        return 1;
    }
    g_last = choices;
    return 1;
}

void PlotCommand() {
    const AcDbDatabase* db = Drawing();
    if (!db) return;
    if (PlotInDialog(*db) >= 0) return;
    PlotOptions o;
    std::wstring file;
    if (!AskSheet(o.sheet) || !AskScale(*db, o.scale) || !AskArea(o.area) || !AskPlace(o) ||
        !AskMargin(o.sheet, o.margin) || !AskColours(o.monochrome) || !AskPlotFile(file))
        return;
    o.file = ToUtf8(file);
    std::string error;
    if (!PlotStyleTableFor("", o.style, error) || !PlotAndReport(*db, o, error)) Say(L"Nothing was plotted: " + FromUtf8(error));
}

// ---- line type scales, kept among the drawing's header variables ----

AcDbKeptGroups* HeaderVariable(AcDbDatabase& db, const std::string& name, bool make) {
    auto& header = vorn::db::FileDataOf(db).header;
    for (auto& [var, groups] : header) {
        std::string upper = var;
        for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (upper == name) return &groups;
    }
    if (!make) return nullptr;
    header.emplace_back(name, AcDbKeptGroups{});
    return &header.back().second;
}

// A real (or, with integer, a whole number) header variable, default fallback.
void RegisterHeaderVariable(const std::wstring& name, int code, double fallback, bool integer, double lo, double hi,
                            const std::wstring& rule) {
    const std::string key = "$" + ToUtf8(name);
    vorn::ed::SysVarAccess access;
    access.get = [key, code, fallback, integer](resbuf& out) {
        AcDbDatabase* db = vorn::ed::dbx::Working();
        double v = fallback;
        if (const AcDbKeptGroups* groups = db ? HeaderVariable(*db, key, false) : nullptr)
            for (const AcDbKeptGroup& g : *groups)
                if (g.code == code && vorn::db::KeptReal(g, v)) break;
        if (integer) {
            out.restype = RTSHORT;
            out.resval.rint = static_cast<short>(v);
        } else {
            out.restype = RTREAL;
            out.resval.rreal = v;
        }
        return true;
    };
    access.set = [key, code, integer, lo, hi, name, rule](const resbuf& in, std::wstring& error) {
        double v = in.restype == RTREAL ? in.resval.rreal
                   : in.restype == RTSHORT ? in.resval.rint
                   : in.restype == RTLONG ? static_cast<double>(in.resval.rlong)
                                          : std::nan("");
        AcDbDatabase* db = vorn::ed::dbx::Working();
        if (!db || !std::isfinite(v) || v < lo || v > hi || (integer && v != std::floor(v))) {
            error = name + L" " + rule;
            return false;
        }
        *HeaderVariable(*db, key, true) = {{code, integer ? std::to_string(static_cast<int>(v)) : vorn::db::KeptRealText(v)}};
        return true;
    };
    vorn::ed::RegisterSysVar(name, access);
}

}  // namespace

bool PlotStyleTableFor(const std::string& file, vorn::render::PlotStyleTable& table, std::string& error) {
    if (!file.empty()) return vorn::render::LoadPlotStyle(file, table, error);
    const fs::path shipped = fs::path(ToUtf8(vorn::ed::GetProgramOptions().supportDir)) / "plotstyle.json";
    std::error_code ec;
    if (!fs::is_regular_file(shipped, ec)) {
        table = vorn::render::PlotStyleTable{};
        return true;
    }
    return vorn::render::LoadPlotStyle(shipped.string(), table, error);
}

bool PlotOptionsOf(const AcDbDatabase& db, const PlotChoices& c, PlotOptions& o, std::string& error) {
    o = PlotOptions{};
    if (!vorn::render::ParseSheet(ToUtf8(c.sheet), o.sheet, error)) return false;
    const std::string scale =
        c.scale.empty() ? vorn::render::PlotScaleText(db.printScale()) : ToUtf8(c.scale);
    if (!vorn::render::ParsePlotScale(scale, o.scale, error)) return false;
    switch (c.area) {
        case PlotChoices::Area::Extents:
            break;
        case PlotChoices::Area::Window:
            if (!c.window.isValid()) {
                error = "no window to plot was given: pick its two corners in the drawing, or plot the extents";
                return false;
            }
            o.area = c.window;
            break;
        case PlotChoices::Area::View:
            if (!c.view.isValid()) {
                error = ToUtf8(kNoView);
                return false;
            }
            o.area = c.view;
            break;
    }
    o.centred = c.centred;
    o.offsetX = c.offsetX;
    o.offsetY = c.offsetY;
    const double most = std::min(o.sheet.width, o.sheet.height) / 2;
    if (!(c.margin >= 0 && c.margin < most)) {
        error = "margins of " + ToUtf8(Mm(c.margin)) + " mm leave nothing of the sheet: expected 0 to less than " +
                ToUtf8(Mm(most)) + " mm";
        return false;
    }
    o.margin = c.margin;
    o.monochrome = c.monochrome;
    o.file = ToUtf8(c.file);
    if (c.file.empty() || vorn::render::PictureKindOf(o.file) == vorn::render::PictureKind::Unknown) {
        error = "\"" + o.file + "\" is no plot file: expected a name ending in .pdf, .png or .svg";
        return false;
    }
    return PlotStyleTableFor("", o.style, error);
}

void SetPlotDialog(PlotDialog dialog) { Dialog() = std::move(dialog); }

bool PlotAndReport(const AcDbDatabase& db, const PlotOptions& o, std::string& error) {
    vorn::render::PlotReport report;
    if (!vorn::render::PlotDrawing(db, o, report, error)) return false;
    const std::wstring scale = FromUtf8(vorn::render::PlotScaleText(report.scale));
    if (report.cut)
        Say(L"At " + scale + L" the area takes " + Mm(report.areaWidth) + L" x " + Mm(report.areaHeight) +
            L" mm, more than the printable " + Mm(o.sheet.width - 2 * o.margin) + L" x " +
            Mm(o.sheet.height - 2 * o.margin) + L" mm of the sheet: what lies beyond is cut off.");
    Say(L"Plotted on " + FromUtf8(o.sheet.name) + L" (" + Mm(o.sheet.width) + L" x " + Mm(o.sheet.height) +
        L" mm) at " + scale + (o.monochrome ? L", monochrome," : L"") + L" to " + FromUtf8(o.file) + L".");
    return true;
}

void RegisterPlotCommands() {
    vorn::ed::AddCommand(kGroup, L"PLOT", L"PLOT", 0, PlotCommand);
    RegisterHeaderVariable(L"LTSCALE", 40, 1.0, false, 1e-6, 1e6, L"must be a number from 0.000001 to 1000000");
    RegisterHeaderVariable(L"PSLTSCALE", 70, 1.0, true, 0, 1,
                           L"must be 1 (line type dashes measured on the sheet) or 0 (in drawing units)");
}

}  // namespace vorn::cmds
