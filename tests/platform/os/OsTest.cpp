#include "os/Os.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(Os, ExecutableDirectoryEndsWithSeparator) {
    const std::string dir = os::executableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(os::fileExists(os::executablePath()));
    EXPECT_EQ(os::executablePath().rfind(dir, 0), 0u);
}

TEST(Os, CopyRefusesToOverwrite) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("a"), "first");
    testsupport::writeFile(dir.file("b"), "second");
    EXPECT_FALSE(os::copyFileNoOverwrite(dir.file("a"), dir.file("b")));
    EXPECT_EQ(testsupport::readFile(dir.file("b")), "second");
    EXPECT_TRUE(os::copyFileNoOverwrite(dir.file("a"), dir.file("c")));
    EXPECT_EQ(testsupport::readFile(dir.file("c")), "first");
    EXPECT_FALSE(os::copyFileNoOverwrite(dir.file("missing"), dir.file("d")));
    EXPECT_FALSE(os::fileExists(dir.file("d")));
}

TEST(Os, CreatesEveryMissingParent) {
    testsupport::TempDir dir;
    EXPECT_TRUE(os::createDirectories(dir.file("x/y/z/")));
    EXPECT_TRUE(os::directoryExists(dir.file("x/y/z")));
    EXPECT_FALSE(os::createDirectories(""));
    testsupport::writeFile(dir.file("f"), "");
    EXPECT_FALSE(os::createDirectories(dir.file("f/sub")));
}

TEST(Os, ReplaceFileKeepsTheOldFileOnFailure) {
    testsupport::TempDir dir;
    const std::string path = dir.file("out.xml");
    EXPECT_EQ(os::replaceFile(path, "one"), std::nullopt);
    EXPECT_EQ(os::replaceFile(path, "two"), std::nullopt);
    EXPECT_EQ(testsupport::readFile(path), "two");
    std::filesystem::create_directory(dir.file("taken"));
    EXPECT_NE(os::replaceFile(dir.file("taken"), "x"), std::nullopt);
    EXPECT_NE(os::replaceFile(dir.file("nodir/out.xml"), "x"), std::nullopt);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2) << "a temporary file was left behind";
}

TEST(Os, ReadsTheVersionTheBuildRecorded) {
    // Test executables carry no version information; a text file neither.
    EXPECT_EQ(os::readFileVersion(os::executablePath()), std::nullopt);
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("plain"), "not an executable");
    EXPECT_EQ(os::readFileVersion(dir.file("plain")), std::nullopt);
}

}  // namespace
