#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/folders/ProgramFolders.h"

TEST(ProgramFolders, VimoHomeHoldsResourcesAndWorkingFolders)
{
    const QString home = qEnvironmentVariable("VIMO_HOME");
    ASSERT_FALSE(home.isEmpty());
    EXPECT_EQ(ProgramFolders::workDir(), QDir(home).absolutePath());
    EXPECT_EQ(ProgramFolders::resourceDir(), QDir(home).absolutePath());
    EXPECT_EQ(ProgramFolders::sizeFile(), QDir(home).filePath("size.ini"));
    EXPECT_EQ(ProgramFolders::borderDir(), QDir(home).filePath("bk"));

    ASSERT_TRUE(ProgramFolders::ensureWorkingFolders());
    EXPECT_TRUE(QFileInfo(ProgramFolders::outputDir()).isDir());
    EXPECT_TRUE(QFileInfo(ProgramFolders::userDir()).isDir());
    // A second call finds them there and succeeds.
    EXPECT_TRUE(ProgramFolders::ensureWorkingFolders());
}
