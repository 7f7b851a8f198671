#pragma once
// The main function of a window test: the offscreen platform unless another is asked for.

#include <QApplication>
#include <QTest>

#define BRIVANA_WINDOW_TEST_MAIN(TestClass)                                      \
    int main(int argc, char* argv[])                                             \
    {                                                                            \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                     \
            qputenv("QT_QPA_PLATFORM", "offscreen");                             \
        QApplication app(argc, argv);                                            \
        QApplication::setQuitOnLastWindowClosed(false);                          \
        TestClass test;                                                          \
        return QTest::qExec(&test, argc, argv);                                  \
    }
