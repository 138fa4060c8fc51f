// For tests that run a program: what a shell command writes on its standard output.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vorn::test {

// The output and the exit status (-1 when the command did not exit normally).
inline std::string CommandOutput(const std::string& command, int& status) {
    std::string out;
    status = -1;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int st = pclose(p);
    if (WIFEXITED(st)) status = WEXITSTATUS(st);
    return out;
}

inline std::string CommandOutput(const std::string& command) {
    int status = -1;
    return CommandOutput(command, status);
}

}  // namespace vorn::test
