#include "dialogs/ChangeYearDialog.h"
#include "dialogs/ShowDialog.h"
#include "dialogs/TAboutF.h"
#include "dialogs/TBeginForm.h"
#include "dialogs/TChangeYearOfRepF.h"
#include "model/Clock.h"
#include "model/FixedClock.h"
#include "support/RecordingUrls.h"
#include "support/ScriptedMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTimer>
#include <QUrlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Installs a dialog runner for one test and puts the previous one back.
struct RunnerScope {
    explicit RunnerScope(DialogRunner runner) : previous(setDialogRunner(std::move(runner))) {}
    ~RunnerScope() { setDialogRunner(previous); }
    DialogRunner previous;
};

enum class Closer { Accept, Exit, CloseBox, Escape };

// One showing of the year dialog: arrow presses (negative = down), then how it closes.
struct Step {
    int arrows = 0;
    Closer closer = Closer::Accept;
};

void pressArrows(QSpinBox* spin, int arrows)
{
    for (int i = 0; i < qAbs(arrows); ++i)
        QTest::keyClick(spin, arrows > 0 ? Qt::Key_Up : Qt::Key_Down);
}

void closeWith(QDialog& dialog, QPushButton* accept, QPushButton* exit, Closer closer)
{
    switch (closer) {
    case Closer::Accept:
        QTest::mouseClick(accept, Qt::LeftButton);
        break;
    case Closer::Exit:
        QTest::mouseClick(exit, Qt::LeftButton);
        break;
    case Closer::CloseBox:
        dialog.close();
        break;
    case Closer::Escape:
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    }
}

QPoint spinArrowCentre(QSpinBox* spin, QStyle::SubControl arrow)
{
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.buttonSymbols = spin->buttonSymbols();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    return spin->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, spin).center();
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Closer)

class DialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void yearStaysWithinLimits_data();
    void yearStaysWithinLimits();
    void yearTypingRefused_data();
    void yearTypingRefused();
    void yearDialogAnswers_data();
    void yearDialogAnswers();
    void yearDialogRunsModally();

    void aboutShowsTitleAndVersion();
    void aboutMailLink_data();
    void aboutMailLink();

    void instructionsTexts_data();
    void instructionsTexts();
    void dialogsClose_data();
    void dialogsClose();
    void showDialogUsesApplicationIcon();
};

void DialogsTest::yearStaysWithinLimits_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("arrows");
    QTest::addColumn<QString>("expected");

    QTest::newRow("up stops at this calendar year")
        << QDate(2024, 3, 1) << u"2022"_s << 5 << u"2024"_s;
    QTest::newRow("December still this year") << QDate(2015, 12, 31) << u"2015"_s << 1 << u"2015"_s;
    QTest::newRow("down stops at 2007") << QDate(2024, 11, 5) << u"2009"_s << -4 << u"2007"_s;
    QTest::newRow("free steps inside") << QDate(2030, 1, 1) << u"2020"_s << -3 << u"2017"_s;
}

void DialogsTest::yearStaysWithinLimits()
{
    QFETCH(QDate, today);
    QFETCH(QString, current);
    QFETCH(int, arrows);
    QFETCH(QString, expected);

    FixedClock clock(today);
    ScriptedMessages boxes;
    int minimum = 0, maximum = 0;
    const ChangeYearResult result = ChangeYearDialog(
        u"Изменить отчётный год"_s, current, clock, boxes, nullptr, [&](TChangeYearOfRepF& d) {
            d.show();
            minimum = d.SpinEdit_Year->minimum();
            maximum = d.SpinEdit_Year->maximum();
            pressArrows(d.SpinEdit_Year, arrows);
            closeWith(d, d.Button_Accept, d.Button_Exit, Closer::Accept);
            return d.result();
        });

    QCOMPARE(minimum, 2007);
    QCOMPARE(maximum, today.year());
    QCOMPARE(result.accepted, expected != current);
    QCOMPARE(result.year, expected != current ? expected : QString());
    QVERIFY(boxes.questions.isEmpty());
}

void DialogsTest::yearTypingRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    QTest::newRow("digits") << u"2010"_s << 0 << 0;
    QTest::newRow("letters") << u"год"_s << 0 << 0;
    QTest::newRow("backspace") << QString() << int(Qt::Key_Backspace) << 0;
    QTest::newRow("delete") << QString() << int(Qt::Key_Delete) << 0;
    QTest::newRow("page up jumps") << QString() << int(Qt::Key_PageUp) << 0;
    QTest::newRow("page down jumps") << QString() << int(Qt::Key_PageDown) << 0;
    QTest::newRow("paste") << QString() << int(Qt::Key_V) << int(Qt::ControlModifier);
}

