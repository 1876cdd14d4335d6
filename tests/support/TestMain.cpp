#include <QApplication>
#include <gtest/gtest.h>

// Every test program gets a real QApplication so that widget tests can run;
// CTest selects the offscreen platform for it.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
