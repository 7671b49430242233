#include "platform/profile/AtomicFile.h"
#include "platform/profile/ExecutablePath.h"
#include "platform/profile/PrivateProfile.h"

#include "tests/config/ChildProcess.h"
#include "tests/config/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace krn310 {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

std::vector<std::string> DirectoryEntries(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return names;
}

class PrivateProfileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    fs::path file = dir / "krn310.INI";
};

TEST_F(PrivateProfileTest, MissingFileGivesTheDefaultAndStaysMissing)
{
    EXPECT_EQ(GetPrivateProfileString("CONFIG", "ETHER_IP", "192.168.0.100", file), "192.168.0.100");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(PrivateProfileTest, EmptyValueIsNoDefault)
{
    WriteFile(file, "[CONFIG]\nCOM_PORT=\n");
    EXPECT_EQ(GetPrivateProfileString("CONFIG", "COM_PORT", "ttyS0", file), "");
}

TEST_F(PrivateProfileTest, LongValuesAreCutTo2047Characters)
{
    struct Case {
        std::string character;
        std::size_t count;
        std::size_t kept;
    };
    const Case cases[] = {{"a", 2047, 2047}, {"a", 2048, 2047}, {"a", 5000, 2047}, {"Ж", 2100, 2047},
                          {"€", 10, 10}};
    for (const Case& c : cases) {
        std::string value;
        for (std::size_t i = 0; i < c.count; ++i)
            value += c.character;
        WriteFile(file, "[CONFIG]\nETHER_IP=" + value + "\n");
        std::string expected;
        for (std::size_t i = 0; i < c.kept; ++i)
            expected += c.character;
        EXPECT_EQ(GetPrivateProfileString("CONFIG", "ETHER_IP", "", file), expected)
            << c.character << " x " << c.count;
    }
}

TEST_F(PrivateProfileTest, WriteCreatesTheFileAndKeepsOtherContents)
{
    ASSERT_TRUE(WritePrivateProfileString("CONFIG", "A", "1", file));
    EXPECT_EQ(ReadFile(file), "[CONFIG]\nA=1\n");

    WriteFile(file, "; keep\n[OTHER]\nZ=9\n[CONFIG]\nA=1\nB=2\n");
    ASSERT_TRUE(WritePrivateProfileString("CONFIG", "A", "5", file));
    EXPECT_EQ(ReadFile(file), "; keep\n[OTHER]\nZ=9\n[CONFIG]\nA=5\nB=2\n");
    EXPECT_EQ(GetPrivateProfileString("config", "a", "", file), "5");
}

TEST_F(PrivateProfileTest, WriteLeavesNoTemporaryFileBehind)
{
    ASSERT_TRUE(WritePrivateProfileString("CONFIG", "A", "1", file));
    ASSERT_TRUE(WritePrivateProfileString("CONFIG", "B", "2", file));
    EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"krn310.INI"});
}

TEST_F(PrivateProfileTest, WriteKeepsPermissionsAndFollowsALink)
{
    const fs::path real = dir / "real.INI";
    WriteFile(real, "[CONFIG]\nA=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink("real.INI", file);

    ASSERT_TRUE(WritePrivateProfileString("CONFIG", "A", "2", file));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(ReadFile(real), "[CONFIG]\nA=2\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(PrivateProfileTest, FailedWritesReportFailureAndChangeNothing)
{
    const fs::path notADirectory = dir / "plain-file";
    WriteFile(notADirectory, "x");
    fs::create_directory(dir / "a-directory.INI");
    const fs::path cases[] = {notADirectory / "krn310.INI", dir / "a-directory.INI", dir / "missing-dir" / "x.INI",
                              fs::path()};
    for (const fs::path& target : cases) {
        EXPECT_FALSE(WritePrivateProfileString("CONFIG", "A", "1", target)) << target;
        EXPECT_EQ(GetPrivateProfileString("CONFIG", "A", "default", target), "default") << target;
    }
    EXPECT_EQ(ReadFile(notADirectory), "x");
    EXPECT_TRUE(fs::is_directory(dir / "a-directory.INI"));
    EXPECT_FALSE(fs::exists(dir / "missing-dir"));
}

TEST_F(PrivateProfileTest, UnstorableValueFailsAndKeepsTheFile)
{
    WriteFile(file, "[CONFIG]\nA=1\n");
    EXPECT_FALSE(WritePrivateProfileString("CONFIG", "A", "1\n[EVIL]\nB=2", file));
    EXPECT_EQ(ReadFile(file), "[CONFIG]\nA=1\n");
}

TEST_F(PrivateProfileTest, FailureBeforeTheRenameKeepsTheOldFile)
{
    WriteFile(file, "[CONFIG]\nA=1\n");
    fs::path seenTemporary;
    {
        ScopedBeforeReplaceHook fail([&](const fs::path& temporary) {
            seenTemporary = temporary;
            EXPECT_EQ(ReadFile(temporary), "[CONFIG]\nA=2\n");
            return false;
        });
        EXPECT_FALSE(WritePrivateProfileString("CONFIG", "A", "2", file));
    }
    EXPECT_EQ(seenTemporary.parent_path(), dir.path());
    EXPECT_EQ(ReadFile(file), "[CONFIG]\nA=1\n");
    EXPECT_EQ(DirectoryEntries(dir.path()), std::vector<std::string>{"krn310.INI"});
    EXPECT_TRUE(WritePrivateProfileString("CONFIG", "A", "2", file));
    EXPECT_EQ(ReadFile(file), "[CONFIG]\nA=2\n");
}

TEST_F(PrivateProfileTest, ProcessKilledMidWriteLeavesTheOldFile)
{
    const std::string old = "; operator's file\n[CONFIG]\nA=1\nB=2\n";
    WriteFile(file, old);
    const int status = test::RunInChild([&] {
        ScopedBeforeReplaceHook die([](const fs::path&) {
            ::raise(SIGKILL);
            return true;
        });
        WritePrivateProfileString("CONFIG", "A", "2", file);
        return 0;
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(ReadFile(file), old);
    EXPECT_EQ(GetPrivateProfileString("CONFIG", "A", "", file), "1");
    // The next run writes over the same place regardless of the leftover.
    EXPECT_TRUE(WritePrivateProfileString("CONFIG", "A", "3", file));
    EXPECT_EQ(GetPrivateProfileString("CONFIG", "A", "", file), "3");
}

TEST(ExecutablePathTest, IsThisTestProgram)
{
    const fs::path path = ExecutablePath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "platform_profile_tests");
    EXPECT_TRUE(fs::is_regular_file(path));
}

} // namespace
} // namespace krn310
