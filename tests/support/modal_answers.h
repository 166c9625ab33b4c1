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
// Polls for a few seconds at most, so that a modal that never comes cannot
// leave a poller behind to answer some later test's.
template <typename Modal> void onNextModal(std::function<void(Modal *)> act, int triesLeft = 300) {
    QTimer::singleShot(10, [act, triesLeft] {
        auto *modal = qobject_cast<Modal *>(QApplication::activeModalWidget());
        if (modal)
            act(modal);
        else if (triesLeft > 0)
            onNextModal<Modal>(act, triesLeft - 1);
    });
}

inline void onNextBrowser(std::function<void(QFileDialog *)> act) {
    onNextModal<QFileDialog>(std::move(act));
}

inline void chooseInNextBrowser(const QString &path) {
    onNextBrowser([path](QFileDialog *browser) {
        auto *name = browser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

// Answers the next modal message box with the given button.
inline void answerNextMessageBox(QMessageBox::StandardButton button, QString *text = nullptr) {
    onNextModal<QMessageBox>([button, text](QMessageBox *box) {
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

inline void cancelNextBrowser() {
    onNextBrowser([](QFileDialog *browser) { browser->reject(); });
}

} // namespace wendle::test
