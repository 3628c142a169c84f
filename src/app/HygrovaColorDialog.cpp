#include "app/HygrovaColorDialog.h"

#include <QColor>
#include <QColorDialog>

#include <array>

namespace {

QString EntryName(int index) {
    return QStringLiteral("Color") + QChar(u'A' + index);
}

} // namespace

QColor ToQColor(TColor color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor FromQColor(const QColor& color) {
    return RGBColor(color.red(), color.green(), color.blue());
}

QStringList TColorDialog::DefaultCustomColors() {
    static constexpr std::array<const char*, CustomColorCount> colors = {
        "EBEDFE", "E9FDFE", "E7FEF2", "F4FEE7", "FFFAE6", "FFF2EA", "FFEAFD", "F4F0FF",
        "F1F2F8", "F0F7F9", "F0F7F1", "F5F7F0", "F7F4F2", "FAF5F8", "F9ECF8", "F4EEE1"};
    QStringList list;
    for (int i = 0; i < CustomColorCount; ++i)
        list << EntryName(i) + QLatin1Char('=') + QLatin1String(colors[static_cast<std::size_t>(i)]);
    return list;
}

QString TColorDialog::CustomColorsText() const {
    QString text;
    for (const QString& line : CustomColors)
        text += line + QStringLiteral("\r\n");
    return text;
}

void TColorDialog::SetCustomColorsText(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    CustomColors = lines.split(QLatin1Char('\n'));
    // A final line break ends the last line; it does not start another one.
    if (!CustomColors.isEmpty() && CustomColors.back().isEmpty()) CustomColors.removeLast();
}

TColor TColorDialog::CustomColor(int index) const {
    const QString name = EntryName(index);
    for (const QString& line : CustomColors) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || line.left(eq).trimmed().compare(name, Qt::CaseInsensitive) != 0) continue;
        bool ok = false;
        const uint value = line.mid(eq + 1).trimmed().toUInt(&ok, 16);
        return ok && value <= 0xFFFFFF ? static_cast<TColor>(value) : clWhite;
    }
    return clWhite;
}

bool TColorDialog::Execute(QWidget* parent) {
    for (int i = 0; i < CustomColorCount; ++i)
        QColorDialog::setCustomColor(i, ToQColor(CustomColor(i)));
    QColorDialog dialog(ToQColor(Color), parent);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    // Qt's own dialog everywhere, so that the custom colours are the ones given here.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return false;
    Color = FromQColor(dialog.selectedColor());
    CustomColors.clear();
    for (int i = 0; i < CustomColorCount; ++i) {
        const TColor c = FromQColor(QColorDialog::customColor(i));
        CustomColors << EntryName(i) + QLatin1Char('=') +
                            QString::number(c, 16).toUpper().rightJustified(6, QLatin1Char('0'));
    }
    return true;
}
