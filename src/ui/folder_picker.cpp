#include "ui/folder_picker.h"

#include "form/folder_path.h"
#include "ui/qt_text.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace wendle {

QString BrowseInitialFolder;

int BrowseCallback(QFileDialog *browser, int message, const QString &) {
    if (message == BrowserInitialized && !BrowseInitialFolder.isEmpty()) {
        const QFileInfo folder(BrowseInitialFolder);
        if (folder.isRoot()) {
            browser->setDirectory(folder.absoluteFilePath());
        } else {
            browser->setDirectory(folder.absolutePath());
            browser->selectFile(folder.fileName());
        }
    }
    // The browser has no status line to show the selection in.
    return 0;
}

QString BrowseForFolder(QWidget *owner, const QString &title, const QString &initialFolder,
                        bool newStyle, BrowseCallbackProc callback) {
    BrowseInitialFolder = initialFolder;
    const BrowseCallbackProc proc = callback ? callback : BrowseCallback;

    QFileDialog browser(owner, title);
    browser.setObjectName(QStringLiteral("folderBrowser"));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    // Qt's own browser: the same on every desktop, and one the tests can drive.
    browser.setOption(QFileDialog::DontUseNativeDialog);
    // The old style offers no way to make a new folder.
    browser.setOption(QFileDialog::ReadOnly, !newStyle);
    browser.setWindowModality(Qt::WindowModal);
    browser.setDirectory(QDir::homePath());
    if (!initialFolder.isEmpty()) {
        proc(&browser, BrowserInitialized, QString());
        QObject::connect(&browser, &QFileDialog::currentChanged, &browser,
                         [&browser, proc](const QString &path) {
                             proc(&browser, BrowserSelectionChanged, path);
                         });
    }
    if (browser.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = browser.selectedFiles();
    return chosen.isEmpty() ? QString() : qt(form::cleanFolderPath(utf8(chosen.constFirst())));
}

} // namespace wendle
