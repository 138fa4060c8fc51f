// vorncad's command-line options.
#pragma once

#include <string>
#include <vector>

namespace vorn::app {

struct Options {
    std::string drawing;     // DXF to open; empty for a new drawing
    std::string script;      // -s FILE; "-" for standard input; empty for none
    std::string output;      // -o OUT.dxf
    std::string render;      // --render OUT.png|.svg|.pdf
    // --plot OUT.pdf|.png|.svg on --sheet at --plot-scale (1:N or fit; empty: 1:PRINTSCALE),
    // --mono, pens from --plot-style (empty: the support directory's table).
    std::string plot, sheet = "A3", plotScale, plotStyle;
    bool mono = false;
    std::string units = "mm";
    std::string lang = "zh";
    std::string support;
    std::string settings;
    int pictureWidth = 1600;  // --size WxH: pixels of --render and @snapshot pictures
    int pictureHeight = 1200;
    bool quiet = false;
    bool stopOnError = false;  // --stop-on-error: the script ends at its first refused line
    bool window = false;     // --window
    bool noWindow = false;   // --no-window
    bool help = false;
    bool version = false;
};

// False with a message naming the option and what it expects.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string UsageText();

}  // namespace vorn::app
