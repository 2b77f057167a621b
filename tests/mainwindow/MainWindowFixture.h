#pragma once

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

#include "TestEnvironment.h"
#include "mainwindow/ProgramLook.h"
#include "mainwindow/frmMain.h"
#include "platform/folders/ProgramFolders.h"
#include "platform/prompter/RecordingPrompter.h"
#include "platform/shell/RecordingShell.h"
#include "settings/SettingsPanel.h"
#include "state/AppState.h"
#include "store/SettingsStore.h"

// A main window over the test's own settings and working folders, with the
// resources of its own share folder: two sizes and two borders. Fonts and Qt's
// own texts are the program's, as its start-up sets them.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        programlook::apply(*qApp);
        home = ProgramFolders::workDir();
        share = QString::fromStdString(testenv::scratchDir()) + "/share";
        ProgramFolders::setResourceDir(share);
        QDir().mkpath(share + "/bk");
        QFile sizes(share + "/size.ini");
        ASSERT_TRUE(sizes.open(QIODevice::WriteOnly));
        sizes.write("Blog;640;480\r\nIcon;120;120\r\n");
        sizes.close();
        picture(share + "/bk/frame.PNG", 64, 48);
        picture(share + "/bk/blue.png", 64, 48);
    }

    void TearDown() override { ProgramFolders::setResourceDir(QString()); }

    // A picture file of the given size; returns its path.
    static QString picture(const QString& path, int w = 40, int h = 30, QColor colour = Qt::darkCyan)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        // Endings Qt cannot write (gif, txt, none) get PNG data under that name.
        const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
        const bool known = QImageWriter::supportedImageFormats().contains(suffix);
        EXPECT_TRUE(image.save(path, known ? nullptr : "PNG")) << path.toStdString();
        return path;
    }

    // Makes and loads the window, as the start-up does.
    frmMain& open(const QStringList& commandLine = {})
    {
        app = std::make_unique<AppState>();
        app->main.vCmdLine = commandLine;
        settings = std::make_unique<SettingsStore>();
        window = std::make_unique<frmMain>(*app, *settings, prompter, shell);
        window->Form_Load();
        return *window;
    }

    // Closes the window the way the user does, writing its settings.
    void close()
    {
        window->close();
        window.reset();
        settings.reset();
    }

    QString home;   // the working folders
    QString share;  // the resources
    RecordingPrompter prompter;
    RecordingShell shell;
    std::unique_ptr<AppState> app;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<frmMain> window;
};
