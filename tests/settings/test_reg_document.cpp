#include "settings/reg_document.h"
#include "settings/registry_roots.h"

#include <QTest>

using namespace wendle;

namespace {
const QString Key = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvel\\Utils\\Wendle");
}

class TestRegDocument : public QObject {
    Q_OBJECT

private slots:
    void readsEachKindOfValue_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("text") << QByteArray("\"V\"=\"/home/ann/time logs\"") << RegType::String
                              << QByteArray("/home/ann/time logs");
        QTest::newRow("escapes") << QByteArray("\"V\"=\"a\\\\b \\\"c\\\"\"") << RegType::String
                                 << QByteArray("a\\b \"c\"");
        QTest::newRow("empty text") << QByteArray("\"V\"=\"\"") << RegType::String << QByteArray();
        QTest::newRow("dword") << QByteArray("\"V\"=dword:00000201") << RegType::Dword
                               << QByteArray("\x01\x02\0\0", 4);
        QTest::newRow("binary") << QByteArray("\"V\"=hex:01,ff") << RegType::Binary
                                << QByteArray("\x01\xff", 2);
        QTest::newRow("other type") << QByteArray("\"V\"=hex(b):01,02,03,04,05,06,07,08") << 11
                                    << QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
        QTest::newRow("text as hex with inner NUL")
            << QByteArray("\"V\"=hex(1):61,00,62") << RegType::String << QByteArray("a\0b", 3);
        QTest::newRow("wrapped hex") << QByteArray("\"V\"=hex:01,\\\n  02,\\\n  03")
                                     << RegType::Binary << QByteArray("\x01\x02\x03", 3);
        QTest::newRow("not UTF-8 text")
            << QByteArray("\"V\"=\"caf\xe9\"") << RegType::String << QByteArray("caf\xe9");
    }
    void readsEachKindOfValue() {
        QFETCH(QByteArray, line);
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        const RegDocument document =
            RegDocument::parse("REGEDIT4\n\n[" + Key.toUtf8() + "]\n" + line + "\n");
        const RegValue *value = document.value(Key, "v");
        QVERIFY(value);
        QCOMPARE(value->type, type);
        QCOMPARE(value->data, data);
        QCOMPARE(document.unparsedLineCount(), 0);
        // Written and read again, the value is the same.
        const RegDocument reread = RegDocument::parse(document.serialize());
        const RegValue *again = reread.value(Key, "V");
        QVERIFY(again);
        QCOMPARE(*again, *value);
    }

    // Only hex data goes on over a line that ends in a backslash: a comment
    // that ends in one keeps the value under it.
    void backslashContinuesOnlyHexData() {
        const QByteArray text = "REGEDIT4\n\n[" + Key.toUtf8() +
                                "]\n; old folder was C:\\Logs\\\n\"LogFolder\"=\"/home/ann/logs\"\n"
                                "\"Bytes\"=hex:01,\\\n  02\n";
        RegDocument document = RegDocument::parse(text);
        QVERIFY(document.value(Key, "LogFolder"));
        QCOMPARE(document.value(Key, "LogFolder")->data, QByteArray("/home/ann/logs"));
        QCOMPARE(document.value(Key, "Bytes")->data, QByteArray("\x01\x02"));
        document.setValue(Key, "Autostart", RegValue{RegType::Dword, QByteArray(4, '\0')});
        QVERIFY(document.serialize().contains("; old folder was C:\\Logs\\\n\"LogFolder\""));
    }

    // What does not parse reads as absent and is written back as it was.
    void keepsWhatItCannotParse_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("unterminated text") << QByteArray("\"V\"=\"/home/an");
        QTest::newRow("unknown escape") << QByteArray("\"V\"=\"a\\tb\"");
        QTest::newRow("bad dword") << QByteArray("\"V\"=dword:123456789");
        QTest::newRow("bad hex") << QByteArray("\"V\"=hex:1g");
        QTest::newRow("unknown kind") << QByteArray("\"V\"=qword:1");
        QTest::newRow("deletion") << QByteArray("\"V\"=-");
        QTest::newRow("comment") << QByteArray("; set by hand");
        QTest::newRow("garbage") << QByteArray("\x01\xff\xfe garbage");
    }
    void keepsWhatItCannotParse() {
        QFETCH(QByteArray, line);
        const QByteArray text =
            "REGEDIT4\n\n[" + Key.toUtf8() + "]\n\"Keep\"=dword:00000001\n" + line + "\n";
        RegDocument document = RegDocument::parse(text);
        QVERIFY(!document.value(Key, "V"));
        QVERIFY(document.value(Key, "Keep"));
        QCOMPARE(document.unparsedLineCount(), 1);
        document.setValue(Key, "New", RegValue{RegType::Dword, QByteArray(4, '\0')});
        const QByteArray written = document.serialize();
        QVERIFY2(written.contains("\n" + line + "\n"), written.constData());
        QVERIFY(RegDocument::parse(written).value(Key, "New"));
    }

    void unknownRootSectionIsKeptWhole() {
        const QByteArray text =
            "REGEDIT4\n\n[HKEY_NOWHERE\\A]\n\"V\"=\"x\"\n\n[" + Key.toUtf8() + "]\n\"W\"=\"y\"\n";
        RegDocument document = RegDocument::parse(text);
        QVERIFY(!document.keyExists("HKEY_NOWHERE\\A"));
        QCOMPARE(document.value(Key, "W")->data, QByteArray("y"));
        QVERIFY(document.serialize().contains("[HKEY_NOWHERE\\A]\n\"V\"=\"x\"\n"));
    }

    void namesIgnoreCaseAndKeepTheirs() {
        RegDocument document;
        document.setValue(Key, "LogFolder", RegValue{RegType::String, "/a"});
        document.setValue(Key.toLower(), "LOGFOLDER", RegValue{RegType::String, "/b"});
        QCOMPARE(document.value(Key.toUpper(), "logfolder")->data, QByteArray("/b"));
        const QByteArray written = document.serialize();
        QVERIFY2(written.contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvel\\Utils\\Wendle]\n"
                                  "\"LogFolder\"=\"/b\"\n"),
                 written.constData());
        QVERIFY(document.keyExists("hkey_local_machine\\software\\quorvel"));
        QVERIFY(!document.keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvel\\Util"));
    }

    void keyGivenTwiceReadsAsOneLaterWins() {
        const QByteArray k = "[" + Key.toUtf8() + "]\n";
        RegDocument document = RegDocument::parse("REGEDIT4\n" + k + "\"A\"=\"1\"\n\"B\"=\"1\"\n" +
                                                  k.toLower() + "\"a\"=\"2\"\n\"C\"=\"3\"\n");
        QCOMPARE(document.value(Key, "A")->data, QByteArray("2"));
        QCOMPARE(document.value(Key, "B")->data, QByteArray("1"));
        QCOMPARE(document.value(Key, "C")->data, QByteArray("3"));
    }

    void textThatCannotBeQuotedIsWrittenAsHex() {
        RegDocument document;
        document.setValue(Key, "V", RegValue{RegType::String, QByteArray("line\none\0", 9)});
        const QByteArray written = document.serialize();
        QVERIFY2(written.contains("\"V\"=hex(1):6c,69,6e,65,0a,6f,6e,65,00\n"),
                 written.constData());
        QCOMPARE(RegDocument::parse(written).value(Key, "V")->data, QByteArray("line\none\0", 9));
    }

    void removeValueKeepsTheKey() {
        RegDocument document;
        document.setValue(Key, "V", RegValue{RegType::String, "x"});
        QVERIFY(document.removeValue(Key, "v"));
        QVERIFY(!document.removeValue(Key, "v"));
        QVERIFY(!document.value(Key, "V"));
        QVERIFY(RegDocument::parse(document.serialize()).keyExists(Key));
    }

    // Hand-edited or damaged files of any size parse in linear time.
    void largeDamagedInputStaysFast() {
        QByteArray text = "REGEDIT4\n";
        for (int i = 0; i < 20000; ++i)
            text += "[HKEY_USERS\\k" + QByteArray::number(i) + "]\n\"v\"=\"" + QByteArray(50, 'x') +
                    "\n";
        text += QByteArray(4 << 20, '\\') + "\n";
        const RegDocument document = RegDocument::parse(text);
        QVERIFY(document.keyExists("HKEY_USERS\\k19999"));
        QCOMPARE(document.unparsedLineCount(), 20001);
    }
};

QTEST_GUILESS_MAIN(TestRegDocument)
#include "test_reg_document.moc"
