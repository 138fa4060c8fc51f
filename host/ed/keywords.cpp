// Keyword parsing and matching.
#include "host/ed/keywords.h"

#include <cwctype>
#include <sstream>

#include "host/ed/event.h"

namespace vorn::ed {
namespace {

// The leading capitals of a keyword ("LType" -> "LT"); the whole word when it has none there.
std::wstring KeyLetters(const std::wstring& kw) {
    std::size_t n = 0;
    while (n < kw.size() && std::iswupper(static_cast<wint_t>(kw[n]))) ++n;
    if (n == 0) {
        std::wstring caps;
        for (wchar_t c : kw)
            if (std::iswupper(static_cast<wint_t>(c))) caps += c;
        return caps.empty() ? kw : caps;
    }
    return kw.substr(0, n);
}

}  // namespace

KeywordList ParseKeywords(const std::wstring& list) {
    KeywordList kl;
    std::wistringstream in(list);
    std::wstring word;
    bool global = false;
    while (in >> word) {
        if (word == L"_") {
            global = true;
            continue;
        }
        (global ? kl.global : kl.local).push_back(word);
    }
    if (kl.global.size() != kl.local.size()) kl.global = kl.local;
    return kl;
}

std::optional<std::size_t> MatchKeyword(const KeywordList& list, const std::wstring& raw) {
    const std::wstring input = ToUpper(Trim(raw));
    if (input.empty()) return std::nullopt;
    for (std::size_t i = 0; i < list.local.size(); ++i)
        if (ToUpper(list.local[i]) == input) return i;
    for (std::size_t i = 0; i < list.local.size(); ++i)
        if (ToUpper(KeyLetters(list.local[i])) == input) return i;
    for (std::size_t i = 0; i < list.local.size(); ++i) {
        const std::wstring kw = ToUpper(list.local[i]);
        const std::wstring key = ToUpper(KeyLetters(list.local[i]));
        if (kw.compare(0, key.size(), key) == 0 && input.size() > key.size() &&
            kw.compare(0, input.size(), input) == 0)
            return i;
    }
    return std::nullopt;
}

std::wstring DescribeKeywords(const KeywordList& list) {
    std::wstring s;
    for (std::size_t i = 0; i < list.local.size(); ++i) {
        if (i > 0) s += (i + 1 == list.local.size()) ? L" or " : L", ";
        s += list.local[i];
    }
    return s;
}

}  // namespace vorn::ed
