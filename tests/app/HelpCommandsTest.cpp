// The Help menu's commands: the help page and the e-mail enquiry reach the desktop as URLs (caught
// here by URL handlers), and the about box as a real widget with its layout, shown modally and closed
// by a mouse click.

#include "app/HelpCommands.h"
#include "app/Startup.h"
#include "app/TxQuickAbout.h"
#include "platform/AppInfo.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <vector>

class UrlCatcher : public QObject {
    Q_OBJECT

public:
    std::vector<QUrl> Urls;

public slots:
    void handle(const QUrl& url) { Urls.push_back(url); }
};

class HelpCommandsTest : public QObject {
    Q_OBJECT

private:
    UrlCatcher FCatcher;

private slots:
    void initTestCase() {
        CompanyInfo() = KorvantCompanyInfo();
        AppFolders().CommonFolder = "/opt/Korvant/Common Files/";
        QDesktopServices::setUrlHandler("file", &FCatcher, "handle");
        QDesktopServices::setUrlHandler("mailto", &FCatcher, "handle");
    }
    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler("file");
        QDesktopServices::unsetUrlHandler("mailto");
    }
    void init() { FCatcher.Urls.clear(); }

    void helpIndexOpensTheSharedHelpPage() {
        OpenHelpIndex();
        QCOMPARE(FCatcher.Urls.size(), size_t(1));
        const QUrl url = FCatcher.Urls.front();
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), QString("/opt/Korvant/Common Files/Hygrova.htm"));
        QCOMPARE(url.toString(QUrl::FullyEncoded), QString("file:///opt/Korvant/Common%20Files/Hygrova.htm"));
    }

    void enquiryMailGoesToTheMaker() {
        EmailMaker();
        QCOMPARE(FCatcher.Urls.size(), size_t(1));
        const QUrl url = FCatcher.Urls.front();
        QCOMPARE(url.toString(QUrl::FullyEncoded),
                 QString("mailto:enquiries@korvant.com?subject=Hygrova%20Enquiry"
                         "&body=Please%20assist%20me%20with%20the%20Hygrova%20program..."));
        QCOMPARE(url.path(), QString::fromStdString(CompanyInfo().Email));
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue("subject", QUrl::FullyDecoded), QString("Hygrova Enquiry"));
        QCOMPARE(query.queryItemValue("body", QUrl::FullyDecoded),
                 QString("Please assist me with the Hygrova program..."));
    }

    void enquiryEncodesAnUnusualAddress() {
        const std::string saved = CompanyInfo().Email;
        CompanyInfo().Email = "sales+hvac&co@korvant.com";
        const QUrl url = MakerEmailUrl();
        CompanyInfo().Email = saved;
        QVERIFY(url.isValid());
        QCOMPARE(url.path(QUrl::FullyDecoded), QString("sales+hvac&co@korvant.com"));
        QVERIFY(url.toString(QUrl::FullyEncoded).startsWith("mailto:sales%2Bhvac%26co@korvant.com?subject="));
    }

    void aboutBoxLayout() {
        TAboutForm form;
        form.ShowProgram("Hygrova", "2.0.4.0");
        QCOMPARE(form.windowTitle(), QString("About"));
        QCOMPARE(form.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.size(), QSize(352, 156));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(form.pos(),
                 QPoint(area.left() + (area.width() - 352) / 2, area.top() + (area.height() - 156) / 2));

        QCOMPARE(form.Image->pos(), QPoint(8, 8));
        QVERIFY(!form.Image->pixmap().isNull());
        QCOMPARE(form.NameLabel->pos(), QPoint(56, 16));
        QCOMPARE(form.NameLabel->font().pixelSize(), 19);
        QCOMPARE(form.NameLabel->text(), QString("Hygrova"));
        QCOMPARE(form.VersionLabel->pos(), QPoint(8, 53));
        QCOMPARE(form.VersionLabel->text(), QString("Version 2.0.4.0"));
        QCOMPARE(form.NoticeLabel1->pos(), QPoint(8, 88));
        QCOMPARE(form.NoticeLabel2->pos(), QPoint(8, 104));
        QVERIFY(form.NoticeLabel1->text().contains("Korvant"));
        QVERIFY(form.NoticeLabel2->text().contains(QString::fromStdString(CompanyInfo().Email)));
        // The line lies just above the 32-pixel band along the bottom.
        QCOMPARE(form.Panel1->geometry(), QRect(0, 124, 352, 32));
        QCOMPARE(form.Bevel1->frameShape(), QFrame::HLine);
        QCOMPARE(form.Bevel1->geometry().bottom() + 1, form.Panel1->geometry().top());
        // Nothing of the contents sticks out of the form.
        for (const QWidget* w : form.findChildren<QWidget*>())
            QVERIFY2(form.rect().contains(w->geometry()), qPrintable(w->objectName()));
    }

    void aboutBoxShowsTheProgramAndClosesOnAClick_data() {
        QTest::addColumn<QPoint>("where");
        QTest::newRow("on the band") << QPoint(300, 140);
        QTest::newRow("on the name") << QPoint(70, 24);
        QTest::newRow("on the image") << QPoint(12, 12);
    }
    void aboutBoxShowsTheProgramAndClosesOnAClick() {
        QFETCH(QPoint, where);
        QString name, version;
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
            if (!form) return;
            name = form->NameLabel->text();
            version = form->VersionLabel->text();
            QTest::mouseClick(form, Qt::LeftButton, {}, where);
            clicked = true;
        });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        QObject::connect(&failsafe, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
        failsafe.start(5000);
        ShowAboutBox(nullptr);
        QVERIFY(clicked);
        QVERIFY(failsafe.isActive()); // closed by the click, not by the fail-safe
        QCOMPARE(name, QString("Hygrova"));
        QCOMPARE(version, QString("Version 2.0.4.0"));
    }
};

QTEST_MAIN(HelpCommandsTest)
#include "HelpCommandsTest.moc"
