// Keyword lists of acedInitGet, jigs and selection prompts, and how an answer matches one.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorn::ed {

struct KeywordList {
    std::vector<std::wstring> local;   // what the user types
    std::vector<std::wstring> global;  // what the caller gets back (same as local unless " _ ")
    bool empty() const { return local.empty(); }
};

KeywordList ParseKeywords(const std::wstring& list);
// Index of the keyword that input names: its full text, its capital letters, or an
// abbreviation that holds them; all case-insensitive.
std::optional<std::size_t> MatchKeyword(const KeywordList& list, const std::wstring& input);
// "A, U or C" for messages.
std::wstring DescribeKeywords(const KeywordList& list);

}  // namespace vorn::ed
