#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/folders/ProgramFolders.h"

TEST(ProgramFolders, VimoHomeHoldsTheWorkingFoldersOnly)
{
    const QString home = qEnvironmentVariable("VIMO_HOME");
    ASSERT_FALSE(home.isEmpty());
    EXPECT_EQ(ProgramFolders::workDir(), QDir(home).absolutePath());
    EXPECT_EQ(ProgramFolders::outputDir(), QDir(home).filePath("zp"));
    EXPECT_EQ(ProgramFolders::userDir(), QDir(home).filePath("user"));
    // Resources stay with the program: this test's folder holds none, so they
    // come from the install's share folder, wherever VIMO_HOME points.
    EXPECT_EQ(ProgramFolders::resourceDir(), QStringLiteral(VIMO_INSTALL_DATADIR));
    EXPECT_EQ(ProgramFolders::sizeFile(), QStringLiteral(VIMO_INSTALL_DATADIR "/size.ini"));
    EXPECT_EQ(ProgramFolders::borderDir(), QStringLiteral(VIMO_INSTALL_DATADIR "/bk"));
    EXPECT_EQ(ProgramFolders::skinDir(), QStringLiteral(VIMO_INSTALL_DATADIR "/skin"));

    ASSERT_TRUE(ProgramFolders::ensureWorkingFolders());
    EXPECT_TRUE(QFileInfo(ProgramFolders::outputDir()).isDir());
    EXPECT_TRUE(QFileInfo(ProgramFolders::userDir()).isDir());
    // A second call finds them there and succeeds.
    EXPECT_TRUE(ProgramFolders::ensureWorkingFolders());
}

TEST(ProgramFolders, ResourcesBesideTheProgramOrWhereATestPutsThem)
{
    // A copy of the program that carries any of its resources uses them; a
    // bare executable folder (an installed program) gives the share folder.
    const QDir copy(qEnvironmentVariable("VIMO_HOME") + "/copy");
    ASSERT_TRUE(QDir().mkpath(copy.path()));
    EXPECT_EQ(ProgramFolders::resourceDirBeside(copy.path()), QStringLiteral(VIMO_INSTALL_DATADIR));
    ASSERT_TRUE(QDir().mkpath(copy.filePath("bk")));
    EXPECT_EQ(ProgramFolders::resourceDirBeside(copy.path()), copy.absolutePath());

    ProgramFolders::setResourceDir(QStringLiteral("/opt/fixture"));
    EXPECT_EQ(ProgramFolders::sizeFile(), QStringLiteral("/opt/fixture/size.ini"));
    EXPECT_EQ(ProgramFolders::workDir(), QDir(qEnvironmentVariable("VIMO_HOME")).absolutePath());
    ProgramFolders::setResourceDir(QString());
    EXPECT_EQ(ProgramFolders::resourceDir(), QStringLiteral(VIMO_INSTALL_DATADIR));
}
