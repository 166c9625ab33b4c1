#include "settings/program_settings.h"
#include "settings/registry.h"
#include "settings/registry_store.h"
#include "support/qt_registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace wendle;
using namespace wendle::test;

namespace {
const QString Key = QStringLiteral("SOFTWARE\\Quorvel\\Utils\\Wendle");
const QByteArray Header = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvel\\Utils\\Wendle]\n";
} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;

    QString storePath() const { return RegistryStore::defaultPath(); }
    void writeStore(const QByteArray &text) {
        QDir().mkpath(QFileInfo(storePath()).absolutePath());
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QByteArray readStore() const {
        QFile file(storePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        QCOMPARE(storePath(), m_config.path() + "/wendle/registry.reg");
    }
    void init() {
        QDir(m_config.path()).removeRecursively();
        QDir().mkpath(m_config.path());
    }

    void firstRunReadsDefaultsAndCreatesNothing() {
        QCOMPARE(GetSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "dflt"),
                 QString("dflt"));
        QCOMPARE(GetSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1), -1);
        QVERIFY(!KeyExists(RegistryRoot::LocalMachine, Key));
        QVERIFY(!QFile::exists(storePath()));
    }

    void savedValuesReadBack() {
        const QString folder = QString::fromUtf8("/home/ann/Zeit Überblick \"x\" \\ y");
        SaveSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", folder, "");
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", 0, -1);
        QCOMPARE(GetSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", ""), folder);
        QCOMPARE(GetSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1), 0);
        QVERIFY(KeyExists(RegistryRoot::LocalMachine, Key));
        QVERIFY(KeyExists(RegistryRoot::LocalMachine, QString("SOFTWARE\\Quorvel")));
        // People can read and edit what is stored.
        QCOMPARE(readStore(), Header + "\"LogFolder\"=\"" +
                                  folder.toUtf8().replace("\\", "\\\\").replace("\"", "\\\"") +
                                  "\"\n\"Autostart\"=dword:00000000\n");
        // Other roots are other keys.
        QCOMPARE(GetSettingDword(RegistryRoot::CurrentUser, Key, "Autostart", 7), 7);
    }

    void handWrittenValuesReadAsTheRegistryWould_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("text"); // GetSettingString with default "dflt"
        QTest::addColumn<int>("number");   // GetSettingDword with default 77
        QTest::newRow("text with inner NUL")
            << QByteArray("\"V\"=hex(1):61,62,00,63") << "ab" << 1660969569;
        QTest::newRow("empty text") << QByteArray("\"V\"=\"\"") << "" << 0;
        QTest::newRow("dword 1") << QByteArray("\"V\"=dword:00000001") << "" << 1;
        QTest::newRow("dword all ones") << QByteArray("\"V\"=dword:ffffffff") << "" << -1;
        QTest::newRow("two bytes of another type") << QByteArray("\"V\"=hex:01,02") << "" << 513;
        QTest::newRow("eight bytes")
            << QByteArray("\"V\"=hex(b):01,00,00,00,00,00,00,00") << "" << 77;
        QTest::newRow("no bytes") << QByteArray("\"V\"=hex:") << "" << 0;
        QTest::newRow("case of the name") << QByteArray("\"v\"=\"lower\"") << "lower" << 77;
        QTest::newRow("absent") << QByteArray("\"W\"=\"x\"") << "dflt" << 77;
        QTest::newRow("damaged") << QByteArray("\"V\"=\"x") << "dflt" << 77;
    }
    void handWrittenValuesReadAsTheRegistryWould() {
        QFETCH(QByteArray, line);
        QFETCH(QString, text);
        QFETCH(int, number);
        writeStore(Header + line + "\n");
        QCOMPARE(GetSettingString(RegistryRoot::LocalMachine, Key, "V", "dflt"), text);
        QCOMPARE(GetSettingDword(RegistryRoot::LocalMachine, Key, "V", 77), number);
    }

    // The report's folders: the log folder first, each one once, none empty.
    void reportFoldersBesideTheLogFolder() {
        writeStore(Header + "\"LogFolder\"=\"/a\"\n\"ReportFolders\"=\"/b::/a:/c d/\"\n");
        ProgramSettings settings(systemRegistry());
        QCOMPARE(reportFolders(settings.logFolder(), settings.extraReportFolders()),
                 (std::vector<std::string>{"/a", "/b", "/c d/"}));
        writeStore(Header + "\"LogFolder\"=\"/a\"\n");
        QCOMPARE(reportFolders(settings.logFolder(), settings.extraReportFolders()),
                 (std::vector<std::string>{"/a"}));
    }

    void caseMattersToTheDefaultNotToNames() {
        SaveSettingString(RegistryRoot::LocalMachine, QString("software\\quorvel\\utils\\wendle"),
                          "logfolder", "/a", "/A");
        QCOMPARE(GetSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", ""), QString("/a"));
        SaveSettingString(RegistryRoot::LocalMachine, Key, "LOGFOLDER", "/b", "");
        QVERIFY2(readStore().contains("\"logfolder\"=\"/b\""), readStore().constData());
    }

    void savingTheDefaultRemovesOnlyFromAnExistingKey() {
        SaveSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "", "");
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1, -1);
        QVERIFY(!QFile::exists(storePath()));
        QVERIFY(!KeyExists(RegistryRoot::LocalMachine, Key));

        SaveSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "/logs", "");
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", 1, -1);
        SaveSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "", "");
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1, -1);
        QCOMPARE(GetSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "none"),
                 QString("none"));
        QCOMPARE(GetSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1), -1);
        QVERIFY(KeyExists(RegistryRoot::LocalMachine, Key));
        QCOMPARE(readStore(), Header);
    }

    // A store its owner made read-only is read but never changed, and its
    // keys do not count as openable with full access.
    void readOnlyStoreIsLeftAlone() {
        writeStore(Header + "\"Autostart\"=dword:00000001\n");
        QFile::setPermissions(storePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QCOMPARE(GetSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1), 1);
        QVERIFY(!KeyExists(RegistryRoot::LocalMachine, Key));
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", 0, -1);
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1, -1);
        SaveSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "/x", "");
        QCOMPARE(readStore(), Header + "\"Autostart\"=dword:00000001\n");
        QFile::setPermissions(storePath(), QFile::ReadOwner | QFile::WriteOwner);
    }

    void writeKeepsLinesItCannotParse() {
        const QByteArray damaged = "\"Broken\"=\"no end\n; a note\n\"Bytes\"=\"\xff\xfe\"\n";
        writeStore(Header + damaged);
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", 1, -1);
        const QByteArray stored = readStore();
        QVERIFY2(stored.contains("\"Broken\"=\"no end\n; a note\n"), stored.constData());
        // Text that is not UTF-8 parses; its bytes survive, written as hex.
        QCOMPARE(RegistryStore().read().value("HKEY_LOCAL_MACHINE\\" + Key, "Bytes")->data,
                 QByteArray("\xff\xfe"));
        QCOMPARE(GetSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1), 1);
    }

    void damagedStoresNeverBreakReading_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated header") << QByteArray("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFT");
        QTest::newRow("no header line") << QByteArray(
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvel\\Utils\\Wendle]\n\"LogFolder\"=\"/ok\"\n");
        QTest::newRow("binary junk") << QByteArray("\0\x01\x02[\xff]\n\"\n=\\\n", 12);
        QTest::newRow("long line") << QByteArray(1 << 20, 'x');
    }
    void damagedStoresNeverBreakReading() {
        QFETCH(QByteArray, text);
        writeStore(text);
        const QString expected = text.contains("/ok") ? "/ok" : "dflt";
        QCOMPARE(GetSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "dflt"), expected);
        SaveSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", 1, -1);
        QCOMPARE(GetSettingDword(RegistryRoot::LocalMachine, Key, "Autostart", -1), 1);
        QCOMPARE(GetSettingString(RegistryRoot::LocalMachine, Key, "LogFolder", "dflt"), expected);
    }

    void stripAtNul() {
        QCOMPARE(StripAtNul(std::string("ab\0c", 4)), std::string("ab"));
        QCOMPARE(StripAtNul(std::string(1, '\0')), std::string());
        QCOMPARE(StripAtNul("abc"), std::string("abc"));
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "test_registry.moc"
