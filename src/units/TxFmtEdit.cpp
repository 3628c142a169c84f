#include "units/TxFmtEdit.h"

#include "psychro/Format.h"
#include "psychro/NumberText.h"
#include "units/TxUnitsForm.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace {

std::string ToStd(const QString& s) {
    return s.toStdString();
}
QString ToQt(const std::string& s) {
    return QString::fromStdString(s);
}

long long RoundToInt(double x) {
    // Beyond this an integer format cannot show the value.
    if (!std::isfinite(x) || std::abs(x) >= 9.0e18) throw EConvertError("Integer overflow");
    return std::llround(x);
}

void RequireFinite(double x) {
    if (!std::isfinite(x)) throw EConvertError("Floating point overflow");
}

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TxCustomEdit

TxCustomEdit::TxCustomEdit(QWidget* parent)
    : QLineEdit(parent) {
    QLineEdit::setText(QStringLiteral("0.0"));
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) OnChange(*this);
    });
}

TxCustomEdit::~TxCustomEdit() {
    if (auto* label = qobject_cast<TFmtEditLabel*>(FUnitsLabel.data())) label->RemoveEdit(this);
}

TxCustomEdit::TFmtKind TxCustomEdit::Kind() const {
    if (IsTextFormat(FFormatStr)) return TFmtKind::Text;
    if (IsPairFormat(FFormatStr)) return TFmtKind::Pair;
    if (IsIntFormat(FFormatStr)) return TFmtKind::Int;
    if (IsFloatFormat(FFormatStr)) return TFmtKind::Float;
    return TFmtKind::Other;
}

std::string TxCustomEdit::PairFirstFormat() const {
    return FFormatStr.substr(0, FFormatStr.find('/'));
}

void TxCustomEdit::SetText(const QString& value) {
    if (text() != value) setText(value);
}

void TxCustomEdit::SetFormatStr(const std::string& value) {
    FFormatStr = value;
    if (value == "%S" && text() == QLatin1String("0.0")) SetText(QString());
}

void TxCustomEdit::SetUnitsType(TUnitsType kind) {
    FUnitsType = kind;
    FUnitsValue = ValidUnitsIndex(kind, FUnitsValue);
    FUnitsBase = ValidUnitsIndex(kind, FUnitsBase);
    FFactor = 1;
    FOffset = 0;
    ApplyUnits();
}

void TxCustomEdit::SetUnitsValue(int index) {
    FUnitsValue = ValidUnitsIndex(FUnitsType, index);
    ApplyUnits();
}

void TxCustomEdit::SetUnitsBase(int index) {
    FUnitsBase = ValidUnitsIndex(FUnitsType, index);
    ApplyUnits();
}

void TxCustomEdit::SetUnitsLabel(QLabel* label) {
    QLabel* old = FUnitsLabel.data();
    // Leaving a label for another one must unbind too, or the old label would keep driving
    // (and on its destruction unbind) this edit.
    if (old != label)
        if (auto* oldLabel = qobject_cast<TFmtEditLabel*>(old)) oldLabel->RemoveEdit(this);
    if (IsTextFormat(FFormatStr)) FFormatStr = "%0.1f";
    FUnitsLabel = label;
    if (auto* newLabel = qobject_cast<TFmtEditLabel*>(label)) {
        newLabel->AddEdit(this);
        SetUnitsValue(FUnitsValue);
    }
}

bool TxCustomEdit::TryReadValue(TFmtValue& value) const {
    const std::string s = ToStd(text());
    try {
        switch (Kind()) {
        case TFmtKind::Text:
            value = Format(FFormatStr, {s});
            return true;
        case TFmtKind::Pair: {
            double a = 0, b = 0;
            if (ParsePair(s, a, b)) {
                a = FromUnits(FOffset, FFactor, a);
                b = FromUnits(FOffset, FFactor, b);
                RequireFinite(a);
                RequireFinite(b);
                value = Format(FFormatStr, {a, b});
                return true;
            }
            a = FromUnits(FOffset, FFactor, a);
            RequireFinite(a);
            value = Format("%0.4g", {a});
            return true;
        }
        default: {
            const double x = FromUnits(FOffset, FFactor, StrToFloat(CleanNumberText(s)));
            RequireFinite(x);
            if (Kind() == TFmtKind::Int)
                value = RoundToInt(x);
            else
                value = x;
            return true;
        }
        }
    } catch (const std::exception&) {
        return false;
    }
}

TFmtValue TxCustomEdit::ReadValue() const {
    TFmtValue value;
    if (!TryReadValue(value)) value = ToStd(text());
    return value;
}

