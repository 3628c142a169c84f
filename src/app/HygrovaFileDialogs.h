#pragma once
// The main window's open and save dialogs, as requests that a test can answer without a native
// dialog. The filter is in Qt's form ("Hygrova Data File (*.pst)", filters separated by ";;").

#include <QString>

#include <functional>

class QWidget;

struct TFileDialogRequest {
    QString Title;
    QString FileName;      // proposed file name (its folder part is ignored)
    QString InitialFolder; // where the dialog starts
    QString Filter;
    QString DefaultSuffix; // without the dot
};

// Returns the chosen file's full path, or an empty text when the user cancels.
using TFileDialogFunction = std::function<QString(QWidget* parent, const TFileDialogRequest& request)>;

// QFileDialog for a file to read.
QString ExecuteOpenDialog(QWidget* parent, const TFileDialogRequest& request);
// QFileDialog for a file to write; it does not ask before overwriting a file.
QString ExecuteSaveDialog(QWidget* parent, const TFileDialogRequest& request);
