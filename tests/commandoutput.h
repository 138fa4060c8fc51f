// For tests that run a program: what a shell command writes on its standard output.
#pragma once

#include <cstdio>
#include <string>

namespace vorn::test {

inline std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
    return out;
}

}  // namespace vorn::test
