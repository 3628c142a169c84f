#include "app/HelpCommands.h"

#include "app/TxQuickAbout.h"
#include "platform/AppInfo.h"
#include "platform/ProgramFile.h"
#include "platform/VerInfoRes.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QString>

QUrl HelpIndexUrl() {
    return QUrl::fromLocalFile(QString::fromStdString(AppFolders().CommonFolder + "Hygrova.htm"));
}

QUrl MakerEmailUrl() {
    // Every reserved character of the parts is percent-encoded; "@" is the address's own.
    const QByteArray address = QUrl::toPercentEncoding(QString::fromStdString(CompanyInfo().Email), "@");
    const QByteArray subject = QUrl::toPercentEncoding("Hygrova Enquiry");
    const QByteArray body = QUrl::toPercentEncoding("Please assist me with the Hygrova program...");
    return QUrl::fromEncoded("mailto:" + address + "?subject=" + subject + "&body=" + body, QUrl::StrictMode);
}

void OpenHelpIndex() {
    QDesktopServices::openUrl(HelpIndexUrl());
}

void EmailMaker() {
    QDesktopServices::openUrl(MakerEmailUrl());
}

void ShowAboutBox(QWidget* parent) {
    TAboutForm form(parent);
    // A program file without its version block still gets an about box.
    try {
        form.ShowProgram(AppProductName(), AppVersion());
    } catch (const EVerInfoError&) {
        form.ShowProgram(ProgramName(), "unknown");
    }
    form.exec();
}
