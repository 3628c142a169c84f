// The title block: logo lookup (current folder, then the shared folder), the placeholder box, and
// the title, barometer and footer lines.

#include "ChartTestSupport.h"

#include "platform/AppInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const ::testing::Environment* const QtEnv = ::testing::AddGlobalTestEnvironment(new QtGuiEnvironment);

// Runs each test in an empty current folder with an empty shared folder, restoring both after.
class ChartTitle : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FWork.isValid() && FCommon.isValid());
        FOldDir = QDir::currentPath();
        FOldCommon = AppFolders().CommonFolder;
        QDir::setCurrent(FWork.path());
        AppFolders().CommonFolder = FCommon.path().toStdString() + "/";
    }
    void TearDown() override {
        QDir::setCurrent(FOldDir);
        AppFolders().CommonFolder = FOldCommon;
    }
    static void CopyLogo(const QString& folder) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(HYG_SOURCE_DATA "/ChartLogo.gif"), folder + "/ChartLogo.gif"));
    }
    static void WriteJunk(const QString& folder) {
        QFile f(folder + "/ChartLogo.gif");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a picture");
    }
    QTemporaryDir FWork;
    QTemporaryDir FCommon;
    QString FOldDir;
    std::string FOldCommon;
};

void ExpectPlaceholder(const RecordingCanvas& canvas, const TRect& page) {
    const TRect box{page.Left + 2, page.Top + 2, page.Left + 82, page.Top + 42};
    const auto rects = canvas.CallsOf(TCanvasOp::coRectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].Args, (std::vector<int>{box.Left, box.Top, box.Right, box.Bottom}));
    EXPECT_EQ(rects[0].Brush, (TBrush{clWhite, TBrushStyle::bsClear})) << "a transparent box";
    const TCanvasCall* text = canvas.FindText(QStringLiteral("ChartLogo.gif"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Op, TCanvasOp::coTextRect);
    EXPECT_EQ(text->Rect, box) << "clipped into the box";
    const int w = RecordingCanvas::TextWidthOf(text->Font, text->Text);
    const int h = RecordingCanvas::TextHeightOf(text->Font);
    EXPECT_EQ(text->Args, (std::vector<int>{page.Left + (80 - w) / 2, page.Top + (40 - h) / 2}));
    EXPECT_EQ(text->Brush.Style, TBrushStyle::bsClear);
    EXPECT_TRUE(canvas.CallsOf(TCanvasOp::coStretchDraw).empty());
    // The brush is restored for the title lines.
    const TCanvasCall* title = canvas.FindText(QStringLiteral("Korvant Psychrometric Chart"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Brush, (TBrush{clWhite, TBrushStyle::bsSolid}));
}

TEST_F(ChartTitle, WithoutALogoAPlaceholderBoxNamesTheFile) {
    TChartOnRecorder t;
    t.Redraw();
    ExpectPlaceholder(t.Canvas, TestPage);
}

TEST_F(ChartTitle, AnUnreadableLogoShowsThePlaceholderAndKeepsTheTitle) {
    WriteJunk(FWork.path());
    TChartOnRecorder t;
    t.Redraw();
    ExpectPlaceholder(t.Canvas, TestPage);
    EXPECT_NE(t.Canvas.FindText(QStringLiteral("Barometer 101.325 kPa")), nullptr);
}

TEST_F(ChartTitle, LogoIsStretchedToEightyUnitsKeepingItsAspect) {
    struct {
        const char* Where;
        bool InCurrentFolder;
        bool JunkInShared;
    } const cases[] = {{"shared folder", false, false}, {"current folder first", true, true}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Where);
        QDir(FWork.path()).remove(QStringLiteral("ChartLogo.gif"));
        QDir(FCommon.path()).remove(QStringLiteral("ChartLogo.gif"));
        CopyLogo(k.InCurrentFolder ? FWork.path() : FCommon.path());
        if (k.JunkInShared) WriteJunk(FCommon.path());
        const TRect page{30, 40, 1030, 740};
        TChartOnRecorder t(page);
        t.Redraw();
        const auto draws = t.Canvas.CallsOf(TCanvasOp::coStretchDraw);
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0].PictureSize, QSize(160, 80));
        EXPECT_EQ(draws[0].Rect, (TRect{32, 42, 112, 82})); // 80 wide, 80 · 80 / 160 = 40 high
        EXPECT_TRUE(t.Canvas.CallsOf(TCanvasOp::coRectangle).empty());
        // The title lines start 15 units right of the logo.
        const TCanvasCall* title = t.Canvas.FindText(QStringLiteral("Korvant Psychrometric Chart"));
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->Args, (std::vector<int>{112 + 15, 42}));
    }
}

TEST_F(ChartTitle, TitleBarometerAndFooterLines) {
    const TCompanyInfo oldInfo = CompanyInfo();
    CompanyInfo().Name = "Korvant";
    CompanyInfo().Web = "www.korvant.example";
    TChartOnRecorder t;
    t.Chart.SetChartRange(TChartRange{-5, 0, 45, 0.03}, 95);
    t.Redraw();
    CompanyInfo() = oldInfo;

    const TCanvasCall* title = t.Canvas.FindText(QStringLiteral("Korvant Psychrometric Chart"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Font.Size, 11);
    EXPECT_EQ(title->Font.Style, static_cast<unsigned>(fsBold));
    EXPECT_EQ(title->Font.Color, RGBColor(128, 128, 128));
    const int x = 82 + 15;
    const int th = RecordingCanvas::TextHeightOf(title->Font);
    EXPECT_EQ(title->Args, (std::vector<int>{x, 2}));

    const TCanvasCall* barometer = t.Canvas.FindText(QStringLiteral("Barometer 95.000 kPa"));
    ASSERT_NE(barometer, nullptr);
    EXPECT_EQ(barometer->Args, (std::vector<int>{x, 2 + th}));
    EXPECT_EQ(barometer->Font.Size, 10);
    EXPECT_EQ(barometer->Font.Style, 0u);

    const TCanvasCall* web = t.Canvas.FindText(QStringLiteral("www.korvant.example"));
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->Args, (std::vector<int>{x, 14 + 2 * th}));
    EXPECT_EQ(web->Font.Size, 8);
    const auto texts = t.Canvas.Texts();
    const auto it = std::find_if(texts.begin(), texts.end(), [&](const TCanvasCall& c) {
        return c.Args == std::vector<int>{x, 2 + 2 * th};
    });
    ASSERT_NE(it, texts.end()) << "first footer line";
    EXPECT_NE(it->Text.indexOf(QStringLiteral("Korvant")), -1);
}

} // namespace
