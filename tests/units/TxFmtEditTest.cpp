// Formatted numeric edit and units label, driven through real key presses and focus changes.

#include "units/TxFmtEdit.h"
#include "units/TxUnitsForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <clocale>
#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(TUnitsType)
Q_DECLARE_METATYPE(TFormatType)

namespace {

// Counts what the edit reports so that the tests can see beeps for out-of-range values.
class CountingEdit : public TFmtEdit {
public:
    using TFmtEdit::TFmtEdit;
    void InvalidValue() override {
        ++Invalid;
        TFmtEdit::InvalidValue();
    }
    int Invalid = 0;
};

// A shown, active window with two edits (Tab moves between them) and exit counters.
struct Form {
    explicit Form(QWidget* window = nullptr)
        : Owned(window ? nullptr : new QWidget)
        , Window(window ? window : Owned.get()) {
        auto* layout = new QVBoxLayout(Window);
        // Holds the focus when the window opens, so that entering an edit is a real focus change.
        Start = new QCheckBox("Start", Window);
        layout->addWidget(Start);
        Ed1 = new CountingEdit(Window);
        Ed2 = new CountingEdit(Window);
        Ed1->setObjectName("Ed1");
        Ed2->setObjectName("Ed2");
        layout->addWidget(Ed1);
        layout->addWidget(Ed2);
        Ed1->OnExit = [this](TxCustomEdit& sender) {
            ++Exits1;
            ModifiedAtExit = sender.isModified();
        };
        Ed2->OnExit = [this](TxCustomEdit&) { ++Exits2; };
    }
    ~Form() {
        // The handlers capture this fixture and the test's locals.
        for (CountingEdit* e : {Ed1, Ed2}) {
            e->OnExit = nullptr;
            e->OnChange = nullptr;
            e->OnUnitsEdited = nullptr;
            e->OnKeyPress = nullptr;
        }
    }
    bool Show() {
        Window->show();
        Window->activateWindow();
        if (!QTest::qWaitForWindowActive(Window)) return false;
        Start->setFocus(Qt::OtherFocusReason);
        return Start->hasFocus();
    }
    // Enters an edit the way the keyboard does (select-all on entry).
    static bool Enter(TxCustomEdit* e) {
        e->setFocus(Qt::TabFocusReason);
        return e->hasFocus();
    }
    std::unique_ptr<QWidget> Owned;
    QWidget* Window;
    QCheckBox* Start;
    CountingEdit* Ed1;
    CountingEdit* Ed2;
    int Exits1 = 0;
    int Exits2 = 0;
    bool ModifiedAtExit = false;
};

void ConfigureBarometer(TFmtEdit* e) {
    e->SetFormatStr("%0.3f");
    e->SetFormatType(ft_Fixed);
    e->SetUnitsType(utPressureBar);
    e->SetUnitsValue(0);
    e->SetRangeHi(120);
    e->SetRangeLo(70);
    e->SetText("101.325");
}

double AsDouble(const TFmtValue& v) {
    if (const double* d = std::get_if<double>(&v)) return *d;
    return std::nan("");
}

#define COMPARE_NEAR(actual, expected, tol)                                                                  \
    do {                                                                                                     \
        const double a_ = (actual), e_ = (expected);                                                         \
        QVERIFY2(std::abs(a_ - e_) <= (tol), qPrintable(QString("expected %1, actual %2, tolerance %3")      \
                                                            .arg(e_, 0, 'g', 17)                             \
                                                            .arg(a_, 0, 'g', 17)                             \
                                                            .arg(tol)));                                     \
    } while (false)

// Answers the next units pop-up from inside its modal loop.
struct PopupAnswer {
    std::function<void(TUnitsForm&)> Action;
    bool Seen = false;
    QPoint Pos, Cursor;
    QStringList Items;
    int CurrentRow = -2;
    void Arm() {
        QTimer::singleShot(0, [this] {
            TUnitsForm* f = UnitsForm;
            if (!f) {
                if (QWidget* m = QApplication::activeModalWidget()) m->close();
                return;
            }
            Seen = true;
            Pos = f->pos();
            Cursor = QCursor::pos();
            for (int i = 0; i < f->ListBox1->count(); ++i)
                Items << f->ListBox1->item(i)->text();
            CurrentRow = f->ListBox1->currentRow();
            if (Action) Action(*f);
            if (f->isVisible()) f->accept(); // never leave a test hanging in the modal loop
        });
    }
};

} // namespace

