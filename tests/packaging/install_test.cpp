// vorncad as a user installs it: installed into a scratch prefix that is then moved to another
// folder, it uses only the files of that folder; its desktop entry and manual are sound, and
// the Debian package holds what the install holds.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "tests/commandoutput.h"
#include "tests/sounddrawing.h"

namespace {

namespace fs = std::filesystem;
using vorn::test::CommandOutput;

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Regular files under dir, as paths relative to it.
std::set<std::string> FilesUnder(const fs::path& dir) {
    std::set<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files.insert(fs::relative(e.path(), dir).string());
    return files;
}

class InstalledVorncad : public ::testing::Test {
  protected:
    // One install for all cases, in a folder outside the build and source trees: installed
    // under PREFIX, copied to MOVED, and PREFIX deleted, so nothing can lead back to it.
    static void SetUpTestSuite() {
        std::string dir = (fs::temp_directory_path() / "vorncad-install-XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr) << "cannot make a scratch folder " << dir;
        scratch_ = fs::canonical(dir);
        const fs::path prefix = scratch_ / "prefix";
        int status = -1;
        const std::string out =
            CommandOutput(Quoted(VORN_CMAKE) + " --install " + Quoted(VORN_BINARY_DIR) +
                              " --prefix " + Quoted(prefix) + " --strip 2>&1",
                          status);
        ASSERT_EQ(status, 0) << out;
        moved_ = scratch_ / "moved";
        fs::copy(prefix, moved_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        fs::remove_all(prefix);
    }

    static void TearDownTestSuite() {
        if (!::testing::UnitTest::GetInstance()->Failed() && !scratch_.empty())
            fs::remove_all(scratch_);
    }

    void SetUp() override {
        ASSERT_TRUE(fs::exists(moved_ / "bin" / "vorncad")) << "the install failed";
    }

    // The moved program with a home and a working folder of its own.
    static std::string Run(const std::string& args, int& status) {
        const fs::path home = scratch_ / "home";
        fs::create_directories(home);
        return CommandOutput("cd " + Quoted(home) + " && HOME=" + Quoted(home) +
                                 " XDG_CONFIG_HOME=" + Quoted(home / ".config") + " " +
                                 Quoted(moved_ / "bin" / "vorncad") + " " + args + " 2>&1",
                             status);
    }

    static fs::path scratch_;
    static fs::path moved_;
};

fs::path InstalledVorncad::scratch_;
fs::path InstalledVorncad::moved_;

TEST_F(InstalledVorncad, VersionNamesTheFilesOfTheMovedPrefix) {
    int status = -1;
    const std::string out = Run("--version", status);
    EXPECT_EQ(status, 0) << out;
    const fs::path data = moved_ / VORN_INSTALL_DATADIR;
    EXPECT_TRUE(Has(out, "\nsupport folder: " + (data / "support").string() + "\n")) << out;
    EXPECT_TRUE(Has(
        out, "\nplug-in: " + (moved_ / VORN_INSTALL_PLUGINDIR / "VornGeneralDrawing.arx").string() +
                 "\n"))
        << out;
    EXPECT_TRUE(Has(out, "\nlanguage dictionaries: " + (data / "lang").string() + "\n")) << out;
    EXPECT_FALSE(Has(out, "(missing)")) << out;
    EXPECT_FALSE(Has(out, "build tree")) << out;
}

// Regression: an installed program took its support folder from the source tree it was built
// from, and ARX looked for a module beside the program in bin/.
TEST_F(InstalledVorncad, DrawsWithTheCarThePlantLibraryAndTheLegendLibrary) {
    const fs::path run = scratch_ / "run";
    fs::create_directories(run);
    std::ofstream(run / "site.scr")
        << "; the module is found by its bare name in the plug-in folder\n"
           "ARX\nU\nVornGeneralDrawing.arx\nARX\nL\nVornGeneralDrawing.arx\n"
           "; a row of five spaces with a car in each\n"
           "KyDrawParkSpace\n0,0\n12000,0\n6000,-3000\nESC\n"
           "; the star tree of the plant library at a point\n"
           "KyRYBS\n@click 2084\n@click 2082\n@click 2097\n星形乔木\n"
           "0,20000\n\n"
           "; two symbols of the site-plan library as a legend\n"
           "KyMapLegend\n@select 2028 1\n@click 2025\n@select 2028 3\n"
           "@click 2025\n~30000,30000\n30000,30000\n";
    const fs::path dxf = run / "site.dxf";
    int status = -1;
    const std::string out = Run("--lang en --settings " + Quoted(run / "settings.json") + " -s " +
                                    Quoted(run / "site.scr") + " -o " + Quoted(dxf),
                                status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_TRUE(Has(out, "VornGeneralDrawing.arx loaded.")) << out;
    // English prompts: the dictionary was found.
    EXPECT_TRUE(Has(out, "Pick")) << out;
    for (const char* fault : {"missing", "not found", "cannot", "Cannot", "failed", "失败"})
        EXPECT_FALSE(Has(out, fault)) << fault << " in\n" << out;
    ASSERT_TRUE(vorn::test::SoundDrawing(dxf));

    // Each inserted block by layer, and whether its drawing brought entities along: the car,
    // the star tree of the plant library, the road and tree symbols of the site-plan library.
    const std::string listing = CommandOutput(
        "/usr/bin/python3 -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
        "print(sorted(set((e.dxf.layer, e.dxf.name, len(d.blocks[e.dxf.name]) > 0) "
        "for e in d.modelspace() if e.dxftype() == 'INSERT')))\" " +
            Quoted(dxf) + " 2>&1",
        status);
    ASSERT_EQ(status, 0) << listing;
    EXPECT_EQ(listing,
              "[('PLAN-CAR_PLACE', 'car', True), ('PLAN-SAMPLE', 'Road', True), "
              "('PLAN-SAMPLE', 'Tree', True), ('PLAN-TREE', 'Tree2', True)]\n");
}

TEST_F(InstalledVorncad, TheDesktopEntryIsValidAndNamesInstalledFiles) {
    const fs::path entry = moved_ / "share" / "applications" / "vorncad.desktop";
    int status = -1;
    const std::string out =
        CommandOutput("desktop-file-validate " + Quoted(entry) + " 2>&1", status);
    ASSERT_NE(status, 127)
        << "desktop-file-validate is missing: run tools/setup.sh (desktop-file-utils)";
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "");
    std::ifstream in(entry);
    std::string line, exec, icon;
    while (std::getline(in, line)) {
        if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
        if (line.rfind("Icon=", 0) == 0) icon = line.substr(5);
    }
    EXPECT_EQ(exec, "vorncad %f");
    EXPECT_TRUE(fs::exists(moved_ / "bin" / exec.substr(0, exec.find(' '))));
    EXPECT_TRUE(
        fs::exists(moved_ / "share" / "icons" / "hicolor" / "scalable" / "apps" / (icon + ".svg")))
        << "Icon=" << icon;
}

// The manual must keep up with the options: each option that --help names is described there.
TEST_F(InstalledVorncad, TheManualDescribesEveryOption) {
    int status = -1;
    const std::string help = Run("--help", status);
    ASSERT_EQ(status, 0) << help;
    const std::string manual = CommandOutput(
        "gzip -dc " + Quoted(moved_ / "share" / "man" / "man1" / "vorncad.1.gz"), status);
    ASSERT_EQ(status, 0);
    // roff writes a minus as "\-".
    const std::string text = std::regex_replace(manual, std::regex(R"(\\-)"), "-");
    const std::regex option(R"((^|[\s\[|])(--?[a-z][a-z-]*))");
    int options = 0;
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it, ++options)
        EXPECT_TRUE(Has(text, (*it)[2].str())) << "the manual does not describe " << (*it)[2].str();
    EXPECT_GT(options, 10);
}

TEST_F(InstalledVorncad, TheDebianPackageHoldsWhatTheInstallHolds) {
    const fs::path out = scratch_ / "package";
    int status = -1;
    const std::string log =
        CommandOutput(Quoted(VORN_CPACK) + " -G DEB --config " +
                          Quoted(fs::path(VORN_BINARY_DIR) / "CPackConfig.cmake") + " -B " +
                          Quoted(out) + " 2>&1",
                      status);
    ASSERT_EQ(status, 0) << log;
    fs::path deb;
    for (const auto& e : fs::directory_iterator(out))
        if (e.path().extension() == ".deb") deb = e.path();
    ASSERT_FALSE(deb.empty()) << log;
    EXPECT_EQ(deb.filename().string().rfind("vorncad_", 0), 0u) << deb;

    const std::string contents = CommandOutput("dpkg-deb -c " + Quoted(deb), status);
    ASSERT_EQ(status, 0) << contents;
    std::set<std::string> packaged;
    std::istringstream lines(contents);
    // "-rw-r--r-- root/root  1234 2026-12-08 17:00 ./usr/bin/vorncad": files only.
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '-') continue;
        const std::size_t at = line.find(" ./");
        ASSERT_NE(at, std::string::npos) << line;
        const std::string path = line.substr(at + 3);
        EXPECT_EQ(path.rfind("usr/", 0), 0u) << path;
        packaged.insert(path.substr(4));
    }
    EXPECT_EQ(packaged, FilesUnder(moved_));

    const std::string depends = CommandOutput("dpkg-deb -f " + Quoted(deb) + " Depends", status);
    ASSERT_EQ(status, 0);
    for (const char* package : {"libcairo2", "libpolyclipping", "libpugixml", "libreadline",
                                "libstdc++6", "fonts-wqy-microhei"})
        EXPECT_TRUE(Has(depends, package)) << package << " is not in Depends: " << depends;
    if (VORN_WINDOW_BUILT) {
        EXPECT_TRUE(Has(depends, "libqt6widgets6")) << depends;
        EXPECT_TRUE(Has(depends, "qt6-qpa-plugins")) << depends;
    }
}

}  // namespace
