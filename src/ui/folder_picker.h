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
// cleaned up by form::cleanFolderPath, or an empty text when the user cancels.
// A non-empty initial folder is selected as the browser opens, through the
// callback (BrowseCallback when none is given); the new style lets the
// user make folders.
QString BrowseForFolder(QWidget *owner, const QString &title, const QString &initialFolder,
                        bool newStyle = true, BrowseCallbackProc callback = nullptr);

} // namespace wendle