std::string TxCustomEdit::ShownText(double x) const {
    RequireFinite(x);
    if (IsIntFormat(FFormatStr)) return Format(FFormatStr, {RoundToInt(x)});
    switch (FFormatType) {
    case ft_Auto:
        return Format(AutoFormatStr(FSigDigs, 12, x), {x});
    case ft_AutoOverride:
        if (std::pow(10.0, 2 - FDecimals) > x) return Format(AutoFormatStr(FSigDigs, 12, x), {x});
        return Format(FFormatStr, {x});
    case ft_Fixed:
    case ft_Manual:
        break;
    }
    return Format(FFormatStr, {x});
}

void TxCustomEdit::WriteValue(const TFmtValue& value) {
    try {
        switch (Kind()) {
        case TFmtKind::Text:
            SetText(ToQt(std::visit([this](const auto& v) { return Format(FFormatStr, {v}); }, value)));
            return;
        case TFmtKind::Pair: {
            double a = 0, b = 0;
            bool pair = false;
            if (const auto* s = std::get_if<std::string>(&value))
                pair = ParsePair(*s, a, b);
            else
                a = ValueAsDouble(value);
            a = ToUnits(FOffset, FFactor, a);
            RequireFinite(a);
            if (pair) {
                b = ToUnits(FOffset, FFactor, b);
                RequireFinite(b);
                SetText(ToQt(Format(FFormatStr, {a, b})));
            } else {
                // A single number in a pair box stays a single number.
                SetText(ToQt(Format(PairFirstFormat(), {a})));
            }
            return;
        }
        case TFmtKind::Int:
        case TFmtKind::Float:
            SetText(ToQt(ShownText(ToUnits(FOffset, FFactor, ValueAsDouble(value)))));
            return;
        case TFmtKind::Other:
            return;
        }
    } catch (const std::exception&) {
        SetText(QString());
    }
}

bool TxCustomEdit::RangeCheck(double& x) const {
    if (IsTextFormat(FFormatStr)) return true;
    const double lo = ToUnits(FOffset, FFactor, FRangeLo);
    const double hi = ToUnits(FOffset, FFactor, FRangeHi);
    if (std::abs(lo - hi) < 1e-5 || (lo == 0 && hi == 0)) return true;
    if (x < lo) {
        // Up to 0.5 % below the bound is kept as typed.
        if (!(lo != 0 && std::abs((lo - x) / lo) <= 0.005)) {
            x = lo;
            return false;
        }
    }
    if (x > hi) {
        if (hi != 0 && std::abs((x - hi) / hi) <= 0.005) return true;
        x = hi;
        return false;
    }
    return true;
}

bool TxCustomEdit::FormatText(const QString& s) {
    const TFmtKind kind = Kind();
    if (kind == TFmtKind::Text) {
        try {
            SetText(ToQt(Format(FFormatStr, {ToStd(s)})));
        } catch (const std::exception&) {
            // A pattern that does not take a text leaves the text as typed.
        }
        setModified(true);
        return true;
    }
    try {
        const std::string clean = CleanNumberText(ToStd(s));
        bool inRange = true;
        std::string newText;
        if (kind == TFmtKind::Pair) {
            double a = 0, b = 0;
            if (ParsePair(clean, a, b)) {
                RequireFinite(a);
                RequireFinite(b);
                const bool aIn = RangeCheck(a);
                const bool bIn = RangeCheck(b);
                inRange = aIn && bIn;
                newText = Format(FFormatStr, {a, b});
            } else {
                RequireFinite(a);
                inRange = RangeCheck(a);
                newText = Format(PairFirstFormat(), {a});
            }
        } else {
            double x = StrToFloat(clean);
            RequireFinite(x);
            inRange = RangeCheck(x);
            newText = ShownText(x);
        }
        SetText(ToQt(newText));
        setModified(true);
        return inRange;
    } catch (const std::exception&) {
        // Unreadable: left as the user typed it, to be corrected.
        return true;
    }
}

void TxCustomEdit::InvalidValue() {
    QApplication::beep();
}

bool TxCustomEdit::CommitText() {
    if (!isModified()) return true;
    if (FormatText(text())) return true;
    setFocus(Qt::OtherFocusReason);
    setModified(true);
    InvalidValue();
    return false;
}

void TxCustomEdit::RevertText() {
    if (isModified()) SetText(FEntryText);
    setModified(false);
}

void TxCustomEdit::Assign(const TxCustomEdit& source) {
    FFormatStr = source.FFormatStr;
    FUnitsType = source.FUnitsType;
    FUnitsValue = source.FUnitsValue;
    FUnitsBase = source.FUnitsBase;
    FFactor = source.FFactor;
    FOffset = source.FOffset;
    FDecimals = source.FDecimals;
    FFormatType = source.FFormatType;
    FSigDigs = source.FSigDigs;
    SetText(source.text());
}

