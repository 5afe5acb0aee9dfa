// Details of the main window a new user meets: hints, toolbar, message boxes as shown,
// Qt's own texts, editor key bindings and menus, the mouse road into section 2, the mail
// link as the mail program reads it.
#include "MailLinkDecoding.h"
#include "MainWindowSupport.h"
#include "dialogs/TAboutF.h"
#include "model/DataSetError.h"
#include "model/Razdels.h"
#include "model/SilentAbort.h"
#include "output/ArchiveError.h"
#include "platform/QtMessageBoxes.h"
#include "print/SpreadsheetApp.h"
#include "workspace/DBGrid.h"
#include "workspace/RekvizityPanel.h"
#include "workspace/TMainF.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct SeenBox {
    QString caption;
    QString text;
    bool seen = false;
};

// Closes the next modal message box once it is up and tells what it showed.
void closeNextBox(SeenBox& seen)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), true};
        timer->stop();
        timer->deleteLater();
        box->done(0);
    });
    timer->start();
}

// Closes the next pop-up menu once it is up and tells its object name ("" when unnamed).
void closeNextPopup(QString& shown)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, &shown] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        shown = popup->objectName().isEmpty() ? u"<unnamed>"_s : popup->objectName();
        timer->stop();
        timer->deleteLater();
        popup->close();
    });
    timer->start();
}

QString editorText(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        return plain->toPlainText();
    return u"<not a text editor>"_s;
}

// Latin keys with their key codes, as a keyboard sends them.
void clickKeys(const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

// Message boxes that behave like real ones towards the mouse: a box is a window of its
// own, so the release of the click that opened it lands on the box.
class ReleaseTakingMessages final : public ScriptedMessages {
public:
    void InfoBox(const QString& text, const QString& caption) override
    {
        ScriptedMessages::InfoBox(text, caption);
        if (!(QGuiApplication::mouseButtons() & Qt::LeftButton))
            return;
        QWidget box;
        box.resize(200, 80);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseRelease(&box, Qt::LeftButton);
    }
};

} // namespace

class WindowDetailsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nextAndBackShowTheirHints();
    void twoSeparatorsBetweenPreviewAndPrint();
    void boxesShowOneLineBreakPerPair();
    void errorBoxesCarryTheApplicationTitle();
    void userErrorsReachTheBoxAsTheirText();
    void qtTextsAreRussian();
    void dataAreaEditorsOfferTheWindowMenu();
    void ctrlDWithoutSelectionDeletesNothing();
    void section2ByMouseLandsInTheGrid();
    void headerAndGridDetails();
    void moneyCellEditsInFixedForm();
    void mailLinkCarriesTheLetterLiterally();
};

void WindowDetailsTest::nextAndBackShowTheirHints()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    QCOMPARE(part<QPushButton>(w, "BitBtn1")->toolTip(), u"Следующий раздел"_s);
    QCOMPARE(part<QPushButton>(w, "BitBtn2")->toolTip(), u"Предыдущий раздел"_s);
    QCOMPARE(part<QPushButton>(w, "BitBtn4")->toolTip(),
             u"Последний раздел. Далее будет печать."_s);
}

void WindowDetailsTest::twoSeparatorsBetweenPreviewAndPrint()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    auto* bar = w.findChild<QToolBar*>(u"ToolBar1"_s);
    QVERIFY(bar);
    const QList<QAction*> actions = bar->actions();
    const qsizetype preview = actions.indexOf(action(w, "Act_PrintExcel_Chernovik"));
    QVERIFY(preview >= 0);
    QCOMPARE(actions.indexOf(action(w, "Act_PrintExcel")), preview + 3);
    for (qsizetype i = preview + 1; i <= preview + 2; ++i) {
        QVERIFY(actions[i]->isSeparator());
        QVERIFY(bar->widgetForAction(actions[i])->isVisibleTo(bar));
    }
}

void WindowDetailsTest::boxesShowOneLineBreakPerPair()
{
    // The texts keep "\n\r"; the box shows one line break for each pair.
    QtMessageBoxes boxes;
    SeenBox seen;
    closeNextBox(seen);
    boxes.InfoBox(u"Данные текущего раздела сохранены в файле \n\rC:\\x.XML"_s, u"Сообщение"_s);
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, u"Данные текущего раздела сохранены в файле \nC:\\x.XML!"_s);
    closeNextBox(seen);
    boxes.AskYesNo(u"Первая\n\r\n\rТретья"_s, u"Предупреждение"_s);
    QCOMPARE(seen.text, u"Первая\n\nТретья?"_s);
    QCOMPARE(messageBoxText(u"a\r\nb\n\rc"_s), u"a\r\nb\nc"_s);

    // The gate's refusal on the real window.
    MainWindowFixture f;
    QtMessageBoxes windowBoxes;
    f.platform.messages = &windowBoxes;
    TMainF& w = f.start();
    windowBoxes.setParent(&w);
    closeNextBox(seen);
    action(w, "Act_NextRazdel")->trigger();
    QCOMPARE(seen.text, u"Прежде чем перейти к новому разделу,\nисправьте ошибки текущего "
                        u"раздела\nи просмотрите информацию о предупреждениях текущего раздела!"_s);
    QCOMPARE(seen.caption, u"Сообщение"_s);
}

