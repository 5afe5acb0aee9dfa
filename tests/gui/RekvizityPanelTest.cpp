#include "workspace/RekvizityPanel.h"
#include "model/DataSet.h"
#include "model/FormTables.h"
#include "platform/KeyboardLayout.h"
#include "workspace/GuiErrors.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

class FakeKeyboard final : public KeyboardLayout {
public:
    void activate(const QString& layoutId) override { calls << layoutId; }
    QStringList calls;
};

} // namespace

class RekvizityPanelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void rowsShowCaptionBesideEditor_data();
    void rowsShowCaptionBesideEditor();
    void tabMovesTopToBottom();
    void legalEntitySwitch_data();
    void legalEntitySwitch();
    void copyOnLeaving_data();
    void copyOnLeaving();
    void copyNeedsAChange();
    void emailSwitchesLayout();
    void typing_data();
    void typing();
    void postWiring_data();
    void postWiring();
    void okudIsReadOnly();
    void dateEditor_data();
    void dateEditor();
    void dateFromCalendar();
    void maxLength_data();
    void maxLength();
    void pasteRules_data();
    void pasteRules();
    void followsTableAndFocusRequests();
    void regionCombo();
    void captionColumnDrags();

private:
    QPlainTextEdit* memo(const QString& name) const
    {
        auto* w = m_panel->findChild<QPlainTextEdit*>(name);
        if (!w)
            qFatal("no editor %s", qPrintable(name));
        return w;
    }
    QWidget* focusTarget(const QString& name) const
    {
        if (name == u"DBDateTimeEditEh1"_s)
            return dateLine();
        return m_panel->findChild<QWidget*>(name);
    }
    QLineEdit* dateLine() const
    {
        return m_panel->findChild<QLineEdit*>(u"DBDateTimeEditEh1_Text"_s);
    }
    // Clicks an editor the way a user moves into it.
    void clickInto(const QString& name)
    {
        QWidget* w = focusTarget(name);
        QVERIFY2(w, qPrintable(name));
        if (auto* text = qobject_cast<QPlainTextEdit*>(w))
            w = text->viewport();
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY2(focusTarget(name)->hasFocus(), qPrintable(name));
    }
    // QTest::keyClicks types Latin-1 only; this types any character, '\r' as Return and
    // '\b' as Backspace.
    static void typeText(QWidget* w, const QString& text)
    {
        for (QChar c : text) {
            if (c == u'\r')
                QTest::keyClick(w, Qt::Key_Return);
            else if (c == u'\b')
                QTest::keyClick(w, Qt::Key_Backspace);
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c),
                                    Qt::NoModifier);
        }
    }
    void typeInto(const QString& name, const QString& text)
    {
        clickInto(name);
        typeText(QApplication::focusWidget(), text);
    }
    QString value(const QString& field) const { return m_ds->fieldByName(field).asString(); }
    void setValues(const QList<std::pair<QString, QVariant>>& values)
    {
        m_ds->first();
        m_ds->edit();
        for (const auto& [field, v] : values)
            m_ds->fieldByName(field).setValue(v);
        m_ds->post();
    }
    void paste(const QString& editor, const QString& text)
    {
        clickInto(editor);
        QApplication::clipboard()->setText(text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    }

    std::unique_ptr<DataSet> m_ds;
    std::unique_ptr<DataSet> m_terr;
    FakeKeyboard m_keyboard;
    std::unique_ptr<QWidget> m_window;
    RekvizityPanel* m_panel = nullptr;
    int m_beeps = 0;
    QStringList m_errors;
};

