#include "form/folder_path.h"
#include "settings/program_settings.h"
#include "settings/registry.h"
#include "settings/registry_store.h"
#include "support/fake_clock.h"
#include "support/modal_answers.h"
#include "support/qt_registry.h"
#include "ui/folder_picker.h"
#include "ui/main_window.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace wendle;
using namespace wendle::test;

class TestFolderPicker : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QTemporaryDir m_logs;
    FakeClock m_clock;

    static QString storedFolder() {
        return GetSettingString(RegistryRoot::LocalMachine, qt(SettingsKey), qt(LogFolderValue),
                                "<absent>");
    }

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }
    void init() { QFile::remove(RegistryStore::defaultPath()); }

    void cleanUp_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain") << "/home/ann/logs"
                               << "/home/ann/logs";
        QTest::newRow("trailing slash") << "/home/ann/logs/"
                                        << "/home/ann/logs";
        QTest::newRow("root stays root") << "/"
                                         << "/";
        QTest::newRow("doubled root") << "//"
                                      << "/";
    }
    void cleanUp() {
        QFETCH(QString, chosen);
        QFETCH(QString, kept);
        QCOMPARE(qt(form::cleanFolderPath(utf8(chosen), '/')), kept);
    }

    void choiceFillsBoxAndStore_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "plain";
        QTest::newRow("spaces and non-ASCII") << QString::fromUtf8("Zeit Überblick ü é");
        QTest::newRow("root") << "/";
    }
    void choiceFillsBoxAndStore() {
        QFETCH(QString, folder);
        const QString path = folder.startsWith('/') ? folder : m_logs.filePath(folder);
        QDir().mkpath(path);
        MainWindow window(m_clock);
        window.show();
        chooseInNextBrowser(path);
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QCOMPARE(window.txtLogFile->text(), path);
        QCOMPARE(storedFolder(), path);
        QVERIFY(
            RegistryStore().read().value("HKEY_LOCAL_MACHINE\\" + qt(SettingsKey), "LogFolder"));
    }

    // The stored folder goes unchanged into the daily log's path.
    void nonAsciiFolderReachesTheLogFile() {
        const QString path = m_logs.filePath(QString::fromUtf8("Zeit Überblick ü"));
        QDir().mkpath(path);
        SaveSettingString(RegistryRoot::LocalMachine, qt(SettingsKey), qt(LogFolderValue), path,
                          "");
        MainWindow window(m_clock, nullptr, MainWindow::Writing::AtOnce);
        window.txtLogFile->setText(storedFolder());
        window.logging().start();
        window.logging().tick();
        window.logging().stop();
        QFile log(path + "/2003-12-02.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("14:03:12\r\n"));
    }

    void cancelChangesNothing() {
        MainWindow window(m_clock);
        window.show();
        window.txtLogFile->setText("/before");
        cancelNextBrowser();
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QCOMPARE(window.txtLogFile->text(), QString("/before"));
        QVERIFY(!QFile::exists(RegistryStore::defaultPath()));
    }

    void sameFolderIsStoredAgain() {
        MainWindow window(m_clock);
        window.show();
        chooseInNextBrowser(m_logs.path());
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QFile::remove(RegistryStore::defaultPath());
        chooseInNextBrowser(m_logs.path());
        QTest::mouseClick(window.cmdBrowse, Qt::LeftButton);
        QCOMPARE(storedFolder(), m_logs.path());
    }

    void browserOpensOnTheInitialFolder() {
        const QString folder = m_logs.filePath("picked");
        QDir().mkpath(folder);
        QString openedIn;
        QStringList selected;
        onNextBrowser([&](QFileDialog *browser) {
            openedIn = browser->directory().absolutePath();
            selected = browser->selectedFiles();
            QMetaObject::invokeMethod(browser, "accept");
        });
        const QString chosen = BrowseForFolder(nullptr, "title", folder);
        QCOMPARE(BrowseInitialFolder, folder);
        QCOMPARE(openedIn, m_logs.path());
        QCOMPARE(selected, QStringList{folder});
        QCOMPARE(chosen, folder);
    }

    void browserWithoutInitialFolderCallsNoCallback() {
        static int calls = 0;
        calls = 0;
        auto counting = [](QFileDialog *, int, const QString &) {
            ++calls;
            return 0;
        };
        cancelNextBrowser();
        QCOMPARE(BrowseForFolder(nullptr, "title", QString(), true, counting), QString());
        QCOMPARE(calls, 0);
        cancelNextBrowser();
        BrowseForFolder(nullptr, "title", m_logs.path(), true, counting);
        QCOMPARE(calls, 1);
    }
};

QTEST_MAIN(TestFolderPicker)
#include "test_folder_picker.moc"