class TxFmtEditTest : public QObject {
    Q_OBJECT

private slots:
    void newEditDefaults();
    void temperatureBoxShowsEveryUnit();
    void humidityBoxChecksRangeInShownUnit();
    void rangeCommitOnExit_data();
    void rangeCommitOnExit();
    void clampedValueCommitsAgainOnNextExit();
    void typedTextIsRepaired_data();
    void typedTextIsRepaired();
    void refusedCharacterKeepsText();
    void exponentOnlyWithGeneralFormat();
    void escapeRestoresAndIsClaimedWhileModified();
    void escapeShortcutOverride();
    void enterCommitsAndReachesDefaultButton();
    void backspaceDeletes();
    void leavingUnchangedEditKeepsItUnmodified();
    void programWritesAndModifiedFlag();
    void readOnlyEditTakesNoTyping();
    void pairBox();
    void valueKinds();
    void formatTypes_data();
    void formatTypes();
    void manualFormatSurvivesUnitChange();
    void unreadableTextKeepsUnits();
    void assignCopiesFormatAndUnits();
    void forceEditExit();
    void labelSharedByTwoEdits();
    void humidityPopupListsUnits();
    void labelBindingLifetime();
    void unitChangeWhileEditingResetsEntryText();
    void germanLocaleReadsPoint();
};

void TxFmtEditTest::newEditDefaults() {
    TFmtEdit e;
    QCOMPARE(e.text(), QString("0.0"));
    QCOMPARE(e.FormatStr(), std::string("%0.1f"));
    QCOMPARE(e.FormatType(), ft_Fixed);
    QCOMPARE(e.SigDigs(), 5);
    QCOMPARE(e.UnitsType(), utNone);
    QCOMPARE(e.Factor(), 1.0);
    QCOMPARE(e.Offset(), 0.0);
    QCOMPARE(AsDouble(e.Value()), 0.0);
    e.SetFormatStr("%S");
    QCOMPARE(e.text(), QString(""));

    TFmtEdit other;
    other.SetText("1.0");
    other.SetFormatStr("%S");
    QCOMPARE(other.text(), QString("1.0"));
}

void TxFmtEditTest::temperatureBoxShowsEveryUnit() {
    TFmtEdit e;
    e.SetFormatStr("%0.1f");
    e.SetUnitsType(utTemperature);
    e.SetValue(25.0);
    QCOMPARE(e.text(), QString("25.0"));
    e.SetUnitsValue(1);
    QCOMPARE(e.text(), QString("77.0"));
    COMPARE_NEAR(AsDouble(e.Value()), 25.0, 1e-12);
    e.SetUnitsValue(2);
    QCOMPARE(e.FormatStr(), std::string("%0.2f"));
    QCOMPARE(e.text(), QString("298.15"));
    COMPARE_NEAR(AsDouble(e.Value()), 25.0, 1e-12);
    e.SetUnitsValue(9); // clamped into the list
    QCOMPARE(e.UnitsValue(), 2);
}

void TxFmtEditTest::humidityBoxChecksRangeInShownUnit() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetUnitsType(utHumidity);
    e->SetUnitsBase(0);
    e->SetUnitsValue(1);
    e->SetRangeHi(0.4);
    e->SetValue(0.0105);
    QCOMPARE(e->text(), QString("10.50"));
    QCOMPARE(e->FormatStr(), std::string("%0.2f"));
    QCOMPARE(e->Decimals(), 2);

    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "450");
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->text(), QString("400.00"));
    QVERIFY(e->hasFocus());
    QCOMPARE(e->Invalid, 1);
    COMPARE_NEAR(AsDouble(e->Value()), 0.4, 1e-15);
}