void RekvizityPanelTest::init()
{
    m_ds = createRazdelTable(0);
    m_terr = createTerrTable();
    m_keyboard.calls.clear();
    m_beeps = 0;
    m_errors.clear();
    setErrorSink([this](const QString& text) { m_errors << text; });
    m_window = std::make_unique<QWidget>();
    m_window->resize(1022, 766);
    auto* layout = new QVBoxLayout(m_window.get());
    m_panel = new RekvizityPanel(m_ds.get(), m_terr.get(), m_keyboard, m_window.get());
    layout->addWidget(m_panel);
    m_panel->beep = [this] { ++m_beeps; };
    // What the window does when the requisites section is entered.
    m_panel->setRegionRowVisible(false);
    m_panel->SetDigitFields();
    m_panel->DBCheckBoxEh1Click();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void RekvizityPanelTest::cleanup()
{
    m_window.reset();
    m_ds.reset();
    m_terr.reset();
    setErrorSink({});
}

// Editor, field and caption of every row below the check boxes, top to bottom.
const QList<QStringList>& panelRows()
{
    static const QList<QStringList> rows = {
        {u"DBMemo_FullName"_s, u"FullName"_s,
         u"Полное наименование аудиторской организации (ФИО индивидуального аудитора)"_s},
        {u"DBMemo_Name"_s, u"name"_s, u"Краткое наименование аудиторской организации"_s},
        {u"DBMemo2"_s, u"UrAdress"_s, u"Юридический адрес"_s},
        {u"DBMemo4"_s, u"Address"_s, u"Почтовый адрес"_s},
        {u"DBLookupComboboxEh1"_s, u"KodGAI"_s,
         u"Субъект, где функционирует аудиторская организация (индивидуальный аудитор)"_s},
        {u"DBMemo5"_s, u"OKUD"_s, u"Код формы по ОКУД"_s},
        {u"DBMemoOKPO"_s, u"OKPO"_s, u"ОКПО"_s},
        {u"DBMemoOGRN"_s, u"OGRN"_s, u"ОГРН"_s},
        {u"DBMemo10"_s, u"TelFax"_s, u"Телефон/факс"_s},
        {u"DBMemo12"_s, u"email"_s, u"E-mail"_s},
        {u"DBMemo11"_s, u"rukovod"_s, u"Руководитель организации (индивидуальный аудитор)"_s},
        {u"DBMemo13"_s, u"FIOotv"_s, u"ФИО лица, ответственного за составление формы"_s},
        {u"DBMemo14"_s, u"PositionOtv"_s, u"Должность лица, ответственного за составление формы"_s},
        {u"DBMemo15"_s, u"telOtv"_s, u"Номер контактного телефона"_s},
        {u"DBDateTimeEditEh1"_s, u"DataSost"_s, u"Дата составления документа"_s},
    };
    return rows;
}

void RekvizityPanelTest::rowsShowCaptionBesideEditor_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < panelRows().size(); ++i)
        QTest::newRow(qPrintable(panelRows()[i][0])) << i;
}

void RekvizityPanelTest::rowsShowCaptionBesideEditor()
{
    QFETCH(int, row);
    const QString editor = panelRows()[row][0];
    const QString caption = panelRows()[row][2];
    m_panel->setRegionRowVisible(true);
    QWidget* w = m_panel->findChild<QWidget*>(editor);
    QVERIFY(w);
    QCOMPARE(m_panel->editorForField(panelRows()[row][1].toUpper()), w);
    QLabel* label = nullptr;
    for (QLabel* l : m_panel->findChildren<QLabel*>())
        if (l->text() == caption)
            label = l;
    QVERIFY2(label, "caption not found");
    QVERIFY(label->isVisible() && w->isVisible());
    const QRect lr(label->mapTo(m_panel, QPoint()), label->size());
    const QRect er(w->mapTo(m_panel, QPoint()), w->size());
    QVERIFY(lr.right() < er.left());
    QVERIFY(lr.top() <= er.bottom() && er.top() <= lr.bottom());
    // A wrapped caption shows all its lines, and its row is no taller than it or its editor.
    const int needed = label->fontMetrics()
                           .boundingRect(QRect(0, 0, label->width(), 2000),
                                         Qt::TextWordWrap | Qt::AlignLeft, caption)
                           .height();
    QVERIFY(label->height() >= needed);
    QVERIFY(label->height() <= std::max(needed, w->height()) + 4);
    QWidget* above =
        m_panel->findChild<QWidget*>(row > 0 ? panelRows()[row - 1][0] : u"DBCheckBoxEh1"_s);
    QVERIFY(above->mapTo(m_panel, QPoint()).y() + above->height() <= er.top());
}

