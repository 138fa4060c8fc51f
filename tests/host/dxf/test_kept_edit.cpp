// Entities kept as their drawing file has them (hatches, dimensions, splines, images, ...) under
// the host's edit commands: MOVE and COPY take their points along (and a block reference's
// attributes with it), a kind that cannot follow is refused with a message and left alone,
// UNDO brings everything back, ERASE takes them out, LIST shows them, and every saved file
// still audits clean in ezdxf (no handle twice, nothing naming what was erased).
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "host/base/textcodec.h"
#include "host/dxf/dxf.h"
#include "tests/host/cmds/cmdsession.h"

namespace {

using vorn::cmds::test::CmdTest;

const std::string kCorpus = std::string(VORN_SOURCE_DIR) + "/tests/dxf-corpus/files/";

class KeptEdit : public CmdTest {
protected:
    void Load(const std::string& file) {
        std::string error;
        ASSERT_EQ(vorn::dxf::ReadDxf(kCorpus + file, *m_db, error), Acad::eOk) << error;
    }
    // The extents of every live model-space entity, by handle, and its kind.
    std::map<std::uint64_t, std::pair<std::string, AcDbExtents>> Boxes() const {
        std::map<std::uint64_t, std::pair<std::string, AcDbExtents>> out;
        for (const AcDbObjectId& id : m_db->modelSpaceIds()) {
            const auto* e = AcDbEntity::cast(m_db->peekObject(id));
            AcDbExtents box;
            e->getGeomExtents(box);
            const auto* kept = AcDbKeptEntity::cast(e);
            out[id.handle().value()] = {kept ? kept->type() : vorn::ToUtf8(e->isA()->dxfName()), box};
        }
        return out;
    }
    // The first attribute's insertion point of the first block reference that has one.
    AcGePoint3d AttributePoint() const {
        for (const AcDbObjectId& id : m_db->modelSpaceIds()) {
            const auto* ref = AcDbBlockReference::cast(m_db->peekObject(id));
            if (!ref || !ref->keptData()) continue;
            for (const AcDbKeptRecord& r : ref->keptData()->following) {
                if (r.type != "ATTRIB") continue;
                AcGePoint3d p;
                for (const AcDbKeptGroup& g : r.groups) {
                    if (g.code == 10) vorn::db::KeptReal(g, p.x);
                    if (g.code == 20) vorn::db::KeptReal(g, p.y);
                }
                return p;
            }
        }
        ADD_FAILURE() << "no attribute";
        return AcGePoint3d();
    }
    void ExpectSavedFileAuditsClean(const std::string& name) {
        const std::string path = std::string(VORN_BINARY_DIR) + "/dxf_kept_" + name + ".dxf";
        std::string error;
        ASSERT_EQ(vorn::dxf::WriteDxf(*m_db, path, error), Acad::eOk) << error;
        if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) return;
        const std::string cmd = "/usr/bin/python3 -c \"import ezdxf,sys; a=ezdxf.readfile(sys.argv[1]).audit(); "
                                "[print(e.message) for e in a.errors]; sys.exit(1 if a.has_errors else 0)\" " + path;
        EXPECT_EQ(std::system(cmd.c_str()), 0) << path;
    }
};

bool Shifted(const AcDbExtents& a, const AcDbExtents& b, double dx, double dy) {
    const auto near = [](double u, double v) { return std::fabs(u - v) <= 1e-9 * (1.0 + std::fabs(u)); };
    return near(a.minPoint().x + dx, b.minPoint().x) && near(a.minPoint().y + dy, b.minPoint().y) &&
           near(a.maxPoint().x + dx, b.maxPoint().x) && near(a.maxPoint().y + dy, b.maxPoint().y);
}

}  // namespace

TEST_F(KeptEdit, MoveCopyUndoEraseAndListTakeKeptEntitiesAlong) {
    Load("r2010_mleader.dxf");
    const auto before = Boxes();
    const AcGePoint3d attribute = AttributePoint();
    int kept = 0, dimensions = 0;
    for (const auto& [handle, entry] : before) {
        kept += entry.first != "LINE" && entry.first != "CIRCLE" && entry.first != "ARC" && entry.first != "TEXT" &&
                entry.first != "MTEXT" && entry.first != "INSERT" && entry.first != "LWPOLYLINE" && entry.first != "POLYLINE";
        dimensions += entry.first == "DIMENSION";
    }
    ASSERT_GT(kept, 15);

    Run("LIST\nALL\n\n");
    EXPECT_TRUE(Has("HATCH  Layer: \"")) << out;
    EXPECT_TRUE(Has("Kept as the drawing file has it"));

    Run("MOVE\nALL\n\n0,0\n100,50\n");
    EXPECT_TRUE(Has("1 MULTILEADER is kept as its drawing file has it; the program cannot move it.")) << out;
    const auto moved = Boxes();
    for (const auto& [handle, entry] : before) {
        SCOPED_TRACE(entry.first + " #" + std::to_string(handle));
        const AcDbExtents& now = moved.at(handle).second;
        if (!entry.second.isValid()) continue;
        const double dx = entry.first == "MULTILEADER" ? 0 : 100, dy = entry.first == "MULTILEADER" ? 0 : 50;
        EXPECT_TRUE(Shifted(entry.second, now, dx, dy));
    }
    const AcGePoint3d attributeMoved = AttributePoint();
    EXPECT_NEAR(attributeMoved.x, attribute.x + 100, 1e-9);
    EXPECT_NEAR(attributeMoved.y, attribute.y + 50, 1e-9);
    ExpectSavedFileAuditsClean("moved");

    Run("U\n");
    const auto undone = Boxes();
    for (const auto& [handle, entry] : before) {
        if (entry.second.isValid()) {
            EXPECT_TRUE(Shifted(entry.second, undone.at(handle).second, 0, 0)) << entry.first;
        }
    }

    // A copy needs handles of its own, for its attributes too; a dimension would need a block.
    Run("COPY\nALL\n\n0,0\n0,300\n");
    EXPECT_TRUE(Has(std::to_string(dimensions) + " DIMENSIONs are kept as their drawing file has them; the program "
                                                 "cannot copy them."))
        << out;
    EXPECT_EQ(Boxes().size(), 2 * before.size() - dimensions - 1);
    ExpectSavedFileAuditsClean("copied");

    // Erased, the entities take their extension dictionaries, group places and image reactors
    // with them.
    Run("ERASE\nALL\n\n");
    EXPECT_TRUE(Boxes().empty());
    ExpectSavedFileAuditsClean("erased");
}

TEST_F(KeptEdit, AuditListsWhatTheReaderMended) {
    const std::string path = std::string(VORN_BINARY_DIR) + "/dxf_kept_mended.dxf";
    std::ofstream(path, std::ios::binary) << "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n40\n0\n0\nLINE\n11\n1\n0\nENDSEC\n";
    std::string error;
    ASSERT_EQ(vorn::dxf::ReadDxf(path, *m_db, error), Acad::eOk) << error;
    Run("AUDIT\n");
    EXPECT_TRUE(Has("Audit: the drawing file was mended when it was opened:\n  " + path +
                    ":5: a CIRCLE with a radius of 0 or less was left out\n  " + path +
                    ":14: the file ends without its end marker (group 0 \"EOF\"); what was read is kept\n"))
        << out;
}
