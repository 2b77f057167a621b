#include <QDate>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "platform/folders/ProgramFolders.h"
#include "state/AppState.h"
#include "state/StartValues.h"
#include "store/SettingsStore.h"

namespace {

std::string configFile()
{
    return (QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Vimo/Vimo.ini")).toStdString();
}

// What the main window's load leaves in the state for the given settings file.
AppState loadFrom(const std::string& ini = {})
{
    if (!ini.empty())
        writeFile(configFile(), ini);
    AppState app;
    setStartValues(app);
    loadMainWindowSettings(app, SettingsStore());
    return app;
}

} // namespace

TEST(SettingsStore, EmptyStoreGivesEveryDefault)
{
    SettingsStore::setToday([] { return QDate(2026, 3, 7); });
    const AppState app = loadFrom();
    SettingsStore::setToday({});
    const ProgramState& ps = app.ps;
    EXPECT_EQ(ps.bShowToday, 1);
    EXPECT_EQ(ps.sODIR, ProgramFolders::workDir());
    EXPECT_EQ(ps.iuSYAlpha, 80);
    EXPECT_FLOAT_EQ(app.pic.cmSy.m[3][3], 0.8f);
    EXPECT_EQ(ps.iuSize, 0);
    EXPECT_EQ(ps.iuBk, 0);
    EXPECT_EQ(ps.sText, "");
    EXPECT_EQ(ps.iSize, 9);
    EXPECT_EQ(ps.sFont, "宋体");
    EXPECT_EQ(ps.lColor, 0);
    EXPECT_FALSE(ps.sBold || ps.sUnderline || ps.sItalic);
    EXPECT_EQ(ps.suISyF, "");
    EXPECT_EQ(ps.sSyFile, "");
    EXPECT_EQ(app.panel.chkInfoTxt, 0);
    EXPECT_EQ(app.panel.chkInfoImg, 0);
    EXPECT_EQ(ps.iJPGQ, 100);
    EXPECT_EQ(ps.iSlideTime, 3);
    EXPECT_EQ(ps.bPicJQ, 1);
    EXPECT_EQ(ps.bAutoODir, 1);
    EXPECT_EQ(ps.bAutoURL, 1);
    EXPECT_EQ(ps.bShowURL, 1);
    EXPECT_EQ(ps.bShowURLPic, 1);
    EXPECT_EQ(ps.bSaveErr, 0);
    EXPECT_EQ(ps.iXCutMode, 1);
    EXPECT_EQ(ps.iYCutMode, 0);
    EXPECT_EQ(ps.sPDF1, "Vimo图片集");
    EXPECT_EQ(ps.sPDF2, "本图片集由Vimo图片批处理软件制作");
    EXPECT_EQ(ps.sPDF3, "2026年03月07日");
    EXPECT_EQ(ps.bNewVer, 0);

    ProgramState skin;
    loadSkinFileName(skin, SettingsStore());
    EXPECT_EQ(skin.sSkinFileName, QDir(ProgramFolders::skinDir()).filePath("浅蓝(默认).she"));
    EXPECT_EQ(SettingsStore().text("iBGColor"), "0");
}

TEST(SettingsStore, EveryKindOfValueSurvivesARestart)
{
    {
        AppState app = loadFrom();
        ProgramState& ps = app.ps;
        ps.sSyFile = "/pics/logo 1.png";
        ps.iuISyX = 0.125;
        ps.iuISyY = 0.75;
        ps.sText = "版权所有 ©";
        ps.iSize = 24;
        ps.sFont = "黑体";
        ps.lColor = 0x00FF8040;
        ps.sBold = true;
        ps.sItalic = true;
        ps.iuTSyX = 0.5;
        ps.iuTSyY = 0.0625;
        ps.iJPGQ = 85;
        ps.iSlideTime = 7;
        ps.bPicJQ = 0;
        ps.bSaveErr = 1;
        ps.bShowToday = 0;
        ps.bNewVer = 1;
        ps.iXCutMode = 2;
        ps.iYCutMode = 2;
        ps.sPDF1 = "标题";
        ps.sPDF2 = "签名, with a comma";
        ps.sPDF3 = "2026年01月02日";
        SettingsStore store;
        saveMainWindowSettings(store, ps, {3, 2, 6, "55"});
        saveOptions(store, ps);
    }
    const std::string ini = readFile(configFile());
    for (const char* line : {"sBold=True", "sUnderline=False", "iuTSyX=0.5", "iuISyX=0.125", "lColor=16744512", "iuSYAlpha=55", "bNewVer=1"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;

    const AppState app = loadFrom();
    const ProgramState& ps = app.ps;
    EXPECT_EQ(ps.iuSize, 3);
    EXPECT_EQ(ps.iuBk, 2);
    EXPECT_EQ(ps.iuSYAlpha, 55);
    EXPECT_FLOAT_EQ(app.pic.cmSy.m[3][3], 0.55f);
    EXPECT_EQ(ps.sSyFile, "/pics/logo 1.png");
    EXPECT_EQ(app.panel.chkInfoImg, 1);
    EXPECT_EQ(app.panel.cmbPosImg, 5);
    EXPECT_DOUBLE_EQ(ps.iuISyX, 0.125);
    EXPECT_DOUBLE_EQ(ps.iuISyY, 0.75);
    EXPECT_EQ(ps.sText, "版权所有 ©");
    EXPECT_EQ(app.panel.chkInfoTxt, 1);
    EXPECT_EQ(app.panel.cmbPos, 5);
    EXPECT_EQ(ps.iSize, 24);
    EXPECT_EQ(ps.sFont, "黑体");
    EXPECT_EQ(ps.lColor, 0x00FF8040);
    EXPECT_TRUE(ps.sBold);
    EXPECT_FALSE(ps.sUnderline);
    EXPECT_TRUE(ps.sItalic);
    EXPECT_DOUBLE_EQ(ps.iuTSyX, 0.5);
    EXPECT_DOUBLE_EQ(ps.iuTSyY, 0.0625);
    EXPECT_EQ(ps.iJPGQ, 85);
    EXPECT_EQ(ps.iSlideTime, 7);
    EXPECT_EQ(ps.bPicJQ, 0);
    EXPECT_EQ(ps.bSaveErr, 1);
    EXPECT_EQ(ps.bShowToday, 0);
    EXPECT_EQ(ps.bNewVer, 0);  // stored, but nothing reads it at start
    EXPECT_EQ(ps.iXCutMode, 2);
    EXPECT_EQ(ps.iYCutMode, 2);
    EXPECT_EQ(ps.sPDF1, "标题");
    EXPECT_EQ(ps.sPDF2, "签名, with a comma");
    EXPECT_EQ(ps.sPDF3, "2026年01月02日");
}

// A stored text that does not convert leaves the field at its start value,
// not at the key's default.
TEST(SettingsStore, TextThatDoesNotConvertLeavesStartValue)
{
    const AppState app = loadFrom(
        "[Options]\n"
        "iJPGQ=abc\n"
        "iSlideTime=70000\n"
        "iSize=\n"
        "lColor=red\n"
        "sBold=maybe\n"
        "bPicJQ=x1\n"
        "iuSYAlpha=eighty\n"
        "sText=hello\n"
        "iuTSyX=left\n"
        "iuTSyY=0.5\n");
    const ProgramState& ps = app.ps;
    EXPECT_EQ(ps.iJPGQ, 0);
    EXPECT_EQ(ps.iSlideTime, 0);
    EXPECT_EQ(ps.iSize, 0);
    EXPECT_EQ(ps.lColor, 0);
    EXPECT_FALSE(ps.sBold);
    EXPECT_EQ(ps.bPicJQ, 0);
    EXPECT_EQ(ps.iuSYAlpha, 0);
    EXPECT_FLOAT_EQ(ps.sngTSyX, 0.0f);
    EXPECT_FLOAT_EQ(ps.sngTSyY, 0.5f);
    // Keys absent from the file still give their defaults.
    EXPECT_EQ(ps.iXCutMode, 1);
    EXPECT_EQ(ps.sFont, "宋体");
}

TEST(SettingsStore, FractionsReadWithPointOrDecimalComma)
{
    const AppState app = loadFrom(
        "[Options]\n"
        "sText=x\n"
        "iuTSyX=0,25\n"        // unquoted: the INI reader splits it at the comma
        "iuTSyY=\"0,75\"\n"
        "suISyF=/a.png\n"
        "iuISyX=0.375\n"
        "iuISyY= 1,5 \n");
    EXPECT_FLOAT_EQ(app.ps.sngTSyX, 0.25f);
    EXPECT_DOUBLE_EQ(app.ps.iuTSyX, 0.25);
    EXPECT_DOUBLE_EQ(app.ps.iuTSyY, 0.75);
    EXPECT_DOUBLE_EQ(app.ps.iuISyX, 0.375);
    EXPECT_DOUBLE_EQ(app.ps.iuISyY, 1.5);
}

TEST(SettingsStore, PositionsAreReadOnlyWithTheirWatermark)
{
    const AppState app = loadFrom("[Options]\nsText=\niuTSyX=0.5\nsuISyF=\niuISyX=0.5\n");
    EXPECT_DOUBLE_EQ(app.ps.iuTSyX, 0.0);
    EXPECT_DOUBLE_EQ(app.ps.iuISyX, 0.0);
    EXPECT_EQ(app.panel.chkInfoTxt, 0);
    EXPECT_EQ(app.panel.chkInfoImg, 0);
}

// The close writes the size choice always, the border only for a border
// entry, and the opacity only when the box holds a valid, changed value.
TEST(SettingsStore, CloseWritesOnlyValidValues)
{
    struct Case {
        const char* name;
        CloseControls controls;
        const char* iuSize;     // expected stored text, nullptr when absent
        const char* iuBk;
        const char* iuSYAlpha;
    };
    const Case cases[] = {
        {"changed opacity", {4, 1, 5, "60"}, "4", "1", "60"},
        {"unchanged opacity", {0, 0, 5, "80"}, "0", "0", nullptr},
        {"letters in the opacity box", {0, 0, 5, "abc"}, "0", "0", nullptr},
        {"empty opacity box", {0, 0, 5, ""}, "0", "0", nullptr},
        {"opacity above 100", {0, 0, 5, "150"}, "0", "0", nullptr},
        {"add-border command selected", {2, 3, 5, "80"}, "2", nullptr, nullptr},
        {"download command selected", {2, 4, 5, "80"}, "2", nullptr, nullptr},
        {"nothing selected", {-1, -1, 5, "80"}, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsStore().clear();
        ProgramState ps;
        ps.iuSYAlpha = 80;
        {
            SettingsStore store;
            saveMainWindowSettings(store, ps, c.controls);
        }
        SettingsStore store;
        for (const auto& [key, expected] : {std::pair{"iuSize", c.iuSize}, {"iuBk", c.iuBk}, {"iuSYAlpha", c.iuSYAlpha}}) {
            EXPECT_EQ(store.contains(key), expected != nullptr) << key;
            if (expected) {
                EXPECT_EQ(store.text(key), expected) << key;
            }
        }
    }
}