void RekvizityPanelTest::tabMovesTopToBottom()
{
    m_panel->findChild<QWidget*>(u"DBCheckBoxEh1"_s)->setFocus(Qt::TabFocusReason);
    QStringList seen;
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << QApplication::focusWidget()->objectName();
    }
    const QStringList expected = {u"CheckBox2"_s,   u"DBMemo_FullName"_s,
                                  u"DBMemo_Name"_s, u"DBMemo2"_s,
                                  u"DBMemo4"_s,     u"DBMemoOKPO"_s,
                                  u"DBMemoOGRN"_s,  u"DBMemo10"_s,
                                  u"DBMemo12"_s,    u"DBMemo11"_s,
                                  u"DBMemo13"_s,    u"DBMemo14"_s,
                                  u"DBMemo15"_s,    u"DBDateTimeEditEh1_Text"_s};
    QCOMPARE(seen, expected);
}

void RekvizityPanelTest::legalEntitySwitch_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("legalEntity");
    QTest::addColumn<int>("ogrnMax");
    QTest::addColumn<int>("okpoMax");
    QTest::newRow("individual by its box") << QStringList{u"CheckBox2"_s} << false << 15 << 10;
    QTest::newRow("individual by the bound box")
        << QStringList{u"DBCheckBoxEh1"_s} << false << 15 << 10;
    QTest::newRow("back to legal entity by the bound box")
        << QStringList{u"CheckBox2"_s, u"DBCheckBoxEh1"_s} << true << 13 << 8;
    QTest::newRow("back to legal entity by its opposite")
        << QStringList{u"DBCheckBoxEh1"_s, u"CheckBox2"_s} << true << 13 << 8;
}

void RekvizityPanelTest::legalEntitySwitch()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, legalEntity);
    QFETCH(int, ogrnMax);
    QFETCH(int, okpoMax);
    auto* ur = m_panel->findChild<QCheckBox*>(u"DBCheckBoxEh1"_s);
    auto* fiz = m_panel->findChild<QCheckBox*>(u"CheckBox2"_s);
    QVERIFY(ur->isChecked() && !fiz->isChecked());
    for (const QString& box : clicks)
        QTest::mouseClick(m_panel->findChild<QCheckBox*>(box), Qt::LeftButton, {}, QPoint(6, 6));
    QCOMPARE(ur->isChecked(), legalEntity);
    QCOMPARE(fiz->isChecked(), !legalEntity);
    QCOMPARE(m_ds->fieldByName(u"IsUrLico"_s).asBoolean(), legalEntity);
    QVERIFY(m_ds->isEditing());

    const QString digits = u"12345678901234567890"_s;
    typeInto(u"DBMemoOGRN"_s, digits);
    typeInto(u"DBMemoOKPO"_s, digits);
    QCOMPARE(memo(u"DBMemoOGRN"_s)->toPlainText(), digits.left(ogrnMax));
    QCOMPARE(value(u"OGRN"_s), digits.left(ogrnMax));
    QCOMPARE(memo(u"DBMemoOKPO"_s)->toPlainText(), digits.left(okpoMax));
    QCOMPARE(m_beeps, 40 - ogrnMax - okpoMax);
}

