#include "CliRunner.h"

#include <QProcess>

using namespace Qt::StringLiterals;

QStringList CliRun::lines() const
{
    QStringList l = QString::fromUtf8(out).split(u'\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

CliRun runCliProgram(const QStringList& arguments, const QProcessEnvironment& env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(F2A_CLI), arguments);
    CliRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        r.err = u"timeout"_s;
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
