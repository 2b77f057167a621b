#pragma once

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QString>
#include <array>
#include <gtest/gtest.h>
#include <string>

#include "MainWindowFixture.h"
#include "RecordingCommands.h"
#include "ToolRunner.h"

// A loaded main window with a recording stand-in for the menu commands, and
// pictures made and read back by ImageMagick.
class PanelFixture : public MainWindowFixture {
protected:
    SettingsPanel& openPanel(const QStringList& commandLine = {})
    {
        open(commandLine);
        window->panel->setCommands(&commands);
        return *window->panel;
    }

    // A picture of one colour made by ImageMagick; returns its path.
    static QString magick(const QString& path, int w, int h, const char* colour)
    {
        EXPECT_TRUE(haveTool("convert")) << "ImageMagick's convert is needed";
        QDir().mkpath(QFileInfo(path).absolutePath());
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        const ToolResult r = runTool({"convert", "-size", size, std::string("xc:") + colour, path.toStdString()});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return path;
    }

    // Red, green and blue of one pixel of a picture file, read by ImageMagick.
    static std::array<int, 3> pixel(const QString& path, int x, int y)
    {
        EXPECT_TRUE(haveTool("convert")) << "ImageMagick's convert is needed";
        const std::string at = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
        const std::string format = "%[fx:int(255*" + at + ".r+0.5)] %[fx:int(255*" + at + ".g+0.5)] %[fx:int(255*" +
                                   at + ".b+0.5)]";
        const ToolResult r = runTool({"convert", path.toStdString(), "-format", format, "info:"});
        std::array<int, 3> rgb{-1, -1, -1};
        EXPECT_EQ(std::sscanf(r.out.c_str(), "%d %d %d", &rgb[0], &rgb[1], &rgb[2]), 3) << r.out << r.err;
        return rgb;
    }

    // Width and height of a picture file, as ImageMagick reads them.
    static std::string sizeOf(const QString& path)
    {
        EXPECT_TRUE(haveTool("identify")) << "ImageMagick's identify is needed";
        return runTool({"identify", "-format", "%w %h", path.toStdString()}).out;
    }

    // Runs the list into `out` as PNG files; returns the names written.
    QStringList runInto(const QString& out)
    {
        window->panel->cmbEncode->setCurrentIndex(2);  // png
        app->ps.sOutDir = out;
        window->cmdDone->click();
        return QDir(out).entryList(QDir::Files, QDir::Name);
    }

    RecordingCommands commands;
};