void RekvizityPanelTest::copyOnLeaving_data()
{
    QTest::addColumn<bool>("legalEntity");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QStringList>("before"); // rukovod, FIOotv, telOtv
    QTest::addColumn<QStringList>("after");
    const QString n = u"Петров Пётр Петрович"_s;
    const QString t = u"+7 (495) 123-45-67"_s;
    const QString fullName = u"DBMemo_FullName"_s;
    QTest::newRow("individual, both blank")
        << false << fullName << QStringList{{}, {}, {}} << QStringList{n, n, {}};
    QTest::newRow("individual, spaces are blank")
        << false << fullName << QStringList{u"   "_s, {}, {}} << QStringList{n, n, {}};
    QTest::newRow("individual, head named")
        << false << fullName << QStringList{u"Сидоров"_s, {}, {}}
        << QStringList{u"Сидоров"_s, n, {}};
    QTest::newRow("individual, responsible named")
        << false << fullName << QStringList{{}, u"Иванова"_s, {}}
        << QStringList{n, u"Иванова"_s, {}};
    QTest::newRow("legal entity, no copy")
        << true << fullName << QStringList{{}, {}, {}} << QStringList{{}, {}, {}};
    QTest::newRow("telephone into empty contact")
        << true << u"DBMemo10"_s << QStringList{{}, {}, {}} << QStringList{{}, {}, t};
    QTest::newRow("telephone into blank contact")
        << false << u"DBMemo10"_s << QStringList{{}, {}, u"  "_s} << QStringList{{}, {}, t};
    QTest::newRow("contact telephone kept")
        << true << u"DBMemo10"_s << QStringList{{}, {}, u"8 800"_s}
        << QStringList{{}, {}, u"8 800"_s};
}

void RekvizityPanelTest::copyOnLeaving()
{
    QFETCH(bool, legalEntity);
    QFETCH(QString, editor);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    const QStringList fields = {u"rukovod"_s, u"FIOotv"_s, u"telOtv"_s};
    const QStringList editors = {u"DBMemo11"_s, u"DBMemo13"_s, u"DBMemo15"_s};
    setValues({{u"IsUrLico"_s, legalEntity},
               {fields[0], before[0]},
               {fields[1], before[1]},
               {fields[2], before[2]}});
    const QString typed =
        editor == u"DBMemo10"_s ? u"+7 (495) 123-45-67"_s : u"Петров Пётр Петрович"_s;
    typeInto(editor, typed);
    QVERIFY(m_ds->isEditing());
    clickInto(u"DBMemo4"_s); // an editor without an entering rule
    QCOMPARE(m_ds->state(), DataSetState::Browse);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(value(fields[i]), after[i]);
        QCOMPARE(memo(editors[i])->toPlainText(), after[i]);
    }
}

void RekvizityPanelTest::copyNeedsAChange()
{
    setValues({{u"IsUrLico"_s, false}, {u"FullName"_s, u"Петров"_s}, {u"TelFax"_s, u"123"_s}});
    const int changes = m_ds->changeCount();
    clickInto(u"DBMemo_FullName"_s);
    clickInto(u"DBMemo10"_s);
    clickInto(u"DBMemo4"_s);
    QCOMPARE(m_ds->state(), DataSetState::Browse);
    QCOMPARE(m_ds->changeCount(), changes);
    QVERIFY(value(u"rukovod"_s).isEmpty() && value(u"telOtv"_s).isEmpty());
}

void RekvizityPanelTest::emailSwitchesLayout()
{
    QVERIFY(memo(u"DBMemo12"_s)
                ->inputMethodHints()
                .testFlags(Qt::ImhEmailCharactersOnly | Qt::ImhPreferLatin));
    // FIOotv does not post when left: entering the e-mail editor does.
    typeInto(u"DBMemo13"_s, u"Кузнецов"_s);
    QVERIFY(m_ds->isEditing());
    clickInto(u"DBMemo12"_s);
    QCOMPARE(m_keyboard.calls, QStringList{u"00000409"_s});
    QCOMPARE(m_ds->state(), DataSetState::Browse);
    QCOMPARE(value(u"FIOotv"_s), u"Кузнецов"_s);
    typeText(memo(u"DBMemo12"_s), u"audit@example.ru"_s);
    clickInto(u"DBMemo14"_s);
    QCOMPARE(m_keyboard.calls, (QStringList{u"00000409"_s, u"00000419"_s}));
    QCOMPARE(value(u"email"_s), u"audit@example.ru"_s);
    clickInto(u"DBMemo12"_s);
    clickInto(u"DBMemo_FullName"_s);
    QCOMPARE(m_keyboard.calls.size(), 4);
    QCOMPARE(m_keyboard.calls.last(), u"00000419"_s);
}

