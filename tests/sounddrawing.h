// For tests that run vorncad on a script: the drawing it saved is sound. vorncad opens it again
// and AUDIT finds nothing; the open itself refuses any number in the file that is NaN or
// infinite. Needs VORNCAD, the program's path, defined by the test target.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/commandoutput.h"

namespace vorn::test {

inline ::testing::AssertionResult SoundDrawing(const std::filesystem::path& dxf) {
    if (!std::filesystem::exists(dxf))
        return ::testing::AssertionFailure() << dxf << " does not exist: the run saved no drawing";
    // AUDIT on the drawing as it reads back, with a settings file of its own.
    const std::string settings = dxf.string() + ".audit.json";
    int status = -1;
    const std::string out =
        CommandOutput("echo AUDIT | '" + std::string(VORNCAD) + "' '" + dxf.string() +
                          "' --quiet -s - --settings '" + settings + "' 2>&1",
                      status);
    std::filesystem::remove(settings);
    if (status != 0 ||
        out.find("Audit: no entity has non-finite or degenerate geometry.") == std::string::npos)
        return ::testing::AssertionFailure()
               << "AUDIT of " << dxf << " (exit status " << status << "):\n"
               << out;
    return ::testing::AssertionSuccess();
}

// vorncad run on a script (in dir, when one is given) with the settings file and the options
// given, saving its drawing to dxf (an old one removed first), which must be sound: the
// transcript and the exit status.
struct ScriptRun {
    std::string out;
    int status = -1;
};
inline ScriptRun RunScriptSaving(const std::filesystem::path& script, const std::filesystem::path& settings,
                                 const std::filesystem::path& dxf, const std::string& options = "",
                                 const std::filesystem::path& dir = {}) {
    std::filesystem::remove(dxf);
    ScriptRun run;
    run.out = CommandOutput((dir.empty() ? std::string() : "cd '" + dir.string() + "' && ") + "'" +
                                std::string(VORNCAD) + "' " + options + " -s '" + script.string() +
                                "' --settings '" + settings.string() + "' -o '" + dxf.string() + "' 2>&1",
                            run.status);
    EXPECT_TRUE(SoundDrawing(dxf));
    return run;
}

}  // namespace vorn::test
