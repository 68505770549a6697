#include "app/bounded.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "startup/startuppath.h"

namespace {
TEST(Bounded, FormatRefusesWhatDoesNotFitAndNeverWritesPastTheEnd)
{
    char buffer[12];
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_TRUE(FormatBounded(buffer, 9, "%s\\%d", "ab", -1200));
    EXPECT_STREQ("ab\\-1200", buffer) << "exactly 8 characters and the terminator fit";
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_FALSE(FormatBounded(buffer, 8, "%s", "abcdefgh"));
    EXPECT_EQ('\0', buffer[0]) << "a refused result leaves an empty string, not a cut path";
    EXPECT_EQ('x', buffer[8]) << "nothing past the given size is touched";
    EXPECT_FALSE(FormatBounded(buffer, 0, "%s", ""));
}

TEST(Bounded, CopyRefusesWhatDoesNotFit)
{
    char buffer[6] = "zzzzz";
    EXPECT_TRUE(CopyBounded(buffer, sizeof(buffer), "hello"));
    EXPECT_STREQ("hello", buffer);
    EXPECT_FALSE(CopyBounded(buffer, sizeof(buffer), "hello!"));
    EXPECT_STREQ("", buffer);
}

TEST(StartupPath, FollowsTheSystemGenerationAndRefusesLongUserNames)
{
    char path[260];
    ASSERT_TRUE(FormatStartupDir(5, "taro", path, sizeof(path)));
    EXPECT_STREQ("C:\\Documents and Settings\\taro\\Start Menu\\Programs\\Startup\\", path);
    for (int major : {4, 6, 10}) {
        SCOPED_TRACE(major);
        ASSERT_TRUE(FormatStartupDir(major, "taro", path, sizeof(path)));
        EXPECT_STREQ("C:\\Users\\taro\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\", path);
    }
    std::string longName(200, 'u');
    EXPECT_FALSE(FormatStartupDir(6, longName.c_str(), path, sizeof(path)));
    EXPECT_STREQ("", path);
}
}  // namespace