void DialogsTest::yearTypingRefused()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, modifiers);

    QGuiApplication::clipboard()->setText(u"2011"_s);
    TChangeYearOfRepF dialog;
    QSpinBox* spin = dialog.SpinEdit_Year;
    spin->setRange(2007, 2024);
    spin->setValue(2015);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);

    if (!typed.isEmpty()) {
        // Sent with their text so non-Latin letters arrive as a keyboard would send them.
        for (const QChar c : std::as_const(typed)) {
            const Qt::Key code =
                c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, spin, code, QString(c), Qt::NoModifier);
        }
    } else
        QTest::keyClick(spin, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(spin->value(), 2015);
    QCOMPARE(spin->text(), u"2015"_s);
    // The arrow buttons still step the year after the refused input.
    QTest::mouseClick(spin, Qt::LeftButton, {}, spinArrowCentre(spin, QStyle::SC_SpinBoxDown));
    QCOMPARE(spin->text(), u"2014"_s);
    QTest::mouseClick(spin, Qt::LeftButton, {}, spinArrowCentre(spin, QStyle::SC_SpinBoxUp));
    QTest::mouseClick(spin, Qt::LeftButton, {}, spinArrowCentre(spin, QStyle::SC_SpinBoxUp));
    QCOMPARE(spin->text(), u"2016"_s);
}

void DialogsTest::yearDialogAnswers_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QStringList>("shownYears");
    QTest::addColumn<QStringList>("questions");

    const auto ask = [](const QString& was, const QString& now) -> QString {
        return u"Вы поменяли отчётный год\n\rБыл "_s + was + u"\n\rСтал "_s + now +
               u"\n\rХотите выйти без установки нового отчётного года"_s;
    };
    using L = QList<Step>;
    QTest::newRow("accept unchanged") << L{{0, Closer::Accept}} << QList<bool>{} << false
                                      << QString() << QStringList{u"2023"_s} << QStringList{};
    QTest::newRow("exit unchanged") << L{{0, Closer::Exit}} << QList<bool>{} << false << QString()
                                    << QStringList{u"2023"_s} << QStringList{};
    QTest::newRow("exit, no, back to the year, accept")
        << L{{-2, Closer::Exit}, {2, Closer::Accept}} << QList<bool>{false} << false << QString()
        << QStringList{u"2023"_s, u"2021"_s} << QStringList{ask(u"2023"_s, u"2021"_s)};
    QTest::newRow("changed, accept") << L{{-2, Closer::Accept}} << QList<bool>{} << true
                                     << u"2021"_s << QStringList{u"2023"_s} << QStringList{};
    QTest::newRow("changed, exit, yes")
        << L{{-1, Closer::Exit}} << QList<bool>{true} << false << QString()
        << QStringList{u"2023"_s} << QStringList{ask(u"2023"_s, u"2022"_s)};
    QTest::newRow("changed, exit, no, accept")
        << L{{-1, Closer::Exit}, {0, Closer::Accept}} << QList<bool>{false} << true << u"2022"_s
        << QStringList{u"2023"_s, u"2022"_s} << QStringList{ask(u"2023"_s, u"2022"_s)};
    QTest::newRow("close box, no, change more, escape, yes")
        << L{{1, Closer::CloseBox}, {-3, Closer::Escape}} << QList<bool>{false, true} << false
        << QString() << QStringList{u"2023"_s, u"2024"_s}
        << QStringList{ask(u"2023"_s, u"2024"_s), ask(u"2023"_s, u"2021"_s)};
    QTest::newRow("exit, no, back to the year, exit")
        << L{{-1, Closer::Exit}, {1, Closer::Exit}} << QList<bool>{false} << false << QString()
        << QStringList{u"2023"_s, u"2022"_s} << QStringList{ask(u"2023"_s, u"2022"_s)};
}

void DialogsTest::yearDialogAnswers()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, accepted);
    QFETCH(QString, year);
    QFETCH(QStringList, shownYears);
    QFETCH(QStringList, questions);

    FixedClock clock(QDate(2024, 10, 1));
    ScriptedMessages boxes;
    boxes.answers = answers;
    QStringList shown;
    QStringList titles;
    const ChangeYearResult result = ChangeYearDialog(
        u"Изменить отчётный год"_s, u"2023"_s, clock, boxes, nullptr, [&](TChangeYearOfRepF& d) {
            if (shown.size() >= steps.size())
                return int(QDialog::Rejected); // shown more often than scripted
            const Step step = steps.at(shown.size());
            d.show();
            shown << d.SpinEdit_Year->text();
            titles << d.windowTitle();
            pressArrows(d.SpinEdit_Year, step.arrows);
            closeWith(d, d.Button_Accept, d.Button_Exit, step.closer);
            return d.result();
        });

    QCOMPARE(result.accepted, accepted);
    QCOMPARE(result.year, year);
    QCOMPARE(shown, shownYears);
    QCOMPARE(boxes.questions, questions);
    for (const QString& caption : std::as_const(boxes.questionCaptions))
        QCOMPARE(caption, u"Предупреждение"_s);
    for (const QString& title : std::as_const(titles))
        QCOMPARE(title, u"Изменить отчётный год"_s);
}

