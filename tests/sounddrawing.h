// For tests that run vorncad on a script: the drawing it saved is sound. vorncad opens it again
// and AUDIT finds nothing, and no number in the file is NaN or infinite. Needs VORNCAD, the
// program's path, defined by the test target.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/commandoutput.h"

namespace vorn::test {

// Group codes whose values are text, names or handles: such a value may read "inf" or "nan".
inline bool TextGroupCode(int code) {
    return (code >= 0 && code <= 9) || code == 100 || code == 102 || code == 105 || (code >= 300 && code <= 369) ||
           (code >= 390 && code <= 399) || (code >= 410 && code <= 419) || (code >= 430 && code <= 439) ||
           (code >= 470 && code <= 481) || code == 999 || (code >= 1000 && code <= 1009);
}

inline ::testing::AssertionResult SoundDrawing(const std::filesystem::path& dxf) {
    std::ifstream in(dxf);
    if (!in) return ::testing::AssertionFailure() << dxf << " cannot be read: the run saved no drawing";
    // Codes and values alternate line by line; a number the C++ streams wrote as nan or inf
    // reads back through strtod as exactly that.
    int number = 0;
    for (std::string code, value; std::getline(in, code) && std::getline(in, value);) {
        number += 2;
        if (!value.empty() && value.back() == '\r') value.pop_back();
        const int c = std::atoi(code.c_str());
        if (TextGroupCode(c)) continue;
        const char* begin = value.c_str();
        while (*begin == ' ') ++begin;
        char* end = nullptr;
        const double v = std::strtod(begin, &end);
        if (end != begin && *end == '\0' && !std::isfinite(v))
            return ::testing::AssertionFailure() << dxf << " line " << number << " (group " << c
                                                 << ") holds the non-finite number \"" << value << "\"";
    }
    // AUDIT on the drawing as it reads back, with a settings file of its own.
    const std::string settings = dxf.string() + ".audit.json";
    int status = -1;
    const std::string out = CommandOutput("echo AUDIT | '" + std::string(VORNCAD) + "' '" + dxf.string() +
                                              "' --quiet -s - --settings '" + settings + "' 2>&1",
                                          status);
    std::filesystem::remove(settings);
    if (status != 0 || out.find("Audit: no entity has non-finite or degenerate geometry.") == std::string::npos)
        return ::testing::AssertionFailure() << "AUDIT of " << dxf << " (exit status " << status << "):\n" << out;
    return ::testing::AssertionSuccess();
}

}  // namespace vorn::test