void TxFmtEditTest::rangeCommitOnExit_data() {
    QTest::addColumn<TUnitsType>("kind");
    QTest::addColumn<int>("unitsValue");
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("clamped");

    QTest::newRow("barometer 0.4% above keeps") << utPressureBar << 0 << 70.0 << 120.0 << "120.5"
                                                << "120.500" << false;
    QTest::newRow("barometer above clamps") << utPressureBar << 0 << 70.0 << 120.0 << "121"
                                            << "120.000" << true;
    QTest::newRow("barometer 0.4% below keeps") << utPressureBar << 0 << 70.0 << 120.0 << "69.7"
                                                << "69.700" << false;
    QTest::newRow("barometer below clamps") << utPressureBar << 0 << 70.0 << 120.0 << "69"
                                            << "70.000" << true;
    QTest::newRow("barometer negative clamps") << utPressureBar << 0 << 70.0 << 120.0 << "-5"
                                               << "70.000" << true;
    QTest::newRow("barometer InchHg clamps") << utPressureBar << 4 << 70.0 << 120.0 << "36"
                                             << "35.4000" << true;
    QTest::newRow("humidity g/kg within") << utHumidity << 1 << 0.0 << 0.4 << "401"
                                          << "401.00" << false;
    QTest::newRow("humidity g/kg above") << utHumidity << 1 << 0.0 << 0.4 << "450"
                                         << "400.00" << true;
    QTest::newRow("humidity below zero") << utHumidity << 1 << 0.0 << 0.4 << "-1"
                                         << "0.00" << true;
    QTest::newRow("temperature F tolerance") << utTemperature << 1 << -60.0 << 90.0 << "194.5"
                                             << "194.5" << false;
    QTest::newRow("temperature F clamps") << utTemperature << 1 << -60.0 << 90.0 << "200"
                                          << "194.0" << true;
    QTest::newRow("no range") << utTemperature << 0 << 0.0 << 0.0 << "-99999"
                              << "-99999.0" << false;
    QTest::newRow("no range large") << utTemperature << 0 << 0.0 << 0.0 << "5000"
                                    << "5000.0" << false;
    QTest::newRow("equal bounds") << utTemperature << 0 << 5.0 << 5.0 << "1000"
                                  << "1000.0" << false;
}

void TxFmtEditTest::rangeCommitOnExit() {
    QFETCH(TUnitsType, kind);
    QFETCH(int, unitsValue);
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(bool, clamped);

    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetUnitsType(kind);
    e->SetUnitsValue(unitsValue);
    e->SetRangeLo(lo);
    e->SetRangeHi(hi);

    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, typed);
    QTest::keyClick(e, Qt::Key_Tab);

    QCOMPARE(e->text(), expected);
    QCOMPARE(f.Exits1, 1); // OnExit fires also when the value was clamped
    QVERIFY(f.ModifiedAtExit);
    QCOMPARE(e->Invalid, clamped ? 1 : 0);
    QCOMPARE(e->hasFocus(), clamped);
    QCOMPARE(f.Ed2->hasFocus(), !clamped);
    QCOMPARE(QApplication::focusWidget(), clamped ? static_cast<QWidget*>(e) : f.Ed2);
    QCOMPARE(f.Exits2, 0);
    QVERIFY(e->isModified());
}

void TxFmtEditTest::clampedValueCommitsAgainOnNextExit() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    ConfigureBarometer(e);
    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "121");
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->text(), QString("120.000"));
    QVERIFY(e->hasFocus());
    QCOMPARE(e->EntryText(), QString("120.000"));
    QVERIFY(e->isModified());

    QTest::keyClick(e, Qt::Key_Tab);
    QVERIFY(f.Ed2->hasFocus());
    QCOMPARE(e->text(), QString("120.000"));
    QCOMPARE(f.Exits1, 2);
    QCOMPARE(e->Invalid, 1);
    COMPARE_NEAR(AsDouble(e->Value()), 120.0, 0);
}

void TxFmtEditTest::typedTextIsRepaired_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("extra points") << "%0.2f"
                                  << "1.2.3"
                                  << "1.23";
    QTest::newRow("letters refused") << "%0.2f"
                                     << "ab1c"
                                     << "1.00";
    QTest::newRow("no exponent with f") << "%0.2f"
                                        << "1e3"
                                        << "13.00";
    QTest::newRow("exponent with g") << "%0.5g"
                                     << "1e3"
                                     << "1000";
    QTest::newRow("negative exponent with g") << "%0.5g"
                                              << "2.5E-3"
                                              << "0.0025";
    QTest::newRow("double minus") << "%0.1f"
                                  << "--5"
                                  << "-5.0";
    QTest::newRow("trailing minus") << "%0.1f"
                                    << "5-"
                                    << "5.0";
    QTest::newRow("lone minus") << "%0.1f"
                                << "-"
                                << "0.0";
    QTest::newRow("blanks refused") << "%0.1f"
                                    << "1 2"
                                    << "12.0";
    QTest::newRow("pair") << "%0.1f/%0.1f"
                          << "25/17"
                          << "25.0/17.0";
    QTest::newRow("pair one number") << "%0.1f/%0.1f"
                                     << "25"
                                     << "25.0";
    QTest::newRow("pair repaired") << "%0.1f/%0.1f"
                                   << "25x/17.5.1"
                                   << "25.0/17.5";
    QTest::newRow("pair extra slash") << "%0.1f/%0.1f"
                                      << "25/1/7"
                                      << "25.0/17.0";
    QTest::newRow("integer drops point") << "%d"
                                         << "12.7"
                                         << "127";
    QTest::newRow("integer negative") << "%d"
                                      << "-5"
                                      << "-5";
    QTest::newRow("text takes anything") << "%S"
                                         << "Paris, 12e"
                                         << "Paris, 12e";
    QTest::newRow("unreadable exponent left as typed") << "%0.3g"
                                                       << "1e-"
                                                       << "1e-";
}