void DialogsTest::yearDialogRunsModally()
{
    FixedClock clock(QDate(2024, 10, 1));
    ScriptedMessages boxes;
    bool focusOnYear = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<TChangeYearOfRepF*>(QApplication::activeModalWidget());
        QVERIFY(d != nullptr);
        focusOnYear = d->focusWidget() == d->SpinEdit_Year;
        QTest::keyClick(d->SpinEdit_Year, Qt::Key_Up);
        // Enter in the year field presses the default button.
        QTest::keyClick(d->SpinEdit_Year, Qt::Key_Return);
    });
    const ChangeYearResult result =
        ChangeYearDialog(u"Изменить отчётный год"_s, u"2023"_s, clock, boxes, nullptr);
    QVERIFY(focusOnYear);
    QVERIFY(result.accepted);
    QCOMPARE(result.year, u"2024"_s);
}

void DialogsTest::aboutShowsTitleAndVersion()
{
    RecordingUrls opener;
    TAboutF about(opener);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    QCOMPARE(about.size(), QSize(312, 348));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QCOMPARE(about.ApplicationName->text(),
             u"Подготовка и контроль данных отчёта об аудиторской деятельности (форма 2-аудит)"_s);
    QCOMPARE(about.Version->text(), u"версия 1.9.1.8"_s);
    // The wrapped title must fit its band, the links must fit the window.
    QVERIFY(about.ApplicationName->heightForWidth(about.ApplicationName->width()) <=
            about.ApplicationName->height());
    QVERIFY(about.Label4->isVisible());
    QVERIFY(about.rect().contains(about.Label4->geometry().translated(
        about.Label4->parentWidget()->mapTo(&about, QPoint()))));
    QVERIFY(about.Label4->width() >= about.Label4->sizeHint().width());
    QVERIFY(!about.Label8->isVisible());
    QVERIFY(!about.Label_Internet->isVisible());
    QVERIFY(opener.opened.isEmpty());
}

void DialogsTest::aboutMailLink_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("openerSucceeds");

    QTest::newRow("as built") << QString() << true;
    QTest::newRow("no leading space") << u"help@example.org"_s << true;
    QTest::newRow("blanks around") << u"   help@example.org  "_s << false;
}

void DialogsTest::aboutMailLink()
{
    QFETCH(QString, caption);
    QFETCH(bool, openerSucceeds);

    RecordingUrls opener;
    opener.succeed = openerSucceeds;
    TAboutF about(opener);
    about.show();
    if (!caption.isEmpty())
        about.Label4->setText(caption);
    const QString address = about.Label4->text().trimmed();

    QTest::mouseClick(about.Label4, Qt::RightButton);
    QVERIFY(opener.opened.isEmpty());
    QTest::mouseClick(about.Label4, Qt::LeftButton);

    QCOMPARE(opener.opened.size(), 1);
    // What the mail client receives: the encoded link, read back as a client would.
    const QByteArray encoded = opener.opened.first().toEncoded();
    QVERIFY(!encoded.contains(' '));
    QVERIFY(encoded.endsWith("&body="));
    const QUrl url = QUrl::fromEncoded(encoded, QUrl::StrictMode);
    QCOMPARE(url.scheme(), u"mailto"_s);
    QCOMPARE(url.path(), address);
    const QUrlQuery query(url);
    QCOMPARE(query.queryItemValue(u"subject"_s, QUrl::FullyDecoded), u"Отчёт по форме № 2-аудит"_s);
    QVERIFY(query.hasQueryItem(u"body"_s));
    QVERIFY(query.queryItemValue(u"body"_s).isEmpty());
    QVERIFY(about.isVisible()); // a failed open changes nothing
}

