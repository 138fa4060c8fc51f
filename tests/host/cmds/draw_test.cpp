// The drawing and editing commands through scripts: the entities they leave, their coordinates
// and layers, the options that take points back, and answers refused with a reason.
#include <cmath>

#include "cmdsession.h"

using vorn::cmds::test::CmdTest;
using vorn::cmds::test::ExpectPoint;

namespace {

class Draw : public CmdTest {};

TEST_F(Draw, LineDrawsSegmentsUndoTakesTheLastBackCloseReturnsToTheStart) {
    Run("LINE\n0,0\n10,0\n10,10\n99,99\nU\n0,10\nC\nLINE\n5,5\n5,5\nEsc\n");
    const auto lines = Of<AcDbLine>();
    ASSERT_EQ(lines.size(), 4u);
    ExpectPoint(Get<AcDbLine>(lines[2])->startPoint(), 10, 10);
    ExpectPoint(Get<AcDbLine>(lines[2])->endPoint(), 0, 10);
    ExpectPoint(Get<AcDbLine>(lines[3])->endPoint(), 0, 0);
    EXPECT_TRUE(Has("must differ from the last one"));
}

TEST_F(Draw, ArcThroughThreePointsEitherWayRoundAndRefusedOnALine) {
    Run("ARC\n10,0\n0,10\n-10,0\nARC\n-10,0\n0,10\n10,0\nARC\n0,0\n1,1\n2,2\n3,1\n");
    const auto arcs = Of<AcDbArc>();
    ASSERT_EQ(arcs.size(), 3u);
    for (int i = 0; i < 2; ++i) {  // the same upper half circle from both pick orders
        const AcDbArc* a = Get<AcDbArc>(arcs[i]);
        ExpectPoint(a->center(), 0, 0);
        EXPECT_NEAR(a->radius(), 10, 1e-9);
        EXPECT_NEAR(a->startAngle(), 0, 1e-12);
        EXPECT_NEAR(a->endAngle(), 3.14159265358979323846, 1e-12);
    }
    EXPECT_TRUE(Has("lie on one line"));
    ExpectPoint(Get<AcDbArc>(arcs[2])->center(), 2, -1);
}

TEST_F(Draw, PlineWithArcSegmentsAndClose) {
    Run("PLINE\n0,0\n10,0\nA\n15,5\n10,10\nL\n0,10\nC\nPLINE\n0,0\n5,0\nU\n7,0\n\n");
    const auto pls = Of<AcDbPolyline>();
    ASSERT_EQ(pls.size(), 2u);
    const AcDbPolyline* p = Get<AcDbPolyline>(pls[0]);
    ASSERT_EQ(p->numVerts(), 4u);
    EXPECT_TRUE(p->isClosed());
    double b = 0;
    p->getBulgeAt(1, b);
    EXPECT_NEAR(b, 1.0, 1e-12);  // a half circle, counter-clockwise
    AcGePoint2d v;
    p->getPointAt(2, v);
    ExpectPoint(AcGePoint3d(v), 10, 10);
    const AcDbPolyline* q = Get<AcDbPolyline>(pls[1]);
    ASSERT_EQ(q->numVerts(), 2u);
    q->getPointAt(1, v);
    ExpectPoint(AcGePoint3d(v), 7, 0);
}

TEST_F(Draw, CircleAndTextWithTheirValuesAndRefusals) {
    Run("CIRCLE\n5,5\n0\n-2\n3\nTEXT\n1,2\n0.5\n90\n总平面图 A\nTEXT\n0,0\n\n\n\n");
    const auto circles = Of<AcDbCircle>();
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_DOUBLE_EQ(Get<AcDbCircle>(circles[0])->radius(), 3);
    const auto texts = Of<AcDbText>();
    ASSERT_EQ(texts.size(), 1u);  // the empty text draws nothing
    const AcDbText* t = Get<AcDbText>(texts[0]);
    ExpectPoint(t->position(), 1, 2);
    EXPECT_DOUBLE_EQ(t->height(), 0.5);
    EXPECT_NEAR(t->rotation(), 3.14159265358979323846 / 2, 1e-12);
    EXPECT_EQ(t->textStringW(), L"总平面图 A");
    EXPECT_TRUE(Has("No text was given"));
}

TEST_F(Draw, LayerMakeAndSetDecideWhereEntitiesGo) {
    Run("LAYER\nM\nROAD\nM\nSITE\nS\nROAD\nS\nNOPE\nM\nbad|name\n\nLINE\n0,0\n1,0\n\n");
    EXPECT_FALSE(m_db->findLayer(L"SITE").isNull());
    EXPECT_TRUE(Has("Layer \"NOPE\" does not exist"));
    EXPECT_TRUE(Has("not a valid layer name"));
    EXPECT_EQ(Get<AcDbLine>(Of<AcDbLine>()[0])->layer(), L"ROAD");
}

TEST_F(Draw, MoveCopyEraseAndUndoOfEach) {
    const AcDbObjectId a = AddLine(0, 0, 10, 0);
    Run("MOVE\n5,0\n\n0,0\n0,100\nCOPY\n5,100\n\n0,0\n50,0\n");
    ExpectPoint(Get<AcDbLine>(a)->startPoint(), 0, 100);
    const auto lines = Of<AcDbLine>();
    ASSERT_EQ(lines.size(), 2u);
    ExpectPoint(Get<AcDbLine>(lines[1])->endPoint(), 60, 100);
    Run("ERASE\n5,100\n\n");
    EXPECT_TRUE(a.isErased());
    Run("U\nU\n");  // the erase and the copy
    EXPECT_FALSE(a.isErased());
    EXPECT_EQ(Of<AcDbLine>().size(), 1u);
}

TEST_F(Draw, ListShowsTheDataAndAuditFindsBadGeometry) {
    AddLine(0, 0, 10, 0, L"ROAD");
    Run("LIST\n5,0\n\nAUDIT\n");
    EXPECT_TRUE(Has("LINE"));
    EXPECT_TRUE(Has("ROAD"));
    EXPECT_TRUE(Has("no entity has non-finite or degenerate geometry"));
    AddLine(3, 3, 3, 3);  // no length
    Run("AUDIT\n");
    EXPECT_TRUE(Has("Audit: 1 entity has bad geometry"));
}

}  // namespace
