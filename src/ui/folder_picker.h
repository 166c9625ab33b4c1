#pragma once

#include <QString>

class QWidget;

namespace wendle {

// A chosen folder as the program keeps it: no trailing '/', except for the
// root folder "/" itself.
QString cleanFolderPath(const QString &path);

// Shows a modal directory chooser over owner and returns the chosen folder,
// cleaned up, or an empty text when the user cancels. A non-empty initial
// folder is shown selected as the chooser opens.
QString browseForFolder(QWidget *owner, const QString &title, const QString &initialFolder);

} // namespace wendle
