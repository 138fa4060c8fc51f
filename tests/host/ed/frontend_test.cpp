// The front ends and the transcript: script files, the line a line editor shows as its prompt,
// keyword matching rules, acedCommand argument lists, the host's line channel.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "host/base/hostio.h"
#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/frontends.h"
#include "host/ed/keywords.h"
#include "host/ed/sysvars.h"
#include "host/ed/transcript.h"
#include "host/ed/ucs.h"
#include "host/ed/wideformat.h"
#include "session.h"

using vorn::ed::test::Session;

TEST(Transcript, LeadingNewlinesNeverMakeBlankLines) {
    std::string out;
    vorn::ed::Transcript t;
    t.SetSink([&](const std::string& s) { out += s; });
    t.Write(L"\nCommand: ");
    t.Write(L"LINE\n");
    t.Write(L"\nFirst point: ");
    t.EndLine();
    t.Write(L"\n\nTwo lines wanted\n");
    EXPECT_EQ(out, "Command: LINE\nFirst point: \n\nTwo lines wanted\n");
}

TEST(Transcript, APromptLineIsHeldBackForTheLineEditor) {
    std::string out;
    vorn::ed::Transcript t;
    t.SetSink([&](const std::string& s) { out += s; });
    t.SetHoldPartialLine(true);
    t.Write(L"message\n\nSpecify point: ");
    EXPECT_EQ(out, "message\n\n");  // the blank line was asked for
    EXPECT_EQ(t.TakePartialLine(), L"Specify point: ");
    t.Write(L"\nnext\n");  // the line editor ended the line itself
    EXPECT_EQ(out, "message\n\nnext\n");
}

// Refusals of a script's lines are numbered, counted and stop a script under --stop-on-error
// (app_test runs vorncad so); lines without a name, typed at a terminal, are neither numbered
// nor counted. Quiet runs are checked there too.
TEST(ScriptRefusals, TypedLinesAreNeitherNumberedNorCounted) {
    Session typed("SETVAR\nPICKBOX\n99\n4\n");
    vorn::ed::RunCommandLoop();
    EXPECT_TRUE(typed.Has("99\nPICKBOX must be a whole number")) << typed.Out();
    EXPECT_EQ(vorn::ed::RefusedLines().lines, 0);
}

// An unreadable script is named in the error vorncad gives (app_test).
TEST(ScriptFiles, ByteOrderMarkAndCrLf) {
    const std::string path = std::string(VORN_BINARY_DIR) + "/tests/host/ed/bom.scr";
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF" "SETVAR\r\nPICKBOX\r\n6\r\n";
    std::string error;
    auto source = vorn::ed::ScriptFileSource(path, error);
    ASSERT_TRUE(source);
    std::wstring line;
    ASSERT_TRUE(source(L"", line));
    EXPECT_EQ(line, L"SETVAR");
    ASSERT_TRUE(source(L"", line));
    EXPECT_EQ(line, L"PICKBOX");
}

TEST(Keywords, CapitalsFullWordsAndAbbreviations) {
    const auto kl = vorn::ed::ParseKeywords(L"LType LWeight Undo eXit");
    using vorn::ed::MatchKeyword;
    EXPECT_EQ(*MatchKeyword(kl, L"lt"), 0u);
    EXPECT_EQ(*MatchKeyword(kl, L"ltyp"), 0u);
    EXPECT_EQ(*MatchKeyword(kl, L"LW"), 1u);
    EXPECT_EQ(*MatchKeyword(kl, L"u"), 2u);
    EXPECT_EQ(*MatchKeyword(kl, L"x"), 3u);  // a capital inside the word is its key
    EXPECT_EQ(*MatchKeyword(kl, L"EXIT"), 3u);
    EXPECT_FALSE(MatchKeyword(kl, L"L").has_value());  // says neither LT nor LW
    EXPECT_FALSE(MatchKeyword(kl, L"LTX").has_value());
    EXPECT_FALSE(MatchKeyword(kl, L"").has_value());
    EXPECT_EQ(vorn::ed::DescribeKeywords(vorn::ed::ParseKeywords(L"A U C")), L"A, U or C");
}

TEST(WideFormat, ConversionsAsTheCallersWriteThem) {
    EXPECT_EQ(vorn::ed::FormatWide(L"%s|%ls|%S|%c", L"wide", L"also", "narrow", L'z'),
              L"wide|also|narrow|z");
    EXPECT_EQ(vorn::ed::FormatWide(L"%5.2f%%|%d|%-3s|", 3.14159, -7, L"a"), L" 3.14%|-7|a  |");
    const std::wstring big(5000, L'x');
    EXPECT_EQ(vorn::ed::FormatWide(L"<%s>", big.c_str()).size(), big.size() + 2);
}

