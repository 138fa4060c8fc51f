// For test programs that draw text into pictures: Cairo's and fontconfig's font caches, kept for
// the life of the process, are let go after the last test, so that the leak checker sees only
// leaks of our own. Including this header registers the release once per program.
#pragma once

#include <gtest/gtest.h>

#include "host/render/render.h"

namespace vorn::test {

class ReleaseFontCaches : public ::testing::Environment {
public:
    void TearDown() override { vorn::render::ReleaseRenderCaches(); }
};

inline ::testing::Environment* const kReleaseFontCaches =
    ::testing::AddGlobalTestEnvironment(new ReleaseFontCaches);

}  // namespace vorn::test
