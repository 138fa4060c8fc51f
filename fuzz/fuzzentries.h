// What each fuzz target does with one input, shared by the libFuzzer programs and the test that
// replays kept inputs. Each entry feeds the bytes to a reader the way the program does, then
// checks what came out; it returns an empty string when all is well, else what went wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorn::fuzz {

// A drawing file: read it; when it is accepted, the drawing written back must read again and
// hold no non-finite number.
std::string FuzzDxf(const std::uint8_t* data, std::size_t size);
// Input lines and program arguments: every line parsed as the front ends parse it, the text
// as typed answers (numbers, integers, points), and the lines as vorncad's argument list.
std::string FuzzScriptLines(const std::uint8_t* data, std::size_t size);
// A whole script run by the host's commands over a fresh drawing (commands that write files
// are left out); the drawing it leaves must save without non-finite numbers and read back.
std::string FuzzScript(const std::uint8_t* data, std::size_t size);
// A library group file: read its libraries and trees; every item kept must name a file inside
// its symbol folder.
std::string FuzzLibGroup(const std::uint8_t* data, std::size_t size);
// A settings file: loaded; when accepted, saved and loaded again with the same values.
std::string FuzzSettings(const std::uint8_t* data, std::size_t size);

// Each target by its name ("dxf", "scriptlines", "script", "libgroup", "settings"); null for
// an unknown name.
using Entry = std::string (*)(const std::uint8_t*, std::size_t);
Entry EntryByName(const std::string& name);

}  // namespace vorn::fuzz
