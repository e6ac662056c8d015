#pragma once

// The main function of every test program. It runs the test object like
// QTest::qExec and fails the test on Qt's warnings that a connection or a
// queued call could not be made ("No such signal", "Cannot queue arguments",
// "Dead lock detected", ...): such a warning means a refill or a slot call
// was silently lost. A warning on the test's own thread fails the running
// test function; one from another thread fails the program at its end.

#include <QtTest>

namespace velmoraxtest {

// Runs the test object (QTest::qExec with the check above).
int exec(QObject *testObject, int argc, char **argv);

// Whether Qt's message says a connection or queued call could not be made.
bool isConnectionWarning(const QString &message);

} // namespace velmoraxtest

#define VELMORAX_TEST_MAIN_WITH(AppClass, TestObject)                                                                  \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();                                             \
        AppClass app(argc, argv);                                                                                      \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return velmoraxtest::exec(&tc, argc, argv);                                                                    \
    }

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
#define VELMORAX_TEST_MAIN(TestObject) VELMORAX_TEST_MAIN_WITH(QApplication, TestObject)
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
#define VELMORAX_TEST_MAIN(TestObject) VELMORAX_TEST_MAIN_WITH(QGuiApplication, TestObject)
#else
#define VELMORAX_TEST_MAIN(TestObject) VELMORAX_TEST_MAIN_WITH(QCoreApplication, TestObject)
#endif
#define VELMORAX_TEST_GUILESS_MAIN(TestObject) VELMORAX_TEST_MAIN_WITH(QCoreApplication, TestObject)
