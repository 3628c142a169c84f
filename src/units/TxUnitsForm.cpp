#include "units/TxUnitsForm.h"

#include "units/TxFmtEdit.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

TUnitsForm* UnitsForm = nullptr;

TUnitsForm::TUnitsForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , ListBox1(new QListWidget(this)) {
    setObjectName(QStringLiteral("UnitsForm"));
    setWindowTitle(QStringLiteral("Units"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    resize(135, 147);

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFrameShape(QFrame::NoFrame);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setGeometry(0, 0, 135, 147);
    ListBox1->installEventFilter(this);
    ListBox1->viewport()->installEventFilter(this);
}

TUnitsForm::~TUnitsForm() {
    if (UnitsForm == this) UnitsForm = nullptr;
}

void TUnitsForm::FillList() {
    ListBox1->clear();
    TUnitsType kind = utNone;
    int current = -1;
    if (GridMode && Field) {
        kind = Field->FieldUnitsType();
        current = Field->FieldUnitsValue();
    } else if (!GridMode && Edit) {
        kind = Edit->UnitsType();
        current = Edit->UnitsValue();
    }
    const QFontMetrics fm(ListBox1->font());
    int widest = 0;
    const int n = UnitsCount(kind);
    for (int i = 0; i < n; ++i) {
        const QString name = QString::fromStdString(UnitsName(kind, i));
        auto* item = new QListWidgetItem(name, ListBox1); // owned by the list
        const int w = fm.horizontalAdvance(name);
        item->setSizeHint(QSize(w, ItemHeight));
        widest = std::max(widest, w);
    }
    if (current >= 0 && current < n) ListBox1->setCurrentRow(current);
    if (n > 0) {
        const int height = static_cast<int>(std::lround(ItemHeight * (n + 0.5)));
        resize(10 + std::max(50, widest), height);
        ListBox1->setGeometry(0, 0, width(), height); // a hidden form gets no resize event
    }
}

void TUnitsForm::done(int r) {
    resize(width(), ItemHeight);
    ListBox1->setGeometry(0, 0, width(), ItemHeight);
    const int picked = ListBox1->currentRow();
    if (GridMode && Field && picked >= 0) Field->SetFieldUnitsValue(picked);
    GridMode = true;
    if (UnitsForm == this) UnitsForm = nullptr;
    QDialog::done(r);
}

bool TUnitsForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == ListBox1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        // Escape keeps a selection moved with the arrow keys, like Enter.
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            accept();
            return true;
        }
    }
    if (watched == ListBox1->viewport() && e->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(e)->position().toPoint();
        if (QListWidgetItem* item = ListBox1->itemAt(at)) ListBox1->setCurrentItem(item);
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TUnitsForm::showEvent(QShowEvent* e) {
    UnitsForm = this;
    QDialog::showEvent(e);
    ListBox1->setFocus(Qt::ActiveWindowFocusReason);
}

void TUnitsForm::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    ListBox1->setGeometry(rect());
}
