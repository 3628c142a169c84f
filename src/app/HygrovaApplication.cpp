#include "app/HygrovaApplication.h"

#include <QMessageBox>
#include <QWidget>

namespace {

QString& Title() {
    static QString title = QStringLiteral("Hygrova");
    return title;
}

TExceptionSink& Sink() {
    static TExceptionSink sink;
    return sink;
}

void ShowMessageBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

} // namespace

THygrovaApplication::THygrovaApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool THygrovaApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return false;
    }
}

QString ApplicationTitle() {
    return Title();
}

void SetApplicationTitle(const QString& title) {
    Title() = title;
}

QString ExceptionMessage(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        const QString message = QString::fromUtf8(e.what());
        if (!message.isEmpty()) return message;
    } catch (...) {
    }
    return QStringLiteral("The command failed for an unknown reason.");
}

void SetExceptionSink(TExceptionSink sink) {
    Sink() = std::move(sink);
}

void ShowException(std::exception_ptr error) {
    const QString message = ExceptionMessage(error);
    // The error box itself must not fail the handler that reports.
    try {
        if (Sink())
            Sink()(message);
        else
            ShowMessageBox(message);
    } catch (...) {
    }
}
