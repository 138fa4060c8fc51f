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
#include "tests/commandoutput.h"

namespace {

namespace fs = std::filesystem;

using vorn::test::CommandOutput;

AcDbObjectId MakeBlock(AcDbDatabase& db, const wchar_t* name) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbBlockTableRecord();
    rec->setName(name);
    AcDbObjectId id;
    EXPECT_EQ(table->add(id, rec), Acad::eOk);
    rec->appendAcDbEntity(new AcDbLine(AcGePoint3d(-1, -1, 0), AcGePoint3d(1, 1, 0)));
    rec->close();
    table->close();
    return id;
}

template <class T>
const T* At(const AcDbDatabase& db, int i) {
    const AcDbObjectIdArray ids = db.modelSpaceIds();
    return i < ids.length() ? T::cast(db.peekObject(ids[i])) : nullptr;
}

}  // namespace

TEST(FrameworkDxf, EntitiesComeBackWithAllFieldsAndOtherReadersSeeThem) {
    KyRegisterFrameworkClasses();
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    const AcDbObjectId style = KyDtInitTextStyle(L"Standard", db.get());

    auto* text = new KyDbText(AcGePoint3d(10, 20, 0), L"香樟 3株", KyGiText::kRightMiddle);
    text->SetTextHeight(3.5, KyDbText::kPlotted);
    text->SetRotation(0.5);
    AddToModelSpace(text, 1, db.get());

    const AcDbObjectId tree = MakeBlock(*db, L"TREE");
    const AcDbObjectId plan = MakeBlock(*db, L"TREE_PLAN");
    auto* ref = new KyDbBlockReference(AcGePoint3d(100, 50, 0), tree);
    ref->SetBlockTableRecord2d(plan);
    ref->SetRotation(1.25);
    ref->SetScaleFactors(2, 3, 1);
    AddToModelSpace(ref, 1, db.get());

    AddToModelSpace(new KyDbSymbElevation(AcGePoint3d(-5, 7.5, 0), L"12.345", false), 1, db.get());

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
    AddToModelSpace(arrow, 1, db.get());

    const fs::path dir = fs::path(VORN_BINARY_DIR) / "test-output" / "framework-core";
    fs::create_directories(dir);
    const std::string file = (dir / "framework-entities.dxf").string();
    std::string error;
    ASSERT_EQ(vorn::dxf::WriteDxf(*db, file, error), Acad::eOk) << error;
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);

    std::unique_ptr<AcDbDatabase> back = vorn::dxf::ReadDxfFile(file, error);
    ASSERT_TRUE(back) << error;
    acdbHostApplicationServices()->setWorkingDatabase(back.get());
    ASSERT_EQ(back->modelSpaceIds().length(), 4);

    const KyDbText* t = At<KyDbText>(*back, 0);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->GetText(), L"香樟 3株");
    EXPECT_EQ(t->GetPosition(), AcGePoint3d(10, 20, 0));
    EXPECT_EQ(t->GetAlignment(), KyGiText::kRightMiddle);
    EXPECT_DOUBLE_EQ(t->GetTextHeight(), 3.5);
    EXPECT_EQ(t->GetHeightFlag(), KyDbText::kPlotted);
    EXPECT_DOUBLE_EQ(t->GetRotation(), 0.5);

    const KyDbBlockReference* r = At<KyDbBlockReference>(*back, 1);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->GetBlockTableRecord(), back->findBlock(L"TREE"));
    EXPECT_EQ(r->GetBlockTableRecord2d(), back->findBlock(L"TREE_PLAN"));
    EXPECT_EQ(r->GetPosition(), AcGePoint3d(100, 50, 0));
    EXPECT_DOUBLE_EQ(r->GetRotation(), 1.25);
    EXPECT_DOUBLE_EQ(r->GetScaleFactors().sy, 3.0);

    const KyDbSymbElevation* e = At<KyDbSymbElevation>(*back, 2);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetLocation(), AcGePoint3d(-5, 7.5, 0));
    EXPECT_EQ(e->GetElevationText(), L"12.345");
    EXPECT_FALSE(e->IsPrec2());

    const KyDbSymbArrow* a = At<KyDbSymbArrow>(*back, 3);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->GetVertices(), path);
    EXPECT_EQ(a->GetText1(), L"i=2.50%");
    EXPECT_EQ(a->GetText2(), L"L=63.2");
    EXPECT_EQ(a->GetArrowType(), KyDbSymbArrow::kOpenHead);
    EXPECT_DOUBLE_EQ(a->GetArrowSize(), 3.0);
    EXPECT_EQ(a->GetTextAlignment(), KyDbSymbArrow::kAtStart);
    EXPECT_EQ(a->GetTextColor(), 4);
    EXPECT_DOUBLE_EQ(a->GetTextHeight(), 2.5);
    EXPECT_DOUBLE_EQ(a->GetLayoutAngle(), 0.25);
    EXPECT_EQ(a->GetText1Position(), arrow->GetText1Position());
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);

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
