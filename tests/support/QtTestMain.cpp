#include <QApplication>
#include <QThreadPool>
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TestEnvironment.h"

int main(int argc, char** argv)
{
    testenv::isolateProcess();
    QApplication app(argc, argv);
    // Qt keeps the threads of its pool (QImage converts and scales on them)
    // idle for half a minute after their work: a child must not be forked
    // beside them. Waiting until the pool is done ends them.
    addForkPreparation([] { QThreadPool::globalInstance()->waitForDone(); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