void TxFmtEditTest::typedTextIsRepaired() {
    QFETCH(QString, format);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetFormatStr(format.toStdString());
    QVERIFY(Form::Enter(e));
    QVERIFY(e->hasSelectedText() || e->text().isEmpty());
    QTest::keyClicks(e, typed);
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->text(), expected);
    QVERIFY(f.Ed2->hasFocus());
    QCOMPARE(e->Invalid, 0);
}

void TxFmtEditTest::refusedCharacterKeepsText() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetValue(25.0);
    QVERIFY(Form::Enter(e));
    QCOMPARE(e->selectedText(), QString("25.0"));
    QVERIFY(!e->isModified());
    QTest::keyClick(e, Qt::Key_X, Qt::NoModifier);
    QCOMPARE(e->text(), QString("25.0"));
    QCOMPARE(e->selectedText(), QString("25.0"));
    QVERIFY(e->isModified());
    QTest::keyClick(e, Qt::Key_Percent, Qt::ShiftModifier);
    QCOMPARE(e->text(), QString("25.0"));
    QTest::keyClick(e, Qt::Key_3);
    QCOMPARE(e->text(), QString("3"));
}

void TxFmtEditTest::exponentOnlyWithGeneralFormat() {
    Form f;
    QVERIFY(f.Show());
    for (const char* fmt : {"%0.1f", "%0.4g", "%d", "%0.1f/%0.1f"}) {
        f.Ed1->SetFormatStr(fmt);
        f.Ed1->SetText("");
        QVERIFY(Form::Enter(f.Ed1));
        QTest::keyClicks(f.Ed1, "5e");
        const bool general = std::string(fmt) == "%0.4g";
        QCOMPARE(f.Ed1->text(), QString(general ? "5e" : "5"));
        QTest::keyClicks(f.Ed1, "E");
        QCOMPARE(f.Ed1->text(), QString(general ? "5eE" : "5"));
        QVERIFY(Form::Enter(f.Ed2));
    }
}

void TxFmtEditTest::escapeRestoresAndIsClaimedWhileModified() {
    QDialog dialog;
    Form f(&dialog);
    QVERIFY(f.Show());
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    CountingEdit* e = f.Ed1;
    e->SetValue(25.0);
    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "99");
    QCOMPARE(e->text(), QString("99"));
    QVERIFY(e->isModified());

    QTest::keyClick(e, Qt::Key_Escape);
    QCOMPARE(e->text(), QString("25.0"));
    QVERIFY(!e->isModified());
    QVERIFY(dialog.isVisible());
    QCOMPARE(rejected.count(), 0);

    QTest::keyClick(e, Qt::Key_Escape); // nothing to revert: the dialog's Escape
    QCOMPARE(rejected.count(), 1);
    QCOMPARE(e->text(), QString("25.0"));
}

void TxFmtEditTest::escapeShortcutOverride() {
    Form f;
    QVERIFY(f.Show());
    int cancels = 0;
    QShortcut cancel(QKeySequence(Qt::Key_Escape), f.Window);
    QObject::connect(&cancel, &QShortcut::activated, [&] { ++cancels; });
    CountingEdit* e = f.Ed1;
    e->SetValue(3.0);
    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "7");
    QTest::keyClick(e, Qt::Key_Escape);
    QCOMPARE(cancels, 0);
    QCOMPARE(e->text(), QString("3.0"));
    QTest::keyClick(e, Qt::Key_Escape);
    QCOMPARE(cancels, 1);
}

