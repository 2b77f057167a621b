#include <gtest/gtest.h>

#include <QDir>
#include <cstdlib>

#include "TempDir.h"
#include "TestEnvironment.h"
#include "platform/folders/ProgramFolders.h"
#include "processing/pdf/PdfLibrary.h"

TEST(PdfLibrary, LooksBesideTheProgramThenInTheInstallFolder)
{
    unsetenv("VIMO_PDF_LIBRARY");
    EXPECT_EQ(PdfLibrary::defaultCandidates(),
              QStringList({QDir(ProgramFolders::executableDir()).filePath("libPDF.so"),
                           QDir(VIMO_INSTALL_LIBDIR).filePath("libPDF.so")}));
    setenv("VIMO_PDF_LIBRARY", "/opt/x/libPDF.so", 1);
    EXPECT_EQ(PdfLibrary::defaultCandidates(), QStringList{"/opt/x/libPDF.so"});
}

// Every call fails with -1 and the message names the file, once; nothing crashes.
TEST(PdfLibrary, UnusableLibraryFailsEveryCallWithAMessageNamingTheFile)
{
    TempDir dir;
    const QString notALibrary = QString::fromStdString(dir.file("libPDF.so"));
    writeFile(notALibrary.toStdString(), "not a shared object");
    struct Case {
        QStringList candidates;
        QStringList mentions;
    };
    const Case cases[] = {
        {{"/nowhere/a/libPDF.so", "/nowhere/b/libPDF.so"},
         {"libPDF.so", "/nowhere/a/libPDF.so", "/nowhere/b/libPDF.so"}},
        {{"/nowhere/a/libPDF.so", notALibrary}, {notALibrary}},
        {{PARTIAL_LIBRARY}, {PARTIAL_LIBRARY, "SetNumProp", "GetErrorMsg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.candidates.join(" ").toStdString());
        PdfLibrary lib(c.candidates);
        EXPECT_EQ(lib.CreateVum(0, 0), -1);
        const QString message = lib.GetErrorMsg();
        for (const QString& m : c.mentions)
            EXPECT_TRUE(message.contains(m)) << message.toStdString();
        EXPECT_EQ(lib.GetErrorMsg(), "") << "a message is handed out once";
        EXPECT_EQ(lib.SetStrProp(1, 14, "标题"), -1);
        EXPECT_EQ(lib.DrawText(1, 0, 0, 1, 1, 2, 2, "x"), -1);
        EXPECT_EQ(lib.EndDoc(1), -1);
        EXPECT_FALSE(lib.GetErrorMsg().isEmpty());
        EXPECT_TRUE(lib.loadedFile().isEmpty());
    }
}

TEST(PdfLibrary, BindsTheBuiltLibraryAndPassesItsMessagesOn)
{
    const QString file = QDir(QString::fromStdString(testenv::binDir())).filePath("libPDF.so");
    PdfLibrary lib({"/nowhere/libPDF.so", file});
    const int32_t h = lib.CreateVum(0, 0);
    ASSERT_GE(h, 0) << lib.GetErrorMsg().toStdString();
    EXPECT_EQ(lib.loadedFile(), file);
    EXPECT_EQ(lib.SetNumProp(h, 999, 1), -1);
    EXPECT_EQ(lib.GetErrorMsg(), "Bad numeric property ID: 999");
    EXPECT_EQ(lib.SetStrProp(h, 14, "图片集"), 0);
    EXPECT_EQ(lib.NewPage(h + 1000), -1);
    EXPECT_EQ(lib.GetErrorMsg(), "Bad Vum handle");
    EXPECT_EQ(lib.FreeVum(h), 0);
}
