#include "settings/program_settings.h"
#include "settings/registry.h"
#include "settings/registry_store.h"
#include "support/fake_clock.h"
#include "support/modal_answers.h"
#include "support/qt_registry.h"
#include "ui/main_window.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace wendle;
using namespace wendle::test;

class TestStartup : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QTemporaryDir m_logs;
    FakeClock m_clock;

    static qint32 storedAutostart() {
        return GetSettingDword(RegistryRoot::LocalMachine, qt(SettingsKey), qt(AutostartValue), -1);
    }
    static QString storedFolder() {
        return GetSettingString(RegistryRoot::LocalMachine, qt(SettingsKey), qt(LogFolderValue),
                                "");
    }
    void seed(const QString &folder, qint32 autostart) {
        SaveSettingString(RegistryRoot::LocalMachine, qt(SettingsKey), qt(LogFolderValue), folder,
                          "");
        SaveSettingDword(RegistryRoot::LocalMachine, qt(SettingsKey), qt(AutostartValue), autostart,
                         -1);
    }
    static void verifyIdle(MainWindow &window) {
        QVERIFY(!window.logging().isLogging());
        QVERIFY(window.cmdStart->isEnabled());
        QVERIFY(window.trayIcon().isAdded());
    }

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }
    void init() { QFile::remove(RegistryStore::defaultPath()); }

    // First run: the browser comes before the window shows, then the question.
    void firstRunAnsweredYesStartsLogging() {
        MainWindow window(m_clock);
        bool visibleDuringBrowse = true;
        onNextBrowser([&](QFileDialog *browser) {
            visibleDuringBrowse = window.isVisible();
            QCOMPARE(browser->windowTitle(), QString("Select the Folder to store wendle files in"));
        });
        chooseInNextBrowser(m_logs.path());
        QString question;
        answerNextMessageBox(QMessageBox::Yes, &question);
        window.load();
        QVERIFY(!visibleDuringBrowse);
        QCOMPARE(question, QString("Do you want to start logging automatically?"));
        QCOMPARE(window.txtLogFile->text(), m_logs.path());
        QVERIFY(window.chkAutostart->isChecked());
        QCOMPARE(storedAutostart(), 1);
        QCOMPARE(storedFolder(), m_logs.path());
        QVERIFY(window.logging().isLogging());
        QVERIFY(window.trayIcon().isAdded());
    }

    // No leaves the box unchecked, which is no change: nothing is stored,
    // and the question comes again at the next start.
    void firstRunAnsweredNoAsksAgainNextTime() {
        {
            MainWindow window(m_clock);
            chooseInNextBrowser(m_logs.path());
            answerNextMessageBox(QMessageBox::No);
            window.load();
            QVERIFY(!window.chkAutostart->isChecked());
            verifyIdle(window);
            QCOMPARE(storedAutostart(), -1);
        }
        MainWindow again(m_clock);
        QString question;
        answerNextMessageBox(QMessageBox::No, &question);
        again.load();
        QVERIFY(!question.isEmpty());
        QCOMPARE(again.txtLogFile->text(), m_logs.path());
    }

    void firstRunCancelledAsksNothing() {
        MainWindow window(m_clock);
        cancelNextBrowser();
        QString question;
        answerNextMessageBox(QMessageBox::Yes, &question);
        window.load();
        QCOMPARE(question, QString());
        QCOMPARE(window.txtLogFile->text(), QString());
        verifyIdle(window);
        QVERIFY(!QFile::exists(RegistryStore::defaultPath()));

        MainWindow again(m_clock);
        bool browsed = false;
        onNextBrowser([&](QFileDialog *browser) {
            browsed = true;
            browser->reject();
        });
        again.load();
        QVERIFY(browsed);
    }

    void storedChoiceIsUsedWithoutAsking_data() {
        QTest::addColumn<qint32>("stored");
        QTest::addColumn<bool>("logging");
        QTest::addColumn<qint32>("storedAfter");
        QTest::newRow("off") << 0 << false << 0;
        QTest::newRow("on") << 1 << true << 1;
        // Hand-edited values other than 0 and 1 mean on, and are set right.
        QTest::newRow("two") << 2 << true << 1;
        QTest::newRow("negative") << -5 << true << 1;
    }
    void storedChoiceIsUsedWithoutAsking() {
        QFETCH(qint32, stored);
        QFETCH(bool, logging);
        QFETCH(qint32, storedAfter);
        seed(m_logs.path(), stored);
        MainWindow window(m_clock);
        QString question;
        answerNextMessageBox(QMessageBox::No, &question);
        window.load();
        QCOMPARE(question, QString());
        QCOMPARE(window.chkAutostart->isChecked(), logging);
        QCOMPARE(window.logging().isLogging(), logging);
        QCOMPARE(storedAutostart(), storedAfter);
        QVERIFY(window.trayIcon().isAdded());
    }

    // A folder not there yet at login (a network share, a removable disk):
    // logging starts all the same, the user is told without a message box.
    void vanishedFolderAtLoginLogsAndTells() {
        const QString gone = m_logs.filePath("gone");
        seed(gone, 1);
        MainWindow window(m_clock, nullptr, MainWindow::Writing::AtOnce);
        QStringList reported;
        window.setReporter([&](const QString &message) { reported << message; });
        window.load();
        QCOMPARE(window.txtLogFile->text(), gone);
        QVERIFY(reported.isEmpty());
        QVERIFY(window.logging().isLogging());
        QVERIFY(window.recentLog()->toPlainText().contains(gone + "/2003-12-02.log"));
        QVERIFY(window.chkAutostart->isChecked());
    }

    void autoStartBoxStoresEachChange() {
        seed(m_logs.path(), 0);
        MainWindow window(m_clock);
        window.load();
        window.show();
        QTest::mouseClick(window.chkAutostart, Qt::LeftButton);
        QCOMPARE(storedAutostart(), 1);
        QTest::mouseClick(window.chkAutostart, Qt::LeftButton);
        QCOMPARE(storedAutostart(), 0);
        // Set to the state it has: no change, nothing written.
        QFile::remove(RegistryStore::defaultPath());
        window.chkAutostart->setChecked(false);
        QVERIFY(!QFile::exists(RegistryStore::defaultPath()));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