void TxFmtEditTest::enterCommitsAndReachesDefaultButton() {
    QDialog dialog;
    Form f(&dialog);
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    dialog.layout()->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QVERIFY(f.Show());
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    CountingEdit* e = f.Ed1;
    ConfigureBarometer(e);

    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "121");
    QTest::keyClick(e, Qt::Key_Return);
    QCOMPARE(e->text(), QString("120.000"));
    QCOMPARE(e->Invalid, 1);
    QVERIFY(e->hasFocus());
    QCOMPARE(accepted.count(), 0); // a clamped value keeps the user in the box

    e->selectAll();
    QTest::keyClicks(e, "101.3");
    QTest::keyClick(e, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(e->text(), QString("101.300"));
    QCOMPARE(accepted.count(), 1);
}

void TxFmtEditTest::backspaceDeletes() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetValue(12.5);
    QVERIFY(Form::Enter(e));
    QTest::keyClick(e, Qt::Key_End);
    QVERIFY(!e->isModified());
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QString("12."));
    QCOMPARE(e->cursorPosition(), 3);
    QVERIFY(e->isModified());
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Backspace); // nothing before the caret
    QCOMPARE(e->text(), QString("12."));
    e->setSelection(1, 2);
    QTest::keyClick(e, Qt::Key_Backspace); // a selection goes as a whole
    QCOMPARE(e->text(), QString("1"));
    QCOMPARE(e->cursorPosition(), 1);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QString(""));
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->text(), QString("0.0")); // an empty box reads as 0
}

void TxFmtEditTest::leavingUnchangedEditKeepsItUnmodified() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetValue(25.0);
    int changes = 0;
    e->OnChange = [&](TxCustomEdit&) { ++changes; };
    QVERIFY(Form::Enter(e));
    QCOMPARE(e->EntryText(), QString("25.0"));
    QTest::keyClick(e, Qt::Key_Tab);
    QVERIFY(f.Ed2->hasFocus());
    QCOMPARE(f.Exits1, 1);
    QVERIFY(!f.ModifiedAtExit);
    QVERIFY(!e->isModified());
    QCOMPARE(e->text(), QString("25.0"));
    QCOMPARE(changes, 0);
}

void TxFmtEditTest::programWritesAndModifiedFlag() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    int changes = 0;
    e->OnChange = [&](TxCustomEdit& sender) {
        QCOMPARE(&sender, static_cast<TxCustomEdit*>(e));
        ++changes;
    };
    e->SetValue(25.0);
    QCOMPARE(changes, 1);
    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "30");
    QVERIFY(e->isModified());
    const int typedChanges = changes;
    e->SetText("30"); // equal text: nothing happens, the flag stays
    QVERIFY(e->isModified());
    QCOMPARE(changes, typedChanges);
    e->SetValue(30.0); // "30.0" differs: written, flag cleared
    QCOMPARE(e->text(), QString("30.0"));
    QVERIFY(!e->isModified());
    QCOMPARE(changes, typedChanges + 1);

    // A committed text that formats to itself keeps the flag for the exit handler.
    e->selectAll();
    QTest::keyClicks(e, "30.0");
    QTest::keyClick(e, Qt::Key_Tab);
    QVERIFY(f.ModifiedAtExit);
    QCOMPARE(changes, typedChanges + 1 + 4);
}

void TxFmtEditTest::readOnlyEditTakesNoTyping() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetValue(12.5);
    e->setReadOnly(true);
    QVERIFY(Form::Enter(e));
    QTest::keyClick(e, Qt::Key_End);
    QTest::keyClicks(e, "7");
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QString("12.5"));
    QVERIFY(!e->isModified());
}

void TxFmtEditTest::pairBox() {
    TFmtEdit e;
    e.SetFormatStr("%0.1f/%0.1f");
    e.SetUnitsType(utTemperature);
    QCOMPARE(e.FormatStr(), std::string("%0.1f/%0.1f"));
    QCOMPARE(e.text(), QString("0.0"));
    e.SetValue(std::string("25/17"));
    QCOMPARE(e.text(), QString("25.0/17.0"));
    QCOMPARE(std::get<std::string>(e.Value()), std::string("25.0/17.0"));
    e.SetUnitsValue(1);
    QCOMPARE(e.text(), QString("77.0/62.6"));
    QCOMPARE(std::get<std::string>(e.Value()), std::string("25.0/17.0")); // in the stored unit
    e.SetText("77");
    QCOMPARE(std::get<std::string>(e.Value()), std::string("25"));
    e.SetValue(20.0); // a single number stays single
    QCOMPARE(e.text(), QString("68.0"));
}

