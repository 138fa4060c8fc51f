// The Command: loop, the editor's own commands, acedCommand, and dialog events and cancels
// arriving while a prompt waits.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "host/ed/aced.h"
#include "host/ed/commands.h"
#include "host/ed/sysvars.h"
#include "session.h"

using vorn::ed::test::Session;

namespace {

struct Recorded {
    std::vector<int> codes;
    std::vector<std::wstring> words;
    std::vector<double> xs;
};

Recorded& Rec() {
    static Recorded r;
    return r;
}

// Asks a point with keywords "Undo Close", then a number; records what it got.
void AskTwo() {
    ads_point p;
    acedInitGet(0, L"Undo Close");
    int rc = acedGetPoint(nullptr, L"\nPick a point or [Undo(U)/Close(C)]: ", p);
    Rec().codes.push_back(rc);
    if (rc == RTNORM) Rec().xs.push_back(p[0]);
    if (rc == RTKWORD) {
        wchar_t kw[kAdsMaxInput + 1];
        acedGetInput(kw);
        Rec().words.push_back(kw);
    }
    if (rc == RTCAN) return;
    double d = 0;
    rc = acedGetReal(L"\nA number: ", &d);
    Rec().codes.push_back(rc);
    if (rc == RTNORM) Rec().xs.push_back(d);
}

void Outer() {
    const ads_point p = {4, 5, 0};
    Rec().codes.push_back(acedCommand(RTSTR, L"ASKTWO", RT3DPOINT, p, RTREAL, 2.5, 0));
    Rec().codes.push_back(acedCommand(RTSTR, L"ASKTWO", RTSTR, L"C", 0));  // runs dry
}

void Quiet() {
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = 0;
    acedSetVar(L"CMDECHO", &rb);
    acedCommand(RTSTR, L"ASKTWO", RTSTR, L"U", RTSTR, L"7", 0);
    rb.resval.rint = 1;
    acedSetVar(L"CMDECHO", &rb);
}

void Throws() { throw std::runtime_error("broken on purpose"); }

// A careless command that asks again whatever the answer: the editor must stop it.
void Loops() {
    ads_point p;
    for (;;) acedGetPoint(nullptr, L"\nAgain: ", p);
}

class CommandLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        vorn::ed::AddCommand(L"TESTS", L"ASKTWO", L"ASKTWO", 0, AskTwo);
        vorn::ed::AddCommand(L"TESTS", L"OUTER", L"OUTER", 0, Outer);
        vorn::ed::AddCommand(L"TESTS", L"QUIET", L"QUIET", 0, Quiet);
        vorn::ed::AddCommand(L"TESTS", L"THROWS", L"THROWS", 0, Throws);
        vorn::ed::AddCommand(L"TESTS", L"LOOPS", L"LOOPS", 0, Loops);
    }
    static void TearDownTestSuite() { vorn::ed::RemoveGroup(L"TESTS"); }
    void SetUp() override { Rec() = Recorded{}; }
};

}  // namespace

TEST_F(CommandLoop, NamesEnterUnknownAndFailures) {
    Session s("\nasktwo\nu\n3\n_.ASKTWO\n1,1\nESC\nNOSUCH\nTHROWS\nESC\n");
    EXPECT_EQ(vorn::ed::RunCommandLoop(), 2);  // the unknown name and the throw
    ASSERT_EQ(Rec().codes.size(), 4u);
    EXPECT_EQ(Rec().codes[0], RTKWORD);
    EXPECT_EQ(Rec().words[0], L"Undo");
    EXPECT_EQ(Rec().codes[3], RTCAN);
    EXPECT_TRUE(s.Has("Unknown command \"NOSUCH\". Type HELP"));
    EXPECT_TRUE(s.Has("Command THROWS failed: broken on purpose"));
    EXPECT_TRUE(s.Has("Command: asktwo\nPick a point or [Undo(U)/Close(C)]: u\nA number: 3\n"));
}

TEST_F(CommandLoop, ACommandThatNeverStopsAskingIsStopped) {
    Session s("LOOPS\n");
    vorn::ed::RunCommandLoop();
    EXPECT_TRUE(s.Has("Command LOOPS was stopped"));
}

