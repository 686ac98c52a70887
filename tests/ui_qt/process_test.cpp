// The program's ends, seen from outside: exit code 0 when the window closes, also while a
// worker runs; -1 (255) with a message when there is no display or no heap.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace proxylist::testing {
namespace {

struct Finished {
    bool in_time;
    int exit_code;
    QString out;
    QString err;
};

// The bound only keeps a broken program from hanging the test run.
Finished run(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool in_time = process.waitForStarted() && process.waitForFinished(60000);
    if (!in_time) {
        process.kill();
        process.waitForFinished();
    }
    return {in_time && process.exitStatus() == QProcess::NormalExit, process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QProcessEnvironment offscreen() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

}  // namespace

class ProcessTest : public QObject {
    Q_OBJECT

  private slots:
    void closing_the_window_exits_with_zero_while_a_worker_runs();
    void no_display_is_reported_with_exit_code_minus_one();
    void exhausted_heap_is_reported_with_the_bytes_asked_for_data();
    void exhausted_heap_is_reported_with_the_bytes_asked_for();
};

void ProcessTest::closing_the_window_exits_with_zero_while_a_worker_runs() {
    const Finished finished = run(QStringLiteral(CLOSE_WITH_WORKER), {}, offscreen());
    QVERIFY2(finished.in_time, qPrintable(finished.err));
    QCOMPARE(finished.exit_code, 0);
}

void ProcessTest::no_display_is_reported_with_exit_code_minus_one() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99999"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const Finished finished = run(QStringLiteral(PROXY_LIST_TOOL), {}, environment);
    QVERIFY(finished.in_time);
    QCOMPARE(finished.exit_code, 255);
    QVERIFY2(finished.err.contains(QStringLiteral("无法创建主窗口")), qPrintable(finished.err));
}

void ProcessTest::exhausted_heap_is_reported_with_the_bytes_asked_for_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("box");
    QTest::newRow("on the GUI thread") << QStringLiteral("gui") << true;
    QTest::newRow("on a worker thread") << QStringLiteral("worker") << true;
    QTest::newRow("before the application") << QStringLiteral("no-application") << false;
}

void ProcessTest::exhausted_heap_is_reported_with_the_bytes_asked_for() {
    QFETCH(QString, mode);
    QFETCH(bool, box);
    const Finished finished = run(QStringLiteral(HEAP_EXHAUSTED_HELPER),
                                  {mode, QStringLiteral("123456789")}, offscreen());
    QVERIFY(finished.in_time);
    QCOMPARE(finished.exit_code, 255);
    QVERIFY2(finished.err.contains(QStringLiteral("123456789")), qPrintable(finished.err));
    QCOMPARE(finished.out.startsWith(QStringLiteral("box: ")), box);
    if (box) {
        QVERIFY2(finished.out.contains(QStringLiteral("123456789")), qPrintable(finished.out));
    }
}

}  // namespace proxylist::testing

QTEST_APPLESS_MAIN(proxylist::testing::ProcessTest)
#include "process_test.moc"
