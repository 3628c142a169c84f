#pragma once
// Fonts of the preview pages. TEmfLogFont holds the LOGFONT fields an EMF stream carries; TEmfFontMetrics
// turns one into a Qt font laid out at a large reference pixel size and scaled to page units. The EMF
// canvas measures with it and the EMF player draws with it, so a text measured while a page is recorded
// is exactly as wide as it is shown, at any zoom and on any device.

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <cstddef>
#include <cstdint>

struct TEmfLogFont {
    // < 0: character (em) height, > 0: cell height (ascent + descent), in page units; 0: default.
    int Height = 0;
    // Average character width in page units; 0 keeps the face's own proportions.
    int Width = 0;
    // Angles of the baseline, tenths of a degree counter-clockwise.
    int Escapement = 0;
    int Orientation = 0;
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    std::uint8_t PitchAndFamily = 0;
    QString FaceName;
    friend bool operator==(const TEmfLogFont&, const TEmfLogFont&) = default;
};

// Size of the LOGFONTW structure inside an EMR_EXTCREATEFONTINDIRECTW record.
inline constexpr std::size_t EmfLogFontSize = 92;
TEmfLogFont DecodeLogFont(const void* logFont);
void EncodeLogFont(const TEmfLogFont& font, void* logFont);

class TEmfFontMetrics {
public:
    // Large enough that glyph advances no longer depend on hinting or pixel rounding.
    static constexpr int ReferencePixelSize = 1000;
    // Em height used when a font gives no height at all.
    static constexpr double DefaultEmHeight = 12;

    explicit TEmfFontMetrics(const TEmfLogFont& font);

    // The Qt font at ReferencePixelSize; draw it under a scale of Scale() × Stretch() horizontally and
    // Scale() vertically to get page units.
    const QFont& ReferenceFont() const { return FFont; }
    double Scale() const { return FScale; }
    double Stretch() const { return FStretch; }

    double EmHeight() const { return FScale * ReferencePixelSize; }
    double Ascent() const { return FAscent * FScale; }
    double Descent() const { return FDescent * FScale; }
    double CellHeight() const { return (FAscent + FDescent) * FScale; }
    // Advance width of the text in page units.
    double Advance(const QString& text) const;
    // Baseline angle in degrees counter-clockwise.
    double Angle() const { return FAngle; }

private:
    QFont FFont;
    QFontMetricsF FMetrics;
    double FAscent = 0;
    double FDescent = 0;
    double FScale = 1;
    double FStretch = 1;
    double FAngle = 0;
};
