#include "ini/IniFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ReadCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(ini::findValue(c.text, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"plain", "[SYSTEM]\nServidor=db01\nCaminho=C:\\Dados\\\n", "SYSTEM", "Caminho",
                 "C:\\Dados\\"},
        ReadCase{"crlf", "[SYSTEM]\r\nServidor=db01\r\nCaminho=/dados/\r\n", "SYSTEM", "Caminho",
                 "/dados/"},
        ReadCase{"names ignore case", "[system]\nSERVIDOR=x\n", "SYSTEM", "Servidor", "x"},
        ReadCase{"value kept as typed", "[SYSTEM]\nCaminho=  C:\\A B\\  \n", "SYSTEM", "Caminho",
                 "  C:\\A B\\  "},
        ReadCase{"empty value", "[SYSTEM]\nServidor=\n", "SYSTEM", "Servidor", ""},
        ReadCase{"key of another section", "[OTHER]\nServidor=x\n[SYSTEM]\n", "SYSTEM",
                 "Servidor", std::nullopt},
        ReadCase{"missing section", "[OTHER]\nServidor=x\n", "SYSTEM", "Servidor", std::nullopt},
        ReadCase{"comment ignored", "[SYSTEM]\n;Servidor=x\nServidor=y\n", "SYSTEM", "Servidor",
                 "y"},
        ReadCase{"first of two", "[SYSTEM]\nServidor=a\nServidor=b\n", "SYSTEM", "Servidor", "a"},
        ReadCase{"no final newline", "[SYSTEM]\nServidor=a", "SYSTEM", "Servidor", "a"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return n;
    });

struct WriteCase {
    const char* name;
    const char* before;
    const char* after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, KeepsEverythingElse) {
    const WriteCase& c = GetParam();
    EXPECT_EQ(ini::withValue(c.before, "SYSTEM", "Servidor", "db01"), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"new file", "", "[SYSTEM]\nServidor=db01\n"},
        WriteCase{"replaces the key in place", "[A]\nx=1\n[SYSTEM]\nSERVIDOR=old\nCaminho=c\n[B]\ny=2\n",
                  "[A]\nx=1\n[SYSTEM]\nServidor=db01\nCaminho=c\n[B]\ny=2\n"},
        WriteCase{"adds the key at the end of its section",
                  "[SYSTEM]\r\nCaminho=c\r\n\r\n[B]\r\ny=2\r\n",
                  "[SYSTEM]\r\nCaminho=c\r\nServidor=db01\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"adds the section", "[B]\r\ny=2", "[B]\r\ny=2\r\n[SYSTEM]\r\nServidor=db01\r\n"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return n;
    });

TEST(IniWrite, RefusesLineBreaksThatWouldForgeKeys) {
    EXPECT_THROW(ini::withValue("", "SYSTEM", "Servidor", "x\n[SYSTEM]\nCaminho=y"), ini::IniError);
}

// Found by fuzzing: a key line that reads as a comment or a section.
TEST(IniWrite, RefusesKeysThatWouldNotReadBack) {
    EXPECT_THROW(ini::withValue("", "SYSTEM", ";Servidor", "x"), ini::IniError);
    EXPECT_THROW(ini::withValue("", "SYSTEM", " [B", "]x"), ini::IniError);
    EXPECT_EQ(ini::withValue("", "SYSTEM", "Ser;vi[dor]", "x"), "[SYSTEM]\nSer;vi[dor]=x\n");
}

// Found by fuzzing: a last line ending in a lone CR keeps its CR when a line follows it.
TEST(IniWrite, KeepsAValueEndingInCarriageReturnOnTheLastLine) {
    const std::string written = ini::withValue("[B]\ny=2\r", "SYSTEM", "Servidor", "db01");
    EXPECT_EQ(ini::findValue(written, "B", "y"), "2\r");
    EXPECT_EQ(ini::findValue(written, "SYSTEM", "Servidor"), "db01");
}

TEST(IniFile, WritesAndReadsBackThroughTheDisk) {
    testsupport::TempDir dir;
    const std::string path = dir.file("system.ini");
    testsupport::writeFile(path, "[XOVA]\r\nTERMINAL_SERVICES=S\r\n");
    ini::IniFile file(path);
    file.writeString("SYSTEM", "Servidor", "");
    file.writeString("SYSTEM", "Caminho", "/srv/log/");
    EXPECT_EQ(testsupport::readFile(path),
              "[XOVA]\r\nTERMINAL_SERVICES=S\r\n[SYSTEM]\r\nServidor=\r\nCaminho=/srv/log/\r\n");
    EXPECT_EQ(file.readString("SYSTEM", "Caminho"), "/srv/log/");
    EXPECT_EQ(file.readString("SYSTEM", "Nada", "N"), "N");
    EXPECT_EQ(ini::IniFile(dir.file("missing.ini")).readString("SYSTEM", "Caminho", "N"), "N");
}

TEST(IniFile, FailedWriteLeavesTheFileAsItWas) {
    testsupport::TempDir dir;
    // A directory in the way of the file name: the write must fail and change nothing.
    const std::string path = dir.file("system.ini");
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    EXPECT_THROW(ini::IniFile(path).writeString("SYSTEM", "Servidor", "x"), ini::IniError);
    testsupport::TempDir other;
    ASSERT_EQ(::mkdir(other.file("sub").c_str(), 0755), 0);
    EXPECT_THROW(ini::IniFile(other.file("sub/none/system.ini")).writeString("SYSTEM", "a", "b"),
                 ini::IniError);
}

}  // namespace
