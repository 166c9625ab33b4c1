#include "form/contrast.h"
#include "form/interval_text.h"
#include "form/texts.h"
#include "support/fake_clock.h"
#include "ui/caption_font.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/system_colors.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace wendle;
using wendle::test::FakeClock;

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    FakeClock m_clock;
    QTemporaryDir m_dir;

    static QRect expected(int left, int top, int width, int height) {
        const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        auto px = [dpi](int twips) { return qRound(twips * dpi / 1440.0); };
        return QRect(px(left), px(top), px(width), px(height));
    }

private slots:
    void controlsSitWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("lblLogFile") << "lblLogFile"
                                    << "Log Time to this Folder: " << QRect(60, 120, 2415, 195);
        QTest::newRow("txtLogFile") << "txtLogFile"
                                    << "" << QRect(60, 360, 3495, 315);
        QTest::newRow("cmdBrowse") << "cmdBrowse"
                                   << "" << QRect(3600, 360, 315, 315);
        QTest::newRow("lblTimerInterval") << "lblTimerInterval"
                                          << "Time Check Frequency " << QRect(120, 780, 2595, 195);
        QTest::newRow("sldTimerInterval") << "sldTimerInterval"
                                          << "" << QRect(60, 960, 3855, 195);
        QTest::newRow("cmdStart") << "cmdStart"
                                  << "Start" << QRect(75, 1440, 1875, 315);
        QTest::newRow("cmdStop") << "cmdStop"
                                 << "Stop" << QRect(2130, 1440, 1800, 315);
        QTest::newRow("chkAutostart") << "chkAutostart"
                                      << "Auto-Start " << QRect(120, 1800, 1035, 195);
        QTest::newRow("cmdShowLog") << "cmdShowLog"
                                    << "Show Recent Log  " << QRect(2100, 1920, 1815, 315);
        QTest::newRow("txtLog") << "txtLog"
                                << "" << QRect(90, 2280, 3825, 2715);
    }
    void controlsSitWhereTheLayoutPutsThem() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, twips);
        MainWindow window(m_clock);
        auto *widget = window.findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->geometry(), expected(twips.x(), twips.y(), twips.width(), twips.height()));
        QString text;
        if (auto *label = qobject_cast<QLabel *>(widget))
            text = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            text = button->text();
        else if (auto *line = qobject_cast<QLineEdit *>(widget))
            text = line->text();
        else if (auto *edit = qobject_cast<QPlainTextEdit *>(widget))
            text = edit->toPlainText();
        QCOMPARE(text, caption);
    }

    void windowIsFixedWithMinimiseButNoMaximise() {
        MainWindow window(m_clock);
        QCOMPARE(window.objectName(), QString("frmTimeCheck"));
        QCOMPARE(window.windowTitle(), QString("Quorvel Wendle"));
        QCOMPARE(window.size(), expected(0, 0, 4005, 5085).size());
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.pos(), expected(6570, 2625, 0, 0).topLeft());
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    void initialStatesAreTheIdleLook() {
        MainWindow window(m_clock);
        QVERIFY(window.cmdStart->isEnabled());
        QVERIFY(!window.cmdStop->isEnabled());
        QVERIFY(window.cmdBrowse->isEnabled());
        QVERIFY(!window.logging().timer().isActive());
        QCOMPARE(window.logging().timer().interval(), 10000);
        QCOMPARE(window.logging().logFileNumber(), 0);
        QCOMPARE(window.chkAutostart->checkState(), Qt::Unchecked);
        QVERIFY(window.txtLogFile->isReadOnly());
        QCOMPARE(window.txtLogFile->palette().color(QPalette::Base),
                 systemColor(SysColor::ButtonFace, window.palette()));
        QCOMPARE(window.recentLog()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!window.recentLog()->isReadOnly());
        QCOMPARE(window.sldTimerInterval->minimum(), 1);
        QCOMPARE(window.sldTimerInterval->maximum(), 60);
        QCOMPARE(window.sldTimerInterval->value(), 10);
        QCOMPARE(window.sldTimerInterval->singleStep(), 1);
        QCOMPARE(window.sldTimerInterval->pageStep(), 5);
        QCOMPARE(window.sldTimerInterval->tickInterval(), 5);
        QCOMPARE(window.sldTimerInterval->tickPosition(), QSlider::TicksBelow);
        QVERIFY(!window.mnuPopup->isVisible());
        QCOMPARE(window.mnuPopup->title(), QString("Popup"));
        QCOMPARE(window.mnuPopup->actions(),
                 (QList<QAction *>{window.mnuPopupReport, window.mnuPopupLogin,
                                   window.mnuPopupPause, window.mnuPopupExit}));
        // Off until chosen: logging goes on through a lock as it always did.
        QVERIFY(window.mnuPopupPause->isCheckable() && !window.mnuPopupPause->isChecked());
        QCOMPARE(window.mnuPopupReport->text(), QString::fromUtf8("Report…"));
        QCOMPARE(window.mnuPopupExit->text(), QString("E&xit"));
        for (QPushButton *button : {window.cmdStart, window.cmdStop, window.cmdShowLog})
            QVERIFY(!button->isDefault() && !button->autoDefault());
    }

    void captionsAreReadableInTheirPlaces() {
        MainWindow window(m_clock);
        QVERIFY(captionsFit(window, window.font()));
    }

    void tabVisitsControlsInOrder() {
        MainWindow window(m_clock);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), window.txtLogFile);
        // The recent-log box's editor is made only as the focus reaches it,
        // in its place in the window and in the order.
        QVERIFY(!window.findChild<QPlainTextEdit *>());
        const QRect logPlace = window.findChild<QWidget *>("txtLog")->geometry();
        // Stop is disabled while idle and is passed over.
        const QStringList order{"cmdBrowse",        "cmdShowLog",   "txtLog",    "cmdStart",
                                "sldTimerInterval", "chkAutostart", "txtLogFile"};
        for (const QString &next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
        QCOMPARE(window.findChild<QPlainTextEdit *>(), window.recentLog());
        QCOMPARE(window.recentLog()->geometry(), logPlace);
        QVERIFY(window.recentLog()->isVisible());
    }

    void sliderKeysSetTheInterval() {
        MainWindow window(m_clock);
        window.show();
        window.sldTimerInterval->setFocus();
        QTest::keyClick(window.sldTimerInterval, Qt::Key_Right);
        QCOMPARE(window.logging().timer().interval(), 11000);
        QTest::keyClick(window.sldTimerInterval, Qt::Key_PageUp);
        QCOMPARE(window.logging().timer().interval(), 16000);
        QTest::keyClick(window.sldTimerInterval, Qt::Key_End);
        QCOMPARE(window.logging().timer().interval(), 60000);
        QTest::keyClick(window.sldTimerInterval, Qt::Key_Home);
        QCOMPARE(window.logging().timer().interval(), 1000);
        QTest::keyClick(window.sldTimerInterval, Qt::Key_Left);
        QCOMPARE(window.logging().timer().interval(), 1000);
    }

    void lockedFolderBoxIgnoresTyping() {
        MainWindow window(m_clock);
        window.txtLogFile->setText("/srv/logs");
        QTest::keyClicks(window.txtLogFile, "xyz");
        QCOMPARE(window.txtLogFile->text(), QString("/srv/logs"));
        QCOMPARE(qt(window.logging().folder()), QString("/srv/logs"));
    }

    void startAndStopSwitchLooks() {
        MainWindow window(m_clock);
        window.txtLogFile->setText(m_dir.path());
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);
        QVERIFY(window.logging().isLogging());
        QVERIFY(!window.cmdStart->isEnabled());
        QVERIFY(window.cmdStop->isEnabled());
        QVERIFY(!window.cmdBrowse->isEnabled());
        // Greyed, yet readable on its background.
        for (auto [widget, role, background] :
             {std::tuple<QWidget *, QPalette::ColorRole, QPalette::ColorRole>{
                  window.lblLogFile, QPalette::WindowText, QPalette::Window},
              {window.txtLogFile, QPalette::Text, QPalette::Base}}) {
            const QColor shown = widget->palette().color(role);
            QVERIFY(shown != systemColor(SysColor::WindowText, window.palette()));
            QVERIFY(form::contrastRatio(shown.rgb() & 0xFFFFFF,
                                        widget->palette().color(background).rgb() & 0xFFFFFF) >=
                    3.0);
        }

        QTest::mouseClick(window.cmdStop, Qt::LeftButton);
        QVERIFY(!window.logging().isLogging());
        QVERIFY(window.cmdStart->isEnabled());
        QVERIFY(!window.cmdStop->isEnabled());
        QVERIFY(window.cmdBrowse->isEnabled());
        const QColor text = systemColor(SysColor::WindowText, window.palette());
        QCOMPARE(window.lblLogFile->palette().color(QPalette::WindowText), text);
        QCOMPARE(window.txtLogFile->palette().color(QPalette::Text), text);
    }

    void failedStartIsReportedAndLeavesIdleLook() {
        MainWindow window(m_clock);
        QStringList reported;
        window.setReporter([&](const QString &message) {
            // The look is idle before the user reads the message.
            QVERIFY(window.cmdStart->isEnabled());
            reported << message;
        });
        window.txtLogFile->setText(QString()); // no folder chosen
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported.first().contains("No folder"));
        QVERIFY(window.cmdStart->isEnabled());
        QVERIFY(!window.cmdStop->isEnabled());
        QVERIFY(!window.logging().timer().isActive());
    }

    // A folder that cannot be written is told in the window and on the icon,
    // never in a box that waits for the user, and logging goes on.
    void unwritableFolderIsNoticedWithoutABox() {
        MainWindow window(m_clock, nullptr, MainWindow::Writing::AtOnce);
        QStringList reported;
        window.setReporter([&](const QString &message) { reported << message; });
        window.trayIcon().add();
        window.txtLogFile->setText(m_dir.filePath("missing folder"));
        QTest::mouseClick(window.cmdStart, Qt::LeftButton);
        QVERIFY(reported.isEmpty());
        QVERIFY(window.logging().isLogging());
        QVERIFY(window.recentLog()->toPlainText().contains(
            m_dir.filePath("missing folder/2003-12-02.log")));
        QCOMPARE(window.trayIcon().toolTip(), QString::fromLatin1(form::TrayTipHolding));
        // Nothing else the icon tells hides the held lines meanwhile.
        window.sldTimerInterval->setValue(5);
        window.setPaused(form::PauseReason::Locked);
        QCOMPARE(window.trayIcon().toolTip(), QString::fromLatin1(form::TrayTipHolding));
        QCOMPARE(form::trayPicture(window.trayState()), form::TrayPicture::Warning);
        window.logging().tick();
        QVERIFY(QDir().mkpath(m_dir.filePath("missing folder")));
        window.logging().tick();
        QVERIFY(window.recentLog()->toPlainText().contains("1 held line was written"));
        // Written: the tip tells the pause, then the interval again.
        QCOMPARE(window.trayIcon().toolTip(), QString::fromLatin1(form::TrayTipPausedLocked));
        window.setPaused(std::nullopt);
        QCOMPARE(window.trayIcon().toolTip(), qt(form::trayTipText(true, 5)));
        QCOMPARE(form::trayPicture(window.trayState()), form::TrayPicture::LoggingClock);
        window.logging().stop();
        QCOMPARE(window.trayIcon().toolTip(), QString::fromLatin1(form::TrayTip));
    }

    void showRecentLogReplacesTypedTextAndScrollsToEnd() {
        QFile file(m_dir.filePath("2003-12-02.log"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 200; ++i)
            file.write(QTime(8, 0).addSecs(i).toString("HH:mm:ss").toLatin1() + "\r\n");
        file.close();

        MainWindow window(m_clock, nullptr, MainWindow::Writing::AtOnce);
        window.show();
        window.txtLogFile->setText(m_dir.path());
        window.recentLog()->setPlainText("typed by the user");
        QTest::mouseClick(window.cmdShowLog, Qt::LeftButton);
        const QString shown = window.recentLog()->toPlainText();
        QVERIFY(!shown.contains("typed"));
        QVERIFY(shown.startsWith("08:00:00\n"));
        QVERIFY(shown.endsWith("08:03:19\n"));
        // On the newest line, not on the empty one after it.
        QCOMPARE(window.recentLog()->textCursor().position(), shown.size() - 1);
        QVERIFY(
            window.recentLog()->accessibleDescription().endsWith(": 200 lines, last at 08:03:19"));
        auto *bar = window.recentLog()->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());
    }

    void closingWhileLoggingClosesTheFile() {
        MainWindow window(m_clock);
        window.txtLogFile->setText(m_dir.path());
        window.show();
        window.logging().start();
        window.logging().tick();
        QVERIFY(window.close());
        QVERIFY(!window.logging().isLogging());
        QCOMPARE(qt(window.logging().openLogPath()), QString());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
