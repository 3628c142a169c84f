#pragma once
// The formatted numeric edit: a single-line edit that knows the quantity kind of its number, holds
// it in a stored unit and shows it in a unit the user picks through a units label.

#include "units/TxConv.h"
#include "units/TxFields.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class TFmtEditLabel;

class TxCustomEdit : public QLineEdit {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(TxCustomEdit& sender)>;
    // The handler may change the character; setting it to QChar() drops it.
    using TKeyPressEvent = std::function<void(TxCustomEdit& sender, QChar& key)>;

    explicit TxCustomEdit(QWidget* parent = nullptr);
    ~TxCustomEdit() override;

    // The text when the edit last got the focus.
    const QString& EntryText() const { return FEntryText; }

    // Range bounds in the stored unit; equal bounds (or both 0) mean no range.
    double RangeLo() const { return FRangeLo; }
    void SetRangeLo(double value) { FRangeLo = value; }
    double RangeHi() const { return FRangeHi; }
    void SetRangeHi(double value) { FRangeHi = value; }

    // Writing any of the three re-shows the current value in the new unit.
    TUnitsType UnitsType() const { return FUnitsType; }
    void SetUnitsType(TUnitsType kind);
    int UnitsValue() const { return FUnitsValue; }
    void SetUnitsValue(int index);
    int UnitsBase() const { return FUnitsBase; }
    void SetUnitsBase(int index);

    // shown = Offset + Factor x stored
    double Factor() const { return FFactor; }
    double Offset() const { return FOffset; }
    int Decimals() const { return FDecimals; }

    // The label showing the unit name; not owned. Binding a TFmtEditLabel lets it change the unit.
    QLabel* UnitsLabel() const { return FUnitsLabel.data(); }
    void SetUnitsLabel(QLabel* label);

    TFormatType FormatType() const { return FFormatType; }
    void SetFormatType(TFormatType value) { FFormatType = value; }
    int SigDigs() const { return FSigDigs; }
    void SetSigDigs(int value) { FSigDigs = value; }
    const std::string& FormatStr() const { return FFormatStr; }
    // Stores the pattern only; "%S" on a fresh "0.0" empties the text.
    void SetFormatStr(const std::string& value);

    // Sets the text only when it differs from the one shown, so an equal write keeps the
    // modified flag as it was.
    void SetText(const QString& value);

    virtual bool CanEditText() { return true; }
    // Puts back EntryText if the text was modified, and clears the modified flag.
    virtual void RevertText();
    // Repairs, range-checks and reformats a typed text; false when the value had to be clamped.
    virtual bool FormatText(const QString& s);
    virtual void InvalidValue();
    // Takes over a modified text; false when it was out of range (the edit keeps the focus).
    virtual bool CommitText();

    // Copies format, units, conversion and text; not the range and not the label.
    void Assign(const TxCustomEdit& source);

    TNotifyEvent OnExit;
    TNotifyEvent OnChange;
    TNotifyEvent OnUnitsEdited;
    TKeyPressEvent OnKeyPress;

protected:
    // The number shown, in the stored unit: a double, an integer (integer formats) or a text
    // (text and pair formats, and whatever cannot be read as a number).
    TFmtValue ReadValue() const;
    // Shows a stored-unit value in the shown unit; a value that cannot be shown leaves "".
    void WriteValue(const TFmtValue& value);
    // x in the shown unit; a value further than 0.5 % outside the range becomes the bound.
    bool RangeCheck(double& x) const;
    void ApplyUnits();
    bool IsValidChar(QChar c) const;

    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    enum class TFmtKind { Text, Pair, Int, Float, Other };
    TFmtKind Kind() const;
    // False when the text cannot be read; `value` is then left alone.
    bool TryReadValue(TFmtValue& value) const;
    std::string ShownText(double x) const;
    std::string PairFirstFormat() const;
    // Runs OnKeyPress; returns the character to handle, or QChar() when the handler dropped it.
    QChar FireKeyPress(QChar key);
    void TypeCharacters(const QString& chars);

    QString FEntryText;
    double FRangeLo = 0;
    double FRangeHi = 0;
    TUnitsType FUnitsType = utNone;
    int FUnitsValue = 0;
    int FUnitsBase = 0;
    double FFactor = 1;
    double FOffset = 0;
    QPointer<QLabel> FUnitsLabel;
    int FDecimals = 0;
    TFormatType FFormatType = ft_Fixed;
    int FSigDigs = 5;
    std::string FFormatStr = "%0.1f";
    // Between entering and leaving; window deactivation and pop-up menus do not leave the edit.
    bool FEntered = false;
};

class TFmtEdit : public TxCustomEdit {
    Q_OBJECT

public:
    explicit TFmtEdit(QWidget* parent = nullptr);

    // The number in the stored unit (see TxCustomEdit::ReadValue / WriteValue).
    TFmtValue Value() const { return ReadValue(); }
    void SetValue(const TFmtValue& value) { WriteValue(value); }
};

// The label beside one or more edits: shows their unit name and lets the user pick another unit.
class TFmtEditLabel : public QLabel {
    Q_OBJECT

public:
    explicit TFmtEditLabel(QWidget* parent = nullptr);
    // Unbinds every bound edit, last first.
    ~TFmtEditLabel() override;

    const std::vector<TxCustomEdit*>& Edits() const { return FEdits; }

    // What a click does: the units pop-up, then every bound edit takes the picked unit and fires
    // its OnUnitsEdited; OnClick follows in every case.
    void Click();

    std::function<void(TFmtEditLabel& sender)> OnClick;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    friend class TxCustomEdit;
    void AddEdit(TxCustomEdit* edit);
    void RemoveEdit(TxCustomEdit* edit);

    std::vector<TxCustomEdit*> FEdits;
    bool FPressed = false;
};

// Takes over a value that is still being typed: CommitText, OnExit, then the modified flag is
// cleared.
void ForceEditExit(TxCustomEdit& edit);