void TxCustomEdit::ApplyUnits() {
    const TFmtKind kind = Kind();
    if ((kind == TFmtKind::Text || kind == TFmtKind::Int) && FUnitsType == utNone) return;

    // The value is carried across the change in the stored unit: a pair as its text, anything
    // else as a full double. A text that is not a number keeps the old units state.
    const bool wasPair = kind == TFmtKind::Pair;
    TFmtValue carried;
    if (!TryReadValue(carried)) return;
    if (!wasPair) {
        try {
            carried = ValueAsDouble(carried);
        } catch (const std::exception&) {
            return;
        }
    }

    try {
        std::string formatStr, unitsName;
        double offset = FOffset, factor = FFactor;
        UnitsConversion(FUnitsType, FUnitsValue, FUnitsBase, formatStr, offset, factor, unitsName);
        FOffset = offset;
        FFactor = factor;
        if (FFormatType != ft_Manual && FUnitsType != utNone) FFormatStr = formatStr;
        if (!IsTextFormat(FFormatStr)) {
            FDecimals = FormatDecimals(FFormatStr);
            if (FUnitsLabel) FUnitsLabel->setText(ToQt(unitsName));
            if (wasPair && !IsPairFormat(FFormatStr)) FFormatStr = FFormatStr + "/" + FFormatStr;
            WriteValue(carried);
            // Escape must not bring back a text that was written in the old unit.
            if (FEntered) FEntryText = text();
        }
    } catch (const std::exception&) {
    }
}

bool TxCustomEdit::IsValidChar(QChar c) const {
    switch (Kind()) {
    case TFmtKind::Text:
        return true;
    case TFmtKind::Pair:
        return IsAsciiDigit(c) || c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('/');
    case TFmtKind::Int:
        return IsAsciiDigit(c) || c == QLatin1Char('-');
    case TFmtKind::Float:
        if (IsAsciiDigit(c) || c == QLatin1Char('-') || c == QLatin1Char('.')) return true;
        return IsGenFormat(FFormatStr) && (c == QLatin1Char('e') || c == QLatin1Char('E'));
    case TFmtKind::Other:
        return true;
    }
    return true;
}

QChar TxCustomEdit::FireKeyPress(QChar key) {
    if (OnKeyPress) OnKeyPress(*this, key);
    return key;
}

void TxCustomEdit::TypeCharacters(const QString& chars) {
    if (chars.isEmpty() || !CanEditText() || isReadOnly()) return;
    const bool valid = std::all_of(chars.begin(), chars.end(), [this](QChar c) { return IsValidChar(c); });
    setModified(true);
    if (!valid) {
        // Refused: the text and the selection stay as they were.
        QApplication::beep();
        return;
    }
    insert(chars); // replaces the selection, caret after the inserted text
    setModified(true);
}

bool TxCustomEdit::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        auto* ke = static_cast<QKeyEvent*>(e);
        // While modified, Escape reverts the edit instead of cancelling the dialog.
        if (ke->key() == Qt::Key_Escape && (ke->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            isModified()) {
            e->accept();
            return true;
        }
        // The window's shortcuts come before the edit's own key bindings (Ctrl+Z is Whole Page in
        // the main window); only copy, cut and paste stay with the edit. A combination no shortcut
        // takes still reaches keyPressEvent.
        const bool chord =
            (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
        if (chord && !ke->matches(QKeySequence::Copy) && !ke->matches(QKeySequence::Cut) &&
            !ke->matches(QKeySequence::Paste))
            return QWidget::event(e);
    }
    return QLineEdit::event(e);
}

void TxCustomEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (FEntered) return; // back from another window or a pop-up menu: still the same entry
    FEntered = true;
    FEntryText = text();
    setModified(false);
    if (e->reason() != Qt::MouseFocusReason) selectAll();
}

void TxCustomEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    // Only an edit that was entered is left (a refocus during another edit's exit can send a
    // focus-out to a widget that never got the focus).
    if (!FEntered) return;
    FEntered = false;
    CommitText();
    if (OnExit) OnExit(*this);
}

void TxCustomEdit::hideEvent(QHideEvent* e) {
    QLineEdit::hideEvent(e);
    if (!e->spontaneous()) FEntered = false;
}

