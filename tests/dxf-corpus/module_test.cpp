// A road drawn across a drawing full of hatches, dimensions, images, viewports and texts that
// another program wrote: every entity the drawing held comes back out of vorncad with its
// handle and kind, the road's lines join them, and the saved drawing is sound.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;

// Handle and kind of every entity of every layout and block, one per line, sorted.
std::string Entities(const fs::path& dxf, int& status) {
    return vorn::test::CommandOutput(
        "/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
        "s=[e for l in d.layouts for e in l]+[e for b in d.blocks for e in b]; "
        "print('\\n'.join(sorted(set('%s %s' % (e.dxf.handle, e.dxftype()) for e in s))))\" '" + dxf.string() + "'",
        status);
}

}  // namespace

TEST(DxfCorpusModule, ARoadAcrossAForeignDrawingKeepsEveryHatchAndDimension) {
    if (std::system("/usr/bin/python3 -c 'import ezdxf' 2>/dev/null") != 0) GTEST_SKIP() << "ezdxf is not installed";
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "dxf-corpus";
    fs::create_directories(dir);
    const fs::path source = fs::path(VORN_SOURCE_DIR) / "tests" / "dxf-corpus" / "files" / "r2013_mix.dxf";
    const fs::path saved = dir / "road-across.dxf";
    fs::remove(saved);
    int status = -1;
    const std::string out = vorn::test::CommandOutput(
        "'" + std::string(VORNCAD) + "' '" + source.string() + "' -s '" + VORN_SOURCE_DIR +
            "/tests/dxf-corpus/road.scr' -o '" + saved.string() + "' --settings '" + (dir / "road.json").string() +
            "' 2>&1",
        status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_TRUE(vorn::test::SoundDrawing(saved));

    const std::string before = Entities(source, status);
    ASSERT_EQ(status, 0) << before;
    const std::string after = Entities(saved, status);
    ASSERT_EQ(status, 0) << after;
    // Everything that was there is there, with its handle and kind.
    size_t hatches = 0, dimensions = 0, pos = 0;
    for (size_t end = before.find('\n'); end != std::string::npos; pos = end + 1, end = before.find('\n', pos)) {
        const std::string entity = before.substr(pos, end - pos);
        EXPECT_NE(after.find(entity + "\n"), std::string::npos) << entity << " is gone";
        hatches += entity.find(" HATCH") != std::string::npos;
        dimensions += entity.find(" DIMENSION") != std::string::npos;
    }
    EXPECT_GE(hatches, 4u);
    EXPECT_GE(dimensions, 3u);
    // And the road is drawn.
    EXPECT_GT(after.size(), before.size()) << out;
}
