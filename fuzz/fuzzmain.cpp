// One libFuzzer program per target; VORN_FUZZ_TARGET names the entry it runs. A broken check
// aborts with what went wrong, so that libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzzentries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vorn::fuzz::Entry entry = vorn::fuzz::EntryByName(VORN_FUZZ_TARGET);
    if (!entry) {
        std::fprintf(stderr, "no fuzz target named %s\n", VORN_FUZZ_TARGET);
        std::abort();
    }
    const std::string fault = entry(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "fuzz check failed: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