void RekvizityPanelTest::typing_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys"); // '\r' Return, '\b' Backspace
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("beeps");
    QTest::newRow("OKPO letter") << u"DBMemoOKPO"_s << u"OKPO"_s << u"12a3"_s << u"123"_s << 1;
    QTest::newRow("OKPO space") << u"DBMemoOKPO"_s << u"OKPO"_s << u"1 2"_s << u"12"_s << 1;
    QTest::newRow("OKPO enter") << u"DBMemoOKPO"_s << u"OKPO"_s << u"1\r2"_s << u"12"_s << 1;
    QTest::newRow("OGRN minus") << u"DBMemoOGRN"_s << u"OGRN"_s << u"1-2"_s << u"12"_s << 1;
    QTest::newRow("OGRN cyrillic") << u"DBMemoOGRN"_s << u"OGRN"_s << u"1Ж2з"_s << u"12"_s << 2;
    QTest::newRow("OGRN backspace") << u"DBMemoOGRN"_s << u"OGRN"_s << u"123\b4"_s << u"124"_s << 0;
    QTest::newRow("outside the code page")
        << u"DBMemo_FullName"_s << u"FullName"_s << u"Ab東c"_s << u"Abc"_s << 1;
    const QList<std::pair<QString, QString>> noBreak = {
        {u"DBMemo_FullName"_s, u"FullName"_s}, {u"DBMemo_Name"_s, u"name"_s},
        {u"DBMemo2"_s, u"UrAdress"_s},         {u"DBMemo4"_s, u"Address"_s},
        {u"DBMemo10"_s, u"TelFax"_s},          {u"DBMemo12"_s, u"email"_s},
        {u"DBMemo13"_s, u"FIOotv"_s},          {u"DBMemo14"_s, u"PositionOtv"_s},
        {u"DBMemo15"_s, u"telOtv"_s}};
    for (const auto& [editor, field] : noBreak)
        QTest::newRow(qPrintable(editor + u" enter"_s))
            << editor << field << u"ab\rcd"_s << u"abcd"_s << 0;
    QTest::newRow("DBMemo11 enter breaks the line")
        << u"DBMemo11"_s << u"rukovod"_s << u"ab\rcd"_s << u"ab\r\ncd"_s << 0;
}

void RekvizityPanelTest::typing()
{
    QFETCH(QString, editor);
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    QFETCH(int, beeps);
    typeInto(editor, keys);
    QCOMPARE(value(field), stored);
    QCOMPARE(memo(editor)->toPlainText(), QString(stored).replace(u"\r\n"_s, u"\n"_s));
    QCOMPARE(m_beeps, beeps);
}

void RekvizityPanelTest::postWiring_data()
{
    QTest::addColumn<QString>("typeIn");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("moveTo");
    QTest::addColumn<bool>("posted");
    // DBMemo_FullName and DBMemo10 as targets have no entering rule.
    const QString plain = u"DBMemo_FullName"_s;
    QTest::newRow("leaving name") << u"DBMemo_Name"_s << u"name"_s << plain << true;
    QTest::newRow("leaving legal address") << u"DBMemo2"_s << u"UrAdress"_s << plain << true;
    QTest::newRow("leaving postal address") << u"DBMemo4"_s << u"Address"_s << plain << true;
    QTest::newRow("leaving OKPO") << u"DBMemoOKPO"_s << u"OKPO"_s << plain << true;
    QTest::newRow("leaving OGRN") << u"DBMemoOGRN"_s << u"OGRN"_s << plain << true;
    // Leaving any editor posts too, so nothing waits for the next editor that posts.
    QTest::newRow("leaving head") << u"DBMemo11"_s << u"rukovod"_s << plain << true;
    QTest::newRow("leaving position") << u"DBMemo14"_s << u"PositionOtv"_s << u"DBMemo10"_s << true;
    QTest::newRow("leaving e-mail") << u"DBMemo12"_s << u"email"_s << plain << true;
    QTest::newRow("entering head") << u"DBMemo14"_s << u"PositionOtv"_s << u"DBMemo11"_s << true;
    QTest::newRow("entering responsible") << u"DBMemo11"_s << u"rukovod"_s << u"DBMemo13"_s << true;
    QTest::newRow("entering position") << u"DBMemo13"_s << u"FIOotv"_s << u"DBMemo14"_s << true;
    QTest::newRow("entering contact telephone")
        << u"DBMemo13"_s << u"FIOotv"_s << u"DBMemo15"_s << true;
    QTest::newRow("entering date")
        << u"DBMemo15"_s << u"telOtv"_s << u"DBDateTimeEditEh1"_s << true;
}

