// Plug-in modules: load, start, register, unload; refusals with their reasons.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "host/ed/commands.h"
#include "host/rx/modules.h"
#include "host/rx/rxregistry.h"
#include "session.h"

using vorn::ed::test::Session;

TEST(Plugins, LoadRegistersAndUnloadRemovesTheGroup) {
    Session s("PLUGINHELLO\n");
    std::wstring error;
    ASSERT_TRUE(vorn::rx::LoadModule(VORN_TEST_PLUGIN, error)) << std::string(error.begin(), error.end());
    EXPECT_TRUE(vorn::rx::IsModuleLoaded(L"VornTestPlugin.arx"));
    EXPECT_TRUE(vorn::rx::IsModuleMdiAware(L"VornTestPlugin.arx"));
    EXPECT_FALSE(vorn::rx::IsModuleLocked(L"VornTestPlugin.arx"));
    EXPECT_TRUE(s.Has("plug-in message 1\n"));
    EXPECT_TRUE(s.Has("plug-in message 3\n"));
    ASSERT_NE(acedRegCmds->lookupCmd(L"pluginhello", true), nullptr);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"PLUGINHELLO", true)->commandFlags(), ACRX_CMD_USEPICKSET);
    vorn::ed::RunCommandLoop();
    EXPECT_TRUE(s.Has("Hello from the plug-in."));

    EXPECT_FALSE(vorn::rx::LoadModule(VORN_TEST_PLUGIN, error));  // already loaded
    ASSERT_TRUE(vorn::rx::UnloadModule(L"VornTestPlugin.arx", error));
    EXPECT_TRUE(s.Has("plug-in message 4\n"));
    EXPECT_TRUE(s.Has("plug-in message 2\n"));
    EXPECT_EQ(vorn::ed::LookupCommand(L"PLUGINHELLO"), nullptr);
    EXPECT_FALSE(vorn::ed::HasGroup(L"VornTestPlugin"));
    EXPECT_FALSE(vorn::rx::UnloadModule(L"VornTestPlugin.arx", error));
    EXPECT_EQ(error, L"it is not loaded");

    // Loaded again, everything is registered anew.
    ASSERT_TRUE(vorn::rx::LoadModule(VORN_TEST_PLUGIN, error));
    EXPECT_NE(vorn::ed::LookupCommand(L"PLUGINHELLO"), nullptr);
    vorn::rx::UnloadAllModules();
    EXPECT_EQ(vorn::ed::LookupCommand(L"PLUGINHELLO"), nullptr);
}

TEST(Plugins, TheArxCommandLoadsByFileName) {
    vorn::rx::SetModuleDirectory(VORN_TEST_PLUGIN_DIR);
    vorn::rx::RegisterArxCommand();
    Session s("ARX\nL\nVornTestPlugin.arx\nARX\n?\nARX\nU\nVornTestPlugin.arx\nARX\nU\nnothere.arx\n");
    vorn::ed::RunCommandLoop();
    vorn::rx::SetModuleDirectory("");
    EXPECT_TRUE(s.Has("VornTestPlugin.arx loaded."));
    EXPECT_TRUE(s.Has("Loaded modules:\n  VornTestPlugin.arx"));
    EXPECT_TRUE(s.Has("VornTestPlugin.arx unloaded."));
    EXPECT_TRUE(s.Has("Cannot unload nothere.arx: it is not loaded."));
}

TEST(Plugins, RefusalsSayWhy) {
    Session s("");
    std::wstring error;
    EXPECT_FALSE(vorn::rx::LoadModule(L"/no/such/module.arx", error));
    EXPECT_NE(error.find(L"no such file"), std::wstring::npos);
    const std::string junk = std::string(VORN_BINARY_DIR) + "/tests/host/ed/junk.arx";
    std::ofstream(junk) << "not a shared object";
    EXPECT_FALSE(vorn::rx::LoadModule(std::wstring(junk.begin(), junk.end()), error));
    EXPECT_NE(error.find(L"not a loadable module"), std::wstring::npos);
    EXPECT_FALSE(vorn::rx::LoadModule(VORN_OLD_PLUGIN, error));
    EXPECT_NE(error.find(L"release 17"), std::wstring::npos);
    EXPECT_TRUE(vorn::rx::LoadedModules().empty());
}

TEST(Plugins, RegistryEntries) {
    ASSERT_NE(acrxDynamicLinker, nullptr);
    ASSERT_NE(acedRegCmds, nullptr);
    EXPECT_EQ(acrxSysRegistry()->at(L"nothing"), nullptr);
    auto fn = +[] {};
    EXPECT_EQ(acedRegCmds->addCommand(L"G1", L"X1", L"X1", 0, fn), Acad::eOk);
    EXPECT_EQ(acedRegCmds->addCommand(L"G1", L"X1", L"X1", 0, fn), Acad::eDuplicateKey);
    EXPECT_EQ(acedRegCmds->removeCmd(L"G1", L"X1"), Acad::eOk);
    EXPECT_EQ(acedRegCmds->removeGroup(L"G1"), Acad::eKeyNotFound);
}
