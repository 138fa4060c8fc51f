// Drawings saved and read back: every entity kind, Chinese text, extended data, header values,
// and the saved file audited by ezdxf where it is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxf.h"

namespace {

AcDbObjectId Add(AcDbDatabase& db, AcDbEntity* e, const AcDbObjectId& block = AcDbObjectId()) {
    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(acdbOpenObject(rec, block.isNull() ? db.modelSpaceId() : block, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(rec->appendAcDbEntity(id, e), Acad::eOk);
    e->close();
    rec->close();
    return id;
}

std::string TempPath(const std::string& name) { return std::string(VORN_BINARY_DIR) + "/dxf_" + name; }

// Builds a drawing with one of each kind the files carry.
void Populate(AcDbDatabase& db, const std::wstring& layerName = L"道路") {
    AcDbObjectId layer;
    ASSERT_EQ(db.ensureLayer(layerName, layer), Acad::eOk);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1000.5, 2000.25, 0));
    line->setLayer(layer);
    line->setColor(AcCmColor::fromRGB(10, 200, 30));
    AcDbObjectId lineId = Add(db, line);
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, lineId, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(o->setXData(L"MYAPP", {AcDbXDataItem::string(L"标签"), AcDbXDataItem::number(0.1),
                                     AcDbXDataItem::integer16(-7), AcDbXDataItem::position(AcGePoint3d(1, 2, 3))}),
              Acad::eOk);
    o->close();
    Add(db, new AcDbCircle(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 2.5));
    Add(db, new AcDbArc(AcGePoint3d(-5, 5, 0), 3.0, 0.25, 4.0));
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, AcGePoint2d(0, 0), 0.5, 1.0, 2.0);
    pl->addVertexAt(1, AcGePoint2d(10, 0), 0.0);
    pl->addVertexAt(2, AcGePoint2d(10, 10), -0.25);
    pl->setClosed(true);
    Add(db, pl);
    Add(db, new AcDb2dPolyline(AcDb::k2dSimplePoly, {AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0), AcGePoint3d(6, 0, 0)}, 1.5, true));
    auto* text = new AcDbText(AcGePoint3d(1, 2, 0), L"总平面图 ^ \\ 10%", AcDbObjectId(), 3.5, 0.5);
    text->setHorizontalMode(AcDb::kTextCenter);
    text->setVerticalMode(AcDb::kTextVertMid);
    text->setAlignmentPoint(AcGePoint3d(4, 5, 0));
    Add(db, text);
    auto* mtext = new AcDbMText();
    mtext->setLocation(AcGePoint3d(7, 8, 0));
    mtext->setContents((std::wstring(300, L'字') + L"\\Pend").c_str());
    Add(db, mtext);
    AcDbBlockTable* blocks = nullptr;
    ASSERT_EQ(db.getBlockTable(blocks, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbBlockTableRecord();
    rec->setName(L"树");
    AcDbObjectId blockId;
    ASSERT_EQ(blocks->add(blockId, rec), Acad::eOk);
    rec->close();
    blocks->close();
    Add(db, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0), blockId);
    auto* ref = new AcDbBlockReference(AcGePoint3d(20, 30, 0), blockId);
    ref->setRotation(0.75);
    ref->setScaleFactors(AcGeScale3d(2.0, 3.0, 1.0));
    Add(db, ref);
    db.setDrawUnit(1);
    db.setPrintScale(500.0);
    db.setFilletrad(12.5);
    db.setClayer(layer);
}

// A fingerprint of model space: kinds, layers, texts and key numbers in database order.
std::wstring Fingerprint(AcDbDatabase& db) {
    std::wstring out;
    for (const AcDbObjectId& id : db.modelSpaceIds()) {
        const auto* e = AcDbEntity::cast(db.peekObject(id));
        // Handles are renumbered by a load; everything else must match.
        std::wstring list = e->list();
        for (size_t h = list.find(L"Handle:"); h != std::wstring::npos; h = list.find(L"Handle:"))
            list.erase(h, list.find(L'\n', h) - h);
        out += list + L"|";
        for (const auto& [app, items] : e->allXData()) {
            out += app + L":" + std::to_wstring(items.size());
            for (const auto& i : items) out += L"," + i.str + std::to_wstring(i.real) + std::to_wstring(i.integer) + std::to_wstring(i.point.z);
        }
        out += L"\n";
    }
    return out;
}