void RekvizityPanelTest::postWiring()
{
    QFETCH(QString, typeIn);
    QFETCH(QString, field);
    QFETCH(QString, moveTo);
    QFETCH(bool, posted);
    int hookCalls = 0;
    m_panel->postHook = [&] {
        ++hookCalls;
        m_ds->post();
    };
    const int changes = m_ds->changeCount();
    typeInto(typeIn, u"42"_s);
    QCOMPARE(m_ds->state(), DataSetState::Edit);
    QCOMPARE(m_ds->recNo(), 1);
    clickInto(moveTo);
    QCOMPARE(m_ds->isEditing(), !posted);
    QCOMPARE(hookCalls, posted ? 1 : 0);
    QCOMPARE(m_ds->changeCount(), changes + (posted ? 1 : 0));
    QCOMPARE(value(field), u"42"_s);
}

void RekvizityPanelTest::okudIsReadOnly()
{
    QPlainTextEdit* okud = memo(u"DBMemo5"_s);
    QCOMPARE(okud->toPlainText(), u"0609711"_s);
    QVERIFY(!okud->isEnabled());
    QVERIFY(m_panel->focusField(u"OKUD"_s));
    QVERIFY(!okud->hasFocus());
    typeText(okud, u"99"_s);
    QCOMPARE(value(u"OKUD"_s), u"0609711"_s);
    QCOMPARE(m_ds->state(), DataSetState::Browse);
}

void RekvizityPanelTest::dateEditor_data()
{
    QTest::addColumn<QDate>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");
    const QDate d(2009, 3, 5);
    const QDate old(2008, 12, 31);
    QTest::newRow("full date") << QDate() << u"05.03.2009"_s << d << u"05.03.2009"_s << 0;
    QTest::newRow("digits only") << QDate() << u"05032009"_s << d << u"05.03.2009"_s << 0;
    QTest::newRow("short parts") << old << u"5.3.2009"_s << d << u"05.03.2009"_s << 0;
    QTest::newRow("emptied") << old << QString() << QDate() << QString() << 0;
    QTest::newRow("no such day") << old << u"31.02.2009"_s << old << u"31.12.2008"_s << 1;
    QTest::newRow("letters refused") << QDate() << u"05.x03.2009"_s << d << u"05.03.2009"_s << 1;
}

