// The title block in the top-left corner: the logo picture (or a placeholder box naming the file),
// the chart title, the barometer line and the maker's two footer lines.

#include "chart/ChartMath.h"
#include "chart/THygrova.h"
#include "platform/AppInfo.h"
#include "psychro/Format.h"

#include <QImage>
#include <QString>

#include <filesystem>
#include <system_error>

using ChartMath::Div;
using ChartMath::Trunc;

namespace {

// The logo in the current folder, else in the shared-files folder; empty when neither exists.
std::string FindLogo() {
    std::error_code ec;
    if (std::filesystem::is_regular_file(THygrova::LogoFileName, ec)) return THygrova::LogoFileName;
    const std::string& common = AppFolders().CommonFolder;
    if (!common.empty()) {
        const std::string path = common + THygrova::LogoFileName;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return {};
}

} // namespace

void THygrova::DrawLogo(TRect& logoRect) {
    QImage logo;
    if (const std::string path = FindLogo(); !path.empty()) logo.load(QString::fromStdString(path), "GIF");
    if (!logo.isNull() && logo.width() > 0) {
        // 80 units wide, keeping the picture's aspect ratio.
        logoRect =
            TRect{FLeft + 2, FTop + 2, FLeft + 82, FTop + 2 + Trunc(80.0 * logo.height() / logo.width())};
        FCanvas->StretchDraw(logoRect, logo);
        return;
    }
    // No readable logo: a box with the file name in it.
    logoRect = TRect{FLeft + 2, FTop + 2, FLeft + 82, FTop + 42};
    const TBrush saved = FCanvas->Brush();
    FCanvas->SetBrush(TBrush{FBackColor, TBrushStyle::bsClear});
    FCanvas->Rectangle(logoRect.Left, logoRect.Top, logoRect.Right, logoRect.Bottom);
    const QString name = QString::fromLatin1(LogoFileName);
    const int w = FCanvas->TextWidth(name);
    const int h = FCanvas->TextHeight(name);
    FCanvas->TextRect(logoRect, FLeft + Div(80 - w, 2), FTop + Div(40 - h, 2), name);
    FCanvas->SetBrush(saved);
}

void THygrova::DrawTitleBlock() {
    TRect logoRect;
    DrawLogo(logoRect);

    const int x = logoRect.Right + 15;
    const std::string title = "Korvant Psychrometric Chart";
    TFont font = FCanvas->Font();
    font.Size = FFontSizes[0];
    font.Color = FFontColors[0];
    font.Style = fsBold;
    FCanvas->SetFont(font);
    const int th = FCanvas->TextHeight(QString::fromStdString(title));
    ChartText(x, FTop + 2, title);

    font.Style = 0;
    font.Size = FFontSizes[1];
    font.Color = FFontColors[1];
    FCanvas->SetFont(font);
    ChartText(x, FTop + 2 + th, Format(FPressureUnit.Format, {FPressure * FPressureUnit.Factor}));

    UseFont(2);
    const TCompanyInfo& maker = CompanyInfo();
    const std::string maker_name = maker.Name.empty() ? std::string("Korvant") : maker.Name;
    ChartText(x, FTop + 2 + 2 * th, "Hygrova by " + maker_name);
    if (!maker.Web.empty()) ChartText(x, FTop + 14 + 2 * th, maker.Web);
}
