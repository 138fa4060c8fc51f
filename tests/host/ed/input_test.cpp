// The input calls driven by scripts: values, keywords, Enter and Esc, refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/ed/aced.h"
#include "host/ed/event.h"
#include "host/ed/sysvars.h"
#include "session.h"

using vorn::ed::test::Session;

TEST(LineParsing, ShapesOfLines) {
    using vorn::ed::EventKind;
    using vorn::ed::ParseLine;
    EXPECT_EQ(ParseLine(L"")->kind, EventKind::kEnter);
    EXPECT_EQ(ParseLine(L"   \r")->kind, EventKind::kEnter);
    EXPECT_FALSE(ParseLine(L"; a comment").has_value());
    EXPECT_EQ(ParseLine(L"esc")->kind, EventKind::kCancel);
    EXPECT_EQ(ParseLine(L"^C")->kind, EventKind::kCancel);
    const auto move = ParseLine(L"~3.5,-2");
    ASSERT_EQ(move->kind, EventKind::kMove);
    EXPECT_DOUBLE_EQ(move->x, 3.5);
    EXPECT_DOUBLE_EQ(move->y, -2);
    EXPECT_EQ(ParseLine(L"!1,2")->kind, EventKind::kClick);
    EXPECT_EQ(ParseLine(L"~junk")->kind, EventKind::kText);  // refused later by the prompt
    const auto dlg = ParseLine(L"@click 2020");
    ASSERT_EQ(dlg->kind, EventKind::kDialog);
    EXPECT_EQ(dlg->text, L"click 2020");
    EXPECT_EQ(ParseLine(L"@10,0")->kind, EventKind::kText);  // a relative point, not an event
}

TEST(LineParsing, NumbersAreFiniteAndPlain) {
    using vorn::ed::ParseNumber;
    EXPECT_EQ(*ParseNumber(L" 2.5 "), 2.5);
    EXPECT_EQ(*ParseNumber(L"-1e3"), -1000);
    EXPECT_EQ(*ParseNumber(L".5"), 0.5);
    for (const wchar_t* bad : {L"nan", L"inf", L"1e999", L"-1e999", L"0x10", L"1,5", L"", L"e5",
                               L"1e", L"--1"})
        EXPECT_FALSE(ParseNumber(bad).has_value()) << std::wstring(bad).size();
    EXPECT_FALSE(vorn::ed::ParseInteger(L"2.5").has_value());
    EXPECT_FALSE(vorn::ed::ParseInteger(L"99999999999").has_value());
    EXPECT_FALSE(vorn::ed::ParsePoint(L"1,nan").has_value());
    EXPECT_FALSE(vorn::ed::ParsePoint(L"1,2,3,4").has_value());
    EXPECT_TRUE(vorn::ed::ParsePoint(L"@").has_value());
}

