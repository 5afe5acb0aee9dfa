#include "dialogs/TAboutF.h"

#include "dialogs/ShowDialog.h"
#include "model/UrlOpener.h"
#include "output/MailSubmission.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kClientWidth = 312;
constexpr int kClientHeight = 348;
constexpr int kStripHeight = 67;
constexpr int kLeftPictureWidth = 122;
constexpr int kTitleBandHeight = 70;

const QColor kInk(0x2f, 0x4a, 0x6d);
const QColor kPaper(0xf7, 0xf4, 0xea);
const QColor kSage(0x8f, 0xb3, 0x9a);

// A ledger with a ticked line: what the program checks.
QPixmap ledgerPicture(int width, int height)
{
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(0xdc, 0xe8, 0xf0));
    sky.setColorAt(1, QColor(0xb8, 0xcd, 0xdc));
    p.fillRect(pixmap.rect(), sky);

    const QRectF sheet(width * 0.28, height * 0.12, width * 0.44, height * 0.78);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRoundedRect(sheet, 3, 3);
    p.setPen(QPen(kInk.lighter(160), 1));
    for (int i = 1; i <= 5; ++i) {
        const qreal y = sheet.top() + sheet.height() * i / 6.5;
        p.drawLine(QPointF(sheet.left() + 6, y), QPointF(sheet.right() - 6, y));
    }
    p.drawLine(QPointF(sheet.left() + sheet.width() * 0.55, sheet.top() + 4),
               QPointF(sheet.left() + sheet.width() * 0.55, sheet.bottom() - 4));

    // A check mark over the corner of the sheet.
    QPainterPath tick;
    tick.moveTo(sheet.right() - 14, sheet.bottom() - 14);
    tick.lineTo(sheet.right() - 6, sheet.bottom() - 6);
    tick.lineTo(sheet.right() + 10, sheet.bottom() - 26);
    p.setPen(QPen(QColor(0x3c, 0x8d, 0x5a), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    return pixmap;
}

// A calm title band with the form's number.
QPixmap titlePicture(int width, int height)
{
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, QColor(0xb8, 0xcd, 0xdc));
    band.setColorAt(1, kInk);
    p.fillRect(pixmap.rect(), band);
    p.fillRect(QRectF(0, height - 6, width, 6), kSage);

    QFont font(u"Arial"_s);
    font.setBold(true);
    font.setPixelSize(height / 3);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, width - 12, height - 6), Qt::AlignRight | Qt::AlignVCenter,
               u"2-аудит"_s);
    return pixmap;
}

QLabel* centredLine(const QString& text, bool bold, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QLabel* linkLabel(const QString& name, const QString& hint, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setToolTip(hint);
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    return label;
}

QHBoxLayout* linkRow(QLabel* caption, QLabel* link)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addStretch();
    row->addWidget(caption);
    row->addWidget(link);
    row->addStretch();
    return row;
}

} // namespace

QString applicationTitle()
{
    return u"Подготовка и контроль данных отчёта об аудиторской деятельности (форма 2-аудит)"_s;
}

QString GetFileVersionText()
{
    return QStringLiteral(FORM2AUDIT_VERSION);
}

QString TAboutF::supportEmail()
{
    return u"support2audit@minfin.ru"_s;
}
QString TAboutF::webSite()
{
    return u"https://minfin.gov.ru"_s;
}
QString TAboutF::mailSubject()
{
    return kMailSubject;
}