void DialogsTest::instructionsTexts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    const QStringList notes = {
        u"Если при подготовке данного отчета будут выявлены ошибки в отчете за предыдущий год, необходимо сообщить об этом в сопроводительном письме к отчету"_s,
        u"Ячейки, окрашенные в серый цвет, являются недоступными для пользователя. Серые ячейки либо не заполняются  в отчете, либо являются итоговыми и рассчитываются программой."_s,
        u"Вывод подготовленного отчета на печать может быть осуществлен только при отсутствии ошибок"_s,
        u"Данные из раздела № 2 (Объем оказанных услуг) измеряются ТЫСЯЧАМИ РУБЛЕЙ (но не рублями и не млн. рублей)."_s,
        u"При заполнении раздела № 2 (Объем оказанных услуг), следует иметь ввиду, что  данные по графе №4 (за предыдущий год), впервые  были представлены в отчете за прошлый год по графе № 3, и они должны быть равны."_s,
        u"В разделе №3 (Характеристика организаций, в которых проведен аудит) указываются только те организации, по которым в ОТЧЕТНОМ ГОДУ были выданы аудиторские заключения."_s,
    };
    for (int i = 0; i < notes.size(); ++i)
        QTest::addRow("note %d", i + 1) << i << notes.at(i);
}

void DialogsTest::instructionsTexts()
{
    QFETCH(int, index);
    QFETCH(QString, text);

    TBeginForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(770, 543));
    QCOMPARE(form.windowTitle(), u"Перед началом работы..."_s);
    QCOMPARE(form.Paragraphs.size(), 6);
    QCOMPARE(form.Numbers.size(), 6);

    QLabel* paragraph = form.Paragraphs.at(index);
    QLabel* number = form.Numbers.at(index);
    QCOMPARE(number->text(), QString::number(index + 1) + u"."_s);
    QCOMPARE(paragraph->text(), text);
    QCOMPARE(paragraph->font().pointSize(), 10);
    // Numbers sit left of their text, at its top; the wrapped text is shown whole.
    QVERIFY(number->geometry().right() < paragraph->geometry().left());
    QCOMPARE(number->geometry().top(), paragraph->geometry().top());
    QVERIFY(paragraph->height() >= paragraph->heightForWidth(paragraph->width()));
    QVERIFY(paragraph->parentWidget()->rect().contains(paragraph->geometry()));
    if (index > 0)
        QVERIFY(paragraph->geometry().top() > form.Paragraphs.at(index - 1)->geometry().bottom());
}

void DialogsTest::dialogsClose_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Closer>("closer");

    for (const QString& kind : {u"about"_s, u"instructions"_s}) {
        QTest::addRow("%s, button", qPrintable(kind)) << kind << Closer::Exit;
        QTest::addRow("%s, close box", qPrintable(kind)) << kind << Closer::CloseBox;
        QTest::addRow("%s, escape", qPrintable(kind)) << kind << Closer::Escape;
    }
}

void DialogsTest::dialogsClose()
{
    QFETCH(QString, kind);
    QFETCH(Closer, closer);

    RecordingUrls opener;
    int result = -1;
    QString title;
    QString buttonText;
    RunnerScope scope([&](QDialog& dialog) {
        dialog.show();
        title = dialog.windowTitle();
        auto* close = dialog.findChild<QPushButton*>(u"Button_Close"_s);
        if (close == nullptr)
            return -1;
        buttonText = close->text();
        closeWith(dialog, nullptr, close, closer);
        result = dialog.result();
        return result;
    });

    const bool answer = kind == u"about"_s
                            ? ShowDialog<TAboutF>(u"О программе"_s, nullptr, opener)
                            : ShowDialog<TBeginForm>(u"Перед началом работы..."_s, nullptr);
    QVERIFY(!answer);
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(buttonText, u"Закрыть"_s);
    QCOMPARE(title, kind == u"about"_s ? u"О программе"_s : u"Перед началом работы..."_s);
    QVERIFY(opener.opened.isEmpty());
}

void DialogsTest::showDialogUsesApplicationIcon()
{
    QPixmap appPicture(16, 16);
    appPicture.fill(Qt::darkGreen);
    QApplication::setWindowIcon(QIcon(appPicture));
    QPixmap ownPicture(16, 16);
    ownPicture.fill(Qt::red);

    QDialog dialog;
    dialog.setWindowIcon(QIcon(ownPicture));
    QString title;
    qint64 shownIcon = 0;
    RunnerScope scope([&](QDialog& d) {
        title = d.windowTitle();
        d.show();
        // The icon the window system is given.
        shownIcon = d.windowHandle()->icon().cacheKey();
        d.accept();
        return d.result();
    });
    QVERIFY(ShowDialog(dialog, u"Заголовок"_s));
    QCOMPARE(title, u"Заголовок"_s);
    QCOMPARE(shownIcon, QApplication::windowIcon().cacheKey());
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
