// The settings store through its file: round trip, corrupt files, failed saves, refused values.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <unistd.h>

#include "framework/store/KyHistoryData.h"
#include "host/base/hostio.h"

namespace fs = std::filesystem;

namespace {

const wchar_t* kSlope = L"ZEMRA\\DESIGN\\GENERALDRAWING\\ROADSLOPE";
const wchar_t* kTrees = L"ZEMRA\\DESIGN\\HELPEROBJ\\FILEBUTU\\CMD_KY_RYBS";

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorn-store-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
    m_file = m_dir + "/sub/settings.json";
    m_old = vorn::SetHostPrinter([this](const std::wstring& t) { m_printed += t; ++m_prints; });
  }
  void TearDown() override {
    vorn::SetHostPrinter(m_old);
    fs::remove_all(m_dir);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void Write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << text;
  }

  std::string m_dir, m_file;
  std::wstring m_printed;
  int m_prints = 0;
  vorn::HostPrinter m_old;
};

TEST_F(StoreTest, ValuesComeBackInTheNextRun) {
  {
    KyHistoryData store;
    store.SetFileName(m_file);
    KyHistoryDict& d = store.FindOrAddDict(kSlope);
    int n = 0;
    EXPECT_FALSE(d.GetValue(L"PRECISION", n));  // missing file: defaults, silently
    EXPECT_TRUE(d.SetValue(L"PRECISION", 3));
    EXPECT_TRUE(store.FindOrAddDict(kTrees).SetValue(L"Radius", 1500.25));
    EXPECT_TRUE(store.FindOrAddDict(kTrees).SetValue(L"Spacing", 3000));
    EXPECT_TRUE(store.FindOrAddDict(kTrees).SetValue(L"文件", std::wstring(L"树/_Tree1.dwg")));
  }
  EXPECT_EQ(m_prints, 0);
  KyHistoryData next;
  next.SetFileName(m_file);
  int n = 0;
  double d = 0;
  std::wstring s;
  EXPECT_TRUE(next.FindOrAddDict(kSlope).GetValue(L"PRECISION", n));
  EXPECT_EQ(n, 3);
  KyHistoryDict& trees = next.FindOrAddDict(kTrees);
  EXPECT_TRUE(trees.GetValue(L"Radius", d));
  EXPECT_EQ(d, 1500.25);
  EXPECT_TRUE(trees.GetValue(L"Spacing", d));  // an int reads as a double
  EXPECT_EQ(d, 3000.0);
  EXPECT_FALSE(trees.GetValue(L"Radius", n));  // a double never reads as an int
  EXPECT_FALSE(trees.GetValue(L"Radius", s));
  EXPECT_TRUE(trees.GetValue(L"文件", s));
  EXPECT_EQ(s, L"树/_Tree1.dwg");
  EXPECT_FALSE(next.FindOrAddDict(L"OTHER").GetValue(L"PRECISION", n));
}

TEST_F(StoreTest, CorruptFileIsKeptAsideWithOneWarning) {
  for (const std::string& bad : {std::string("{\"A\": {\"x\": 1"), std::string("[1, 2]"),
                                 std::string("{\"A\": {\"x\": [1]}}")}) {
    Write(m_file, bad);
    fs::remove(m_file + ".bad");
    m_prints = 0;
    KyHistoryData store;
    store.SetFileName(m_file);
    int n = 7;
    EXPECT_FALSE(store.FindOrAddDict(L"A").GetValue(L"x", n)) << bad;
    EXPECT_EQ(n, 7);
    EXPECT_EQ(m_prints, 1) << bad;
    EXPECT_NE(m_printed.find(L".bad"), std::wstring::npos);
    EXPECT_EQ(Read(m_file + ".bad"), bad);
    EXPECT_FALSE(fs::exists(m_file));
    // A save afterwards writes a fresh file and leaves the kept copy alone.
    EXPECT_TRUE(store.FindOrAddDict(L"A").SetValue(L"x", 2));
    EXPECT_EQ(Read(m_file + ".bad"), bad);
    EXPECT_EQ(m_prints, 1);
  }
}

TEST_F(StoreTest, FailedSaveLeavesThePreviousFile) {
  KyHistoryData store;
  store.SetFileName(m_file);
  ASSERT_TRUE(store.FindOrAddDict(kSlope).SetValue(L"PRECISION", 2));
  std::string before = Read(m_file);
  // The temporary file cannot be created where a directory of its name stands.
  fs::create_directories(m_file + ".tmp" + std::to_string(getpid()));
  EXPECT_FALSE(store.FindOrAddDict(kSlope).SetValue(L"PRECISION", 4));
  EXPECT_EQ(Read(m_file), before);
  EXPECT_NE(m_printed.find(L"could not be saved"), std::wstring::npos);
  int n = 0;
  EXPECT_TRUE(store.FindOrAddDict(kSlope).GetValue(L"PRECISION", n));
  EXPECT_EQ(n, 4);  // kept in memory for this run
}

TEST_F(StoreTest, NonFiniteDoublesAreRefused) {
  KyHistoryData store;
  store.SetFileName(m_file);
  KyHistoryDict& d = store.FindOrAddDict(kTrees);
  ASSERT_TRUE(d.SetValue(L"Radius", 800.0));
  EXPECT_FALSE(d.SetValue(L"Radius", std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(d.SetValue(L"Radius", std::numeric_limits<double>::infinity()));
  double v = 0;
  EXPECT_TRUE(d.GetValue(L"Radius", v));
  EXPECT_EQ(v, 800.0);
  EXPECT_EQ(Read(m_file).find("null"), std::string::npos);
}

}  // namespace