namespace {

std::vector<std::wstring>& Got() {
    static std::vector<std::wstring> got;
    return got;
}

void Collect() {
    wchar_t buf[kAdsMaxInput + 1];
    while (acedGetString(1, L"\nText: ", buf) == RTNORM && buf[0]) Got().push_back(buf);
    double a = 0;
    if (acedGetAngle(nullptr, L"\nAngle: ", &a) == RTNORM) Got().push_back(std::to_wstring(a));
}

}  // namespace

TEST(AcedCommand, ArgumentListsOfEveryKind) {
    vorn::ed::AddCommand(L"FRONT", L"COLLECT", L"COLLECT", 0, Collect);
    Session s("");
    Got().clear();
    // Strings, numbers, Enter, an angle given in radians; then a second command in one call.
    EXPECT_EQ(acedCommand(RTSTR, L"COLLECT", RTSTR, L"one", RTSHORT, 2, RTREAL, 2.5, RTSTR, L"",
                          RTANG, 1.5707963267948966, RTSTR, L"COLLECT", RTSTR, L"", 0),
              RTCAN);  // the second COLLECT's angle prompt ran dry
    ASSERT_EQ(Got().size(), 4u);
    EXPECT_EQ(Got()[0], L"one");
    EXPECT_EQ(Got()[1], L"2");
    EXPECT_EQ(Got()[2], L"2.5");
    EXPECT_EQ(Got()[3].substr(0, 6), L"1.5707");
    // A list begin without its entity, point and end is refused before anything runs.
    const ads_point p = {1, 2, 0};
    EXPECT_EQ(acedCommand(RTSTR, L"COLLECT", RTLB, RT3DPOINT, p, RTLE, 0), RTREJ);
    EXPECT_EQ(acedCommand(RTSHORT, 3, 0), RTREJ);  // no command name
    EXPECT_EQ(acedCommand(0), RTNORM);              // nothing to do
    vorn::ed::RemoveGroup(L"FRONT");
}

TEST(HostChannels, FileDialogsTakeTheNextLineAndEscCancels) {
    Session s("/tmp/plan.dxf\nESC\n");
    vorn::ed::InstallHostChannels();
    std::wstring line;
    EXPECT_TRUE(vorn::HostReadLine(L"\nFile name: ", line));
    EXPECT_EQ(line, L"/tmp/plan.dxf");
    EXPECT_FALSE(vorn::HostReadLine(L"\nFile name: ", line));
    vorn::HostPrint(L"\nA message box text\n");
    EXPECT_TRUE(s.Has("File name: /tmp/plan.dxf\n"));
    EXPECT_TRUE(s.Has("A message box text\n"));
    vorn::SetHostPrinter(nullptr);
    vorn::SetHostLineReader(nullptr);
}

TEST(UcsCommand, OriginAngleAndWorld) {
    Session s("UCS\n100,50\n90\nUCS\nW\n");
    vorn::ed::RunCommandLoop();
    EXPECT_TRUE(s.Has("The UCS is the world coordinate system again."));
    EXPECT_EQ(vorn::ed::CurrentUcs().angle, 0);
    Session t("UCS\n100,50\n90\n");
    vorn::ed::RunCommandLoop();
    EXPECT_DOUBLE_EQ(vorn::ed::CurrentUcs().origin[0], 100);
    EXPECT_NEAR(vorn::ed::CurrentUcs().angle, 3.14159265358979 / 2, 1e-12);
    // A point typed now is in the new system: 10,0 lies 10 above the origin in the world, and
    // comes back; as a displacement it leaves the origin out.
    Session u("10,0\n");
    ASSERT_TRUE(vorn::ed::SetUcs(vorn::ed::Ucs{{100, 50, 0}, 3.14159265358979 / 2}));
    ads_point p;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nP: ", p), RTNORM);
    EXPECT_DOUBLE_EQ(p[0], 10);  // answers stay in user coordinates
    double w[3], back[3];
    vorn::ed::UcsToWcsPoint(p, w);
    EXPECT_NEAR(w[0], 100, 1e-9);
    EXPECT_NEAR(w[1], 60, 1e-9);
    vorn::ed::WcsToUcsPoint(w, back);
    EXPECT_NEAR(back[0], 10, 1e-9);
    EXPECT_NEAR(back[1], 0, 1e-9);
    resbuf from{}, to{};
    from.restype = to.restype = RTSHORT;
    from.resval.rint = ADS_UCS;
    to.resval.rint = ADS_WCS;
    ads_point r;
    ASSERT_EQ(acedTrans(p, &from, &to, 1, r), RTNORM);
    EXPECT_NEAR(r[0], 0, 1e-9);
    EXPECT_NEAR(r[1], 10, 1e-9);
    EXPECT_FALSE(vorn::ed::SetUcs(vorn::ed::Ucs{{100, 50, 0}, NAN}));
}
