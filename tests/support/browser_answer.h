#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

namespace wendle::test {

// Acts on the next modal folder browser as soon as it is open, the way a
// user would: type a path into its name box and accept, or cancel.
inline void onNextBrowser(std::function<void(QFileDialog *)> act)
{
    QTimer::singleShot(10, [act] {
        auto *browser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!browser) {
            onNextBrowser(act);
            return;
        }
        act(browser);
    });
}

inline void chooseInNextBrowser(const QString &path)
{
    onNextBrowser([path](QFileDialog *browser) {
        auto *name = browser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

inline void cancelNextBrowser()
{
    onNextBrowser([](QFileDialog *browser) { browser->reject(); });
}

} // namespace wendle::test
