#include "app/HygrovaFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

QString Execute(QWidget* parent, const TFileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.Title, request.InitialFolder, request.Filter);
    dialog.setObjectName(mode == QFileDialog::AcceptOpen ? QStringLiteral("OpenDialog")
                                                         : QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(mode);
    // A name that does not exist yet may be typed in both: loading it gives the default set-up.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    if (!request.FileName.isEmpty()) dialog.selectFile(QFileInfo(request.FileName).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

} // namespace

QString ExecuteOpenDialog(QWidget* parent, const TFileDialogRequest& request) {
    return Execute(parent, request, QFileDialog::AcceptOpen);
}

QString ExecuteSaveDialog(QWidget* parent, const TFileDialogRequest& request) {
    return Execute(parent, request, QFileDialog::AcceptSave);
}
