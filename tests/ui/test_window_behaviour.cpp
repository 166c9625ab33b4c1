#include "support/fake_clock.h"
#include "support/qt_registry.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/tray_icon.h"

#include "settings/program_settings.h"
#include "settings/registry.h"

#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace wendle;
using namespace wendle::form;
using namespace wendle::test;
using wendle::test::FakeClock;

class TestWindowBehaviour : public QObject {
    Q_OBJECT

private:
    FakeClock m_clock;
    QTemporaryDir m_dir;
    QTemporaryDir m_config;

private slots:
    // Settings of an earlier run: a folder, and no auto-start.
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        SaveSettingString(RegistryRoot::LocalMachine, qt(SettingsKey), qt(LogFolderValue),
                          m_dir.path(), "");
        SaveSettingDword(RegistryRoot::LocalMachine, qt(SettingsKey), qt(AutostartValue), 0, -1);
    }

    void iconMessagesDecode_data() {
        QTest::addColumn<int>("message");
        QTest::addColumn<int>("action");
        QTest::newRow("left button down") << 0x201 << int(TrayAction::RestoreWindow);
        QTest::newRow("left double click") << 0x203 << int(TrayAction::RestoreWindow);
        QTest::newRow("right button down") << 0x204 << int(TrayAction::ShowPopupMenu);
        QTest::newRow("mouse move") << 0x200 << int(TrayAction::None);
        QTest::newRow("left button up") << 0x202 << int(TrayAction::None);
        QTest::newRow("right button up") << 0x205 << int(TrayAction::None);
        QTest::newRow("middle button down") << 0x207 << int(TrayAction::None);
        QTest::newRow("ordinary pointer x") << 120 << int(TrayAction::None);
    }
    void iconMessagesDecode() {
        QFETCH(int, message);
        QFETCH(int, action);
        QCOMPARE(int(decodeTrayMessage(message)), action);
    }

    void activationsTranslateToMessages() {
        QCOMPARE(trayMessageFor(QSystemTrayIcon::Trigger), 0x201);
        QCOMPARE(trayMessageFor(QSystemTrayIcon::DoubleClick), 0x203);
        QCOMPARE(trayMessageFor(QSystemTrayIcon::Context), 0x204);
        QCOMPARE(int(decodeTrayMessage(trayMessageFor(QSystemTrayIcon::MiddleClick))),
                 int(TrayAction::None));
    }

    void leftClickMessageRestoresHiddenWindow() {
        MainWindow window(m_clock);
        window.show();
        window.setWindowState(Qt::WindowMinimized);
        window.hide();
        window.trayMessage(0x201);
        QVERIFY(window.isVisible());
        QVERIFY(!(window.windowState() & Qt::WindowMinimized));
    }

    // Icon messages come only from the icon: the pointer crossing the window
    // at any x (a wide window at high DPI) neither restores nor opens a menu.
    void pointerMovementOverTheWindowDoesNothing() {
        MainWindow window(m_clock);
        window.resize(1001, window.height());
        window.show();
        for (int x = 0; x <= 1000; ++x) {
            QMouseEvent move(QEvent::MouseMove, QPointF(x, 5), window.mapToGlobal(QPointF(x, 5)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &move);
        }
        QCoreApplication::processEvents();
        QVERIFY(!window.mnuPopup->isVisible());
        QVERIFY(window.isVisible());
    }

    void rightClickMessageShowsThePopupMenu() {
        MainWindow window(m_clock);
        window.show();
        window.trayMessage(0x204);
        QTRY_VERIFY(window.mnuPopup->isVisible());
        window.mnuPopup->close();
        QVERIFY(window.isVisible());
    }

    // Hidden with no tray to show the icon, the window could never come
    // back: it stays minimised instead.
    void minimiseWithoutTrayKeepsTheWindow() {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("a system tray is present");
        MainWindow window(m_clock);
        window.load();
        window.show();
        QVERIFY(window.trayIcon().isAdded());
        window.setWindowState(Qt::WindowMinimized);
        QTest::qWait(50);
        QVERIFY(window.isVisible());
    }

    void pointerMovesOverTheWindowDoNothing() {
        MainWindow window(m_clock);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int x : {1, 100, 266})
            QTest::mouseMove(&window, QPoint(x, 5));
        QVERIFY(window.isVisible());
        QVERIFY(!window.mnuPopup->isVisible());
    }

    void exitWhileLoggingStopsAndRemovesTheIcon() {
        MainWindow window(m_clock);
        window.load();
        QCOMPARE(window.txtLogFile->text(), m_dir.path());
        window.show();
        window.logging().start();
        QVERIFY(window.trayIcon().isAdded());
        window.mnuPopupExit->trigger();
        QVERIFY(window.isUnloaded());
        QVERIFY(!window.isVisible());
        QVERIFY(!window.logging().isLogging());
        QCOMPARE(qt(window.logging().openLogPath()), QString());
        QVERIFY(!window.trayIcon().isAdded());
    }
};

QTEST_MAIN(TestWindowBehaviour)
#include "test_window_behaviour.moc"