void RekvizityPanelTest::dateEditor()
{
    QFETCH(QDate, before);
    QFETCH(QString, typed);
    QFETCH(QDate, stored);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    setValues({{u"DataSost"_s, before.isValid() ? QVariant(before) : QVariant()}});
    clickInto(u"DBDateTimeEditEh1"_s);
    QTest::keyClick(dateLine(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(dateLine(), Qt::Key_Delete);
    typeText(dateLine(), typed);
    clickInto(u"DBMemo_FullName"_s);
    QCOMPARE(m_ds->fieldByName(u"DataSost"_s).asDate(), stored);
    QCOMPARE(m_ds->fieldByName(u"DataSost"_s).isNull(), !stored.isValid());
    QCOMPARE(dateLine()->text(), shown);
    QCOMPARE(m_beeps, beeps);
}

void RekvizityPanelTest::dateFromCalendar()
{
    clickInto(u"DBDateTimeEditEh1"_s);
    QTest::mouseClick(m_panel->findChild<QToolButton*>(u"DBDateTimeEditEh1_Button"_s),
                      Qt::LeftButton);
    auto* calendar = m_panel->findChild<QCalendarWidget*>(u"DBDateTimeEditEh1_Calendar"_s);
    QVERIFY(calendar && calendar->isVisible());
    Q_EMIT calendar->clicked(QDate(2009, 3, 5));
    QCOMPARE(m_ds->fieldByName(u"DataSost"_s).asDate(), QDate(2009, 3, 5));
    QCOMPARE(dateLine()->text(), u"05.03.2009"_s);
    QVERIFY(m_ds->isEditing());
}

void RekvizityPanelTest::maxLength_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("max");
    for (const auto& [editor, field, max] :
         QList<std::tuple<QString, QString, int>>{{u"DBMemo_FullName"_s, u"FullName"_s, 250},
                                                  {u"DBMemo_Name"_s, u"name"_s, 250},
                                                  {u"DBMemo2"_s, u"UrAdress"_s, 250},
                                                  {u"DBMemo4"_s, u"Address"_s, 255},
                                                  {u"DBMemo10"_s, u"TelFax"_s, 50},
                                                  {u"DBMemo12"_s, u"email"_s, 50},
                                                  {u"DBMemo11"_s, u"rukovod"_s, 100},
                                                  {u"DBMemo13"_s, u"FIOotv"_s, 100},
                                                  {u"DBMemo14"_s, u"PositionOtv"_s, 100},
                                                  {u"DBMemo15"_s, u"telOtv"_s, 25}})
        QTest::newRow(qPrintable(editor)) << editor << field << max;
}

void RekvizityPanelTest::maxLength()
{
    QFETCH(QString, editor);
    QFETCH(QString, field);
    QFETCH(int, max);
    const QString text = QString(max + 10, u'7');
    paste(editor, text);
    QCOMPARE(value(field), text.left(max));
    QTest::keyClick(memo(editor), Qt::Key_1);
    QCOMPARE(memo(editor)->toPlainText().size(), max);
    QCOMPARE(m_beeps, 1);
    // A character replacing a selected one still fits.
    QTest::keyClick(memo(editor), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(memo(editor), Qt::Key_1);
    QCOMPARE(value(field), text.left(max - 1) + u'1');
}

void RekvizityPanelTest::pasteRules_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<int>("messages");
    QTest::newRow("line break becomes a space")
        << u"DBMemo_Name"_s << u"name"_s << u"ООО\r\n«Аудит»"_s << u"ООО «Аудит»"_s << 0 << 0;
    QTest::newRow("line break kept by the head editor")
        << u"DBMemo11"_s << u"rukovod"_s << u"Иванов\nИ.И."_s << u"Иванов\r\nИ.И."_s << 0 << 0;
    QTest::newRow("letters refused in OKPO")
        << u"DBMemoOKPO"_s << u"OKPO"_s << u"12ab"_s << QString() << 1 << 0;
    QTest::newRow("outside the code page")
        << u"DBMemo4"_s << u"Address"_s << u"Москва 東京"_s << QString() << 0 << 1;
    QTest::newRow("euro sign fits the code page")
        << u"DBMemo14"_s << u"PositionOtv"_s << u"бухгалтер €"_s << u"бухгалтер €"_s << 0 << 0;
}

void RekvizityPanelTest::pasteRules()
{
    QFETCH(QString, editor);
    QFETCH(QString, field);
    QFETCH(QString, clipboard);
    QFETCH(QString, stored);
    QFETCH(int, beeps);
    QFETCH(int, messages);
    paste(editor, clipboard);
    QCOMPARE(value(field), stored);
    QCOMPARE(m_beeps, beeps);
    QCOMPARE(m_errors.size(), messages);
    if (messages)
        QVERIFY(m_errors.first().contains(u"東"_s));
}

void RekvizityPanelTest::followsTableAndFocusRequests()
{
    setValues({{u"FullName"_s, u"ООО «Ромашка»"_s}, {u"DataSost"_s, QDate(2009, 1, 20)}});
    QCOMPARE(memo(u"DBMemo_FullName"_s)->toPlainText(), u"ООО «Ромашка»"_s);
    QCOMPARE(dateLine()->text(), u"20.01.2009"_s);

    // The second record never shows; a refresh puts the cursor back on the first.
    m_ds->setRecNo(2);
    m_panel->refresh();
    QCOMPARE(m_ds->recNo(), 1);
    QCOMPARE(memo(u"DBMemo_FullName"_s)->toPlainText(), u"ООО «Ромашка»"_s);
    m_ds->cancelUpdates();
    QVERIFY(memo(u"DBMemo_FullName"_s)->toPlainText().isEmpty());
    QVERIFY(dateLine()->text().isEmpty());

    QVERIFY(m_panel->focusField(u" TELOTV "_s));
    QTRY_VERIFY(memo(u"DBMemo15"_s)->hasFocus());
    QVERIFY(!m_panel->focusField(u"NoSuchField"_s));
    m_ds->fieldByName(u"IsUrLico"_s).focusControl();
    QTRY_VERIFY(m_panel->findChild<QCheckBox*>(u"DBCheckBoxEh1"_s)->hasFocus());
}

void RekvizityPanelTest::regionCombo()
{
    QVERIFY(m_panel->findChild<QWidget*>(u"Panel_Terr"_s)->isHidden());
    m_panel->setRegionRowVisible(true);
    auto* combo = m_panel->findChild<QComboBox*>(u"DBLookupComboboxEh1"_s);
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->count(), m_terr->recordCount() + 1);
    combo->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QVERIFY(m_ds->isEditing());
    const int kod = m_ds->fieldByName(u"KodGAI"_s).asInteger();
    QVERIFY(m_terr->locate(u"KodGai"_s, {kod}));
    QCOMPARE(combo->currentText(), m_terr->fieldByName(u"TerrName"_s).asString());
    clickInto(u"DBMemo_FullName"_s);
    QCOMPARE(m_ds->state(), DataSetState::Browse);
    QCOMPARE(m_ds->fieldByName(u"KodGAI"_s).asInteger(), kod);
}