TEST(GetPoint, TypedRelativeAndPolarPoints) {
    Session s("10,20\n@5,-5\n@10<90\n1,2,3\n");
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nFirst point: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 10);
    EXPECT_DOUBLE_EQ(p[1], 20);
    ASSERT_EQ(acedGetPoint(p, L"\nNext point: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 15);
    EXPECT_DOUBLE_EQ(p[1], 15);
    ASSERT_EQ(acedGetPoint(p, L"\nNext point: ", p), RTNORM);
    EXPECT_NEAR(p[0], 15, 1e-9);
    EXPECT_NEAR(p[1], 25, 1e-9);
    ASSERT_EQ(acedGetPoint(nullptr, L"\nNext point: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[2], 3);
    EXPECT_TRUE(s.Has("First point: 10,20\n"));
}

TEST(GetPoint, BadAnswersArePromptedAgain) {
    Session s("hello\nnan,1\n1e999,0\n~5,5\n7,8\n");
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 7);
    EXPECT_EQ(s.Count("Point: "), 4u);  // three refusals; the move is not an answer
    EXPECT_TRUE(s.Has("\"hello\" is not accepted here: expected a point"));
}

// A keyword by its letter or its word, a global name after "_", any text with RSG_OTHER; the
// list holds for one call only.
TEST(GetPoint, KeywordsByLetterWordGlobalNameOrAnyText) {
    const struct {
        const char* typed;
        int flags;
        const wchar_t* list;
        const wchar_t* got;
    } cases[] = {
        {"u", 0, L"Arc Undo Close", L"Undo"},       {"close", 0, L"Arc Undo Close", L"Close"},
        {"Lt", 0, L"LType LWeight", L"LType"},      {"h", 0, L"Hoch Tief _ High Low", L"High"},
        {"some text", RSG_OTHER, L"A", L"some text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Session s(std::string(c.typed) + "\nA\n");
        ads_point p;
        wchar_t kw[kAdsMaxInput + 1];
        acedInitGet(c.flags, c.list);
        ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTKWORD);
        acedGetInput(kw);
        EXPECT_STREQ(kw, c.got);
        // The list of the previous call is gone: "A" is no answer now; the end of input cancels.
        EXPECT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTCAN);
    }
}

TEST(Prompts, EnterAndEscAtEveryKind) {
    Session s("\nESC\n\nESC\n\nESC\n\nESC\n\n^C\n\nESC\n");
    ads_point p, base = {0, 0, 0};
    double d;
    int i;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNONE);
    EXPECT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTCAN);
    EXPECT_EQ(acedGetDist(nullptr, L"\nD: ", &d), RTNONE);
    EXPECT_EQ(acedGetDist(nullptr, L"\nD: ", &d), RTCAN);
    EXPECT_EQ(acedGetReal(L"\nR: ", &d), RTNONE);
    EXPECT_EQ(acedGetReal(L"\nR: ", &d), RTCAN);
    EXPECT_EQ(acedGetInt(L"\nI: ", &i), RTNONE);
    EXPECT_EQ(acedGetInt(L"\nI: ", &i), RTCAN);
    EXPECT_EQ(acedGetAngle(base, L"\nA: ", &d), RTNONE);
    EXPECT_EQ(acedGetAngle(base, L"\nA: ", &d), RTCAN);
    acedInitGet(0, L"Yes No");
    wchar_t kw[kAdsMaxInput + 1];
    EXPECT_EQ(acedGetKword(L"\nK: ", kw), RTNONE);
    acedInitGet(0, L"Yes No");
    EXPECT_EQ(acedGetKword(L"\nK: ", kw), RTCAN);
    EXPECT_EQ(s.Count("*Cancel*"), 6u);
}

TEST(Prompts, NoNullRefusesEnter) {
    Session s("\n4\n");
    int i = 0;
    acedInitGet(RSG_NONULL, nullptr);
    ASSERT_EQ(acedGetInt(L"\nI: ", &i), RTNORM);
    EXPECT_EQ(i, 4);
    EXPECT_TRUE(s.Has("Enter is not accepted"));
}

TEST(GetNumbers, RangeBitsAndBadNumbers) {
    Session s("0\n-3\nabc\n1e999\n2.5\n7\n40000\n2.5\n-2\n");
    double d = 0;
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    ASSERT_EQ(acedGetReal(L"\nR: ", &d), RTNORM);
    EXPECT_EQ(d, 2.5);
    EXPECT_TRUE(s.Has("must not be zero"));
    EXPECT_TRUE(s.Has("must not be negative"));
    EXPECT_TRUE(s.Has("\"1e999\" is not accepted here: expected a number"));
    int i = 0;
    ASSERT_EQ(acedGetInt(L"\nI: ", &i), RTNORM);
    EXPECT_EQ(i, 7);
    ASSERT_EQ(acedGetInt(L"\nI: ", &i), RTNORM);  // 40000 and 2.5 refused
    EXPECT_EQ(i, -2);
    EXPECT_TRUE(s.Has("from -32768 to 32767"));
}

TEST(GetNumbers, DistancesAndAnglesFromPoints) {
    Session s("3,4\n10,0\n13,4\n0,5\n45\n");
    ads_point base = {0, 0, 0};
    double d = 0;
    ASSERT_EQ(acedGetDist(base, L"\nD: ", &d), RTNORM);
    EXPECT_DOUBLE_EQ(d, 5);
    ASSERT_EQ(acedGetDist(nullptr, L"\nD: ", &d), RTNORM);  // two points
    EXPECT_DOUBLE_EQ(d, 5);
    EXPECT_TRUE(s.Has("Specify second point: 13,4"));
    ASSERT_EQ(acedGetAngle(base, L"\nA: ", &d), RTNORM);
    EXPECT_NEAR(d, M_PI / 2, 1e-12);
    ASSERT_EQ(acedGetAngle(base, L"\nA: ", &d), RTNORM);
    EXPECT_NEAR(d, M_PI / 4, 1e-12);
}