void TxFmtEditTest::valueKinds() {
    TFmtEdit e;
    e.SetFormatStr("%d");
    e.SetValue(12.6);
    QCOMPARE(e.text(), QString("13"));
    QCOMPARE(std::get<long long>(e.Value()), 13LL);
    e.SetText("-7.5");
    QCOMPARE(std::get<long long>(e.Value()), -8LL);

    e.SetFormatStr("%S");
    e.SetValue(std::string("abc"));
    QCOMPARE(e.text(), QString("abc"));
    QCOMPARE(std::get<std::string>(e.Value()), std::string("abc"));
    e.SetValue(1.5); // a number cannot be written with a text pattern
    QCOMPARE(e.text(), QString(""));

    e.SetFormatStr("%0.1f");
    e.SetText("abc");
    QCOMPARE(std::get<std::string>(e.Value()), std::string("abc")); // unreadable: the text itself
    e.SetText("");
    QCOMPARE(AsDouble(e.Value()), 0.0);
    e.SetText("1.2.3");
    COMPARE_NEAR(AsDouble(e.Value()), 1.23, 1e-15); // repaired for reading, text unchanged
    QCOMPARE(e.text(), QString("1.2.3"));
    e.SetValue(std::string("25/17"));
    QCOMPARE(e.text(), QString(""));
    e.SetValue(std::string("7.25"));
    QCOMPARE(e.text(), QString("7.3"));
}

void TxFmtEditTest::formatTypes_data() {
    QTest::addColumn<TFormatType>("type");
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("override large") << ft_AutoOverride << "%0.3f" << 101.325 << "101.325";
    QTest::newRow("override small") << ft_AutoOverride << "%0.3f" << 0.0123 << "0.0123";
    QTest::newRow("override at threshold") << ft_AutoOverride << "%0.3f" << 0.1 << "0.100";
    QTest::newRow("override negative") << ft_AutoOverride << "%0.3f" << -1234.5 << "-1235";
    QTest::newRow("auto") << ft_Auto << "%0.3f" << 25.4 << "25.400";
    QTest::newRow("auto large") << ft_Auto << "%0.3f" << 123456.0 << "123456";
    QTest::newRow("auto small") << ft_Auto << "%0.3f" << 0.012345 << "0.0123";
    QTest::newRow("fixed") << ft_Fixed << "%0.3f" << 0.0123 << "0.012";
    QTest::newRow("manual") << ft_Manual << "%0.3f" << 0.0123 << "0.012";
}

void TxFmtEditTest::formatTypes() {
    QFETCH(TFormatType, type);
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, expected);
    TFmtEdit e;
    e.SetFormatStr(format.toStdString());
    e.SetFormatType(type);
    e.SetUnitsType(utNone); // works out Decimals
    QCOMPARE(e.Decimals(), 3);
    e.SetValue(value);
    QCOMPARE(e.text(), expected);
}

void TxFmtEditTest::manualFormatSurvivesUnitChange() {
    TFmtEdit manual, fixed;
    for (TFmtEdit* e : {&manual, &fixed}) {
        e->SetFormatStr("%0.3f");
        e->SetFormatType(e == &manual ? ft_Manual : ft_Fixed);
        e->SetUnitsType(utTemperature);
        e->SetValue(25.0);
        e->SetUnitsValue(1);
    }
    QCOMPARE(manual.text(), QString("77.000"));
    QCOMPARE(manual.FormatStr(), std::string("%0.3f"));
    QCOMPARE(fixed.text(), QString("77.0"));
    QCOMPARE(fixed.FormatStr(), std::string("%0.1f"));
}

void TxFmtEditTest::unreadableTextKeepsUnits() {
    TFmtEdit e;
    TFmtEditLabel label;
    e.SetUnitsType(utTemperature);
    e.SetUnitsLabel(&label);
    QCOMPARE(label.text(), QString("°C"));
    e.SetText("abc");
    e.SetUnitsValue(1);
    QCOMPARE(e.UnitsValue(), 1);
    QCOMPARE(e.text(), QString("abc"));
    QCOMPARE(e.Factor(), 1.0);
    QCOMPARE(e.Offset(), 0.0);
    QCOMPARE(label.text(), QString("°C"));
}

