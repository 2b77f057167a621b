#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSettings>
#include <gtest/gtest.h>

#include "settings/frmOption.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"

namespace {

QString configFile()
{
    return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Vimo/Vimo.ini"));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What another program sees in the settings file right now.
QString storedOnDisk(const char* key)
{
    QSettings disk(configFile(), QSettings::IniFormat);
    return disk.value(QStringLiteral("Options/") + QString::fromLatin1(key)).toString();
}

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        ProgramState& ps = app.ps;
        ps.iJPGQ = 90;
        ps.iSlideTime = 3;
        ps.bAutoODir = 1;
        ps.bAutoURL = 1;
        ps.bShowURL = 1;
        ps.bShowURLPic = 0;
        ps.bSaveErr = 0;
        ps.bPicJQ = 1;
        ps.bShowToday = 1;
        ps.bNewVer = 1;
        ps.iXCutMode = 1;
        ps.iYCutMode = 0;
        ps.sPDF1 = QStringLiteral("我的相册");
        ps.sPDF2 = QStringLiteral("张三");
        ps.sPDF3 = QStringLiteral("2026年12月");
    }

    std::unique_ptr<frmOption> make()
    {
        auto dlg = std::make_unique<frmOption>(app, settings);
        dlg->ReDrawPic = [this] { ++redraws; };
        return dlg;
    }

    AppState app;
    SettingsStore settings;
    int redraws = 0;
};

TEST_F(Options, EachOpenerShowsOnePage)
{
    auto pdf = make();
    pdf->showPdfPage();
    EXPECT_EQ(pdf->windowTitle(), QStringLiteral("PDF参数设置"));
    EXPECT_TRUE(pdf->framePDF->isVisibleTo(pdf.get()));
    EXPECT_FALSE(pdf->frameSet->isVisibleTo(pdf.get()));
    EXPECT_EQ(pdf->framePDF->geometry(), pdf->frameSet->geometry());

    auto general = make();
    general->showGeneralPage();
    EXPECT_EQ(general->windowTitle(), QStringLiteral("选项"));
    EXPECT_FALSE(general->framePDF->isVisibleTo(general.get()));
    EXPECT_TRUE(general->frameSet->isVisibleTo(general.get()));
    // The upload-page switches and the version check stay hidden.
    for (QCheckBox* hidden : {general->chkAutoURL, general->chkShowURL, general->chkShowURLPic, general->chkNewVer})
        EXPECT_FALSE(hidden->isVisibleTo(general.get())) << hidden->objectName().toStdString();
    for (QCheckBox* shown : {general->chkAutoODir, general->chkSaveErr, general->chkJQ, general->chkShowToday})
        EXPECT_TRUE(shown->isVisibleTo(general.get())) << shown->objectName().toStdString();
}

TEST_F(Options, OpensWithTheStateAndTheSwitchesThatDependOnIt)
{
    app.ps.iXCutMode = 2;
    app.ps.iYCutMode = 7;  // no such anchor: the design's choice stays
    app.ps.bPicJQ = 0;
    app.ps.bAutoURL = 0;
    auto dlg = make();
    EXPECT_EQ(dlg->hsOpt[0]->text(), QStringLiteral("90"));
    EXPECT_EQ(dlg->hsOpt[1]->text(), QStringLiteral("3"));
    EXPECT_TRUE(dlg->Option3->isChecked());
    EXPECT_TRUE(dlg->Option4->isChecked());
    EXPECT_FALSE(dlg->chkJQ->isChecked());
    for (QRadioButton* o : {dlg->Option1, dlg->Option2, dlg->Option3, dlg->Option4, dlg->Option5, dlg->Option6})
        EXPECT_FALSE(o->isEnabled()) << o->objectName().toStdString();
    EXPECT_FALSE(dlg->chkShowURL->isEnabled());
    EXPECT_FALSE(dlg->chkShowURLPic->isEnabled());
    EXPECT_EQ(dlg->txtPDF2->text(), QStringLiteral("张三"));

    dlg->chkJQ->setChecked(true);
    for (QRadioButton* o : {dlg->Option1, dlg->Option2, dlg->Option3, dlg->Option4, dlg->Option5, dlg->Option6})
        EXPECT_TRUE(o->isEnabled()) << o->objectName().toStdString();
}

