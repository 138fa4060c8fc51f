// Damaged and foreign files. A file a reader can still make sense of opens: what is impossible
// is mended or left out with one note per kind naming the file, the line and what was done,
// and the rest of the drawing is all there. Only a file without any readable structure (or a
// DWG file) is refused, with the file, the line and what was expected.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "host/db/db.h"
#include "host/dxf/dxf.h"

namespace {

const std::string kHead = "0\nSECTION\n2\nENTITIES\n";
const std::string kLine = "0\nLINE\n8\nKEEP\n10\n1\n20\n2\n11\n3\n21\n4\n";
const std::string kTail = "0\nENDSEC\n0\nEOF\n";

std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = std::string(VORN_BINARY_DIR) + "/dxf_damaged_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Damaged {
    const char* name;
    std::string text;
    const char* note;  // what the one note says, after "FILE:LINE: "
    int line;          // the line it names
    int lines;         // lines on the layer KEEP that must survive
    size_t notes = 1;  // a truncated file also lacks its end
};

}  // namespace

TEST(DxfDamaged, EachDamageIsMendedWithOneNoteAndTheRestOpens) {
    const std::vector<Damaged> cases = {
        {"radius", kHead + kLine + "0\nCIRCLE\n10\n0\n20\n0\n40\n0\n" + kLine + kTail,
         "a CIRCLE with a radius of 0 or less was left out", 17, 2},
        {"radii", kHead + "0\nCIRCLE\n40\n-1\n0\nCIRCLE\n40\n0\n" + kLine + kTail,
         "a CIRCLE with a radius of 0 or less was left out (2 times; the first here)", 5, 1},
        {"blockname", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n70\n0\n" + kLine + "0\nENDBLK\n0\nENDSEC\n" + kHead + kLine + kTail,
         "a block without a name (group 2) was left out with its entities", 5, 1},
        {"badhandle", kHead + "0\nLINE\n5\nXYZ\n8\nKEEP\n" + kLine + kTail,
         "a record with the bad handle \"XYZ\" was given a new one", 7, 2},
        {"twohandles", kHead + "0\nLINE\n5\nA0\n8\nKEEP\n0\nLINE\n5\nA0\n8\nKEEP\n" + kTail,
         "handle A0 names a second record, which was given a new one", 13, 2},
        {"trash", kHead + kLine + kTail + "garbage after the end\n", "what follows the end marker (EOF) was ignored", 20, 1},
        {"noendsec", kHead + kLine + "0\nEOF\n",
         "the ENTITIES section has no end (group 0 \"ENDSEC\"); it was taken to end here", 17, 1},
        {"noeof", kHead + kLine + "0\nENDSEC\n",
         "the file ends without its end marker (group 0 \"EOF\"); what was read is kept", 18, 1},
        {"junk", kHead + "0\nLINE\nabc\n0\n" + kLine + kTail,
         "expected a group code (an integer), found \"abc\"; lines 7 to 8 were skipped; the LINE entity there was left out",
         7, 1},
        {"number", kHead + "0\nLINE\n10\nnan\n" + kLine + kTail,
         "a LINE entity with a value that is no finite number (group 10) was left out", 7, 1},
        {"vertices", kHead + "0\nLWPOLYLINE\n90\n999999999999\n" + kLine + kTail,
         "a polyline claiming 999999999999 vertices (0 to 4194304 can be) was left out", 7, 1},
        {"undefined", kHead + "0\nINSERT\n2\nNOPE\n" + kLine + kTail,
         "block \"NOPE\" is inserted but the file never defines it; it stays empty", 5, 1},
        {"cycle", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nA\n0\nINSERT\n2\nA\n0\nENDBLK\n0\nENDSEC\n" + kHead + kLine + kTail,
         "block \"A\" inserts itself; the insert that closes the cycle was left out", 9, 1},
        {"colour", kHead + "0\nLINE\n8\nKEEP\n62\n999\n" + kTail,
         "a colour that is no colour index (0 to 256) was taken as BYLAYER", 9, 1},
        {"truncated", kHead + kLine + "0\nLINE\n8\nKEEP\n10\n",
         "the file ends after group code 10 without its value (is it truncated?); the LINE entity there was left out",
         21, 1, 2},
        {"stray", kHead + "0\nVERTEX\n10\n1\n" + kLine + kTail, "a VERTEX record outside any polyline was left out", 5,
         1},
        {"noseqend", kHead + "0\nPOLYLINE\n8\nKEEP\n0\nVERTEX\n10\n1\n" + kLine + kTail,
         "a POLYLINE without its end (SEQEND) was given one", 5, 2},
    };
    std::string savedFiles;
    for (const Damaged& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(std::string(c.name) + ".dxf", c.text);
        std::string error;
        std::vector<std::string> notes;
        std::unique_ptr<AcDbDatabase> db = vorn::dxf::ReadDxfFile(path, error, notes);
        ASSERT_TRUE(db) << error;
        ASSERT_EQ(notes.size(), c.notes) << (notes.empty() ? std::string("no note") : notes[0] + " ...");
        EXPECT_EQ(notes[0], path + ":" + std::to_string(c.line) + ": " + c.note);
        EXPECT_EQ(vorn::dxf::ReadNotes(*db), notes);
        int kept = 0;
        for (const AcDbObjectId& id : db->modelSpaceIds()) {
            const auto* e = AcDbEntity::cast(db->peekObject(id));
            kept += e && e->layer() == L"KEEP" && (AcDbLine::cast(e) || AcDb2dPolyline::cast(e));
        }
        EXPECT_EQ(kept, c.lines);
        // What was mended saves as a sound file, which reads without a note.
        const std::string saved = Write(std::string(c.name) + "_saved.dxf", vorn::dxf::DxfText(*db));
        ASSERT_TRUE(vorn::dxf::ReadDxfFile(saved, error, notes)) << error;
        EXPECT_TRUE(notes.empty()) << notes[0];
        savedFiles += " '" + saved + "'";
    }
    // ... and passes ezdxf's audit.
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) return;
    const std::string audit = "/usr/bin/python3 -c \"import ezdxf,sys\nbad=0\nfor f in sys.argv[1:]:\n"
                              " a=ezdxf.readfile(f).audit()\n for e in a.errors: print(f, e.message); bad=1\n"
                              "sys.exit(bad)\"" + savedFiles;
    EXPECT_EQ(std::system(audit.c_str()), 0);
}

TEST(DxfDamaged, FilesWithoutStructureAndDwgFilesAreRefusedWithTheReason) {
    const struct {
        const char* name;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"empty", "", ":1: the file is empty; a DXF drawing was expected"},
        {"prose", "Dear surveyor,\nplease find the plan enclosed.\n",
         ":1: expected a group code (an integer), found \"Dear surveyor,\""},
        {"nosection", "0\nLINE\n8\n0\n0\nEOF\n",
         ":1: expected group 0 \"SECTION\" at the start of a DXF drawing, found group 0 \"LINE\""},
        {"dwg", std::string("AC1032\0\0\0\0\0\x01\x02garbage", 18),
         ":1: DWG files cannot be opened yet; save it as DXF from the program that made it"},
        {"oldDwg", "AC1.50\x01\x02", ":1: DWG files cannot be opened yet; save it as DXF from the program that made it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(std::string(c.name) + ".dxf", c.bytes);
        std::string error;
        EXPECT_FALSE(vorn::dxf::ReadDxfFile(path, error));
        EXPECT_EQ(error, path + c.error);
    }
}