void RekvizityPanelTest::captionColumnDrags()
{
    auto* grip = m_panel->findChild<QWidget*>(u"Splitter_Rekvizity"_s);
    auto* caption = m_panel->findChild<QLabel*>(u"Label_DBMemo10"_s);
    QWidget* editor = memo(u"DBMemo10"_s);
    const int before = caption->width();
    const int editorBefore = editor->width();
    const QPoint from = grip->rect().center();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, grip->mapToGlobal(at), Qt::LeftButton, buttons, {});
        QApplication::sendEvent(grip, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, from + QPoint(60, 0), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from + QPoint(60, 0), Qt::NoButton);
    QCOMPARE(m_panel->captionWidth(), before + 60);
    QTRY_COMPARE(caption->width(), before + 60);
    QTRY_COMPARE(editor->width(), editorBefore - 60);
    // The editor column never disappears, and a narrow window wraps the captions.
    m_panel->setCaptionWidth(5000);
    QTRY_VERIFY(editor->width() >= 150);
    m_window->resize(520, 300);
    QTRY_VERIFY(m_panel->captionWidth() < before);
    QTRY_VERIFY(editor->width() >= 150);
    auto* longCaption = m_panel->findChild<QLabel*>(u"Label_DBMemo14"_s);
    QVERIFY(longCaption->height() >= 2 * longCaption->fontMetrics().lineSpacing());
}

QTEST_MAIN(RekvizityPanelTest)
#include "RekvizityPanelTest.moc"
