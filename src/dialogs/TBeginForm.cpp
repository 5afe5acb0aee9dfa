#include "dialogs/TBeginForm.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kClientWidth = 770;
constexpr int kClientHeight = 543;

// The double blanks inside some notes are part of the texts users know; keep them.
const QString kNotes[] = {
    u"Если при подготовке данного отчета будут выявлены ошибки в отчете за предыдущий год, "
    u"необходимо сообщить об этом в сопроводительном письме к отчету"_s,
    u"Ячейки, окрашенные в серый цвет, являются недоступными для пользователя. Серые ячейки "
    u"либо не заполняются  в отчете, либо являются итоговыми и рассчитываются программой."_s,
    u"Вывод подготовленного отчета на печать может быть осуществлен только при отсутствии "
    u"ошибок"_s,
    u"Данные из раздела № 2 (Объем оказанных услуг) измеряются ТЫСЯЧАМИ РУБЛЕЙ (но не рублями "
    u"и не млн. рублей)."_s,
    u"При заполнении раздела № 2 (Объем оказанных услуг), следует иметь ввиду, что  данные по "
    u"графе №4 (за предыдущий год), впервые  были представлены в отчете за прошлый год по графе "
    u"№ 3, и они должны быть равны."_s,
    u"В разделе №3 (Характеристика организаций, в которых проведен аудит) указываются только те "
    u"организации, по которым в ОТЧЕТНОМ ГОДУ были выданы аудиторские заключения."_s,
};

} // namespace

TBeginForm::TBeginForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"TBeginForm"_s);
    setWindowTitle(u"Перед началом работы..."_s);
    setFixedSize(kClientWidth, kClientHeight);

    auto* area = new QFrame(this);
    area->setObjectName(u"Panel_Text"_s);
    area->setFrameShape(QFrame::Panel);
    area->setFrameShadow(QFrame::Sunken);
    area->setAutoFillBackground(true);
    QPalette white = area->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    area->setPalette(white);
    QFont tenPoint = area->font();
    tenPoint.setPointSize(10);
    area->setFont(tenPoint);

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(16, 16, 20, 16);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(20);
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const QString& note : kNotes) {
        auto* number = new QLabel(QString::number(row + 1) + u"."_s, area);
        number->setObjectName(u"Label_Number%1"_s.arg(row + 1));
        number->setAlignment(Qt::AlignRight | Qt::AlignTop);
        auto* text = new QLabel(note, area);
        text->setObjectName(u"Label_Note%1"_s.arg(row + 1));
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(number, row, 0, Qt::AlignTop);
        grid->addWidget(text, row, 1);
        Numbers.append(number);
        Paragraphs.append(text);
        ++row;
    }
    grid->setRowStretch(row, 1);

    Button_Close = new QPushButton(u"Закрыть"_s, this);
    Button_Close->setObjectName(u"Button_Close"_s);
    Button_Close->setDefault(true);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::reject);
    auto* bar = new QHBoxLayout;
    bar->addStretch();
    bar->addWidget(Button_Close);
    bar->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(area, 1);
    layout->addLayout(bar);
}
