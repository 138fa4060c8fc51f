// Parsing of vorncad's options.
#include "app/options.h"

namespace vorn::app {
namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    std::string end = s.substr(s.size() - tail.size());
    for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == tail;
}

// "WxH" with both sides whole numbers of pixels in the range a picture may have.
bool ParseSize(const std::string& text, int& width, int& height) {
    constexpr int kMin = 16, kMax = 8000;
    int w = 0, h = 0;
    std::size_t i = 0;
    const auto number = [&](int& into) {
        const std::size_t start = i;
        // At most five digits: no overflow, and anything longer is out of range anyway.
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 5)
            into = into * 10 + (text[i++] - '0');
        return i > start && into >= kMin && into <= kMax;
    };
    if (!number(w) || i >= text.size() || (text[i] != 'x' && text[i] != 'X')) return false;
    ++i;
    if (!number(h) || i != text.size()) return false;
    width = w;
    height = h;
    return true;
}

}  // namespace

std::string UsageText() {
    return "usage: vorncad [DRAWING.dxf] [-s SCRIPT | -s -] [-o OUT.dxf] [--render OUT.png|.svg|.pdf]\n"
           "               [--plot OUT.pdf|.png|.svg [--sheet A1] [--plot-scale 1:500|fit] [--mono]\n"
           "                [--plot-style FILE]]\n"
           "               [--size WxH] [--units mm|m] [--lang zh|en] [--support DIR] [--settings FILE]\n"
           "               [--window | --no-window] [--quiet] [--stop-on-error]\n"
           "\n"
           "  DRAWING.dxf      the drawing to open; without it a new, empty drawing\n"
           "  -s SCRIPT        run the commands of SCRIPT, one answer per line (- reads standard input)\n"
           "  -o OUT.dxf       save the drawing as DXF when the script ends\n"
           "  --render FILE    draw the drawing into a PNG, SVG or PDF picture when the script ends\n"
"  --plot FILE      plot the drawing's extents centred on a sheet at scale into a PDF (or PNG,\n"
           "                   SVG) when the script ends\n"
           "  --sheet SHEET    the plot's sheet: A0 to A4 landscape, A0P to A4P portrait, or WxH in\n"
           "                   millimetres (default A3)\n"
           "  --plot-scale S   1:N, such as 1:500, or fit (default 1:PRINTSCALE)\n"
           "  --mono           plot every colour black\n"
           "  --plot-style F   pens by colour for the plot (default: plotstyle.json of the support directory)\n"
           "  --size WxH       pixels of the pictures of --render and @snapshot (default 1600x1200)\n"
           "  --units mm|m     drawing units of a new drawing (default mm)\n"
           "  --lang zh|en     language of the prompts (default: as written)\n"
           "  --support DIR    the suite's main directory (default: the installed support/)\n"
           "  --settings FILE  the settings store (default: $XDG_CONFIG_HOME/vorncad/settings.json)\n"
           "  --window         open the window (also with -s: watch the script draw; the window\n"
           "                   closes when the script ends)\n"
           "  --no-window      the command line in the terminal, even where a display is\n"
           "  --quiet          write messages only, no prompts or echoed answers\n"
           "  --stop-on-error  end the script at its first refused line (then -o and --render\n"
           "                   run as at its end)\n"
           "  --help, --version\n"
           "\n"
           "Without -s vorncad opens its window when a display is there (DISPLAY or\n"
           "WAYLAND_DISPLAY set), else an interactive command line in the terminal.\n"
           "Exit status: 0 when the script ran to its end, 3 when it did but some of its lines\n"
           "were refused (or it was stopped at one by --stop-on-error), 2 for bad options or an\n"
           "unreadable drawing or script, 1 when saving or drawing the picture failed.\n";
}

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
    std::string plotOption;  // the last option of a plot, which needs --plot
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a == "--stop-on-error") {
            o.stopOnError = true;
        } else if (a == "--window") {
            o.window = true;
        } else if (a == "--no-window") {
            o.noWindow = true;
        } else if (a == "-s" || a == "--script") {
            if (!value(o.script)) return false;
        } else if (a == "-o" || a == "--output") {
            if (!value(o.output)) return false;
            if (!EndsWith(o.output, ".dxf")) {
                error = "option -o expects a file name ending in .dxf, not \"" + o.output + "\"";
                return false;
            }
        } else if (a == "--render") {
            if (!value(o.render)) return false;
            if (!EndsWith(o.render, ".png") && !EndsWith(o.render, ".svg") &&
                !EndsWith(o.render, ".pdf")) {
                error = "option --render expects a file name ending in .png, .svg or .pdf, not \"" +
                        o.render + "\"";
                return false;
            }
        } else if (a == "--plot") {
            if (!value(o.plot)) return false;
            if (!EndsWith(o.plot, ".pdf") && !EndsWith(o.plot, ".png") && !EndsWith(o.plot, ".svg")) {
                error = "option --plot expects a file name ending in .pdf, .png or .svg, not \"" + o.plot + "\"";
                return false;
            }
        } else if (a == "--sheet" || a == "--plot-scale" || a == "--plot-style") {
            if (!value(a == "--sheet" ? o.sheet : a == "--plot-scale" ? o.plotScale : o.plotStyle)) return false;
            plotOption = a;
        } else if (a == "--mono") {
            o.mono = true;
            plotOption = a;
        } else if (a == "--size") {
            std::string size;
            if (!value(size)) return false;
            if (!ParseSize(size, o.pictureWidth, o.pictureHeight)) {
                error = "option --size expects WIDTHxHEIGHT in pixels, each from 16 to 8000, "
                        "such as 800x600, not \"" + size + "\"";
                return false;
            }
        } else if (a == "--units") {
            if (!value(o.units)) return false;
            if (o.units != "mm" && o.units != "m") {
                error = "option --units expects mm or m, not \"" + o.units + "\"";
                return false;
            }
        } else if (a == "--lang") {
            if (!value(o.lang)) return false;
            if (o.lang != "zh" && o.lang != "en") {
                error = "option --lang expects zh or en, not \"" + o.lang + "\"";
                return false;
            }
        } else if (a == "--support") {
            if (!value(o.support)) return false;
        } else if (a == "--settings") {
            if (!value(o.settings)) return false;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else if (o.drawing.empty()) {
            o.drawing = a;
        } else {
            error = "only one drawing can be opened; \"" + a + "\" is one too many";
            return false;
        }
    }
    if (!plotOption.empty() && o.plot.empty()) {
        error = "option " + plotOption + " sets up a plot: give --plot FILE as well";
        return false;
    }
    if (o.window && o.noWindow) {
        error = "options --window and --no-window exclude each other; give one";
        return false;
    }
    return true;
}

}  // namespace vorn::app
