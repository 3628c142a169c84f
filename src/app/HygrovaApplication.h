#pragma once
// The application object and its default error handler: an exception that escapes a command or an
// event handler is shown to the user with its message, and the program goes on.
//
// Handlers connected by the windows run inside Guarded(), so that no exception unwinds through Qt's
// own frames; THygrovaApplication::notify catches whatever escapes other event handlers.

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

class THygrovaApplication : public QApplication {
    Q_OBJECT

public:
    THygrovaApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The title the program shows in message boxes and busy captions ("Hygrova").
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The message the user sees for an exception: its own text, or a plain sentence for exceptions that
// carry none.
QString ExceptionMessage(std::exception_ptr error);

// What shows an error: by default a message box with the application title and a stop icon. Tests
// replace it to read the message; an empty sink restores the message box.
using TExceptionSink = std::function<void(const QString& message)>;
void SetExceptionSink(TExceptionSink sink);

// Shows the current exception (call inside a catch block) through the sink.
void ShowException(std::exception_ptr error);

// A handler that shows every exception it raises instead of passing it on. The arguments of the
// event are handed on when the handler takes them, and dropped when it takes none.
template <class F>
auto Guarded(F handler) {
    return [handler = std::move(handler)](auto&&... args) mutable {
        try {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        } catch (...) {
            ShowException(std::current_exception());
        }
    };
}
