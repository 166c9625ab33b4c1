#include "settings/registry.h"
#include "settings/registry_store.h"
#include "support/qt_registry.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace wendle;
using namespace wendle::test;

namespace {
const QString Key = QStringLiteral("SOFTWARE\\Quorvel\\Utils\\Wendle");
const QString FullKey = QStringLiteral("HKEY_LOCAL_MACHINE\\") + Key;
} // namespace

class TestRegistryProcesses : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QString m_writer;

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        m_writer = QCoreApplication::applicationDirPath() + "/registry_writer";
        QVERIFY(QFile::exists(m_writer));
    }
    void init() { QFile::remove(RegistryStore::defaultPath()); }

    // Each writer stores values of its own; a write that read the store
    // before the other's write landed would drop the other's value.
    void concurrentWritersLoseNothing() {
        constexpr int count = 150;
        QProcess a, b;
        a.start(m_writer, {"names", "A", QString::number(count)});
        b.start(m_writer, {"names", "B", QString::number(count)});
        QVERIFY(a.waitForFinished(60000) && b.waitForFinished(60000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        const RegDocument stored = RegistryStore().read();
        QCOMPARE(stored.unparsedLineCount(), 0);
        for (const QString prefix : {"A", "B"})
            for (int i = 1; i <= count; ++i)
                QVERIFY2(stored.value(FullKey, prefix + QString::number(i)),
                         qPrintable(prefix + QString::number(i) + " lost"));
    }

    // A writer killed at any moment leaves a whole store, holding the value
    // before or after the write it was making. Each writer is killed only
    // after its first write has landed, however slowly it started, so that
    // the kill falls among writes rather than before them.
    void killedWriterLeavesAWholeStore() {
        qint32 last = 0;
        for (int round = 0; round < 40; ++round) {
            QProcess writer;
            writer.start(m_writer, {"counter"});
            QVERIFY(writer.waitForStarted());
            QVERIFY2(writer.waitForReadyRead(60000), "the writer never wrote");
            QTest::qWait(QRandomGenerator::global()->bounded(40));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());

            const RegDocument stored = RegistryStore().read();
            if (last > 0)
                QVERIFY(stored.keyExists(FullKey));
            QCOMPARE(stored.unparsedLineCount(), 0);
            const qint32 now = GetSettingDword(RegistryRoot::LocalMachine, Key, "Counter", 0);
            QVERIFY2(now >= last,
                     qPrintable(QString("went back from %1 to %2").arg(last).arg(now)));
            last = now;
        }
        QVERIFY(last >= 40);
    }
};

QTEST_GUILESS_MAIN(TestRegistryProcesses)
#include "test_registry_processes.moc"
