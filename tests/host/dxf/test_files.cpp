// Framework entities through a file, and saves that fail without harming the file they replace.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/db/db.h"
#include "host/dxf/dxf.h"

namespace {

namespace fs = std::filesystem;

// A framework-style entity: a labelled point drawn as a circle, its fields saved as XDATA.
class PlantSymbol : public AcDbEntity {
    ACRX_DECLARE_MEMBERS(PlantSymbol)
public:
    AcGePoint3d location;
    std::wstring label;
    void writeFields(std::vector<AcDbXDataItem>& f) const override {
        f.push_back(AcDbXDataItem::position(location));
        f.push_back(AcDbXDataItem::string(label));
    }
    Acad::ErrorStatus readFields(const std::vector<AcDbXDataItem>& f) override {
        if (f.size() != 2 || f[0].kind() != AcDbXDataItem::kPoint) return Acad::eInvalidInput;
        location = f[0].point;
        label = f[1].str;
        return Acad::eOk;
    }
    bool worldDraw(AcGiWorldDraw* d) const override { return d->geometry().circle(location, 2.0); }
};
ACRX_DXF_DEFINE_MEMBERS(PlantSymbol, AcDbEntity, L"VORN_PLANT_SYMBOL")

AcDbObjectId Add(AcDbDatabase& db, AcDbEntity* e) {
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(ms->appendAcDbEntity(id, e), Acad::eOk);
    e->close();
    ms->close();
    return id;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

fs::path Folder(const std::string& name) {
    fs::path dir = fs::path(VORN_BINARY_DIR) / ("dxf_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

}  // namespace

TEST(DxfFiles, FrameworkEntitiesComeBackAsThemselves) {
    PlantSymbol::rxInit();
    AcDbDatabase db(true);
    auto* s = new PlantSymbol();
    s->location = AcGePoint3d(1234.5, -6.25, 0);
    s->label = L"香樟";
    Add(db, s);
    Add(db, new AcDbLine({0, 0, 0}, {1, 1, 0}));
    const fs::path dir = Folder("framework");
    const std::string path = (dir / "plants.dxf").string();
    std::string error;
    ASSERT_EQ(vorn::dxf::WriteDxf(db, path, error), Acad::eOk) << error;
    std::unique_ptr<AcDbDatabase> back = vorn::dxf::ReadDxfFile(path, error);
    ASSERT_TRUE(back) << error;
    AcDbObjectIdArray ids = back->modelSpaceIds();
    ASSERT_EQ(ids.length(), 2);
    const auto* plant = PlantSymbol::cast(back->peekObject(ids[0]));
    ASSERT_NE(plant, nullptr) << "the symbol came back as " << (back->peekObject(ids[0]) ? "another class" : "nothing");
    EXPECT_EQ(plant->location, AcGePoint3d(1234.5, -6.25, 0));
    EXPECT_EQ(plant->label, L"香樟");
    EXPECT_NE(AcDbLine::cast(back->peekObject(ids[1])), nullptr);
    // A second trip gives the symbol again, and its drawn graphics do not pile up as blocks.
    const std::string again = (dir / "again.dxf").string();
    ASSERT_EQ(vorn::dxf::WriteDxf(*back, again, error), Acad::eOk) << error;
    std::unique_ptr<AcDbDatabase> third = vorn::dxf::ReadDxfFile(again, error);
    ASSERT_TRUE(third) << error;
    const auto* plant3 = PlantSymbol::cast(third->peekObject(third->modelSpaceIds()[0]));
    ASSERT_NE(plant3, nullptr);
    EXPECT_EQ(plant3->label, L"香樟");
    AcDbBlockTable* bt = nullptr;
    ASSERT_EQ(third->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
    EXPECT_LE(bt->recordIds().length(), 3);  // model space, paper space, the symbol's graphics
    bt->close();
}

TEST(DxfFiles, AFailedSaveLeavesTheOldFileAndNoTemporary) {
    AcDbDatabase db(true);
    Add(db, new AcDbLine({0, 0, 0}, {5, 0, 0}));
    const fs::path dir = Folder("atomic");
    const fs::path target = dir / "site.dxf";
    std::string error;
    ASSERT_EQ(vorn::dxf::WriteDxf(db, target.string(), error), Acad::eOk) << error;
    const std::string before = Slurp(target);
    Add(db, new AcDbLine({0, 0, 0}, {0, 5, 0}));

    // The folder made read-only: no temporary file can be made (root ignores the mode, so the
    // case is only checked where it means something).
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.c_str(), W_OK) != 0) {
        EXPECT_NE(vorn::dxf::WriteDxf(db, target.string(), error), Acad::eOk);
        EXPECT_NE(error.find("site.dxf"), std::string::npos) << error;
        EXPECT_EQ(Slurp(target), before);
    }
    fs::permissions(dir, fs::perms::owner_all);

    // The rename itself fails: the target is a non-empty folder.
    const fs::path folderTarget = dir / "taken.dxf";
    fs::create_directories(folderTarget / "inside");
    EXPECT_NE(vorn::dxf::WriteDxf(db, folderTarget.string(), error), Acad::eOk);
    EXPECT_NE(error.find("taken.dxf"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(folderTarget / "inside"));

    EXPECT_EQ(Slurp(target), before);
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_TRUE(entry.path() == target || entry.path() == folderTarget) << "left behind: " << entry.path();
    // A good save then replaces the file.
    ASSERT_EQ(vorn::dxf::WriteDxf(db, target.string(), error), Acad::eOk) << error;
    EXPECT_NE(Slurp(target), before);
}
