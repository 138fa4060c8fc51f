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

}  // namespace vorn::test
