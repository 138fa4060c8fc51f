// Support file lookup, library group files, the headless picker and the shipped libraries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/library/KyDmLibGroup.h"
#include "framework/library/KyFindFile.h"
#include "framework/library/KySelectFromDmls.h"
#include "host/base/hostio.h"
#include "host/base/textcodec.h"

namespace fs = std::filesystem;

namespace {

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorn-lib-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
    m_oldMain = GetMainDirectory();
    SetMainDirectory(vorn::FromUtf8(m_dir));
    m_oldPrint = vorn::SetHostPrinter([this](const std::wstring& t) { m_printed += t; });
  }
  void TearDown() override {
    vorn::SetHostPrinter(m_oldPrint);
    SetMainDirectory(m_oldMain);
    fs::remove_all(m_dir);
  }
  std::wstring Touch(const std::string& rel, const std::string& text = "x") {
    fs::path p = fs::path(m_dir) / rel;
    fs::create_directories(p.parent_path());
    std::ofstream(p) << text;
    return vorn::FromUtf8(p.string());
  }

  std::string m_dir;
  std::wstring m_oldMain, m_printed;
  vorn::HostPrinter m_oldPrint;
};

TEST_F(LibraryTest, FindFileSearchOrderAndDxfTwins) {
  std::wstring car = Touch("car.dxf");
  EXPECT_EQ(FindFile(L"car.dwg"), car);
  EXPECT_EQ(FindFile(L"CAR.DWG"), L"");  // the stem is matched as written
  std::wstring dwg = Touch("car.dwg");
  EXPECT_EQ(FindFile(L"car.dwg"), dwg);  // a real .dwg wins over its twin

  std::wstring lib = Touch("DwgLib/PlantLib/LibGroup.dmls");
  EXPECT_EQ(FindFile(L"PlantLib\\LibGroup.dmls"), lib);
  std::wstring sym = Touch("DwgLib/GeneralDrawingLib/SysLib/Tree.dxf");
  EXPECT_EQ(FindFile(L"Tree.dwg"), sym);
  std::wstring main = Touch("Tree.dxf");
  EXPECT_EQ(FindFile(L"Tree.dwg"), main);  // the main directory comes before the libraries
  std::wstring extra = Touch("extra/Tree.dxf");
  EXPECT_EQ(FindFile(L"Tree.dwg", vorn::FromUtf8(m_dir) + L"\\extra"), extra);

  EXPECT_EQ(FindFile(car), car);  // absolute and present
  EXPECT_EQ(FindFile(L"/nowhere/car.dwg"), L"");
  EXPECT_EQ(FindFile(L"missing.dwg"), L"");
  EXPECT_EQ(FindFile(L""), L"");
  EXPECT_EQ(FindFile(L"DwgLib"), L"");  // a directory is not a file
}

const char* kGroup = R"(<?xml version="1.0" encoding="UTF-8"?>
<libgroup name="测试">
  <library name="一" folder="Sym">
    <item name="甲" file="a.dxf"/>
    <category name="类">
      <directory name="目录">
        <item name="乙" file="sub\b.dxf"/>
        <item name="坏1" file="../outside.dxf"/>
        <item name="坏2" file="/etc/passwd"/>
        <item name="坏3" file="C:\x.dwg"/>
        <item name="坏4" file="sub/../../x.dxf"/>
        <item name="" file="c.dxf"/>
        <widget name="?"/>
      </directory>
    </category>
    <item name="丙" file="..name.dxf"/>
  </library>
  <library name="二" folder="../up"/>
  <library name="三"/>
</libgroup>
)";

