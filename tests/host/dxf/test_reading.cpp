// The reader's quick ways checked against its full ones: numbers read as their line is found,
// kept reals laid out from the file's own digits, names looked up by how the file spells them,
// and a file's memory given back while its entities are read, and the writer's quick numbers.
// Each must give exactly what the full way gives, on every layout of a file that programs write.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "host/db/db.h"
#include "host/db/dbkept.h"
#include "host/dxf/dxf.h"
#include "host/dxf/dxfgroups.h"
#include "host/dxf/dxfreader.h"

namespace {

using vorn::dxf::detail::Group;
using vorn::dxf::detail::GroupReader;

std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = std::string(VORN_BINARY_DIR) + "/dxf_reading_" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// The one group of a two-line text, with its value kept beyond the text.
struct Read {
    Group g;
    std::string value;
};
Read ReadOne(const std::string& text) {
    GroupReader in(text, "test.dxf");
    Read r;
    EXPECT_TRUE(in.next(r.g)) << text;
    r.value = std::string(r.g.value);
    return r;
}

// Whether a code line names a group of a number.
bool IsNumber(const std::string& code) {
    return vorn::dxf::detail::KindOfCode(std::stoi(code)) != vorn::dxf::detail::ValueKind::kString;
}

// Number texts as programs write them, and as a damaged file might.
std::vector<std::string> NumberTexts() {
    std::vector<std::string> texts = {
        "0", "-0", "0.0", "-0.000", "1", "-1", "12.5", "007", "1284365.5", "0.1", "0.25", "3.141592653589793",
        "1234567890123456", "12345678901234567890", "9007199254740993", "9007199254740992.5", "0.000000000000000001",
        "1e-5", "1E+20", "+4", ".5", "5.", "-", ".", "", "1.2.3", "0x10", "nan", "inf", "1e999", "1e-999",
        "  42", "42  ", " -17.25 ", "99999999999999999999999", "-9223372036854775808", "123456789012345678"};
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> power(-12, 12), digits(1, 17), style(0, 3);
    char buf[64];
    for (int i = 0; i < 4000; ++i) {
        const double v = mantissa(rng) * std::pow(10.0, power(rng));
        switch (style(rng)) {
            case 0: std::snprintf(buf, sizeof buf, "%.*g", digits(rng), v); break;
            case 1: std::snprintf(buf, sizeof buf, "%.*f", digits(rng) % 11, v); break;
            case 2: std::snprintf(buf, sizeof buf, "%.17g", v); break;
            default: std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v * 1e6)); break;
        }
        texts.push_back(buf);
    }
    return texts;
}

}  // namespace

// A value read in one pass must be what the full parse makes of it: the same number, the same
// verdict on a bad one, the same text. A tab after the value sends it the full way.
TEST(DxfReading, NumbersReadAsTheFullParseReadsThem) {
    for (const std::string& t : NumberTexts())
        for (const char* code : {"10", " 70", "1071"})
            for (const char* end : {"\n", "\r\n", ""}) {
                if (t.empty() && *end == '\0') continue;  // a file that ends after its code
                const Read q = ReadOne(std::string(code) + "\n" + t + end);
                const Read f = ReadOne(std::string(code) + "\n" + t + "\t" + end);
                const Group &quick = q.g, &full = f.g;
                SCOPED_TRACE(std::string(code) + " " + t);
                EXPECT_EQ(quick.bad, full.bad);
                EXPECT_EQ(q.value + "\t", f.value);
                EXPECT_EQ(quick.line, 1u);
                if (quick.bad) continue;
                EXPECT_EQ(quick.integer, full.integer);
                // Bit for bit: the sign of a zero counts too.
                EXPECT_EQ(std::signbit(quick.real), std::signbit(full.real));
                EXPECT_EQ(quick.real, full.real);
            }
}