TEST(DxfRoundTrip, EveryKindSurvivesSaveAndLoad) {
    AcDbDatabase db(true);
    Populate(db);
    std::string path = TempPath("roundtrip.dxf"), error;
    ASSERT_EQ(vorn::dxf::WriteDxf(db, path, error), Acad::eOk) << error;
    std::unique_ptr<AcDbDatabase> back = vorn::dxf::ReadDxfFile(path, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(Fingerprint(db), Fingerprint(*back));
    EXPECT_EQ(back->drawUnit(), 1);
    EXPECT_EQ(back->printScale(), 500.0);
    EXPECT_EQ(back->filletrad(), 12.5);
    const auto* clayer = AcDbLayerTableRecord::cast(back->peekObject(back->clayer()));
    ASSERT_TRUE(clayer);
    EXPECT_EQ(clayer->name(), L"道路");
    // A second save of what was read is the same file: nothing drifts.
    std::string second = TempPath("roundtrip2.dxf");
    ASSERT_EQ(vorn::dxf::WriteDxf(*back, second, error), Acad::eOk) << error;
    std::unique_ptr<AcDbDatabase> again = vorn::dxf::ReadDxfFile(second, error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(Fingerprint(*back), Fingerprint(*again));
}

TEST(DxfRoundTrip, SavedFileAuditsCleanInEzdxf) {
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) GTEST_SKIP() << "ezdxf is not installed";
    AcDbDatabase db(true);
    Populate(db);  // Chinese layer, block and text
    std::string path = TempPath("audit.dxf"), error;
    ASSERT_EQ(vorn::dxf::WriteDxf(db, path, error), Acad::eOk) << error;
    // The names and texts must reach ezdxf as the characters themselves, not as escapes.
    std::string cmd = "/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); a=d.audit(); "
                      "[print(e.message) for e in a.errors]; t=[e.dxf.text for e in d.modelspace().query('TEXT')]; "
                      "ok=t and t[0].startswith('\u603b\u5e73') and '\u9053\u8def' in d.layers and '\u6811' in d.blocks; "
                      "sys.exit(1 if a.has_errors or not ok else 0)\" " + path;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
}

}  // namespace

// A drawing of an older file is saved in its version and code page: what the page holds is
// written in it, what it lacks as \U+ escapes, never as '?', and all of it reads back.
TEST(DxfRoundTrip, CodePagesAreKeptAndWhatTheyLackIsEscaped) {
    const std::string corpus = std::string(VORN_SOURCE_DIR) + "/tests/dxf-corpus/files/";
    const std::wstring added = L"道路 € é Ж ₩ 한 😀";
    const struct {
        const char* file;
        const char* version;
        const char* page;
        std::string native;  // how the page spells "道路", where it can
    } cases[] = {
        {"r2000_gbk.dxf", "AC1015", "ANSI_936", "\xB5\xC0\xC2\xB7"},
        {"r2004_big5.dxf", "AC1018", "ANSI_950", "\xB9\x44\xB8\xF4"},
        {"r2000_cp1251.dxf", "AC1015", "ANSI_1251", "\\U+9053\\U+8DEF"},
        {"r12_basic.dxf", "AC1009", "ANSI_1252", "\\U+9053\\U+8DEF"},
        {"r2007_utf8.dxf", "AC1021", "ANSI_1252", "道路"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string error;
        std::vector<std::string> notes;
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(corpus + c.file, error, notes);
        ASSERT_TRUE(db) << error;
        AcDbObjectId layer;
        ASSERT_EQ(db->ensureLayer(L"新图层", layer), Acad::eOk);
        auto* text = new AcDbText(AcGePoint3d(1, 2, 0), added.c_str(), AcDbObjectId(), 2.5, 0.0);
        text->setLayer(layer);
        const AcDbObjectId id = Add(*db, text);
        const std::string saved = vorn::dxf::DxfText(*db);
        EXPECT_NE(saved.find(std::string("$ACADVER\n  1\n") + c.version), std::string::npos);
        EXPECT_NE(saved.find(std::string("$DWGCODEPAGE\n  3\n") + c.page), std::string::npos);
        EXPECT_NE(saved.find("\n" + c.native + " "), std::string::npos) << "\"道路\" is not spelled as the page has it";
        EXPECT_EQ(saved.find('?'), std::string::npos) << "a character was lost to '?'";
        const std::string path = TempPath(std::string("page_") + c.file);
        std::ofstream(path, std::ios::binary) << saved;
        std::unique_ptr<AcDbDatabase> back = vorn::dxf::ReadDxfFile(path, error, notes);
        ASSERT_TRUE(back) << error;
        const auto* t = AcDbText::cast(back->peekObject(vorn::db::IdOfHandle(*back, id.handle().value())));
        ASSERT_TRUE(t) << "the text lost its handle";
        EXPECT_TRUE(t->textStringW() == added);
        EXPECT_TRUE(t->layer() == L"新图层");
    }
}
