// A framework jig driven from a script: cursor moves update the preview entity, which is what
// a snapshot draws; a pick ends the drag; Enter, Esc and keywords map to result codes.
#include <gtest/gtest.h>

#include <memory>

#include "framework/core/KyDbSymbElevation.h"
#include "framework/jig/VornEdJig.h"
#include "host/db/dbmain.h"
#include "host/ed/adsdefs.h"
#include "tests/host/ed/session.h"

namespace {

class ElevJig : public VornEdJig {
public:
    KyDbSymbElevation mark{AcGePoint3d(0, 0, 0), L"0.00"};
    int updates = 0;
    DragStatus sampler() override { return AcquirePointOnce(m_pt); }
    bool update() override {
        ++updates;
        mark.SetLocation(m_pt);
        mark.SetElevationText(mark.FormatElevation(m_pt.y / 100.0).c_str());
        return true;
    }
    AcDbEntity* entity() const override { return const_cast<KyDbSymbElevation*>(&mark); }
    AcGePoint3d m_pt;
};

}  // namespace

TEST(VornJig, CursorMovesUpdateThePreviewAndAPickEndsTheDrag) {
    auto db = std::make_unique<AcDbDatabase>(true);
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    vorn::ed::test::Session s("~100,200\n~100,200\n@snapshot x.png\n~300,450\n300,450\n\nESC\nK\n");
    const AcDbEntity* seen = nullptr;
    bool drew = false;
    vorn::ed::SetSnapshotWriter([&](const std::wstring&, const AcDbEntity* preview, std::wstring&) {
        seen = preview;
        AcDbExtents ext;
        drew = preview && preview->getGeomExtents(ext) == Acad::eOk && ext.contains2d(AcGePoint3d(100, 201, 0));
        return true;
    });
    ElevJig jig;
    EXPECT_EQ(jig.DragForResult(), RTNORM);
    EXPECT_EQ(jig.updates, 2);  // the repeated cursor place and the final pick change nothing
    EXPECT_EQ(seen, &jig.mark);
    EXPECT_TRUE(drew);  // the snapshot drew the mark where the cursor stood
    EXPECT_DOUBLE_EQ(jig.mark.GetLocation().x, 300.0);
    EXPECT_EQ(jig.mark.GetElevationText(), L"4.50");
    jig.setUserInputControls(AcEdJig::kNullResponseAccepted);
    EXPECT_EQ(jig.DragForResult(), RTNONE);
    EXPECT_EQ(jig.DragForResult(), RTCAN);
    EXPECT_EQ(jig.DragForResult(L"K"), RTKWORD);
    EXPECT_EQ(VornEdJig::ToResultCode(AcEdJig::kKW3), RTKWORD);
    vorn::ed::SetSnapshotWriter(nullptr);
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}
