#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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

// Answers the next modal message box with the given button.
inline void answerNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr)
{
    QTimer::singleShot(10, [button, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            answerNextMessageBox(button, text);
            return;
        }
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

inline void cancelNextBrowser()
{
    onNextBrowser([](QFileDialog *browser) { browser->reject(); });
}

} // namespace wendle::test