TEST_F(Options, OkStoresEveryKeyAtOnceAndRedraws)
{
    auto dlg = make();
    dlg->hsOpt[0]->setText(QStringLiteral("80"));
    dlg->Option3->setChecked(true);
    dlg->Option6->setChecked(true);
    dlg->chkSaveErr->setChecked(true);
    dlg->txtPDF1->setText(QStringLiteral("新标题"));
    dlg->cmdOK_Click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(redraws, 1);

    EXPECT_EQ(app.ps.iJPGQ, 80);
    EXPECT_EQ(app.ps.iXCutMode, 2);
    EXPECT_EQ(app.ps.iYCutMode, 2);
    EXPECT_EQ(app.ps.bSaveErr, 1);
    EXPECT_EQ(app.ps.sPDF1, QStringLiteral("新标题"));
    const struct {
        const char* key;
        const char* text;
    } onDisk[] = {
        {"iJPGQ", "80"}, {"iSlideTime", "3"}, {"bAutoODir", "1"}, {"bAutoURL", "1"}, {"bShowURL", "1"},
        {"bShowURLPic", "0"}, {"bSaveErr", "1"}, {"bPicJQ", "1"}, {"bShowToday", "1"}, {"bNewVer", "1"},
        {"iXCutMode", "2"}, {"iYCutMode", "2"}, {"sPDF1", "新标题"}, {"sPDF2", "张三"}, {"sPDF3", "2026年12月"},
    };
    for (const auto& k : onDisk)
        EXPECT_EQ(storedOnDisk(k.key), QString::fromUtf8(k.text)) << k.key;
}

TEST_F(Options, TypedNumbersAreHeldInsideTheLabelsRanges)
{
    const struct {
        const char* quality;
        int expectQuality;
        const char* seconds;
        int expectSeconds;
    } cases[] = {
        {"80", 80, "5", 5},
        {"abc", 90, "x", 3},    // not a number: the old value, saved again
        {"", 90, "", 3},
        {"150", 100, "45", 30},  // above the range: its top
        {"0", 1, "0", 1},        // a zero interval would fire the slide show without pause
        {"-5", 1, "-2", 1},
        {" 12.6 ", 13, "2.5", 2},
        {"1e300", 100, "99999999999", 30},
    };
    for (const auto& c : cases) {
        app.ps.iJPGQ = 90;
        app.ps.iSlideTime = 3;
        auto dlg = make();
        dlg->hsOpt[0]->setText(QString::fromUtf8(c.quality));
        dlg->hsOpt[1]->setText(QString::fromUtf8(c.seconds));
        dlg->cmdOK_Click();
        EXPECT_EQ(app.ps.iJPGQ, c.expectQuality) << c.quality;
        EXPECT_EQ(app.ps.iSlideTime, c.expectSeconds) << c.seconds;
        EXPECT_EQ(storedOnDisk("iJPGQ"), QString::number(c.expectQuality)) << c.quality;
        EXPECT_EQ(storedOnDisk("iSlideTime"), QString::number(c.expectSeconds)) << c.seconds;
    }
}

TEST_F(Options, CancelAndEscapeStoreNothing)
{
    settings.writeText(QStringLiteral("iJPGQ"), QStringLiteral("90"));
    ASSERT_TRUE(settings.sync());
    const QByteArray before = fileBytes(configFile());
    ASSERT_FALSE(before.isEmpty());
    const ProgramState was = app.ps;
    for (const bool escape : {false, true}) {
        auto dlg = make();
        dlg->hsOpt[0]->setText(QStringLiteral("20"));
        dlg->Option1->setChecked(true);
        dlg->txtPDF3->setText(QStringLiteral("改了"));
        if (escape) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(dlg.get(), &esc);
        } else {
            dlg->cmdNO->click();
        }
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
    }
    settings.sync();
    EXPECT_EQ(fileBytes(configFile()), before);
    EXPECT_EQ(app.ps.iJPGQ, was.iJPGQ);
    EXPECT_EQ(app.ps.iXCutMode, was.iXCutMode);
    EXPECT_EQ(app.ps.sPDF3, was.sPDF3);
    EXPECT_EQ(redraws, 0);
}

TEST_F(Options, AClickSelectsTheWholeTextOfTheNumberAndFirstTwoTextBoxes)
{
    auto dlg = make();
    dlg->showPdfPage();
    dlg->show();
    const struct {
        QLineEdit* box;
        bool selects;
    } cases[] = {
        {dlg->hsOpt[0], true}, {dlg->hsOpt[1], true}, {dlg->txtPDF1, true}, {dlg->txtPDF2, true}, {dlg->txtPDF3, false},
    };
    for (const auto& c : cases) {
        c.box->parentWidget()->show();
        c.box->deselect();
        const QPointF at(4, c.box->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, at, c.box->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, c.box->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(c.box, &press);
        QCoreApplication::sendEvent(c.box, &release);
        EXPECT_EQ(c.box->selectedText() == c.box->text(), c.selects) << c.box->objectName().toStdString();
    }
}

} // namespace
