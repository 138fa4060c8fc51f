// Framework entities through a drawing file: each comes back as itself with all its fields, and
// another DXF reader (ezdxf) sees what every CAD program sees in the same file: the TEXT, the
// INSERTs of the symbols' graphics and their VORN extended data, and an audit without errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/core/KyDbBlockReference.h"
#include "framework/core/KyDbSymbArrow.h"
#include "framework/core/KyDbSymbElevation.h"
#include "framework/core/KyDbText.h"
#include "framework/core/KyDbUtil.h"
#include "framework/core/KyDtLayer.h"
#include "framework/core/KyFramework.h"
#include "host/db/dbline.h"
#include "host/db/dbmain.h"
#include "host/db/dbsymtb.h"
#include "host/dxf/dxf.h"
#include "host/base/textcodec.h"
#include "tests/commandoutput.h"
#include "tests/testdrawing.h"

namespace {

namespace fs = std::filesystem;

using vorn::test::CommandOutput;

std::vector<AcDbXDataItem> Fields(const AcDbEntity& e) {
    std::vector<AcDbXDataItem> f;
    e.writeFields(f);
    return f;
}

}  // namespace

// Every saved field comes back, each entity as its own class found by its drawing type name.
TEST(FrameworkDxf, EntitiesComeBackWithAllFieldsAndOtherReadersSeeThem) {
    KyRegisterFrameworkClasses();
    vorn::test::TestDrawing d;
    AcDbDatabase* db = &d.db();
    const AcDbObjectId style = KyDtInitTextStyle(L"Standard", db);

    auto* text = new KyDbText(AcGePoint3d(10, 20, 0), L"香樟 3株", KyGiText::kRightMiddle);
    text->SetTextHeight(3.5, KyDbText::kPlotted);
    text->SetRotation(0.5);

    const AcDbObjectId tree = d.block(L"TREE", {vorn::test::Line(-1, -1, 1, 1)});
    const AcDbObjectId plan = d.block(L"TREE_PLAN", {vorn::test::Line(-1, -1, 1, 1)});
    auto* ref = new KyDbBlockReference(AcGePoint3d(100, 50, 0), tree);
    ref->SetBlockTableRecord2d(plan);
    ref->SetRotation(1.25);
    ref->SetScaleFactors(2, 3, 1);

    auto* elev = new KyDbSymbElevation(AcGePoint3d(-5, 7.5, 0), L"12.345", false);
    elev->SetLayoutAngle(0.3);

    auto* arrow = new KyDbSymbArrow();
    std::vector<vorn::db::BulgeVertex> path(3);
    path[0].point = AcGePoint2d(0, 0);
    path[1].point = AcGePoint2d(30, 0);
    path[1].bulge = 0.3;
    path[2].point = AcGePoint2d(60, 10);
    ASSERT_EQ(arrow->SetVertices(path), Acad::eOk);
    arrow->SetText1(L"i=2.50%");
    arrow->SetText2(L"L=63.2");
    arrow->SetArrowType(KyDbSymbArrow::kOpenHead);
    arrow->SetArrowSize(3.0);
    arrow->SetTextAlignment(KyDbSymbArrow::kAtStart);
    arrow->SetTextColor(4);
    arrow->SetTextHeight(2.5);
    arrow->SetLayoutAngle(0.25);
    if (!style.isNull()) arrow->SetTextStyle(style);
    arrow->ResetTextPos();

    std::vector<std::vector<AcDbXDataItem>> written;
    std::vector<AcRxClass*> classes;
    for (AcDbEntity* e : std::initializer_list<AcDbEntity*>{text, ref, elev, arrow}) {
        written.push_back(Fields(*e));
        classes.push_back(e->isA());
        AddToModelSpace(e, 1, db);
    }
    // The elevation symbol's leading fields are the ones every reader relies on.
    ASSERT_GE(written[2].size(), 3u);
    EXPECT_EQ(written[2][0].code, 1010);
    EXPECT_EQ(written[2][1].str, L"12.345");
    EXPECT_EQ(written[2][2].integer, 0);

    const fs::path dir = fs::path(VORN_BINARY_DIR) / "test-output" / "framework-core";
    fs::create_directories(dir);
    const std::string file = (dir / "framework-entities.dxf").string();
    std::string error;
    ASSERT_EQ(vorn::dxf::WriteDxf(*db, file, error), Acad::eOk) << error;

    std::unique_ptr<AcDbDatabase> back = vorn::dxf::ReadDxfFile(file, error);
    ASSERT_TRUE(back) << error;
    acdbHostApplicationServices()->setWorkingDatabase(back.get());
    const AcDbObjectIdArray ids = back->modelSpaceIds();
    ASSERT_EQ(ids.length(), 4);
    for (int i = 0; i < 4; ++i) {
        const auto* e = AcDbEntity::cast(back->peekObject(ids[i]));
        ASSERT_TRUE(e);
        EXPECT_EQ(e->isA(), classes[i]) << i;
        EXPECT_EQ(Fields(*e), written[i]) << vorn::ToUtf8(classes[i]->dxfName());
    }
    // Blocks are found again by name in the drawing read.
    const auto* r = KyDbBlockReference::cast(back->peekObject(ids[1]));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->GetBlockTableRecord(), back->findBlock(L"TREE"));
    EXPECT_EQ(r->GetBlockTableRecord2d(), back->findBlock(L"TREE_PLAN"));
    EXPECT_EQ(KyDbText::cast(back->peekObject(ids[0]))->GetText(), L"香樟 3株");
    acdbHostApplicationServices()->setWorkingDatabase(&d.db());

    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) GTEST_SKIP() << "ezdxf is not installed";
    // Each model-space entity as its type and the first VORN string, then the audit's errors.
    const std::string listing = CommandOutput(
        "/usr/bin/python3 -c \"import ezdxf,sys\n"
        "d=ezdxf.readfile(sys.argv[1])\n"
        "for e in d.modelspace():\n"
        "  x=e.get_xdata('VORN') if e.has_xdata('VORN') else []\n"
        "  print(e.dxftype(), x[0][1] if x else '-')\n"
        "print('errors', len(d.audit().errors))\" '" + file + "' 2>&1");
    EXPECT_EQ(listing,
              "TEXT VORN_TEXT\nINSERT VORN_INSERT\nINSERT VORN_SYMB_ELEVATION\nINSERT VORN_SYMB_ARROW\nerrors 0\n");
}
