// While the window waits for an office call, repaints go on but the user's keys and clicks
// wait until the call is over: a second command must never start in the middle of one. Real
// input is needed for that (events of the window system), so this runs under an X server with
// the keys and clicks typed by xdotool.
#include "office/OfficeSession.h"
#include "print/SpreadsheetOffice.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// An observer whose (absent) window takes no input: the wait must still hold input back.
struct QuietObserver final : OfficeWaitObserver {
    int waits = 0;
    bool waitGoesOn(qint64) override
    {
        ++waits;
        return true;
    }
    bool takesInput() const override { return false; }
};

void xdotool(const QStringList& args)
{
    QProcess::execute(u"xdotool"_s, args);
}

} // namespace

class OfficeWaitInputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb"_s)
            QSKIP("needs an X server");
        if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
            QSKIP("needs xdotool");
    }

    void inputWaitsForTheCall_data()
    {
        QTest::addColumn<bool>("observed");
        QTest::newRow("plain wait") << false;
        QTest::newRow("observed wait") << true;
    }
    void inputWaitsForTheCall()
    {
        QFETCH(bool, observed);
        QWidget window;
        auto* edit = new QLineEdit(&window);
        auto* button = new QPushButton(u"Печать"_s, &window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(button);
        int clicks = 0;
        connect(button, &QPushButton::clicked, this, [&clicks] { ++clicks; });
        window.resize(300, 120);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        const QPoint centre = button->mapToGlobal(button->rect().center());

        OfficeSession session(OfficeConfig{});
        QuietObserver observer;
        if (observed)
            session.setWaitObserver(&observer);
        session.run([&] {
            // On the worker thread, as an office call would be: the user types and clicks.
            xdotool({u"type"_s, u"--delay"_s, u"20"_s, u"ab"_s});
            xdotool({u"mousemove"_s, QString::number(centre.x()), QString::number(centre.y()),
                     u"click"_s, u"1"_s});
            QThread::msleep(500); // time enough for a loop that lets input through to take it
        });
        QCOMPARE(edit->text(), QString());
        QCOMPARE(clicks, 0);
        if (observed)
            QVERIFY(observer.waits > 0);
        // The input was real and is handled once the call is over.
        QTRY_COMPARE(edit->text(), u"ab"_s);
        QTRY_COMPARE(clicks, 1);
    }
};

QTEST_MAIN(OfficeWaitInputTest)
#include "OfficeWaitInputTest.moc"
