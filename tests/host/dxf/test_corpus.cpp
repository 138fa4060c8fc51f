// Drawings as other programs write them (tests/dxf-corpus: every version from R12 to R2018, text
// and binary, GBK, Big5 and Cyrillic code pages, hatches, dimensions, images, viewports,
// multileaders, groups, extension dictionaries, XDATA of several applications), each read and
// saved: ezdxf compares what was saved with the original, entity by entity, and audits it,
// LibreCAD prints it, and a second trip through the program writes the very same file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxf.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(VORN_SOURCE_DIR) / "tests" / "dxf-corpus";

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The command's output and exit status.
int RunCommand(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    std::array<char, 4096> buf{};
    while (size_t n = std::fread(buf.data(), 1, buf.size(), pipe)) output.append(buf.data(), n);
    return ::pclose(pipe);
}

bool HaveEzdxf() { return std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") == 0; }

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(kCorpus / "files"))
        if (e.path().extension() == ".dxf") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// A saved file without its handle seed, which every save moves on.
std::string WithoutSeed(std::string text) {
    const size_t at = text.find("$HANDSEED");
    if (at != std::string::npos) {
        size_t end = at;
        for (int lines = 0; lines < 3 && end != std::string::npos; ++lines) end = text.find('\n', end + 1);
        if (end != std::string::npos) text.erase(at, end - at);
    }
    return text;
}

}  // namespace

TEST(DxfCorpus, EveryFileComesBackWhole) {
    if (!HaveEzdxf()) GTEST_SKIP() << "ezdxf is not installed";
    const std::vector<fs::path> files = CorpusFiles();
    ASSERT_GE(files.size(), 12u);
    const bool librecad = std::system("command -v librecad >/dev/null 2>&1") == 0;
    const fs::path out = fs::path(VORN_BINARY_DIR) / "dxf_corpus";
    fs::remove_all(out);
    fs::create_directories(out);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::string error;
        std::vector<std::string> notes;
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(file.string(), error, notes);
        ASSERT_TRUE(db) << error;
        for (const std::string& n : notes) ADD_FAILURE() << "a sound file was mended: " << n;
        const fs::path saved = out / file.filename();
        ASSERT_EQ(vorn::dxf::WriteDxf(*db, saved.string(), error), Acad::eOk) << error;
        // A binary file is saved binary again.
        const std::string sentinel("AutoCAD Binary DXF\r\n\x1a", 21);
        EXPECT_EQ(Slurp(file).compare(0, 21, sentinel) == 0, Slurp(saved).compare(0, 21, sentinel) == 0);
        std::string report;
        const int status = RunCommand("/usr/bin/python3 " + (kCorpus / "compare.py").string() + " " + file.string() + " " +
                                   saved.string(),
                               report);
        EXPECT_EQ(status, 0) << report;

        // LibreCAD, another reader, turns the saved file into a picture. (It hangs on binary R12
        // files whoever wrote them, ezdxf included, so those are left to ezdxf.)
        if (librecad && file.filename().string() != "r12_binary.dxf") {
            const fs::path pdf = fs::path(saved).replace_extension(".pdf");
            fs::remove(pdf);
            std::string output;
            EXPECT_EQ(RunCommand("QT_QPA_PLATFORM=offscreen timeout 120 librecad dxf2pdf -a '" + saved.string() + "'",
                                 output),
                      0)
                << output;
            EXPECT_TRUE(fs::exists(pdf) && fs::file_size(pdf) > 1000) << "LibreCAD made no picture: " << output;
            fs::remove(pdf);
        }

        // Read and saved again, the drawing is the same file.
        std::unique_ptr<AcDbDatabase> again = vorn::dxf::ReadDxfFile(saved.string(), error, notes);
        ASSERT_TRUE(again) << error;
        const fs::path second = out / ("again_" + file.filename().string());
        ASSERT_EQ(vorn::dxf::WriteDxf(*again, second.string(), error), Acad::eOk) << error;
        EXPECT_TRUE(WithoutSeed(Slurp(saved)) == WithoutSeed(Slurp(second))) << "a second save differs: " << second;
    }
}
