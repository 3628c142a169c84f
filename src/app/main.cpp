// Hygrova: start-up, the main window and the message loop.

#include "app/HygrovaApplication.h"
#include "app/Startup.h"
#include "app/THygrovaDlg.h"

#include <QMessageBox>

#include <exception>
#include <memory>

int main(int argc, char** argv) {
    THygrovaApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hygrova"));
    SetApplicationTitle(QStringLiteral("Hygrova"));
    try {
        RunStartup();
    } catch (const EStartupError& e) {
        QMessageBox::critical(nullptr, ApplicationTitle(), QString::fromUtf8(e.what()));
        return 1;
    }

    std::unique_ptr<THygrovaDlg> window;
    try {
        window = std::make_unique<THygrovaDlg>();
    } catch (...) {
        QMessageBox::critical(nullptr, ApplicationTitle(), ExceptionMessage(std::current_exception()));
        return 1;
    }
    window->show();
    return app.exec();
}
