// The edit commands behave alike on the three kinds of text editor the window holds.
#include "workspace/TextEditorCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

enum class Kind { Line, Plain, Rich };

std::unique_ptr<QWidget> makeEditor(Kind kind, const QString& text)
{
    switch (kind) {
    case Kind::Line:
        return std::make_unique<QLineEdit>(text);
    case Kind::Plain:
        return std::make_unique<QPlainTextEdit>(text);
    case Kind::Rich: {
        auto e = std::make_unique<QTextEdit>();
        e->setPlainText(text);
        return e;
    }
    }
    return nullptr;
}

QString textOf(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        return t->toPlainText();
    return qobject_cast<QTextEdit*>(w)->toPlainText();
}

void setReadOnly(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setReadOnly(true);
    else if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        t->setReadOnly(true);
    else
        qobject_cast<QTextEdit*>(w)->setReadOnly(true);
}

} // namespace

class TextEditorCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commands_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("line") << Kind::Line;
        QTest::newRow("plain text") << Kind::Plain;
        QTest::newRow("rich text") << Kind::Rich;
    }
    void commands()
    {
        QFETCH(Kind, kind);
        const auto editor = makeEditor(kind, u"Аудит"_s);
        TextEditorCommands c(editor.get());
        QVERIFY(c.isEditor());
        QCOMPARE(TextEditorCommands::textEditor(editor.get()), editor.get());
        QVERIFY(!c.isReadOnly());

        int changes = 0;
        QObject context;
        const auto connections = c.watch(&context, [&changes] { ++changes; });
        QVERIFY(!connections.isEmpty());

        QVERIFY(!c.hasSelection());
        // Without a selection, delete takes nothing (not the character after the cursor).
        c.deleteSelection();
        QCOMPARE(textOf(editor.get()), u"Аудит"_s);

        c.selectAll();
        QVERIFY(c.hasSelection());
        QVERIFY(changes > 0);
        c.copy();
        QCOMPARE(QApplication::clipboard()->text(), u"Аудит"_s);
        c.cut();
        QCOMPARE(textOf(editor.get()), QString());
        QVERIFY(c.isUndoAvailable());
        c.undo();
        QCOMPARE(textOf(editor.get()), u"Аудит"_s);
        c.selectAll();
        c.deleteSelection();
        QCOMPARE(textOf(editor.get()), QString());
        QApplication::clipboard()->setText(u"2-аудит"_s);
        c.paste();
        QCOMPARE(textOf(editor.get()), u"2-аудит"_s);

        setReadOnly(editor.get());
        QVERIFY(c.isReadOnly());
    }

    // Anything but a text editor: the commands do nothing and answer false.
    void otherWidgetsAreNotEditors()
    {
        QLabel label(u"Раздел 1"_s);
        TextEditorCommands c(&label);
        QVERIFY(!c.isEditor());
        QCOMPARE(TextEditorCommands::textEditor(&label), nullptr);
        QCOMPARE(TextEditorCommands::textEditor(nullptr), nullptr);
        c.selectAll();
        c.cut();
        QVERIFY(!c.hasSelection());
        QVERIFY(!c.isUndoAvailable());
        QVERIFY(c.isReadOnly());
        QObject context;
        QVERIFY(c.watch(&context, [] {}).isEmpty());
        QCOMPARE(label.text(), u"Раздел 1"_s);
    }
};

QTEST_MAIN(TextEditorCommandsTest)
#include "TextEditorCommandsTest.moc"