// Kept groups hold the shortest text of a real; made from the file's digits, it must be
// exactly what formatting the value makes.
TEST(DxfReading, KeptRealsAreTheShortestTextOfTheirValue) {
    std::vector<std::string> texts = NumberTexts();
    for (const char* t : {"1000000", "100", "0.001", "0.0001", "123450000000000000", "0.000001234", "1e-300",
                          "120000000000000000000", "-0.5", "99.990", "1.000000000000000"})
        texts.push_back(t);
    for (const std::string& t : texts) {
        char* stop = nullptr;
        const double v = std::strtod(t.c_str(), &stop);
        if (t.empty() || *stop != '\0' || !std::isfinite(v)) continue;
        EXPECT_EQ(vorn::dxf::detail::RealText(t, v), vorn::db::KeptRealText(v)) << t;
    }
    // The writer spells whole numbers its own quicker way: the same text, also where the
    // exponent form is the shorter one (1e+06) and around 2^53.
    std::vector<double> values = {9007199254740991.0, 9007199254740992.0, 9007199254740994.0, -0.0, 1e15, 1e16};
    std::mt19937_64 random(22);
    for (int zeros = 0; zeros <= 15; ++zeros)
        for (int k = 0; k < 40; ++k) {
            const double whole = double(random() % 100000) * std::pow(10.0, zeros);
            values.insert(values.end(), {whole, -whole, whole + 1, std::floor(whole / 7)});
        }
    for (const double v : values) {
        std::string written;
        vorn::dxf::AppendReal(written, v);
        EXPECT_EQ(written, vorn::db::KeptRealText(v)) << v;
    }
}

// One drawing written the ways programs write files: line ends, blanks, comments. Each way
// reads as the same drawing, with nothing to note.
TEST(DxfReading, LayoutsOfOneDrawingReadAlike) {
    const std::string source =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1021\n0\nENDSEC\n"
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nTREE\n10\n0\n20\n0\n30\n0\n0\nCIRCLE\n10\n0\n20\n0\n40\n1.5\n0\nENDBLK\n"
        "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
        "0\nLINE\n5\n2A\n8\n道路\n10\n1284365.5\n20\n-836150.25\n11\n1284400\n21\n836000.125\n"
        "0\nTEXT\n8\n文字\n10\n12.5\n20\n7\n40\n3.5\n50\n12.5\n1\n3#楼 ±0.00\n"
        "0\nINSERT\n8\n绿化\n66\n1\n2\nTREE\n10\n5\n20\n6\n41\n2500\n42\n2500\n50\n33.3\n"
        "0\nATTRIB\n8\n绿化\n10\n5\n20\n6\n40\n1.5\n1\n香樟\n2\nNAME\n70\n0\n0\nSEQEND\n8\n绿化\n"
        "0\nHATCH\n8\nFILL\n100\nAcDbEntity\n100\nAcDbHatch\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n91\n1\n92\n2\n"
        "72\n0\n73\n1\n93\n3\n10\n0.1\n20\n0.2\n10\n100.25\n20\n0\n10\n50\n20\n86.602540378443\n97\n0\n75\n1\n76\n1\n98\n0\n"
        "0\nLWPOLYLINE\n8\n0\n90\n3\n70\n1\n10\n0\n20\n0\n42\n0.414213562373095\n10\n10\n20\n0\n10\n10\n20\n10\n"
        "0\nENDSEC\n0\nEOF\n";
    std::string error;
    std::vector<std::string> notes;
    const auto plain = vorn::dxf::ReadDxfFile(Write("plain.dxf", source), error, notes);
    ASSERT_TRUE(plain) << error;
    ASSERT_TRUE(notes.empty()) << notes[0];
    const std::string expected = vorn::dxf::DxfText(*plain);

    // Each way rewrites every group: (code line, value line) -> its lines. Blanks around
    // numbers are no part of them; around strings they are.
    struct Way {
        const char* name;
        std::string (*group)(const std::string& code, const std::string& value);
    };
    const std::vector<Way> ways = {
        {"crlf", [](const std::string& c, const std::string& v) { return c + "\r\n" + v + "\r\n"; }},
        {"aligned", [](const std::string& c, const std::string& v) { return std::string(3 - c.size(), ' ') + c + "\n" + v + "\n"; }},
        {"padded", [](const std::string& c, const std::string& v) { return "      " + c + "\n" + v + "\n"; }},
        {"blanks", [](const std::string& c, const std::string& v) { return c + "\n" + (IsNumber(c) ? "  " + v + "   " : v) + "\n"; }},
        {"tabs", [](const std::string& c, const std::string& v) { return c + "\t\n" + v + (IsNumber(c) ? "\t" : "") + "\n"; }},
        {"comments", [](const std::string& c, const std::string& v) {
             return c + "\n" + v + "\n" + (v == "EOF" ? "" : "999\nwritten by hand\n");
         }},
        {"digits", [](const std::string& c, const std::string& v) {
             // Signs and zeros a program may write around a real.
             if (!IsNumber(c) || v.find('.') == std::string::npos) return c + "\n" + v + "\n";
             return c + "\n" + (v[0] == '-' ? "-00" + v.substr(1) : "+00" + v) + "000\n";
         }},
    };
    for (const Way& way : ways) {
        std::string text;
        size_t pos = 0;
        while (pos < source.size()) {
            const size_t a = source.find('\n', pos), b = source.find('\n', a + 1);
            text += way.group(source.substr(pos, a - pos), source.substr(a + 1, b - a - 1));
            pos = b + 1;
        }
        SCOPED_TRACE(way.name);
        const auto db = vorn::dxf::ReadDxfFile(Write(std::string(way.name) + ".dxf", text), error, notes);
        ASSERT_TRUE(db) << error;
        EXPECT_TRUE(notes.empty()) << notes[0];
        EXPECT_EQ(vorn::dxf::DxfText(*db), expected);
    }
}