void TxFmtEditTest::assignCopiesFormatAndUnits() {
    TFmtEdit source, target;
    TFmtEditLabel label;
    source.SetUnitsType(utHumidity);
    source.SetUnitsValue(2);
    source.SetUnitsLabel(&label);
    source.SetRangeHi(0.4);
    source.SetSigDigs(7);
    source.SetFormatType(ft_AutoOverride);
    source.SetValue(0.0105);
    target.Assign(source);
    QCOMPARE(target.text(), QString("73.5"));
    QCOMPARE(target.FormatStr(), std::string("%0.1f"));
    QCOMPARE(target.UnitsType(), utHumidity);
    QCOMPARE(target.UnitsValue(), 2);
    QCOMPARE(target.Factor(), 7000.0);
    QCOMPARE(target.Decimals(), 1);
    QCOMPARE(target.SigDigs(), 7);
    QCOMPARE(target.FormatType(), ft_AutoOverride);
    QCOMPARE(target.RangeHi(), 0.0);
    QVERIFY(target.UnitsLabel() == nullptr);
    COMPARE_NEAR(AsDouble(target.Value()), 0.0105, 1e-15);
}

void TxFmtEditTest::forceEditExit() {
    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    ConfigureBarometer(e);
    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "121");
    ForceEditExit(*e);
    QCOMPARE(e->text(), QString("120.000"));
    QCOMPARE(f.Exits1, 1);
    QVERIFY(f.ModifiedAtExit);
    QVERIFY(!e->isModified());
    COMPARE_NEAR(AsDouble(e->Value()), 120.0, 0);
}

void TxFmtEditTest::labelSharedByTwoEdits() {
    Form f;
    auto* label = new TFmtEditLabel(f.Window);
    f.Window->layout()->addWidget(label);
    QVERIFY(f.Show());
    std::vector<TxCustomEdit*> edited;
    int clicks = 0;
    label->OnClick = [&](TFmtEditLabel& sender) {
        QCOMPARE(&sender, label);
        ++clicks;
    };
    for (CountingEdit* e : {f.Ed1, f.Ed2}) {
        e->SetUnitsType(utTemperature);
        e->SetUnitsLabel(label);
        e->OnUnitsEdited = [&](TxCustomEdit& sender) {
            edited.push_back(&sender);
            QCOMPARE(sender.UnitsValue(), 1); // already re-shown when the event fires
        };
    }
    f.Ed1->SetValue(25.0);
    f.Ed2->SetValue(-20.0);
    QCOMPARE(label->text(), QString("°C"));
    QCOMPARE(label->Edits().size(), std::size_t(2));
    f.Ed1->SetUnitsLabel(label); // no duplicates
    QCOMPARE(label->Edits().size(), std::size_t(2));

    PopupAnswer answer;
    answer.Action = [](TUnitsForm& form) {
        QTest::keyClick(form.ListBox1, Qt::Key_Down);
        QTest::keyClick(form.ListBox1, Qt::Key_Return);
    };
    answer.Arm();
    QTest::mouseClick(label, Qt::LeftButton);

    QVERIFY(answer.Seen);
    QCOMPARE(answer.Items, QStringList({"°C", "°F", "K"}));
    QCOMPARE(answer.CurrentRow, 0);
    QCOMPARE(answer.Pos, answer.Cursor + QPoint(5, 5));
    QVERIFY(UnitsForm == nullptr);
    QCOMPARE(f.Ed1->text(), QString("77.0"));
    QCOMPARE(f.Ed2->text(), QString("-4.0"));
    QCOMPARE(label->text(), QString("°F"));
    QCOMPARE(edited, (std::vector<TxCustomEdit*>{f.Ed1, f.Ed2}));
    QCOMPARE(clicks, 1);
    COMPARE_NEAR(AsDouble(f.Ed2->Value()), -20.0, 1e-12);
}

