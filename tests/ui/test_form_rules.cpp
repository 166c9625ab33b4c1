#include "form/contrast.h"
#include "form/font_scale.h"
#include "form/recent_log_text.h"

#include <QTest>

using namespace wendle::form;

// Rules both front ends share: the window's size for the user's font,
// greyed text that stays readable in any scheme, and what the log view tells
// a screen reader it holds.
class TestFormRules : public QObject {
    Q_OBJECT

private slots:
    void fontScale_data() {
        QTest::addColumn<double>("user");
        QTest::addColumn<double>("standard");
        QTest::addColumn<double>("scale");
        QTest::newRow("the default font: the window as designed") << 9.0 << 9.0 << 1.0;
        QTest::newRow("14 pt") << 14.0 << 9.0 << 14.0 / 9.0;
        QTest::newRow("a smaller font never shrinks it") << 7.0 << 9.0 << 1.0;
        QTest::newRow("pixels, 125 % font") << 15.0 << 12.0 << 1.25;
        QTest::newRow("size unknown") << -1.0 << 9.0 << 1.0;
    }
    void fontScale() {
        QFETCH(double, user);
        QFETCH(double, standard);
        QFETCH(double, scale);
        QCOMPARE(wendle::form::fontScale(user, standard), scale);
    }

    void greyIsReadable_data() {
        QTest::addColumn<quint32>("grey");
        QTest::addColumn<quint32>("text");
        QTest::addColumn<quint32>("window");
        QTest::addColumn<bool>("kept");
        QTest::newRow("light, readable grey kept") << 0x767676u << 0x000000u << 0xefefefu << true;
        QTest::newRow("Fusion light disabled text") << 0xbebebeu << 0x000000u << 0xefefefu << false;
        QTest::newRow("dark, dim grey") << 0x4a4a4au << 0xffffffu << 0x353535u << false;
        QTest::newRow("darker, near the window") << 0x2a2e32u << 0xfcfcfcu << 0x202326u << false;
        QTest::newRow("grey on the dark side of a light window")
            << 0xd0d0d0u << 0x101010u << 0xffffffu << false;
    }
    void greyIsReadable() {
        QFETCH(quint32, grey);
        QFETCH(quint32, text);
        QFETCH(quint32, window);
        QFETCH(bool, kept);
        const quint32 shown = readableGrey(grey, text, window);
        QVERIFY2(contrastRatio(shown, window) >= 3.0, qPrintable(QString::number(shown, 16)));
        QCOMPARE(shown == grey, kept);
        // Still a grey: no nearer the text than it must be.
        QVERIFY(contrastRatio(shown, window) < 3.3 || kept);
    }

    void recentLogDescription_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("told");
        QTest::newRow("lines in CR LF, the caret's empty line not counted")
            << "09:00:10\r\n09:00:20\r\n09:00:30\r\n"
            << "3 lines, last at 09:00:30";
        QTest::newRow("one line, no line break") << "09:00:10"
                                                 << "1 line, last at 09:00:10";
        QTest::newRow("nothing logged yet") << ""
                                            << "no lines";
    }
    void recentLogDescription() {
        QFETCH(QString, text);
        QFETCH(QString, told);
        QCOMPARE(QString::fromStdString(wendle::form::recentLogDescription(text.toStdString())),
                 "The end of today's log, as Show Recent Log read it: " + told);
    }

    void contrastOfKnownPairs() {
        QCOMPARE(qRound(contrastRatio(0x000000, 0xffffff) * 100), 2100);
        QCOMPARE(qRound(contrastRatio(0x767676, 0xffffff) * 100), 454);
        QCOMPARE(contrastRatio(0x123456, 0x123456), 1.0);
    }
};

QTEST_APPLESS_MAIN(TestFormRules)
#include "test_form_rules.moc"
