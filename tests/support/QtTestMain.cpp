#include <QApplication>
#include <gtest/gtest.h>

#include "TestEnvironment.h"

int main(int argc, char** argv)
{
    testenv::isolateProcess();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
