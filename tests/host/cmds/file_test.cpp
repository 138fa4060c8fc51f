// SAVE, SAVEAS and RENDER through scripts: what reaches the file and what comes back.
#include <unistd.h>

#include <filesystem>

#include "cmdsession.h"
#include "host/dxf/dxf.h"

using vorn::cmds::test::CmdTest;
namespace fs = std::filesystem;

namespace {

class Files : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        dir = fs::temp_directory_path() / ("vorn_cmds_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        vorn::cmds::SetDrawingFileName(L"");
    }
    void TearDown() override {
        vorn::cmds::SetDrawingFileName(L"");
        fs::remove_all(dir);
        CmdTest::TearDown();
    }
    fs::path dir;
};

TEST_F(Files, SaveAsWritesDxfThatReadsBackAndSaveReusesTheName) {
    const std::string base = (dir / "site").string();
    Run("LAYER\nM\n道路\n\nLINE\n0,0\n100,50\n\nCIRCLE\n10,10\n5\nSAVEAS\nsite.dwg\n" + base +
        "\nLINE\n0,0\n0,7\n\nSAVE\n");
    EXPECT_TRUE(Has("give a file name ending in .dxf"));
    std::string error;
    auto back = vorn::dxf::ReadDxfFile(base + ".dxf", error);
    ASSERT_TRUE(back) << error;
    int lines = 0, circles = 0;
    for (const AcDbObjectId& id : back->modelSpaceIds()) {
        const AcDbObject* o = back->peekObject(id);
        if (const AcDbLine* l = AcDbLine::cast(o)) {
            ++lines;
            EXPECT_EQ(l->layer(), L"道路");
        }
        if (AcDbCircle::cast(o)) ++circles;
    }
    EXPECT_EQ(lines, 2);  // the second line came with SAVE, to the same file
    EXPECT_EQ(circles, 1);
}

TEST_F(Files, AFailedSaveSaysWhyAndIsNotReportedAsDone) {
    Run("SAVEAS\n" + (dir / "missing" / "x.dxf").string() + "\nSAVE\n\n");
    EXPECT_TRUE(Has("The drawing was not saved"));
    EXPECT_FALSE(Has("Drawing saved as"));
    EXPECT_TRUE(vorn::cmds::DrawingFileName().empty());  // SAVE still asks for a name
    EXPECT_EQ(out.find("Save drawing as (.dxf) <"), std::string::npos);
}

TEST_F(Files, RenderWritesAPictureAndRefusesOtherExtensions) {
    const std::string png = (dir / "view.png").string();
    Run("LINE\n0,0\n10,10\n\nRENDER\nview.bmp\n" + png + "\n");
    EXPECT_TRUE(Has("ends in .png, .svg or .pdf"));
    EXPECT_TRUE(fs::file_size(png) > 0);
}

}  // namespace
