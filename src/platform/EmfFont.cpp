#include "platform/EmfFont.h"

#include <uemf.h>

#include <algorithm>
#include <cstring>
#include <vector>

static_assert(sizeof(U_LOGFONT) == EmfLogFontSize);

TEmfLogFont DecodeLogFont(const void* logFont) {
    U_LOGFONT lf;
    std::memcpy(&lf, logFont, sizeof lf);
    TEmfLogFont f;
    f.Height = lf.lfHeight;
    f.Width = lf.lfWidth;
    f.Escapement = lf.lfEscapement;
    f.Orientation = lf.lfOrientation;
    f.Weight = lf.lfWeight;
    f.Italic = lf.lfItalic != 0;
    f.Underline = lf.lfUnderline != 0;
    f.StrikeOut = lf.lfStrikeOut != 0;
    f.PitchAndFamily = lf.lfPitchAndFamily;
    // The face name fills the field or ends at the first NUL.
    qsizetype n = 0;
    while (n < U_LF_FACESIZE && lf.lfFaceName[n] != 0)
        ++n;
    f.FaceName = QString::fromUtf16(reinterpret_cast<const char16_t*>(lf.lfFaceName), n);
    return f;
}

void EncodeLogFont(const TEmfLogFont& f, void* logFont) {
    std::vector<uint16_t> face(U_LF_FACESIZE, 0);
    const QString name = f.FaceName.left(U_LF_FACESIZE - 1);
    std::memcpy(face.data(), name.utf16(), static_cast<std::size_t>(name.size()) * 2);
    const U_LOGFONT lf =
        logfont_set(f.Height, f.Width, f.Escapement, f.Orientation, f.Weight, f.Italic ? 1 : 0,
                    f.Underline ? 1 : 0, f.StrikeOut ? 1 : 0, U_DEFAULT_CHARSET, U_OUT_TT_PRECIS,
                    U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, f.PitchAndFamily, face.data());
    std::memcpy(logFont, &lf, sizeof lf);
}

namespace {

QFont ReferenceFontOf(const TEmfLogFont& lf) {
    QFont font;
    switch (lf.PitchAndFamily & 0xF0) {
    case U_FF_ROMAN:
        font.setStyleHint(QFont::Serif);
        break;
    case U_FF_SWISS:
        font.setStyleHint(QFont::SansSerif);
        break;
    case U_FF_MODERN:
        font.setStyleHint(QFont::TypeWriter);
        break;
    case U_FF_SCRIPT:
        font.setStyleHint(QFont::Cursive);
        break;
    case U_FF_DECORATIVE:
        font.setStyleHint(QFont::Decorative);
        break;
    default:
        break;
    }
    if ((lf.PitchAndFamily & 0x03) == U_FIXED_PITCH) {
        font.setFixedPitch(true);
        if ((lf.PitchAndFamily & 0xF0) == 0) font.setStyleHint(QFont::TypeWriter);
    }
    if (!lf.FaceName.isEmpty()) font.setFamily(lf.FaceName);
    font.setPixelSize(TEmfFontMetrics::ReferencePixelSize);
    // LOGFONT weights and Qt 6 weights share the 1..1000 scale; 0 means "don't care".
    font.setWeight(static_cast<QFont::Weight>(std::clamp(lf.Weight > 0 ? lf.Weight : 400, 1, 1000)));
    font.setItalic(lf.Italic);
    font.setUnderline(lf.Underline);
    font.setStrikeOut(lf.StrikeOut);
    font.setKerning(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

TEmfFontMetrics::TEmfFontMetrics(const TEmfLogFont& font)
    : FFont(ReferenceFontOf(font))
    , FMetrics(FFont)
    , FAscent(FMetrics.ascent())
    , FDescent(FMetrics.descent())
    , FAngle(font.Escapement / 10.0) {
    double em = DefaultEmHeight;
    if (font.Height < 0)
        em = -static_cast<double>(font.Height);
    else if (font.Height > 0 && FAscent + FDescent > 0)
        em = static_cast<double>(font.Height) * ReferencePixelSize / (FAscent + FDescent);
    FScale = em / ReferencePixelSize;
    const double average = FMetrics.averageCharWidth() * FScale;
    if (font.Width > 0 && average > 0) FStretch = font.Width / average;
}

double TEmfFontMetrics::Advance(const QString& text) const {
    return FMetrics.horizontalAdvance(text) * FScale * FStretch;
}
