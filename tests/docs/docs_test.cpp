// Every example script of the user's guide runs to its end through vorncad without a line the
// program refuses, takes the dialog and drag pictures it names, and saves a drawing that the
// program reads again and audits clean. A script that no longer fits its commands fails here
// before a reader copies it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

// The files a script names after @dialogshot and @snapshot.
std::vector<std::string> PicturesNamed(const fs::path& script) {
    std::ifstream in(script);
    std::vector<std::string> files;
    const std::regex shot(R"(^@(dialogshot|snapshot)\s+(\S+)\s*$)");
    std::smatch m;
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, m, shot)) files.push_back(m[2]);
    return files;
}

}  // namespace

TEST(DocsScripts, EachRunsCleanlyAndSavesAnAuditedDrawing) {
    const fs::path scripts = fs::path(VORN_SOURCE_DIR) / "docs" / "scripts";
    const fs::path work = fs::path(VORN_BINARY_DIR) / "tests" / "docs" / "work";
    fs::remove_all(work);
    fs::create_directories(work / "docs" / "img");  // the scripts write their pictures here
    std::set<fs::path> all;
    for (const auto& e : fs::directory_iterator(scripts))
        if (e.path().extension() == ".scr") all.insert(e.path());
    ASSERT_GE(all.size(), 7u) << "the guide has a script for each drawing command";
    const std::regex refused(
        "is not accepted here|Unknown command|no dialog is open|has no control");
    for (const fs::path& script : all) {
        SCOPED_TRACE(script.filename().string());
        const std::string name = script.stem().string();
        const vorn::test::ScriptRun r = vorn::test::RunScriptSaving(
            script, work / (name + ".json"), work / (name + ".dxf"), "--size 400x300 --render '" + (work / (name + ".png")).string() + "'",
            work);
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_FALSE(std::regex_search(r.out, refused)) << r.out;
        for (const std::string& picture : PicturesNamed(script))
            EXPECT_TRUE(fs::exists(work / picture)) << picture << "\n" << r.out;
    }
}

// The scripts the guide shows in full are the scripts that run above: a block of the guide that
// follows a mention of docs/scripts/NAME.scr is a piece of that file, word for word. A block
// shortened with a "; ..." line is only a sample and is left out.
TEST(DocsScripts, TheGuideShowsTheScriptsAsTheyAre) {
    const fs::path top(VORN_SOURCE_DIR);
    const auto read = [](const fs::path& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    const std::string guide = read(top / "README.md");
    const std::regex named(R"(docs/scripts/([A-Za-z0-9_-]+)\.scr)");
    int checked = 0;
    for (std::size_t at = guide.find("```text\n"); at != std::string::npos;
         at = guide.find("```text\n", at)) {
        const std::size_t begin = at + 8, end = guide.find("```", begin);
        ASSERT_NE(end, std::string::npos) << "an unclosed block in the guide";
        const std::string block = guide.substr(begin, end - begin);
        const std::string before = guide.substr(at < 600 ? 0 : at - 600, at < 600 ? at : 600);
        at = end + 3;
        std::smatch m;
        std::string name;
        for (auto i = std::sregex_iterator(before.begin(), before.end(), named);
             i != std::sregex_iterator(); ++i)
            name = (*i)[1];  // the nearest mention before the block
        if (name.empty() || block.find("\n; ...") != std::string::npos) continue;
        const std::string script = read(top / "docs" / "scripts" / (name + ".scr"));
        EXPECT_NE(script.find(block), std::string::npos)
            << name << ".scr differs from the guide's block:\n"
            << block;
        ++checked;
    }
    EXPECT_GE(checked, 7);
}