// A file of a few megabytes, read from disk with its memory given back behind the reader as it
// goes, gives the drawing and the notes that the same text read from memory gives: no record
// still held (one read ahead, a block reference's attributes, a polyline's vertices) lost its
// text. Damage at places here and there puts the skipping of lines in between.
TEST(DxfReading, AFileGivenBackAsItIsReadReadsAsFromMemory) {
    std::string text =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nTREE\n10\n0\n20\n0\n30\n0\n0\nCIRCLE\n10\n0\n20\n0\n40\n1\n0\nENDBLK\n"
        "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 12000; ++i) {
        const std::string x = std::to_string(1000000 + i * 7) + "." + std::to_string(i % 10);
        const std::string h = std::to_string(0x100 + i);
        switch (i % 6) {
            case 0: text += "0\nLINE\n5\n" + h + "\n8\nA\n10\n" + x + "\n20\n3\n11\n4\n21\n" + x + "\n"; break;
            case 1:
                if (i % 12 == 1) {
                    text += "0\nINSERT\n8\nB\n66\n1\n2\nTREE\n10\n" + x + "\n20\n1\n0\nATTRIB\n8\nB\n10\n0\n20\n0\n40\n1\n1\nT" +
                            h + "\n2\nNAME\n70\n0\n0\nATTRIB\n8\nB\n10\n0\n20\n0\n40\n1\n1\nH\n2\nH\n70\n0\n0\nSEQEND\n8\nB\n";
                    break;
                }
                // A reference without attributes: the record after it, read to see, is held
                // while the reference is made. A large one spans pages.
                text += "0\nINSERT\n8\nB\n2\nTREE\n10\n" + x + "\n20\n1\n0\nSPLINE\n8\nE\n100\nAcDbEntity\n100\nAcDbSpline\n"
                        "70\n8\n71\n1\n72\n0\n73\n400\n74\n0\n";
                for (int k = 0; k < 400; ++k) text += "10\n" + x + "\n20\n" + std::to_string(k) + ".5\n30\n0\n";
                break;
            case 2:
                text += "0\nPOLYLINE\n8\nC\n66\n1\n70\n1\n0\nVERTEX\n8\nC\n10\n" + x + "\n20\n0\n42\n0.5\n0\nVERTEX\n8\nC\n10\n1\n20\n" + x +
                        "\n0\nVERTEX\n8\nC\n10\n2\n20\n2\n0\nSEQEND\n8\nC\n";
                break;
            case 3:
                text += "0\nHATCH\n8\nD\n100\nAcDbEntity\n100\nAcDbHatch\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n91\n1\n92\n2\n72\n0\n73\n1\n"
                        "93\n3\n10\n" + x + "\n20\n0\n10\n5.25\n20\n0.125\n10\n" + x + "\n20\n9\n97\n0\n75\n1\n76\n1\n98\n0\n";
                break;
            case 4: text += "0\nTEXT\n8\n文字\n10\n" + x + "\n20\n2\n40\n2.5\n1\n第" + h + "号\n"; break;
            default:
                if (i % 997 == 5) text += "0\nLINE\nnot a code\nnor a value\n";  // skipped up to the next record
                else if (i % 499 == 5) text += "0\nCIRCLE\n10\n1\n20\n2\n40\nwide\n";  // a bad number
                else text += "0\nARC\n10\n" + x + "\n20\n7\n40\n3\n50\n0\n51\n270\n";
                break;
        }
    }
    text += "0\nENDSEC\n0\nEOF\n";
    ASSERT_GT(text.size(), size_t(2) << 20);

    std::string error;
    std::vector<std::string> fromFile;
    const std::string path = Write("large.dxf", text);
    const auto db = vorn::dxf::ReadDxfFile(path, error, fromFile);
    ASSERT_TRUE(db) << error;

    AcDbDatabase fromMemory(true);
    vorn::dxf::detail::Reader reader(text, path, fromMemory);
    reader.read();
    EXPECT_EQ(fromFile, reader.notes());
    EXPECT_GT(fromFile.size(), 1u);  // the skipped lines, the bad numbers
    EXPECT_EQ(db->modelSpaceIds().length(), fromMemory.modelSpaceIds().length());
    EXPECT_TRUE(vorn::dxf::DxfText(*db) == vorn::dxf::DxfText(fromMemory));
}

