#include "dialogs/TChangeYearOfRepF.h"

#include "dialogs/ShowDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A year is chosen, never typed: only the arrow buttons and the Up/Down keys step it.
class ArrowOnlySpinBox final : public QSpinBox {
public:
    explicit ArrowOnlySpinBox(QWidget* parent) : QSpinBox(parent)
    {
        lineEdit()->setReadOnly(true);
        // Plain digits whatever the user's locale, so the value reads back as year text.
        setLocale(QLocale::c());
        setGroupSeparatorShown(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            QSpinBox::keyPressEvent(event);
            return;
        default:
            // Page keys would jump by ten and text keys would edit; neither is allowed.
            event->ignore();
        }
    }
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

} // namespace

TChangeYearOfRepF::TChangeYearOfRepF(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"TChangeYearOfRepF"_s);

    Label_Instruction = new QLabel(u"Установите нужный год и нажмите кнопку    Принять"_s, this);
    Label_Instruction->setObjectName(u"Label_Instruction"_s);
    Label_Instruction->setTextFormat(Qt::PlainText);
    Label_Instruction->setAlignment(Qt::AlignCenter);

    SpinEdit_Year = new ArrowOnlySpinBox(this);
    SpinEdit_Year->setObjectName(u"SpinEdit_Year"_s);
    SpinEdit_Year->setAlignment(Qt::AlignCenter);
    SpinEdit_Year->setMinimumWidth(90);

    Button_Accept = new QPushButton(u"Принять"_s, this);
    Button_Accept->setObjectName(u"Button_Accept"_s);
    Button_Accept->setDefault(true);
    Button_Exit = new QPushButton(u"Выход"_s, this);
    Button_Exit->setObjectName(u"Button_Exit"_s);
    connect(Button_Accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button_Exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* yearRow = new QHBoxLayout;
    yearRow->addStretch();
    yearRow->addWidget(SpinEdit_Year);
    yearRow->addStretch();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Button_Accept);
    buttonRow->addSpacing(16);
    buttonRow->addWidget(Button_Exit);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(12);
    layout->addWidget(Label_Instruction);
    layout->addLayout(yearRow);
    layout->addLayout(buttonRow);
    // Fixed at the size its contents need, whatever the font.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TChangeYearOfRepF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
}
