// The units pop-up on its own: list contents, sizing, and how it closes in grid mode.

#include "units/TxUnitsForm.h"
#include "units/TxFmtEdit.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <functional>

Q_DECLARE_METATYPE(TUnitsType)

namespace {

// A grid field as the pop-up sees it.
struct Field : TUnitsFieldRef {
    Field(TUnitsType kind, int index)
        : Kind(kind)
        , Index(index) {}
    TUnitsType FieldUnitsType() const override { return Kind; }
    int FieldUnitsValue() const override { return Index; }
    void SetFieldUnitsValue(int index) override {
        Index = index;
        ++Sets;
    }
    TUnitsType Kind;
    int Index;
    int Sets = 0;
};

// Runs the form modally and lets `action` answer it from inside the modal loop.
bool RunModal(TUnitsForm& form, const std::function<void(TUnitsForm&)>& action) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        seen = UnitsForm == &form && form.isVisible();
        action(form);
        if (form.isVisible()) form.reject(); // never leave the test in the modal loop
    });
    form.exec();
    return seen;
}

} // namespace

class TxUnitsFormTest : public QObject {
    Q_OBJECT

private slots:
    void createdInGridModeAndHidden();
    void fillListSizesToItems_data();
    void fillListSizesToItems();
    void unitlessKindLeavesListEmpty();
    void enterTakesArrowSelection();
    void escapeKeepsArrowSelection();
    void mouseClickSelectsAndCloses();
    void labelModeReadsTheEdit();
};

void TxUnitsFormTest::createdInGridModeAndHidden() {
    TUnitsForm form;
    QVERIFY(form.GridMode);
    QVERIFY(!form.isVisible());
    QVERIFY(UnitsForm == nullptr);
    QCOMPARE(form.objectName(), QString("UnitsForm"));
    QCOMPARE(form.windowTitle(), QString("Units"));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(form.size(), QSize(135, 147));
    QCOMPARE(form.ListBox1->objectName(), QString("ListBox1"));
    QCOMPARE(form.ListBox1->frameShape(), QFrame::NoFrame);
    QCOMPARE(form.font().family(), QString("MS Sans Serif"));
    QCOMPARE(form.font().pointSize(), 8);
}

void TxUnitsFormTest::fillListSizesToItems_data() {
    QTest::addColumn<TUnitsType>("kind");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("humidity") << utHumidity << 1 << QStringList{"kg/kg", "g/kg", "gr/lb"};
    QTest::newRow("altitude") << utAltitude << 0 << QStringList{"m", "ft"};
    QTest::newRow("viscosity") << utViscosity << 4 << QStringList{"kg/m·s",   "N·s/m²",    "µPa·s",     "cP",
                                                                  "lbm/ft·s", "lbf·s/ft²", "lbf·hr/ft²"};
    QTest::newRow("thermal resistance") << utThermalResist << 1 << QStringList{"m²°C/W", "ft²·hr·°F/Btu"};
}

void TxUnitsFormTest::fillListSizesToItems() {
    QFETCH(TUnitsType, kind);
    QFETCH(int, index);
    QFETCH(QStringList, names);
    Field field(kind, index);
    TUnitsForm form;
    form.Field = &field;
    form.FillList();
    QStringList listed;
    for (int i = 0; i < form.ListBox1->count(); ++i)
        listed << form.ListBox1->item(i)->text();
    QCOMPARE(listed, names);
    QCOMPARE(form.ListBox1->currentRow(), index);

    const QFontMetrics fm(form.ListBox1->font());
    int widest = 0;
    for (const QString& n : names)
        widest = std::max(widest, fm.horizontalAdvance(n));
    const int height = static_cast<int>(std::lround(TUnitsForm::ItemHeight * (names.size() + 0.5)));
    QCOMPARE(form.size(), QSize(10 + std::max(50, widest), height));
    QCOMPARE(form.ListBox1->geometry(), form.rect()); // the list fills the form

    form.FillList(); // refilling does not add twice
    QCOMPARE(form.ListBox1->count(), names.size());
}

void TxUnitsFormTest::unitlessKindLeavesListEmpty() {
    Field field(utNone, 0);
    TUnitsForm form;
    form.Field = &field;
    form.FillList();
    QCOMPARE(form.ListBox1->count(), 0);
    QCOMPARE(form.size(), QSize(135, 147));
    QVERIFY(RunModal(form, [](TUnitsForm& f) { QTest::keyClick(f.ListBox1, Qt::Key_Return); }));
    QCOMPARE(field.Sets, 0); // nothing to pick
    QCOMPARE(field.Index, 0);
}

void TxUnitsFormTest::enterTakesArrowSelection() {
    Field field(utPressureBar, 0);
    TUnitsForm form;
    form.Field = &field;
    form.FillList();
    QVERIFY(RunModal(form, [](TUnitsForm& f) {
        QTest::keyClick(f.ListBox1, Qt::Key_Down);
        QTest::keyClick(f.ListBox1, Qt::Key_Down);
        QTest::keyClick(f.ListBox1, Qt::Key_Return);
    }));
    QCOMPARE(field.Index, 2);
    QCOMPARE(field.Sets, 1);
    QVERIFY(form.GridMode);
    QVERIFY(UnitsForm == nullptr);
    QCOMPARE(form.height(), TUnitsForm::ItemHeight);
}

void TxUnitsFormTest::escapeKeepsArrowSelection() {
    Field field(utTemperature, 0);
    TUnitsForm form;
    form.Field = &field;
    form.FillList();
    QVERIFY(RunModal(form, [](TUnitsForm& f) {
        QTest::keyClick(f.ListBox1, Qt::Key_Down);
        QTest::keyClick(f.ListBox1, Qt::Key_Escape);
    }));
    QCOMPARE(field.Index, 1);
}

void TxUnitsFormTest::mouseClickSelectsAndCloses() {
    Field field(utHumidity, 0);
    TUnitsForm form;
    form.Field = &field;
    form.FillList();
    QVERIFY(RunModal(form, [](TUnitsForm& f) {
        const QRect r = f.ListBox1->visualItemRect(f.ListBox1->item(2));
        QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(!f.isVisible()); // any press on the list closes it
    }));
    QCOMPARE(field.Index, 2);
}

void TxUnitsFormTest::labelModeReadsTheEdit() {
    TFmtEdit edit;
    edit.SetUnitsType(utMassFlow);
    edit.SetUnitsValue(3);
    TUnitsForm form;
    form.GridMode = false;
    form.Edit = &edit;
    form.FillList();
    QCOMPARE(form.ListBox1->count(), 6);
    QCOMPARE(form.ListBox1->currentItem()->text(), QString("lb/s"));
    QVERIFY(RunModal(form, [](TUnitsForm& f) {
        QTest::keyClick(f.ListBox1, Qt::Key_Up);
        QTest::keyClick(f.ListBox1, Qt::Key_Return);
    }));
    QCOMPARE(form.ListBox1->currentRow(), 2);
    QCOMPARE(edit.UnitsValue(), 3); // the label applies the unit, not the form
    QVERIFY(form.GridMode);
}

QTEST_MAIN(TxUnitsFormTest)
#include "TxUnitsFormTest.moc"
