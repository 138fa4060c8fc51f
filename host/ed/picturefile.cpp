// What a picture file holds, read back from its header: the line "Wrote FILE (1600×1200 PNG)"
// after @snapshot and @dialogshot says what the user got, not what was asked for.
#include <cstdlib>
#include <fstream>
#include <string>

#include "host/base/textcodec.h"
#include "host/ed/editorstate.h"

namespace vorn::ed {
namespace {

// The start of the file; the size of a picture is always in its first few hundred bytes,
// except for a PDF's page box, which the caller looks for in the whole file.
std::string ReadFile(const std::wstring& file, std::size_t limit) {
    std::ifstream in(ToUtf8(file), std::ios::binary);
    std::string data;
    if (!in) return data;
    data.resize(limit);
    in.read(&data[0], static_cast<std::streamsize>(limit));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

// The number after key ("width=\"", "/MediaBox [ 0 0 "...), skipping blanks; negative when
// there is none.
double NumberAfter(const std::string& text, const std::string& key, std::size_t from = 0) {
    const std::size_t at = text.find(key, from);
    if (at == std::string::npos) return -1;
    const char* p = text.c_str() + at + key.size();
    while (*p == ' ') ++p;
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    return end == p ? -1 : v;
}

std::wstring Dimensions(double w, double h) {
    const auto whole = [](double v) { return std::to_wstring(static_cast<long>(v + 0.5)); };
    return whole(w) + L"\u00d7" + whole(h) + L" ";
}

}  // namespace

std::wstring DescribePictureFile(const std::wstring& file) {
    const std::string png = ReadFile(file, 24);
    if (png.size() == 24 && png.compare(1, 3, "PNG") == 0) {
        const auto be = [&](std::size_t at) {
            unsigned long v = 0;
            for (std::size_t i = 0; i < 4; ++i)
                v = (v << 8) | static_cast<unsigned char>(png[at + i]);
            return static_cast<double>(v);
        };
        return Dimensions(be(16), be(20)) + L"PNG";
    }
    if (png.compare(0, 4, "%PDF") == 0) {
        // A page box "[ x0 y0 x1 y1 ]"; pictures start at the origin.
        const std::string pdf = ReadFile(file, 1 << 22);
        const std::size_t box = pdf.find("/MediaBox");
        if (box != std::string::npos) {
            const std::size_t open = pdf.find('[', box);
            double v[4] = {-1, -1, -1, -1};
            const char* p = open == std::string::npos ? nullptr : pdf.c_str() + open + 1;
            for (int i = 0; p && i < 4; ++i) {
                char* end = nullptr;
                v[i] = std::strtod(p, &end);
                p = end == p ? nullptr : end;
            }
            if (p && v[2] > v[0] && v[3] > v[1])
                return Dimensions(v[2] - v[0], v[3] - v[1]) + L"PDF";
        }
        return L"PDF";
    }
    const std::string head = ReadFile(file, 1024);
    const std::size_t svg = head.find("<svg");
    if (svg != std::string::npos) {
        const double w = NumberAfter(head, "width=\"", svg);
        const double h = NumberAfter(head, "height=\"", svg);
        return (w > 0 && h > 0 ? Dimensions(w, h) : std::wstring()) + L"SVG";
    }
    return L"picture";
}

}  // namespace vorn::ed
