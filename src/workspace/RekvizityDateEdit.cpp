#include "workspace/RekvizityDateEdit.h"

#include "workspace/RekvizityInput.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

using namespace Qt::StringLiterals;

RekvizityDateEdit::RekvizityDateEdit(QWidget* parent) : QWidget(parent)
{
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(u"DBDateTimeEditEh1_Text"_s);
    m_edit->setMaxLength(10);
    m_edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(uR"(^(\d{0,8}|\d{1,2}\.\d{0,2}(\.\d{0,4})?)$)"_s), m_edit));
    m_edit->installEventFilter(this);
    m_button = new QToolButton(this);
    m_button->setObjectName(u"DBDateTimeEditEh1_Button"_s);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    layout->addStretch(1);
    setFocusProxy(m_edit);
    const int width = m_edit->fontMetrics().horizontalAdvance(u"00.00.00000"_s) + 16;
    m_edit->setFixedWidth(width);
    QObject::connect(m_button, &QToolButton::clicked, m_button, [this] { showCalendar(); });
    QObject::connect(m_edit, &QLineEdit::textEdited, m_edit, [this] {
        dirty = true;
        if (onEdited)
            onEdited();
    });
}

void RekvizityDateEdit::setText(const QString& text)
{
    if (m_edit->text() != text)
        m_edit->setText(text);
}

void RekvizityDateEdit::showCalendar()
{
    if (!isEnabled())
        return;
    auto* popup = new QCalendarWidget(this);
    popup->setObjectName(u"DBDateTimeEditEh1_Calendar"_s);
    popup->setWindowFlags(Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    popup->setFirstDayOfWeek(Qt::Monday);
    popup->setGridVisible(true);
    if (const auto d = parseTypedDate(m_edit->text()))
        popup->setSelectedDate(*d);
    const auto pick = [this, popup](QDate date) {
        popup->close();
        m_edit->setFocus(Qt::OtherFocusReason);
        if (onPicked)
            onPicked(date);
    };
    QObject::connect(popup, &QCalendarWidget::clicked, popup, pick);
    QObject::connect(popup, &QCalendarWidget::activated, popup, pick);
    popup->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.y() + popup->height() > area.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
        at.setX(
            std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - popup->width())));
    }
    popup->move(at);
    popup->show();
    popup->setFocus(Qt::PopupFocusReason);
}

bool RekvizityDateEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)) ||
            key->key() == Qt::Key_F4) {
            showCalendar();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return true;
        if (isTypedKey(key)) {
            for (QChar c : key->text()) {
                if (!c.isDigit() && c != u'.') {
                    if (beep)
                        beep();
                    return true;
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
