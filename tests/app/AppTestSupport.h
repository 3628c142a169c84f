#pragma once
// What the main-window tests share: an isolated settings store and program folder per test, errors
// caught instead of shown, the real window opened and activated, and modal pop-ups answered from a
// timer.

#include "app/HygrovaApplication.h"
#include "app/THygrovaDlg.h"
#include "chart/THygrova.h"
#include "platform/AppInfo.h"
#include "platform/RegistryIniFile.h"
#include "platform/TPrintPreview.h"
#include "units/TxFmtEdit.h"
#include "units/TxUnitsForm.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>

// Reports a failed comparison of two doubles with the tolerance and what was compared.
#define HYG_COMPARE_NEAR(actual, expected, tolerance)                                                        \
    do {                                                                                                     \
        const double a_ = (actual), e_ = (expected), t_ = (tolerance);                                       \
        if (!(std::abs(a_ - e_) <= t_))                                                                      \
            QFAIL(qPrintable(QStringLiteral("%1 = %2, expected %3 (tolerance %4, difference %5)")            \
                                 .arg(QStringLiteral(#actual))                                               \
                                 .arg(a_, 0, 'g', 17)                                                        \
                                 .arg(e_, 0, 'g', 17)                                                        \
                                 .arg(t_)                                                                    \
                                 .arg(a_ - e_)));                                                            \
    } while (false)

class TAppTestFixture {
public:
    QStringList Errors;
    std::unique_ptr<QTemporaryDir> Dir;

    void InitTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        // The chart logo comes from the repository's data folder.
        AppFolders().CommonFolder = std::string(HYG_SOURCE_DATA) + "/";
    }

    // A fresh store and program folder; errors are recorded.
    void Init() {
        Dir = std::make_unique<QTemporaryDir>();
        QVERIFY(Dir->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           Dir->filePath(QStringLiteral("config")));
        AppFolders().ProgramFolder = Dir->path().toStdString() + "/";
        Errors.clear();
        SetExceptionSink([this](const QString& message) { Errors << message; });
    }

    void Cleanup() {
        SetExceptionSink({});
        QVERIFY2(QApplication::activeModalWidget() == nullptr, "a modal window was left open");
        QVERIFY2(QApplication::overrideCursor() == nullptr, "the override cursor was left set");
        Dir.reset();
    }

    QString PathOf(const QString& name) const { return Dir->filePath(name); }

    // The window as the program shows it: created, shown, activated, with its first page drawn.
    static std::unique_ptr<THygrovaDlg> OpenWindow() {
        auto w = std::make_unique<THygrovaDlg>();
        w->show();
        if (!QTest::qWaitForWindowActive(w.get())) return nullptr;
        TPrintPreview* preview = Preview(*w);
        if (!QTest::qWaitFor([&] { return preview->PageCount() == 1; })) return nullptr;
        return w;
    }

    // Closes the window as the user does (the settings are written) and frees it.
    static void CloseWindow(std::unique_ptr<THygrovaDlg>& w) {
        w->close();
        w.reset();
    }

    template <class T = QWidget>
    static T* Control(const THygrovaDlg& w, const char* name) {
        T* c = w.findChild<T*>(QString::fromLatin1(name));
        if (!c) qWarning("no control %s", name);
        return c;
    }
    static TFmtEdit* Edit(const THygrovaDlg& w, const char* name) { return Control<TFmtEdit>(w, name); }
    static TPrintPreview* Preview(const THygrovaDlg& w) { return Control<TPrintPreview>(w, "PrintPreview"); }
    static QAction* Action(const THygrovaDlg& w, const char* name) { return Control<QAction>(w, name); }
    static double Value(const THygrovaDlg& w, const char* name) {
        return ValueAsDouble(Edit(w, name)->Value());
    }

    // The four range fields' texts, low temperature first.
    static QStringList RangeTexts(const THygrovaDlg& w) {
        return {Edit(w, "edTlo")->text(), Edit(w, "edThi")->text(), Edit(w, "edWlo")->text(),
                Edit(w, "edWhi")->text()};
    }

    // Types a new text into a field as the user does: focus, select all, type.
    static void TypeInto(TFmtEdit* edit, const QString& text) {
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    // Runs `answer` on the next modal window that opens, then closes it if the answer left it open.
    static void AnswerModal(std::function<void(QWidget&)> answer) {
        QTimer::singleShot(0, [answer = std::move(answer)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                qWarning("no modal window to answer");
                return;
            }
            answer(*modal);
            if (modal->isVisible()) modal->close();
        });
    }

    // Picks a row of the units pop-up that the next label click opens.
    static void AnswerUnitsPopup(int row) {
        AnswerModal([row](QWidget&) {
            TUnitsForm* form = UnitsForm;
            if (!form) return;
            form->ListBox1->setCurrentRow(row);
            form->accept();
        });
    }
};

// A Qt Test main with the program's own application object, whose error handler is under test.
#define HYG_APP_TEST_MAIN(TestClass)                                                                         \
    int main(int argc, char** argv) {                                                                        \
        THygrovaApplication app(argc, argv);                                                                 \
        SetApplicationTitle(QStringLiteral("Hygrova"));                                                      \
        TestClass test;                                                                                      \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