void TxCustomEdit::keyPressEvent(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    const bool meta = mods & Qt::MetaModifier;
    const bool plain = !ctrl && !alt && !meta;

    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) {
        QLineEdit::keyPressEvent(e); // pasted text is repaired when it is committed
        return;
    }

    if (plain && e->key() == Qt::Key_Escape) {
        if (FireKeyPress(QChar(0x1b)).isNull()) return e->accept();
        const bool claimed = isModified();
        RevertText();
        if (claimed)
            e->accept();
        else
            e->ignore(); // let the dialog have it
        return;
    }

    if (plain && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
        if (FireKeyPress(QChar(0x0d)).isNull()) return e->accept();
        // A committed value lets Enter go on to the dialog's default button; a clamped one
        // keeps the user here to see it.
        if (CommitText())
            e->ignore();
        else
            e->accept();
        return;
    }

    if (plain && e->key() == Qt::Key_Backspace) {
        if (FireKeyPress(QChar(0x08)).isNull()) return e->accept();
        if (CanEditText() && !isReadOnly()) {
            backspace(); // the selection, or the character before the caret
            setModified(true);
        }
        e->accept();
        return;
    }

    const QString t = e->text();
    const bool altGr = ctrl && alt;
    const bool printable =
        !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c.isPrint(); });
    if (printable && (plain || altGr)) {
        QString chars;
        for (QChar c : t) {
            const QChar k = FireKeyPress(c);
            if (!k.isNull()) chars += k;
        }
        TypeCharacters(chars);
        e->accept();
        return;
    }

    QLineEdit::keyPressEvent(e);
}

void TxCustomEdit::inputMethodEvent(QInputMethodEvent* e) {
    // Composed characters go through the same filter as typed ones.
    if (e->preeditString().isEmpty() && e->replacementLength() == 0 && !e->commitString().isEmpty()) {
        QString chars;
        for (QChar c : e->commitString()) {
            const QChar k = FireKeyPress(c);
            if (!k.isNull()) chars += k;
        }
        TypeCharacters(chars);
        e->accept();
        return;
    }
    QLineEdit::inputMethodEvent(e);
}

// ---------------------------------------------------------------------------------------------
// TFmtEdit

TFmtEdit::TFmtEdit(QWidget* parent)
    : TxCustomEdit(parent) {}

// ---------------------------------------------------------------------------------------------
// TFmtEditLabel

TFmtEditLabel::TFmtEditLabel(QWidget* parent)
    : QLabel(parent) {}

TFmtEditLabel::~TFmtEditLabel() {
    while (!FEdits.empty()) {
        TxCustomEdit* edit = FEdits.back();
        edit->SetUnitsLabel(nullptr);
        if (!FEdits.empty() && FEdits.back() == edit) FEdits.pop_back();
    }
}

void TFmtEditLabel::AddEdit(TxCustomEdit* edit) {
    if (std::find(FEdits.begin(), FEdits.end(), edit) == FEdits.end()) FEdits.push_back(edit);
}

void TFmtEditLabel::RemoveEdit(TxCustomEdit* edit) {
    std::erase(FEdits, edit);
}

void TFmtEditLabel::Click() {
    const QPointer<TFmtEditLabel> self(this);
    if (!FEdits.empty()) {
        // A value still being typed in one of the edits is taken over in the unit it was typed in,
        // before the unit changes under it.
        for (const QPointer<TxCustomEdit>& edit :
             std::vector<QPointer<TxCustomEdit>>(FEdits.begin(), FEdits.end()))
            if (edit && edit->hasFocus() && edit->isModified()) ForceEditExit(*edit);
        if (!self || FEdits.empty()) return;
        int picked = -1;
        {
            TUnitsForm form(window());
            form.GridMode = false;
            form.Edit = FEdits.front();
            form.move(QCursor::pos() + QPoint(5, 5));
            form.FillList();
            form.exec();
            picked = form.ListBox1->currentRow();
        }
        if (!self) return;
        // An empty list (a unitless edit) picks nothing.
        if (picked >= 0) {
            const std::vector<QPointer<TxCustomEdit>> edits(FEdits.begin(), FEdits.end());
            for (const QPointer<TxCustomEdit>& edit : edits) {
                if (!edit) continue;
                edit->SetUnitsValue(picked);
                if (edit->OnUnitsEdited) edit->OnUnitsEdited(*edit);
            }
        }
    }
    if (self && OnClick) OnClick(*this);
}

void TFmtEditLabel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) FPressed = true;
    QLabel::mousePressEvent(e);
}

void TFmtEditLabel::mouseReleaseEvent(QMouseEvent* e) {
    const bool click = FPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) FPressed = false;
    QLabel::mouseReleaseEvent(e);
    if (click) Click();
}

// ---------------------------------------------------------------------------------------------

void ForceEditExit(TxCustomEdit& edit) {
    edit.CommitText();
    if (edit.OnExit) edit.OnExit(edit);
    edit.setModified(false);
}