TEST(GetString, SpacesAndTruncation) {
    Session s("hello world\nhello world\n\nabcdefgh\n");
    wchar_t buf[kAdsMaxInput + 1];
    ASSERT_EQ(acedGetString(0, L"\nS: ", buf), RTNORM);
    EXPECT_STREQ(buf, L"hello");
    ASSERT_EQ(acedGetString(1, L"\nS: ", buf), RTNORM);
    EXPECT_STREQ(buf, L"hello world");
    ASSERT_EQ(acedGetString(1, L"\nS: ", buf), RTNORM);
    EXPECT_STREQ(buf, L"");
    wchar_t small[4];
    EXPECT_EQ(acedGetString(1, L"\nS: ", small, 4), RTINPUTTRUNCATED);
    EXPECT_STREQ(small, L"abc");
}

TEST(SysVars, RangesTypesAndUnknownNames) {
    Session s("");
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = 0;
    EXPECT_EQ(acedSetVar(L"cmdecho", &rb), RTNORM);
    EXPECT_EQ(vorn::ed::CmdEcho(), 0);
    rb.resval.rint = 2;
    EXPECT_EQ(acedSetVar(L"CMDECHO", &rb), RTREJ);
    rb.restype = RTREAL;
    rb.resval.rreal = 163.0;
    EXPECT_EQ(acedSetVar(L"OSMODE", &rb), RTNORM);
    rb.resval.rreal = NAN;
    EXPECT_EQ(acedSetVar(L"PIXELSIZE", &rb), RTREJ);
    EXPECT_EQ(acedSetVar(L"NOSUCHVAR", &rb), RTERROR);
    resbuf out{};
    ASSERT_EQ(acedGetVar(L"OSMODE", &out), RTNORM);
    EXPECT_EQ(out.restype, RTSHORT);
    EXPECT_EQ(out.resval.rint, 163);
    std::wstring error;
    EXPECT_FALSE(vorn::ed::SetSysVarFromText(L"PICKBOX", L"abc", error));
    EXPECT_NE(error.find(L"whole number"), std::wstring::npos);
}

TEST(ResultBuffers, BuildCopyAndFree) {
    const ads_point p = {1, 2, 3};
    resbuf* rb = acutBuildList(RTDXF0, L"LINE,ARC", 8, L"PLAN-ROAD", RTREAL, 2.5, RTSHORT, 7,
                               RT3DPOINT, p, RTLB, RTLE, 0);
    ASSERT_NE(rb, nullptr);
    resbuf* copy = acutCopyRb(rb);
    acutRelRb(rb);
    EXPECT_STREQ(copy->resval.rstring, L"LINE,ARC");
    EXPECT_EQ(copy->rbnext->restype, 8);
    EXPECT_STREQ(copy->rbnext->resval.rstring, L"PLAN-ROAD");
    EXPECT_EQ(copy->rbnext->rbnext->resval.rreal, 2.5);
    EXPECT_EQ(copy->rbnext->rbnext->rbnext->resval.rint, 7);
    EXPECT_EQ(copy->rbnext->rbnext->rbnext->rbnext->resval.rpoint[2], 3);
    acutRelRb(copy);
    EXPECT_EQ(acutBuildList(9999, 0), nullptr);
}

TEST(GrRead, MotionSamplesClicksKeysAndEsc) {
    Session s("~1,2\n!3,4\n\nx\n~5,6\nESC\n");
    int type = 0;
    resbuf rb{};
    ASSERT_EQ(acedGrRead(1 | 4 | 8, &type, &rb), RTNORM);
    EXPECT_EQ(type, 5);
    EXPECT_EQ(rb.restype, RT3DPOINT);
    EXPECT_EQ(rb.resval.rpoint[1], 2);
    ASSERT_EQ(acedGrRead(13, &type, &rb), RTNORM);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(rb.resval.rpoint[0], 3);
    ASSERT_EQ(acedGrRead(13, &type, &rb), RTNORM);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(rb.resval.rint, 13);
    // Without tracking, moves are not answers: the key comes next, then Esc.
    ASSERT_EQ(acedGrRead(0, &type, &rb), RTNORM);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(rb.resval.rint, L'x');
    EXPECT_EQ(acedGrRead(8, &type, &rb), RTCAN);
    EXPECT_FALSE(s.Has("*Cancel*"));  // bit 8: no message on Esc
}
