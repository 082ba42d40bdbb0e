#include "Dados_Log/Dados_Log.h"
#include "os/Os.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using testsupport::readFile;
using testsupport::writeFile;

// Sets or unsets environment variables for one test and restores them after.
class ScopedEnv {
public:
    void set(const char* name, const std::optional<std::string>& value) {
        if (!saved_.count(name)) saved_[name] = os::environmentVariable(name);
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

class CamIniUsr : public ::testing::Test {
protected:
    // The executable lies in `exeName` under a fresh directory; APPDATA in another.
    void placeExecutable(const std::string& exeName) {
        exeDir_ = root_.file(exeName + "/");
        std::filesystem::create_directories(exeDir_);
        os::setExecutableDirectoryForTesting(exeDir_);
    }
    void TearDown() override { os::setExecutableDirectoryForTesting({}); }

    std::string userDir() const { return root_.file("appdata/Marbeton/XOVA_8/"); }

    testsupport::TempDir root_;
    ScopedEnv env_;
    std::string exeDir_;
};

struct Outcome {
    const char* name;
    const char* exeName;
    std::optional<std::string> xovaIni;  // TERMINAL_SERVICES value, or no XOVA.INI
    bool sharedIni;
    bool perUserIni;
    bool expectPerUser;
};

class CamIniUsrOutcome : public CamIniUsr, public ::testing::WithParamInterface<Outcome> {};

TEST_P(CamIniUsrOutcome, ReturnsTheDirectoryOfTheTable) {
    const Outcome& c = GetParam();
    placeExecutable(c.exeName);
    env_.set("APPDATA", root_.file("appdata"));
    if (c.xovaIni) writeFile(exeDir_ + "XOVA.INI", "[XOVA]\r\nTERMINAL_SERVICES=" + *c.xovaIni + "\r\n");
    if (c.sharedIni) writeFile(exeDir_ + "system.ini", "[SYSTEM]\r\nServidor=shared\r\n");
    if (c.perUserIni) {
        std::filesystem::create_directories(userDir());
        writeFile(userDir() + "system.ini", "[SYSTEM]\r\nServidor=mine\r\n");
    }

    EXPECT_EQ(TdmLog::camIniUsr(), c.expectPerUser ? userDir() : exeDir_);
    if (c.perUserIni) {
        EXPECT_EQ(readFile(userDir() + "system.ini"), "[SYSTEM]\r\nServidor=mine\r\n");
    }
    if (!c.expectPerUser && !(c.xovaIni == "S" || c.xovaIni == " S ")) {
        EXPECT_FALSE(std::filesystem::exists(root_.file("appdata"))) << "per-user folders made";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CamIniUsrOutcome,
    ::testing::Values(
        Outcome{"NoXovaInPath", "Sistemas/Log", "S", true, false, false},
        Outcome{"XovaPathModeOff", "XOVA8", "N", true, false, false},
        Outcome{"LowerCaseSmallS", "xova8", "s", true, false, false},
        Outcome{"NoXovaIni", "Xova8", std::nullopt, true, false, false},
        Outcome{"PerUserPresent", "XOVA8", "S", false, true, true},
        Outcome{"SeededFromShared", "sis/xova/bin", " S ", true, false, true},
        Outcome{"NoSystemIniAnywhere", "XOVA8", "S", false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CamIniUsr, SeedsThePerUserCopyOnceAndNeverRefreshesIt) {
    placeExecutable("XOVA");
    env_.set("APPDATA", root_.file("appdata"));
    writeFile(exeDir_ + "XOVA.INI", "[XOVA]\nTERMINAL_SERVICES=S\n");
    writeFile(exeDir_ + "system.ini", "[SYSTEM]\nServidor=one\n");
    ASSERT_EQ(TdmLog::camIniUsr(), userDir());
    EXPECT_EQ(readFile(userDir() + "system.ini"), "[SYSTEM]\nServidor=one\n");
    writeFile(exeDir_ + "system.ini", "[SYSTEM]\nServidor=two\n");
    EXPECT_EQ(TdmLog::camIniUsr(), userDir());
    EXPECT_EQ(readFile(userDir() + "system.ini"), "[SYSTEM]\nServidor=one\n");
}

TEST_F(CamIniUsr, NoSystemIniAnywhereStillMakesTheFoldersAndReportsNothing) {
    placeExecutable("XOVA");
    env_.set("APPDATA", root_.file("appdata"));
    writeFile(exeDir_ + "XOVA.INI", "[XOVA]\nTERMINAL_SERVICES=S\n");
    EXPECT_EQ(TdmLog::camIniUsr(), exeDir_);
    EXPECT_TRUE(std::filesystem::is_directory(userDir()));
    EXPECT_FALSE(std::filesystem::exists(userDir() + "system.ini"));
}

TEST_F(CamIniUsr, FallsBackToTheExecutableDirectoryWhenTheFoldersCannotBeMade) {
    placeExecutable("XOVA");
    writeFile(root_.file("appdata"), "a file where the folder should be");
    env_.set("APPDATA", root_.file("appdata"));
    writeFile(exeDir_ + "XOVA.INI", "[XOVA]\nTERMINAL_SERVICES=S\n");
    writeFile(exeDir_ + "system.ini", "[SYSTEM]\n");
    EXPECT_EQ(TdmLog::camIniUsr(), exeDir_);
}

TEST_F(CamIniUsr, WithoutAppDataUsesTheDesktopConfigurationFolder) {
    placeExecutable("XOVA");
    writeFile(exeDir_ + "XOVA.INI", "[XOVA]\nTERMINAL_SERVICES=S\n");
    writeFile(exeDir_ + "system.ini", "[SYSTEM]\n");
    env_.set("APPDATA", std::nullopt);
    env_.set("XDG_CONFIG_HOME", root_.file("xdg"));
    EXPECT_EQ(TdmLog::camIniUsr(), root_.file("xdg/Marbeton/XOVA_8/"));
    env_.set("XDG_CONFIG_HOME", std::nullopt);
    env_.set("HOME", root_.file("home"));
    EXPECT_EQ(TdmLog::camIniUsr(), root_.file("home/.config/Marbeton/XOVA_8/"));
    // Set but blank: no per-user directory can be formed.
    env_.set("APPDATA", "  ");
    EXPECT_EQ(TdmLog::camIniUsr(), exeDir_);
}

TEST(PerUserDirectory, TakesItsSeparatorFromTheBase) {
    EXPECT_EQ(perUserDirectory("C:\\Users\\ana\\AppData\\Roaming"),
              "C:\\Users\\ana\\AppData\\Roaming\\Marbeton\\XOVA_8\\");
    EXPECT_EQ(perUserDirectory("C:\\Users/ana"), "C:\\Users/ana/Marbeton/XOVA_8/");
    EXPECT_EQ(perUserDirectory("/home/ana/.config"), "/home/ana/.config/Marbeton/XOVA_8/");
    EXPECT_EQ(perUserDirectory(" \t"), "");
}

TEST(GetEnvVarValue, ReturnsTheValueOrEmptyText) {
    ScopedEnv env;
    env.set("TRACORA_TEST_VAR", "valor com espaço ");
    EXPECT_EQ(TdmLog::GetEnvVarValue("TRACORA_TEST_VAR"), "valor com espaço ");
    env.set("TRACORA_TEST_VAR", std::nullopt);
    EXPECT_EQ(TdmLog::GetEnvVarValue("TRACORA_TEST_VAR"), "");
}

}  // namespace