void TxFmtEditTest::humidityPopupListsUnits() {
    Form f;
    auto* label = new TFmtEditLabel(f.Window);
    f.Window->layout()->addWidget(label);
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetFormatStr("%0.2f");
    e->SetUnitsType(utHumidity);
    e->SetUnitsLabel(label);
    e->SetUnitsValue(1);
    e->SetRangeHi(0.4);
    e->SetText("30.00");
    QCOMPARE(label->text(), QString("g/kg"));
    int edited = 0;
    e->OnUnitsEdited = [&](TxCustomEdit&) { ++edited; };

    QSize size;
    int expectedWidth = 0;
    PopupAnswer answer;
    answer.Action = [&](TUnitsForm& form) {
        size = form.size();
        const QFontMetrics fm(form.ListBox1->font());
        int widest = 0;
        for (const char* n : {"kg/kg", "g/kg", "gr/lb"})
            widest = std::max(widest, fm.horizontalAdvance(QString::fromUtf8(n)));
        expectedWidth = 10 + std::max(50, widest);
        QTest::keyClick(form.ListBox1, Qt::Key_Down);
        QTest::keyClick(form.ListBox1, Qt::Key_Escape); // keeps the moved selection
    };
    answer.Arm();
    label->Click();

    QCOMPARE(answer.Items, QStringList({"kg/kg", "g/kg", "gr/lb"}));
    QCOMPARE(answer.CurrentRow, 1);
    QCOMPARE(size, QSize(expectedWidth, 46)); // 13 x 3.5 rounded
    QCOMPARE(e->UnitsValue(), 2);
    QCOMPARE(e->text(), QString("210.0"));
    QCOMPARE(label->text(), QString("gr/lb"));
    QCOMPARE(edited, 1);
}

void TxFmtEditTest::labelBindingLifetime() {
    TFmtEdit a, b;
    auto first = std::make_unique<TFmtEditLabel>();
    TFmtEditLabel second;
    a.SetUnitsType(utAltitude);
    b.SetUnitsType(utAltitude);
    a.SetUnitsLabel(first.get());
    b.SetUnitsLabel(first.get());
    QCOMPARE(first->text(), QString("m"));

    b.SetUnitsLabel(&second); // moving to another label leaves the first
    QCOMPARE(first->Edits(), std::vector<TxCustomEdit*>{&a});
    QCOMPARE(second.Edits(), std::vector<TxCustomEdit*>{&b});

    first.reset(); // destroying a label unbinds its edits
    QVERIFY(a.UnitsLabel() == nullptr);
    QVERIFY(b.UnitsLabel() == &second);

    {
        TFmtEdit temporary;
        temporary.SetUnitsLabel(&second);
        QCOMPARE(second.Edits().size(), std::size_t(2));
    }
    QCOMPARE(second.Edits(), std::vector<TxCustomEdit*>{&b}); // a destroyed edit leaves its label

    b.SetUnitsLabel(nullptr);
    QVERIFY(second.Edits().empty());
}

void TxFmtEditTest::unitChangeWhileEditingResetsEntryText() {
    Form f;
    auto* label = new TFmtEditLabel(f.Window);
    f.Window->layout()->addWidget(label);
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetUnitsType(utTemperature);
    e->SetUnitsLabel(label);
    e->SetValue(25.0);
    QVERIFY(Form::Enter(e));

    PopupAnswer answer;
    answer.Action = [](TUnitsForm& form) {
        QTest::keyClick(form.ListBox1, Qt::Key_Down);
        QTest::keyClick(form.ListBox1, Qt::Key_Return);
    };
    answer.Arm();
    label->Click();
    QCOMPARE(e->text(), QString("77.0"));
    QCOMPARE(f.Exits1, 0); // the pop-up does not take the edit's entry away

    f.Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.Window));
    QVERIFY(e->hasFocus());
    e->selectAll();
    QTest::keyClicks(e, "80");
    QTest::keyClick(e, Qt::Key_Escape);
    QCOMPARE(e->text(), QString("77.0"));
    COMPARE_NEAR(AsDouble(e->Value()), 25.0, 1e-12);
}

void TxFmtEditTest::germanLocaleReadsPoint() {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) QSKIP("de_DE.UTF-8 locale is not installed");
    const QLocale previousQt;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    struct Restore {
        std::string C;
        QLocale Qt;
        ~Restore() {
            std::setlocale(LC_ALL, C.c_str());
            QLocale::setDefault(Qt);
        }
    } restore{previous, previousQt};

    Form f;
    QVERIFY(f.Show());
    CountingEdit* e = f.Ed1;
    e->SetFormatStr("%0.2f");
    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "12.5");
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->text(), QString("12.50"));
    COMPARE_NEAR(AsDouble(e->Value()), 12.5, 0);

    QVERIFY(Form::Enter(e));
    QTest::keyClicks(e, "3,5"); // the comma is not a decimal separator here
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->text(), QString("35.00"));

    e->SetUnitsType(utTemperature);
    e->SetValue(-5.25);
    QCOMPARE(e->text(), QString("-5.3"));
}

QTEST_MAIN(TxFmtEditTest)
#include "TxFmtEditTest.moc"
