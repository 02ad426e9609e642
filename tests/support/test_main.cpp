#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs inside a Qt application, so that database drivers, widgets and
// printing behave as in the programs. Widget tests need no display. The test servers are those
// of this build unless KLADDE_TEST_SERVERS names others.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("KLADDE_TEST_SERVERS"))
        qputenv("KLADDE_TEST_SERVERS", KLADDE_TEST_SERVERS_FILE);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