TEST_F(CommandLoop, HelpAndSetvar) {
    Session s("HELP\nSETVAR\nPICKBOX\n99\nabc\n7\nSETVAR\nnope\n");
    vorn::ed::RunCommandLoop();
    EXPECT_TRUE(s.Has("ASKTWO"));
    EXPECT_TRUE(s.Has("SETVAR"));
    EXPECT_TRUE(s.Has("PICKBOX must be a whole number from 0 to 50"));
    EXPECT_TRUE(s.Has("\"abc\" is not a whole number"));
    EXPECT_EQ(vorn::ed::PickBox(), 7);
    EXPECT_TRUE(s.Has("Unknown variable name \"nope\""));
    // Regression: an Enter right after a prompt ended no line, so the next prompt ran on.
    Session t("SETVAR\nPICKBOX\n\nHELP\n");
    vorn::ed::RunCommandLoop();
    EXPECT_TRUE(t.Has("Enter new value for PICKBOX <3>: \nCommand: HELP"));
}

TEST_F(CommandLoop, AcedCommandTakesAnswersFromItsArguments) {
    Session s("OUTER\n");
    vorn::ed::RunCommandLoop();
    // ASKTWO(point, 2.5): RTNORM twice, then acedCommand's RTNORM; ASKTWO(C) then runs dry.
    ASSERT_EQ(Rec().codes.size(), 6u);
    EXPECT_EQ(Rec().codes[0], RTNORM);
    EXPECT_EQ(Rec().xs[0], 4);
    EXPECT_EQ(Rec().xs[1], 2.5);
    EXPECT_EQ(Rec().codes[2], RTNORM);
    EXPECT_EQ(Rec().codes[3], RTKWORD);
    EXPECT_EQ(Rec().codes[4], RTCAN);
    EXPECT_EQ(Rec().codes[5], RTCAN);
    EXPECT_TRUE(s.Has("Pick a point or [Undo(U)/Close(C)]: 4,5\n"));  // CMDECHO 1 shows them
}

TEST_F(CommandLoop, CmdechoZeroHidesNestedPrompts) {
    Session s("QUIET\n");
    vorn::ed::RunCommandLoop();
    ASSERT_EQ(Rec().codes.size(), 2u);
    EXPECT_EQ(Rec().words[0], L"Undo");
    EXPECT_EQ(Rec().xs[0], 7);
    EXPECT_FALSE(s.Has("Pick a point"));
    EXPECT_EQ(acedCommand(RTSTR, L"NOSUCH", 0), RTREJ);
}

TEST_F(CommandLoop, DialogEventsReachTheHandlerWhileAPromptWaits) {
    Session s("ASKTWO\n@click 2020\n@edit 2005 3.5\n@close\n");
    std::vector<std::wstring> seen;
    vorn::ed::SetDialogEventHandler([&](const std::wstring& ev, std::wstring& out) {
        seen.push_back(ev);
        out = L"handled " + ev;
        if (ev == L"close") {  // what a dialog's close box does: two cancels
            acedPostCancel();
            acedPostCancel();
        }
        return true;
    });
    vorn::ed::RunCommandLoop();
    vorn::ed::SetDialogEventHandler(nullptr);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], L"edit 2005 3.5");
    ASSERT_EQ(Rec().codes.size(), 1u);
    EXPECT_EQ(Rec().codes[0], RTCAN);  // the first cancel ends the prompt
    EXPECT_TRUE(s.Has("handled click 2020\nPick a point"));  // the prompt is shown again
    EXPECT_TRUE(s.Has("*Cancel*\n"));
}

TEST_F(CommandLoop, DialogEventsWithoutADialogSaySo) {
    Session s("@click 1\n@snapshot\n");
    vorn::ed::RunCommandLoop();
    EXPECT_TRUE(s.Has("no dialog is open"));
    EXPECT_TRUE(s.Has("@snapshot needs a file name"));
}

TEST_F(CommandLoop, RegistryGroupsAndLookup) {
    EXPECT_FALSE(vorn::ed::AddCommand(L"TESTS", L"asktwo", L"", 0, AskTwo));  // taken
    EXPECT_TRUE(vorn::ed::AddCommand(L"OTHER", L"ASKTWO", L"", 0, Throws));
    EXPECT_EQ(vorn::ed::LookupCommand(L"asktwo")->group, L"OTHER");  // newest wins
    EXPECT_TRUE(vorn::ed::RemoveGroup(L"OTHER"));
    EXPECT_EQ(vorn::ed::LookupCommand(L"._asktwo")->group, L"TESTS");
    EXPECT_FALSE(vorn::ed::RemoveGroup(L"OTHER"));
    EXPECT_EQ(vorn::ed::LookupCommand(L""), nullptr);
}
