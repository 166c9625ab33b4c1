#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace wendle {

// Messages from the folder browser to its callback.
constexpr int BrowserInitialized = 1;      // the browser has opened
constexpr int BrowserSelectionChanged = 2; // parameter: the newly selected folder

// The initial folder of the latest BrowseForFolder call, for BrowseCallback.
extern QString BrowseInitialFolder;

using BrowseCallbackProc = int (*)(QFileDialog *browser, int message, const QString &parameter);

// Selects BrowseInitialFolder as the browser opens. Returns 0.
int BrowseCallback(QFileDialog *browser, int message, const QString &parameter);

// Shows a folder browser, modal to owner, and returns the chosen folder
// cleaned up by cleanFolderPath, or an empty text when the user cancels.
// A non-empty initial folder is selected as the browser opens, through the
// callback (BrowseCallback when none is given); the new style lets the
// user make folders.
QString BrowseForFolder(QWidget *owner, const QString &title, const QString &initialFolder,
                        bool newStyle = true, BrowseCallbackProc callback = nullptr);

// A chosen folder as the program keeps it: no trailing separator, except for
// a root, which stays "/" (a drive root such as C:\ becomes C:).
QString cleanFolderPath(const QString &path);

} // namespace wendle
