#pragma once
// The background colour dialog of the main window: the chosen colour and the sixteen custom colours,
// kept as "ColorA=EBEDFE" lines (colour numbers 0x00BBGGRR as six hexadecimal digits) so that the
// settings store gets them back as it gave them.

#include "platform/TCanvas.h"

#include <QString>
#include <QStringList>

class QWidget;

class TColorDialog {
public:
    static constexpr int CustomColorCount = 16;

    // The colour the dialog opens with; a confirmed dialog leaves the chosen one here.
    TColor Color = 16776176;
    // "ColorA=..." to "ColorP=...", in any order; a missing or unreadable entry shows as white.
    QStringList CustomColors = DefaultCustomColors();

    static QStringList DefaultCustomColors();

    // The list as text, each line ended by CR LF; setting it splits at any line break.
    QString CustomColorsText() const;
    void SetCustomColorsText(const QString& text);

    // The custom colour of a slot (0 = ColorA) as the list gives it.
    TColor CustomColor(int index) const;

    // Shows the dialog modally; true when the user confirmed it (Color and CustomColors then hold
    // what the dialog showed).
    bool Execute(QWidget* parent);
};

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
