#pragma once
// The Help menu's three commands, for the main window's handlers (Index1Click,
// EmailKorvantDirect1Click, About1Click). They need RunStartup to have filled the folders and the
// company record.

#include <QUrl>

class QWidget;

// CommonFolder + "Hygrova.htm" as a file URL.
QUrl HelpIndexUrl();
// A mail to the maker's address with subject "Hygrova Enquiry" and body
// "Please assist me with the Hygrova program...".
QUrl MakerEmailUrl();

// Opens the help page in the user's browser; a missing page or browser is not reported.
void OpenHelpIndex();
// Opens the user's mail client on the enquiry; the user edits and sends it there.
void EmailMaker();
// Shows the about box modally.
void ShowAboutBox(QWidget* parent);
