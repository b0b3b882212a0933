#pragma once

#include <QApplication>
#include <QtTest>

namespace VeldraTest {
// Points HOME and the XDG folders at a fresh temporary folder (removed at exit) and sets the
// application attributes a web view needs. Runs before the QApplication exists.
void prepareEnvironment();
} // namespace VeldraTest

// The main function of a test executable: isolated home, a real QApplication, then QtTest.
#define VELDRA_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char *argv[])                                                             \
    {                                                                                            \
        VeldraTest::prepareEnvironment();                                                        \
        QApplication app(argc, argv);                                                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                 \
        TestObject tc;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                               \
        return QTest::qExec(&tc, argc, argv);                                                    \
    }
