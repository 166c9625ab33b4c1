#include "ui/folder_picker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace wendle {

QString cleanFolderPath(const QString &path)
{
    QString clean = path;
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    return clean;
}

QString browseForFolder(QWidget *owner, const QString &title, const QString &initialFolder)
{
    QFileDialog dialog(owner, title);
    dialog.setObjectName(QStringLiteral("folderBrowser"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // Qt's own chooser behaves the same on every desktop and can be driven
    // by the tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    if (!initialFolder.isEmpty()) {
        const QFileInfo folder(initialFolder);
        QDir parent = folder.dir();
        dialog.setDirectory(folder.isRoot() ? folder.absoluteFilePath() : parent.absolutePath());
        if (!folder.isRoot())
            dialog.selectFile(folder.fileName());
    } else {
        dialog.setDirectory(QDir::homePath());
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return QString();
    return cleanFolderPath(chosen.constFirst());
}

} // namespace wendle
