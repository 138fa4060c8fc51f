// What the program was started with that other layers read: the language, the suite's main
// directory and the settings file. The program sets them once before the first command.
#pragma once

#include <string>

namespace vorn::ed {

struct ProgramOptions {
    std::wstring language;      // "zh" (prompts as written) or "en"
    std::wstring supportDir;    // the suite's main directory, ending with '/'
    std::wstring settingsFile;  // the settings store file
    bool quiet = false;         // prompts and echoed answers are not written
};

const ProgramOptions& GetProgramOptions();
void SetProgramOptions(const ProgramOptions& options);

}  // namespace vorn::ed
