#include "logging/logging_control.h"
#include "support/fake_clock.h"
#include "ui/qt_text.h"
#include "ui/qt_timer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace wendle;

class TestQtTimer : public QObject {
    Q_OBJECT

private slots:
    // A coarse timer may fire early or round to whole seconds.
    void isPrecise() { QCOMPARE(QtTimer().qtimer().timerType(), Qt::PreciseTimer); }

    // On the event loop the timer drives the logging control's ticks by itself.
    void drivesTicksByItself() {
        QTemporaryDir dir, state;
        test::FakeClock clock;
        QtTimer timer;
        LoggingControl control(clock, timer, systemLogStore(), utf8(state.filePath("held-lines")));
        control.setFolder(utf8(dir.path()));
        control.setIntervalSeconds(1);
        control.start();
        const QString path = dir.filePath(qt(isoDate(clock.now().date)) + ".log");
        const auto content = [&path] {
            QFile log(path);
            return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(content(), QByteArray("14:03:12\r\n"), 10000);
        control.stop();
        QVERIFY(!timer.isActive());
    }
};

QTEST_GUILESS_MAIN(TestQtTimer)
#include "test_qt_timer.moc"
