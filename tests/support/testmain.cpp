#include "support/testmain.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <mutex>

namespace velmoraxtest {

namespace {

QtMessageHandler testLibHandler = nullptr;
std::mutex lateMutex;
QStringList lateWarnings; // from other threads, reported at the end

void checkingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (testLibHandler)
        testLibHandler(type, context, message);
    if (type == QtDebugMsg || type == QtInfoMsg || !isConnectionWarning(message))
        return;
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread() && QTest::currentTestFunction()) {
        const QByteArray text = "Qt could not make a connection or queued call: " + message.toLocal8Bit();
        QTest::qFail(text.constData(), context.file ? context.file : __FILE__, context.file ? context.line : __LINE__);
        return;
    }
    std::lock_guard<std::mutex> lock(lateMutex);
    lateWarnings << message;
}

} // namespace

bool isConnectionWarning(const QString &message)
{
    static const char *const markers[] = {
        "No such signal",     "No such slot",      "No such method", "Cannot queue arguments",
        "Dead lock detected", "QObject::connect:", "Cannot connect", "invalid nullptr parameter",
    };
    for (const char *marker : markers)
        if (message.contains(QLatin1String(marker)))
            return true;
    return false;
}

int exec(QObject *testObject, int argc, char **argv)
{
    QTest::qInit(testObject, argc, argv);
    // The test library has installed its own handler now; ours runs first
    // and hands every message on to it.
    testLibHandler = qInstallMessageHandler(checkingHandler);
    int failures = QTest::qRun();
    qInstallMessageHandler(testLibHandler);
    QTest::qCleanup();
    std::lock_guard<std::mutex> lock(lateMutex);
    for (const QString &warning : qAsConst(lateWarnings))
        std::fprintf(stderr, "FAIL!  : Qt could not make a connection or queued call: %s\n", qPrintable(warning));
    if (!lateWarnings.isEmpty())
        failures = qMax(failures, 1);
    return failures;
}

} // namespace velmoraxtest
