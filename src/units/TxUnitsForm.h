#pragma once
// The units pop-up: a small borderless list of the units of one quantity kind. In label mode it
// serves a formatted edit's units label, in grid mode a numeric field of the entry grid.

#include "units/TxConv.h"

#include <QDialog>

class QListWidget;
class TxCustomEdit;

// What the pop-up needs of an entry-grid field: its kind and its shown unit.
class TUnitsFieldRef {
public:
    virtual ~TUnitsFieldRef() = default;
    virtual TUnitsType FieldUnitsType() const = 0;
    virtual int FieldUnitsValue() const = 0;
    virtual void SetFieldUnitsValue(int index) = 0;
};

class TUnitsForm : public QDialog {
    Q_OBJECT

public:
    // Design-time item height of ListBox1, in pixels.
    static constexpr int ItemHeight = 13;

    // Created in grid mode and invisible.
    explicit TUnitsForm(QWidget* parent = nullptr);
    ~TUnitsForm() override;

    // Lists the units of the referenced kind, selects the referenced unit and sizes the form.
    void FillList();

    bool GridMode = true;
    TxCustomEdit* Edit = nullptr;    // label mode
    TUnitsFieldRef* Field = nullptr; // grid mode
    QListWidget* ListBox1;

    // Closing: the form shrinks to one item, a grid field takes the selected unit, and the form
    // goes back to grid mode.
    void done(int r) override;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

// The pop-up while it is shown; there is one at a time.
extern TUnitsForm* UnitsForm;
