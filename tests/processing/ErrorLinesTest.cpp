#include <gtest/gtest.h>

#include <cerrno>

#include "processing/ErrorLines.h"

TEST(ErrorLines, NamesAreLoggedOnOneLine)
{
    const struct {
        QString name, logged;
    } cases[] = {
        {"/p/a.jpg", "/p/a.jpg"},
        {"/p/照片 1.jpg", "/p/照片 1.jpg"},
        {"/p/a\nforged line.jpg", "/p/a\\nforged line.jpg"},
        {"/p/a\r\nb.jpg", "/p/a\\r\\nb.jpg"},
        {"/p/a\tb\x01.jpg", "/p/a\\tb\\x01.jpg"},
        {QString("/p/a") + QChar(0x2028) + "b" + QChar(0x85) + ".jpg", "/p/a\\x2028b\\x85.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loggedName(c.name), c.logged);
        const QString line = errorLine(c.name, "在显示图片时发生错误:(", RunError::InvalidPicture, "");
        EXPECT_EQ(line, c.logged + "在显示图片时发生错误:(481)无效的图片。\r\n");
    }
}

TEST(ErrorLines, SystemRefusalsAreNamed)
{
    const struct {
        int errnum;
        const char* text;
    } cases[] = {
        {ENOSPC, "磁盘已满"},
        {EDQUOT, "磁盘已满"},
        {EFBIG, "文件超出了系统允许的大小"},
        {EACCES, "没有写入的权限"},
        {EROFS, "磁盘是只读的"},
        {ENOENT, "路径未找到"},
        {EIO, "读写磁盘时出错"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(systemErrorText(c.errnum), QString::fromUtf8(c.text)) << c.errnum;
    EXPECT_FALSE(systemErrorText(EXDEV).isEmpty());
}
