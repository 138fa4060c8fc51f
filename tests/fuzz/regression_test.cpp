// Every input kept in fuzz/regressions/TARGET/ goes again through that target's entry and must
// pass its checks; so must the seeds each target starts from (the shipped drawings, library
// groups and scripts), which a fix must not break either.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/library/KyDmLibGroup.h"
#include "fuzz/fuzzentries.h"
#include "host/dxf/dxf.h"
#include "host/ed/event.h"

namespace {

namespace fs = std::filesystem;

const fs::path kTop = VORN_SOURCE_DIR;

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Files of a folder whose names end in ext (every file for an empty ext), sorted.
std::vector<fs::path> Files(const fs::path& dir, const std::string& ext = "") {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file() && (ext.empty() || e.path().extension() == ext)) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

void Replay(const std::string& target, const std::vector<fs::path>& files) {
    const vorn::fuzz::Entry entry = vorn::fuzz::EntryByName(target);
    ASSERT_NE(entry, nullptr) << target;
    for (const fs::path& f : files) {
        const std::string bytes = Bytes(f);
        EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "")
            << target << ": " << f;
    }
}

std::vector<fs::path> Regressions(const std::string& target) { return Files(kTop / "fuzz" / "regressions" / target); }

std::vector<fs::path> Scripts() {
    std::vector<fs::path> files = Files(kTop / "examples", ".scr");
    for (const auto& e : fs::recursive_directory_iterator(kTop / "tests"))
        if (e.is_regular_file() && e.path().extension() == ".scr") files.push_back(e.path());
    return files;
}

}  // namespace

TEST(FuzzRegression, KeptInputsPassEveryTarget) {
    for (const char* target : {"dxf", "scriptlines", "script", "libgroup", "settings"}) Replay(target, Regressions(target));
}

TEST(FuzzRegression, ShippedDrawingsReadAndSaveAlike) {
    std::vector<fs::path> files = Files(kTop / "support", ".dxf");
    for (const char* lib : {"PlantLib", "GeneralDrawingLib"}) {
        std::vector<fs::path> more = Files(kTop / "support" / "DwgLib" / lib / "SysLib", ".dxf");
        files.insert(files.end(), more.begin(), more.end());
    }
    std::vector<fs::path> seeds = Files(kTop / "fuzz" / "seeds" / "dxf");
    files.insert(files.end(), seeds.begin(), seeds.end());
    ASSERT_GT(files.size(), 10u);
    Replay("dxf", files);
}

TEST(FuzzRegression, ShippedLibraryGroupsSettingsAndScriptsPass) {
    Replay("libgroup", {kTop / "support/DwgLib/PlantLib/LibGroup.dmls", kTop / "support/DwgLib/GeneralDrawingLib/LibGroup.dmls"});
    Replay("settings", Files(kTop / "fuzz" / "seeds" / "settings"));
    const std::vector<fs::path> scripts = Scripts();
    ASSERT_GT(scripts.size(), 5u);
    Replay("scriptlines", scripts);
    Replay("script", scripts);
}

// A polar answer with an angle of 1e308 degrees once gave an infinite angle: the whole turns
// are now taken off first, so the point is where that angle points.
TEST(FuzzRegression, HugePolarAngleStaysFinite) {
    const auto p = vorn::ed::ParsePoint(L"10<1e308");
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->polar);
    EXPECT_TRUE(std::isfinite(p->y));
    const auto q = vorn::ed::ParsePoint(L"10<-720.5");
    ASSERT_TRUE(q);
    EXPECT_NEAR(q->y, -0.5 * 3.14159265358979323846 / 180.0, 1e-15);
}

// A library group of 200,000 nested directories once ran the stack out while its tree was
// read: the tree now stops at 256 levels, says so, and keeps what lies above.
TEST(FuzzRegression, DeeplyNestedLibraryGroupIsCutWithAReason) {
    const int levels = 200000;
    std::string xml = "<libgroup name=\"g\"><library name=\"a\"><item name=\"top\" file=\"t.dxf\"/>";
    for (int i = 0; i < levels; ++i) xml += "<directory name=\"d\">";
    for (int i = 0; i < levels; ++i) xml += "</directory>";
    xml += "</library></libgroup>";
    const fs::path file = fs::path(VORN_BINARY_DIR) / "tests" / "fuzz" / "deep.dmls";
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << xml;
    KyDmLibGroup group;
    group.SetFileName(file.wstring());
    ASSERT_TRUE(group.ReadFromXML());
    ASSERT_TRUE(group.ReadLibFromXML());
    ASSERT_EQ(group.GetLibraryCount(), 1);
    const KyDtLibItemBase* node = group.GetLibrary(0);
    EXPECT_EQ(node->GetChild(0)->GetName(), L"top");
    int depth = 0;
    while (node->GetChildCount() > 0) node = node->GetChild(node->GetChildCount() - 1), ++depth;
    EXPECT_EQ(depth, 256);
    ASSERT_EQ(group.GetSkipped().size(), 1u);
    EXPECT_NE(group.GetSkipped()[0].find(L"nested deeper than 256 levels"), std::wstring::npos);
}

// A drawing chaining 200,000 blocks, each inserting the next, once ran the stack out in the
// search for blocks that insert themselves; it reads now, and a cycle through three blocks is
// still found at the insert that closes it, which is left out with a note.
TEST(FuzzRegression, LongBlockChainsReadAndCyclesAreFound) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "fuzz";
    fs::create_directories(dir);
    const auto chain = [](int n, bool closed) {
        std::string text = "0\nSECTION\n2\nBLOCKS\n";
        for (int i = 0; i < n; ++i)
            text += "0\nBLOCK\n2\nB" + std::to_string(i) + "\n0\nINSERT\n2\nB" + std::to_string(closed ? (i + 1) % n : i + 1) +
                    "\n0\nENDBLK\n";
        if (!closed) text += "0\nBLOCK\n2\nB" + std::to_string(n) + "\n0\nENDBLK\n";
        return text + "0\nENDSEC\n0\nEOF\n";
    };
    std::string error;
    const fs::path longFile = dir / "chain.dxf";
    std::ofstream(longFile, std::ios::binary) << chain(200000, false);
    EXPECT_TRUE(vorn::dxf::ReadDxfFile(longFile.string(), error)) << error;
    const fs::path cycleFile = dir / "cycle.dxf";
    std::ofstream(cycleFile, std::ios::binary) << chain(3, true);
    std::vector<std::string> notes;
    EXPECT_TRUE(vorn::dxf::ReadDxfFile(cycleFile.string(), error, notes)) << error;
    // The third block's insert (line 29) closes the cycle B0 -> B1 -> B2 -> B0.
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("cycle.dxf:29: block \"B0\" inserts itself"), std::string::npos) << notes[0];
}