void WindowDetailsTest::errorBoxesCarryTheApplicationTitle()
{
    MainWindowFixture f;
    QtMessageBoxes boxes;
    f.platform.messages = &boxes;
    TMainF& w = f.start();
    boxes.setParent(&w);
    SeenBox seen;
    closeNextBox(seen);
    action(w, "Act_TestSrc")->trigger(); // no archive to check: an error
    QVERIFY(seen.seen);
    QCOMPARE(seen.caption, applicationTitle());
    QVERIFY(!seen.text.isEmpty());
}

void WindowDetailsTest::userErrorsReachTheBoxAsTheirText()
{
    // Whatever layer a failure comes from, the box shows its Russian text as it was
    // written, whatever the process's locale.
    MainWindowFixture f;
    TMainF& w = f.start();
    const QString text = u"Не удалось записать файл «Отчёт №2.xlsx»: диск полон"_s;
    const std::vector<std::function<void()>> throwers = {
        [&] { throw DataSetError(text); },
        [&] { throw ArchiveError(text); },
        [&] { throw SpreadsheetError(text); },
        [&] { throw SpreadsheetStartError(text); },
    };
    for (const auto& thrower : throwers) {
        f.messages.errors.clear();
        w.PrintRepExcel = [&](bool) { thrower(); };
        action(w, "Act_PrintExcel_Chernovik")->trigger();
        QCOMPARE(f.messages.errors, QStringList{text});
    }
    // A silent abort ends the command without a box.
    f.messages.errors.clear();
    w.PrintRepExcel = [](bool) { throw SilentAbort(); };
    action(w, "Act_PrintExcel_Chernovik")->trigger();
    QVERIFY(f.messages.errors.isEmpty());
}

void WindowDetailsTest::qtTextsAreRussian()
{
    MainWindowFixture f;
    f.start(); // installs the translations
    // Both kinds of text editor the window uses.
    QLineEdit line;
    QPlainTextEdit plain;
    std::unique_ptr<QMenu> menu(line.createStandardContextMenu());
    std::unique_ptr<QMenu> plainMenu(plain.createStandardContextMenu());
    menu->addActions(plainMenu->actions());
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text().section(u'\t', 0, 0); // without the shortcut
    QCOMPARE(texts.size(), 14);
    for (const QString& english :
         {u"&Undo"_s, u"&Redo"_s, u"Cu&t"_s, u"&Copy"_s, u"&Paste"_s, u"Delete"_s, u"Select All"_s})
        QVERIFY2(!texts.contains(english), qPrintable(texts.join(u", "_s)));
    QVERIFY2(texts.join(QString()).contains(u"Копировать"_s), qPrintable(texts.join(u", "_s)));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"Отмена"_s);
}

void WindowDetailsTest::dataAreaEditorsOfferTheWindowMenu()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto rightClick = [](QWidget* target) {
        QString shown;
        closeNextPopup(shown);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &event);
        // A menu of the editor's own opens without blocking; wait for it as well.
        for (int i = 0; i < 50 && shown.isEmpty(); ++i)
            QTest::qWait(10);
        return shown;
    };
    // A memo takes the mouse's menu request on its viewport; the date editor on its line.
    auto* memo = qobject_cast<QPlainTextEdit*>(
        part<RekvizityPanel>(w, "Panel_00")->editorForField(u"TelFax"_s));
    QVERIFY(memo);
    memo->setFocus();
    QCOMPARE(rightClick(memo->viewport()), u"PopupMenu1"_s);
    QWidget* date = part<RekvizityPanel>(w, "Panel_00")->editorForField(u"DataSost"_s);
    QVERIFY(date);
    auto* dateLine = date->findChild<QLineEdit*>();
    QVERIFY(dateLine);
    dateLine->setFocus();
    QCOMPARE(rightClick(dateLine), u"PopupMenu1"_s);

    w.selectRazdel(PosRazdel3);
    DBGrid* grid = w.FindGrid(u"DBGrid_03"_s);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(3, grid->columnOfField(u"Graf03"_s)));
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(grid->isEditorOpen());
    QCOMPARE(rightClick(grid->cellEditor()), u"PopupMenu1"_s);
    QVERIFY(grid->isEditorOpen());
}