TAboutF::TAboutF(UrlOpener& urls, QWidget* parent) : QDialog(parent), m_urls(urls)
{
    setObjectName(u"TAboutF"_s);
    setFixedSize(kClientWidth, kClientHeight);
    // Qt falls back to the closest available face when Arial is not installed.
    QFont arial = font();
    arial.setFamilies({u"Arial"_s});
    setFont(arial);

    Image1 = new QLabel(this);
    Image1->setObjectName(u"Image1"_s);
    Image1->setFixedSize(kLeftPictureWidth, kStripHeight);
    Image1->setScaledContents(true);
    Image1->setPixmap(ledgerPicture(kLeftPictureWidth, kStripHeight));
    Image2 = new QLabel(this);
    Image2->setObjectName(u"Image2"_s);
    Image2->setFixedHeight(kStripHeight);
    Image2->setScaledContents(true);
    Image2->setPixmap(titlePicture(kClientWidth - kLeftPictureWidth, kStripHeight));
    auto* strip = new QHBoxLayout;
    strip->setSpacing(0);
    strip->addWidget(Image1);
    strip->addWidget(Image2, 1);

    ApplicationName = new QLabel(this);
    ApplicationName->setObjectName(u"ApplicationName"_s);
    ApplicationName->setTextFormat(Qt::PlainText);
    ApplicationName->setAlignment(Qt::AlignCenter);
    ApplicationName->setWordWrap(true);
    ApplicationName->setFixedHeight(kTitleBandHeight);
    QFont titleFont = ApplicationName->font();
    titleFont.setBold(true);
    titleFont.setPointSize(12);
    ApplicationName->setFont(titleFont);

    Version = centredLine(QString(), false, this);
    Version->setObjectName(u"Version"_s);

    Label_Internet = new QLabel(u"Интернет:"_s, this);
    Label_Internet->setObjectName(u"Label_Internet"_s);
    Label8 = linkLabel(u"Label8"_s, u"Посетить сайт"_s, this);
    Label_Email = new QLabel(u"E-mail:"_s, this);
    Label_Email->setObjectName(u"Label_Email"_s);
    Label4 = linkLabel(u"Label4"_s, u"Написать письмо"_s, this);
    Label4->installEventFilter(this);
    Label8->installEventFilter(this);
    // The web-site row is not offered in this build.
    Label_Internet->hide();
    Label8->hide();

    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 4, 8, 4);
    body->setSpacing(4);
    body->addWidget(ApplicationName);
    body->addWidget(Version);
    body->addSpacing(8);
    body->addWidget(centredLine(u"Служба поддержки пользователей"_s, true, this));
    body->addWidget(centredLine(u"программы подготовки отчёта 2-аудит"_s, false, this));
    body->addLayout(linkRow(Label_Internet, Label8));
    body->addLayout(linkRow(Label_Email, Label4));
    body->addWidget(centredLine(u"Вопросы о заполнении формы"_s, false, this));
    body->addWidget(centredLine(u"присылайте по электронной почте"_s, false, this));
    body->addStretch();

    Button_Close = new QPushButton(u"Закрыть"_s, this);
    Button_Close->setObjectName(u"Button_Close"_s);
    Button_Close->setDefault(true);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bar = new QFrame(this);
    bar->setObjectName(u"Panel_Bottom"_s);
    bar->setFrameShape(QFrame::StyledPanel);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(6, 6, 6, 6);
    barLayout->addStretch();
    barLayout->addWidget(Button_Close);
    barLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(strip);
    layout->addLayout(body, 1);
    layout->addWidget(bar);

    FormCreate();
    FormActivate();
}

void TAboutF::FormCreate()
{
    Label4->setText(u" "_s + supportEmail());
    Label8->setText(u" "_s + webSite());
}

void TAboutF::FormActivate()
{
    Version->setText(u"версия "_s + GetFileVersionText());
    ApplicationName->setText(applicationTitle());
}

void TAboutF::Label4Click()
{
    const QString address = Label4->text().trimmed();
    // An empty body still ends the link with "&body=".
    const QUrl url =
        QUrl::fromEncoded(MailToLink(address, mailSubject(), QString()), QUrl::StrictMode);
    // A desktop that cannot open the link says nothing: the address is on screen anyway.
    m_urls.open(url);
}

void TAboutF::Label8Click()
{
    m_urls.open(QUrl::fromUserInput(Label8->text().trimmed()));
}

void TAboutF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
    FormActivate();
}

bool TAboutF::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label4) {
            Label4Click();
            return true;
        }
        if (watched == Label8) {
            Label8Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
