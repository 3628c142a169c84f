#include "app/TxQuickAbout.h"

#include "platform/AppInfo.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

#include <cmath>

namespace {

constexpr int ClientWidth = 352;
constexpr int ClientHeight = 156;
constexpr int BandHeight = 32;

// The program's icon, 32 x 32: a chart frame with a saturation curve over a shaded comfort zone.
QPixmap ProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(QColor(0xF4, 0xEE, 0xE1));
    p.drawRect(QRectF(1.5, 1.5, 29, 29));
    p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
    for (int x = 8; x < 30; x += 7)
        p.drawLine(QPointF(x + 0.5, 2), QPointF(x + 0.5, 30));
    for (int y = 8; y < 30; y += 7)
        p.drawLine(QPointF(2, y + 0.5), QPointF(30, y + 0.5));
    QPainterPath curve;
    for (int i = 0; i <= 28; ++i) {
        const double x = 2 + i;
        const double y = 30 - 27 * (std::exp(i / 9.0) - 1) / (std::exp(28 / 9.0) - 1);
        if (i == 0)
            curve.moveTo(x, y);
        else
            curve.lineTo(x, y);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x9A), 2));
    p.drawPath(curve);
    p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 2));
    p.drawEllipse(QPointF(19, 21), 2.5, 2.5);
    return pixmap;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int x, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->move(x, y);
    return label;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent) {
    setObjectName("AboutForm");
    setWindowTitle("About");
    // Tool-window border with only the close box of the system menu.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);

    Image = MakeLabel(this, "Image", 8, 8);
    Image->setPixmap(ProgramIcon());
    Image->resize(32, 32);

    NameLabel = MakeLabel(this, "NameLabel", 56, 16);
    QFont large("Arial");
    large.setPixelSize(19);
    large.setBold(true);
    NameLabel->setFont(large);

    VersionLabel = MakeLabel(this, "VersionLabel", 8, 53);

    const TCompanyInfo& company = CompanyInfo();
    NoticeLabel1 = MakeLabel(this, "NoticeLabel1", 8, 88);
    NoticeLabel1->setText(
        QString::fromStdString("Copyright \u00A9 " + company.Name + ". All rights reserved."));
    NoticeLabel1->adjustSize();
    NoticeLabel2 = MakeLabel(this, "NoticeLabel2", 8, 104);
    NoticeLabel2->setText(QString::fromStdString(company.Web + "    " + company.Email));
    NoticeLabel2->adjustSize();

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, ClientHeight - BandHeight - 2, ClientWidth, 2);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(0, ClientHeight - BandHeight, ClientWidth, BandHeight);
    Panel1->setAutoFillBackground(true);
    QPalette band = Panel1->palette();
    band.setColor(QPalette::Window, band.color(QPalette::Window).darker(108));
    Panel1->setPalette(band);

    // Clicks on the contents reach the form, which closes on any of them.
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - ClientWidth) / 2, area.top() + (area.height() - ClientHeight) / 2);
    }
}

void TAboutForm::ShowProgram(const std::string& name, const std::string& version) {
    NameLabel->setText(QString::fromStdString(name));
    NameLabel->adjustSize();
    VersionLabel->setText(QString::fromStdString("Version " + version));
    VersionLabel->adjustSize();
}

void TAboutForm::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}