TEST_F(LibraryTest, GroupKeepsOrderNestingAndRefusesEscapingPaths) {
  std::wstring file = Touch("g/LibGroup.dmls", kGroup);
  KyDtDwgLibGroup group;
  group.SetFileName(file);
  ASSERT_TRUE(group.ReadFromXML());
  ASSERT_TRUE(group.ReadLibFromXML());
  EXPECT_EQ(group.GetGroupName(), L"测试");
  ASSERT_EQ(group.GetLibraryCount(), 2);  // "二" leaves the group's folder
  KyDtLibrary* lib = group.GetLibrary(0);
  EXPECT_EQ(lib->GetSymbolFolder(), vorn::FromUtf8(m_dir) + L"/g/Sym/");
  EXPECT_EQ(group.GetLibrary(1)->GetSymbolFolder(), vorn::FromUtf8(m_dir) + L"/g/SysLib/");
  EXPECT_EQ(group.GetLibrary(2), nullptr);

  ASSERT_EQ(lib->GetChildCount(), 3);
  EXPECT_EQ(lib->GetChild(0)->GetName(), L"甲");
  EXPECT_STREQ(lib->GetChild(0)->GetKindName(), L"Item");
  KyDtLibItemBase* cat = lib->GetChild(1);
  EXPECT_STREQ(cat->GetKindName(), L"Category");
  KyDtLibItemBase* dir = cat->GetChild(0);
  EXPECT_STREQ(dir->GetKindName(), L"Directory");
  EXPECT_EQ(dir->GetName(), L"目录");
  ASSERT_EQ(dir->GetChildCount(), 2);
  auto* b = dynamic_cast<KyDtLibItem*>(dir->GetChild(0));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetDataFile(), L"sub/b.dxf");
  EXPECT_EQ(dir->GetChild(1)->GetName(), L"");
  EXPECT_EQ(lib->GetChild(2)->GetName(), L"丙");  // "..name" is a name, not a climb
  EXPECT_EQ(lib->GetChild(3), nullptr);
  // four refused items, the unknown element and the escaping library, each with its reason
  ASSERT_EQ(group.GetSkipped().size(), 6u);
  std::wstring reasons;
  for (const std::wstring& r : group.GetSkipped()) reasons += r + L"\n";
  for (const wchar_t* bad : {L"\"../outside.dxf\"", L"\"/etc/passwd\"", L"\"C:/x.dwg\"", L"../up", L"<widget>"})
    EXPECT_NE(reasons.find(bad), std::wstring::npos) << vorn::ToUtf8(bad);
}

TEST_F(LibraryTest, UnreadableOrCorruptGroupFails) {
  KyDmLibGroup group;
  group.SetFileName(vorn::FromUtf8(m_dir) + L"/none.dmls");
  EXPECT_FALSE(group.ReadFromXML());
  EXPECT_FALSE(group.ReadLibFromXML());
  EXPECT_NE(group.GetError().find(L"none.dmls"), std::wstring::npos);
  group.SetFileName(Touch("bad.dmls", "<libgroup><library name='x'>"));
  EXPECT_FALSE(group.ReadFromXML());
  // A fault is reported at its line, as an editor of the file counts them.
  group.SetFileName(Touch("badline.dmls", "<libgroup>\n  <library name='x'>\n    <item name='a' file='a.dxf'\n"));
  EXPECT_FALSE(group.ReadFromXML());
  EXPECT_NE(group.GetError().find(L"badline.dmls:3: not well-formed XML"), std::wstring::npos)
      << vorn::ToUtf8(group.GetError());
  group.SetFileName(Touch("other.dmls", "<other/>"));
  EXPECT_FALSE(group.ReadFromXML());
  EXPECT_NE(group.GetError().find(L"<libgroup>"), std::wstring::npos);
  EXPECT_EQ(group.GetLibraryCount(), 0);
}