void WindowDetailsTest::ctrlDWithoutSelectionDeletesNothing()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget* editor = part<RekvizityPanel>(w, "Panel_00")->editorForField(u"TelFax"_s);
    editor->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), editor);
    clickKeys(u"12345"_s);
    QTest::keyClick(editor, Qt::Key_Home);
    QVERIFY(!action(w, "EditDelete1")->isEnabled());
    QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(editorText(editor), u"12345"_s);
    // with a selection it deletes the selection only
    QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(editorText(editor), u"2345"_s);
}

void WindowDetailsTest::section2ByMouseLandsInTheGrid()
{
    MainWindowFixture f;
    ReleaseTakingMessages boxes;
    f.platform.messages = &boxes;
    TMainF& w = f.start();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QListWidget* list = part<QListWidget>(w, "LVRazdel");
    const QRect r = list->visualItemRect(list->item(PosRazdel2));
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(boxes.infos.size(), 2); // the unit and the previous-year notices
    QCOMPARE(w.currentRazdel(), int(PosRazdel2));
    DBGrid* grid = w.FindGrid(u"DBGrid_02"_s);
    // The boxes took the activation; coming back, the window gives the grid its focus.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTRY_VERIFY(grid->hasFocus());
    QCOMPARE(w.currentDataSet()->fieldByName(u"KodRow"_s).asString(), u"06"_s);
}

void WindowDetailsTest::headerAndGridDetails()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.selectRazdel(PosRazdel1);
    QVERIFY(!part<QLabel>(w, "Lab_Zag_01")->font().bold());
    QVERIFY(part<QLabel>(w, "Lab_Zag_02")->font().bold());
    QVERIFY(!part<QLabel>(w, "Lab_Zag_03")->font().bold());

    // The "НЕТ" check box is an answer cell like "ДА", not a grey read-only one.
    w.selectRazdel(PosQualityTest);
    DBGrid* grid = w.FindGrid(u"DBGrid_QualityTest"_s);
    grid->setCurrentIndex(grid->model()->index(0, grid->columnOfField(u"NameRow"_s)));
    const QImage picture = grid->viewport()->grab().toImage();
    auto corner = [&](const QString& field) {
        const QRect cell = grid->visualRect(grid->model()->index(0, grid->columnOfField(field)));
        return picture.pixelColor(cell.topLeft() + QPoint(2, 2));
    };
    QCOMPARE(corner(u"ValueNo"_s), corner(u"ValueYes"_s));
    QVERIFY(corner(u"NameNo"_s) != corner(u"ValueYes"_s));
}

void WindowDetailsTest::moneyCellEditsInFixedForm()
{
    MainWindowFixture f;
    TMainF& w = f.start();
    w.selectRazdel(PosRazdel2);
    DataSet* s2 = w.tables().razdel(PosRazdel2);
    QVERIFY(s2->locate(u"KodRow"_s, {u"06"_s}));
    s2->edit();
    s2->fieldByName(u"Graf03"_s).setAsFloat(1234567);
    s2->post();
    DBGrid* grid = w.FindGrid(u"DBGrid_02"_s);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, grid->columnOfField(u"Graf03"_s)));
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(grid->isEditorOpen());
    QCOMPARE(grid->cellEditor()->text(), u"1234567.0"_s);
    QTest::keyClick(grid->cellEditor(), Qt::Key_Escape);
}

void WindowDetailsTest::mailLinkCarriesTheLetterLiterally()
{
    MainWindowFixture f;
    copyCase(f, u"consistent_report"_s);
    TMainF& w = f.start();
    const QString fullName = u"ООО \"100% Аудит & Ко\" #1?a=b+c&cc=evil@x.ru"_s;
    const QString head = u"Иванов И.И.&bcc=spy@x.ru"_s;
    {
        DataSet* k = w.tables().razdel(PosRekvizity);
        k->first();
        k->edit();
        k->fieldByName(u"FullName"_s).setAsString(fullName);
        k->fieldByName(u"rukovod"_s).setAsString(head);
        k->post();
    }
    f.messages.answers = {true, true};
    action(w, "Act_SendRepToMail")->trigger();
    QCOMPARE(f.urls.opened.size(), 1);
    // What the desktop hands to the mail program.
    const DecodedMailTo mail = decodeMailTo(f.urls.opened[0].toEncoded());
    QCOMPARE(mail.address, u"2audit@minfin.ru"_s);
    QCOMPARE(mail.fields.size(), 2);
    QCOMPARE(mail.values(u"subject"_s), QStringList{u"Отчёт по форме № 2-аудит"_s});
    const QStringList archives = QDir(f.paths.ExportDir()).entryList(QDir::Files);
    QCOMPARE(archives.size(), 1);
    const QString archive = QDir::toNativeSeparators(f.paths.ExportDir() + archives[0]);
    const QString expected =
        expectedLetter(archive, fullName, u"Руководитель аудиторской организации      "_s + head);
    QCOMPARE(mail.values(u"body"_s), QStringList{expected});
}

QTEST_MAIN(WindowDetailsTest)
#include "WindowDetailsTest.moc"