// A name the file spells in several ways (escapes, the code page, letter case) is one layer,
// one block; a spelling met before the header that sets the code page is read again after it.
TEST(DxfReading, NamesSpelledInSeveralWaysNameOneObject) {
    const std::string gbkRoad = "\xB5\xC0\xC2\xB7";  // 道路 in GBK
    const std::string text =
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_936\n0\nENDSEC\n"
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nTree\n10\n0\n20\n0\n30\n0\n0\nENDBLK\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n"
        "0\nLINE\n8\n" + gbkRoad + "\n10\n0\n20\n0\n11\n1\n21\n1\n"
        "0\nLINE\n8\n\\U+9053\\U+8DEF\n10\n0\n20\n0\n11\n1\n21\n1\n"
        "0\nLINE\n8\n\\U+9053" + gbkRoad.substr(2) + "\n10\n0\n20\n0\n11\n1\n21\n1\n"
        "0\nINSERT\n8\nroad\n2\nTREE\n10\n0\n20\n0\n"
        "0\nINSERT\n8\nROAD\n2\ntree\n10\n0\n20\n0\n"
        "0\nINSERT\n8\nRoad\n2\nTree\n10\n0\n20\n0\n"
        "0\nENDSEC\n0\nEOF\n";
    std::string error;
    const auto db = vorn::dxf::ReadDxfFile(Write("names.dxf", text), error);
    ASSERT_TRUE(db) << error;
    const AcDbObjectId road = db->findLayer(L"道路"), latin = db->findLayer(L"ROAD"), tree = db->findBlock(L"TREE");
    ASSERT_FALSE(road.isNull());
    ASSERT_FALSE(latin.isNull());
    ASSERT_FALSE(tree.isNull());
    const AcDbObjectIdArray ids = db->modelSpaceIds();
    ASSERT_EQ(ids.length(), 6);
    for (int i = 0; i < ids.length(); ++i) {
        const auto* e = AcDbEntity::cast(db->peekObject(ids[i]));
        ASSERT_TRUE(e);
        EXPECT_EQ(e->layerId(), i < 3 ? road : latin) << i;
        if (const auto* ref = AcDbBlockReference::cast(e)) {
            EXPECT_EQ(ref->blockTableRecord(), tree) << i;
        }
    }

    // The header after the entities: what the entities spelled was read as the western page
    // then, and a name spelled the same way after the header is read in the page it sets.
    const std::string late = "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n" + gbkRoad +
                             "\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n"
                             "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_936\n0\nENDSEC\n"
                             "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n0\n20\n0\n30\n0\n0\nLINE\n8\n" + gbkRoad +
                             "\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDBLK\n0\nENDSEC\n0\nEOF\n";
    const auto second = vorn::dxf::ReadDxfFile(Write("late.dxf", late), error);
    ASSERT_TRUE(second) << error;
    const AcDbObjectId inBlock = AcDbEntity::cast(second->peekObject(second->ownedIds(second->findBlock(L"B"))[0]))->layerId();
    EXPECT_EQ(inBlock, second->findLayer(L"道路"));
    EXPECT_NE(AcDbEntity::cast(second->peekObject(second->modelSpaceIds()[0]))->layerId(), inBlock);
}