TEST_F(LibraryTest, PickerAnswersTheChosenItem) {
  std::wstring file = Touch("g/LibGroup.dmls", kGroup);
  std::vector<std::wstring> answers;
  auto old = vorn::SetHostLineReader([&](const std::wstring&, std::wstring& line) {
    if (answers.empty()) return false;
    line = answers.front();
    answers.erase(answers.begin());
    return true;
  });
  std::wstring path, name;
  answers = {L" 乙 "};
  EXPECT_TRUE(SelectFromDmls(file, path, name, 1));
  EXPECT_EQ(path, vorn::FromUtf8(m_dir) + L"/g/Sym/sub/b.dxf");
  EXPECT_EQ(name, L"乙");
  EXPECT_NE(m_printed.find(L"一/类/目录/乙"), std::wstring::npos);
  EXPECT_EQ(m_printed.find(L"坏1"), std::wstring::npos);

  path = name = L"unchanged";
  for (std::wstring answer : {L"", L"ESC", L"丁"}) {
    answers = {answer};
    m_printed.clear();
    EXPECT_FALSE(SelectFromDmls(file, path, name, 1)) << vorn::ToUtf8(answer);
  }
  EXPECT_NE(m_printed.find(L"No item named \"丁\""), std::wstring::npos);
  answers.clear();  // end of input counts as a cancel
  EXPECT_FALSE(SelectFromDmls(file, path, name, 1));
  EXPECT_FALSE(SelectFromDmls(L"/nowhere.dmls", path, name, 1));
  EXPECT_EQ(path, L"unchanged");
  EXPECT_EQ(name, L"unchanged");
  vorn::SetHostLineReader(old);
}

// Mirrors the legend's search: categories are entered, directories only by name.
const KyDtLibItemBase* FindDirectory(const KyDtLibItemBase& node, const std::wstring& name) {
  for (int i = 0; i < node.GetChildCount(); ++i) {
    const KyDtLibItemBase* c = node.GetChild(i);
    if (std::wstring(c->GetKindName()) == L"Directory") {
      if (c->GetName() == name) return c;
    } else if (const KyDtLibItemBase* found = FindDirectory(*c, name)) {
      return found;
    }
  }
  return nullptr;
}

TEST(ShippedLibraries, EveryItemsDrawingExists) {
  SetMainDirectory(vorn::FromUtf8(VORN_SOURCE_DIR "/support"));
  for (const wchar_t* rel : {L"PlantLib\\LibGroup.dmls", L"GeneralDrawingLib\\LibGroup.dmls"}) {
    std::wstring file = FindFile(rel);
    ASSERT_FALSE(file.empty()) << vorn::ToUtf8(rel);
    KyDtDwgLibGroup group;
    group.SetFileName(file);
    ASSERT_TRUE(group.ReadFromXML()) << vorn::ToUtf8(group.GetError());
    ASSERT_TRUE(group.ReadLibFromXML());
    EXPECT_TRUE(group.GetSkipped().empty());
    ASSERT_GE(group.GetLibraryCount(), 1);
    int items = 0;
    std::vector<const KyDtLibItemBase*> todo;
    for (int i = 0; i < group.GetLibraryCount(); ++i) todo.push_back(group.GetLibrary(i));
    for (size_t k = 0; k < todo.size(); ++k) {
      for (int i = 0; i < todo[k]->GetChildCount(); ++i) todo.push_back(todo[k]->GetChild(i));
      if (auto* item = dynamic_cast<const KyDtLibItem*>(todo[k])) {
        ++items;
        std::wstring lib = group.GetLibrary(0)->GetSymbolFolder();
        EXPECT_TRUE(fs::is_regular_file(vorn::ToUtf8(lib + item->GetDataFile()))) << vorn::ToUtf8(item->GetDataFile());
      }
    }
    EXPECT_GE(items, 4);
  }
  KyDtDwgLibGroup legend;
  legend.SetFileName(GetMainDirectory() + L"DwgLib/GeneralDrawingLib/LibGroup.dmls");
  ASSERT_TRUE(legend.ReadFromXML() && legend.ReadLibFromXML());
  const KyDtLibItemBase* dir = FindDirectory(*legend.GetLibrary(0), L"总平图例");
  ASSERT_NE(dir, nullptr);
  EXPECT_GE(dir->GetChildCount(), 8);
  EXPECT_LE(dir->GetChildCount(), 12);
  for (const char* f : {"car.dwg", "_Tree1.dwg", "_Tree2.dwg", "_Tree3.dwg", "_Tree4.dwg"})
    EXPECT_FALSE(FindFile(vorn::FromUtf8(f)).empty()) << f;
}

}  // namespace
