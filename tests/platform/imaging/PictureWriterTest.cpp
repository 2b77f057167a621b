#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "platform/imaging/PictureWriter.h"

// /dev/full refuses every write as a full disk does.
TEST(PictureWriter, AFullDiskGivesItsReason)
{
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0) << "/dev/full is needed";
    const imaging::WriteResult r = imaging::writeAll(fd, QByteArray(100000, 'x'));
    ::close(fd);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errnum, ENOSPC);
    EXPECT_FALSE(r.error.isEmpty());
}
