#include "control/Gates.h"
#include "model/DataSet.h"
#include "model/FormTables.h"
#include "model/Razdels.h"
#include "support/RecordingGateHost.h"
#include "support/ScriptedMessages.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The window and its message boxes as the gates drive them: every step is written down,
// questions are answered from a script (No when it runs out, so an unexpected question
// shows in the transcript rather than passing).
class Recorder final : public ScriptedMessages, public RecordingGateHost {
public:
    Recorder() : RecordingGateHost(log) { unscripted = false; }
};

const QString kNextLead = u"Сообщение: Прежде чем перейти к новому разделу,\n\r"_s;
const QString kPrintLead = u"Сообщение: Прежде чем перейти к печати,\n\r"_s;
const QString kM1 =
    u"исправьте ошибки текущего раздела\n\rи просмотрите информацию о предупреждениях текущего раздела"_s;
const QString kM2 = u"просмотрите информацию о предупреждениях текущего раздела"_s;
const QString kM3 = u"исправьте ошибки текущего раздела"_s;

// ------------------------------------------------------------------ section gate

struct LeaveCase {
    const char* name;
    LeaveTarget target;
    SectionGateCounts counts;
    bool visible;
    bool passes;
    QStringList steps; // after the control run; "M1".."M3" stand for the message
};

QStringList expand(const QStringList& steps, LeaveTarget target)
{
    const QString lead = target == LeaveTarget::Print ? kPrintLead : kNextLead;
    QStringList out{u"control section"_s};
    for (const QString& s : steps)
        out << (s == u"M1"_s   ? lead + kM1
                : s == u"M2"_s ? lead + kM2
                : s == u"M3"_s ? lead + kM3
                               : s);
    return out;
}

class LeaveGate : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(LeaveGate, ShowsTheListAndMessageInOrder)
{
    const LeaveCase& c = GetParam();
    Recorder r;
    r.section = c.counts;
    r.visible = c.visible;
    EXPECT_EQ(LeaveRazdelGate(c.target, r, r), c.passes);
    EXPECT_EQ(r.log, expand(c.steps, c.target)) << r.log.join(u'|').toStdString();
}

constexpr SectionGateCounts kNone{0, 0, false};
constexpr SectionGateCounts kErrBlocked{2, 0, true};
constexpr SectionGateCounts kErrOpen{2, 0, false}; // errors that do not hold the user
constexpr SectionGateCounts kWarn{0, 3, false};
constexpr SectionGateCounts kBothBlocked{2, 3, true};
constexpr SectionGateCounts kBothOpen{2, 3, false};

const LeaveCase kLeaveCases[] = {
    {"NextNothing", LeaveTarget::Next, kNone, false, true, {}},
    {"PrevNothing", LeaveTarget::Prev, kNone, true, true, {}},
    {"NextErrorsBlock", LeaveTarget::Next, kErrBlocked, false, false, {u"tab 0"_s, u"M3"_s}},
    {"PrevErrorsBlock", LeaveTarget::Prev, kErrBlocked, true, false, {u"tab 0"_s, u"M3"_s}},
    {"PrintErrorsBlock", LeaveTarget::Print, kErrBlocked, false, false, {u"tab 0"_s, u"M3"_s}},
    {"NextErrorsNotBlocking", LeaveTarget::Next, kErrOpen, false, true, {}},
    {"NextWarningsHidden", LeaveTarget::Next, kWarn, false, false, {u"tab 1"_s, u"M2"_s}},
    {"PrevWarningsHidden", LeaveTarget::Prev, kWarn, false, false, {u"tab 1"_s, u"M2"_s}},
    {"PrintWarningsHidden", LeaveTarget::Print, kWarn, false, false, {u"tab 1"_s, u"M2"_s}},
    {"NextWarningsSeen", LeaveTarget::Next, kWarn, true, true, {}},
    {"PrintWarningsSeen", LeaveTarget::Print, kWarn, true, true, {}},
    {"NextBothBlock", LeaveTarget::Next, kBothBlocked, true, false, {u"tab 0"_s, u"M1"_s}},
    {"PrevBothBlock", LeaveTarget::Prev, kBothBlocked, false, false, {u"tab 0"_s, u"M1"_s}},
    {"PrintBothBlock", LeaveTarget::Print, kBothBlocked, false, false, {u"tab 0"_s, u"M1"_s}},
    // Next and print show the message before the warnings, Back after them.
    {"NextBothOpenHidden", LeaveTarget::Next, kBothOpen, false, false, {u"M2"_s, u"tab 1"_s}},
    {"PrintBothOpenHidden", LeaveTarget::Print, kBothOpen, false, false, {u"M2"_s, u"tab 1"_s}},
    {"PrevBothOpenHidden", LeaveTarget::Prev, kBothOpen, false, false, {u"tab 1"_s, u"M2"_s}},
    {"NextBothOpenSeen", LeaveTarget::Next, kBothOpen, true, true, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LeaveGate, ::testing::ValuesIn(kLeaveCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ------------------------------------------------------------------ Next

const QString kThousands =
    u"Сообщение? Единицы измерения введенных данных\n\rраздела ОБЪЕМ ОКАЗАННЫХ УСЛУГ -\n\rТЫС.РУБ.? "_s;

struct NextCase {
    const char* name;
    int current;
    SectionGateCounts counts;
    bool visible;
    QList<bool> answers;
    NextStep step;
    QStringList tail; // after the control run
};

class NextGate : public ::testing::TestWithParam<NextCase> {};

TEST_P(NextGate, DecidesTheStep)
{
    const NextCase& c = GetParam();
    Recorder r;
    r.section = c.counts;
    r.visible = c.visible;
    r.answers = c.answers;
    EXPECT_EQ(NextRazdelGate(c.current, RazdelCount, r, r), c.step);
    EXPECT_EQ(r.log, QStringList{u"control section"_s} + c.tail) << r.log.join(u'|').toStdString();
}

const NextCase kNextCases[] = {
    {"MiddleSectionPasses",
     PosRazdel1,
     kNone,
     true,
     {},
     NextStep::SelectNext,
     {u"panel hidden alone"_s}},
    {"ErrorsOnlyKeepTheUser",
     PosRazdel3,
     kErrBlocked,
     false,
     {},
     NextStep::Stay,
     {u"tab 0"_s, kNextLead + kM3}},
    {"ThousandsYes",
     PosRazdel2,
     kNone,
     false,
     {true},
     NextStep::SelectNext,
     {u"panel hidden alone"_s, kThousands + u" -> yes"_s}},
    {"ThousandsNo",
     PosRazdel2,
     kNone,
     false,
     {false},
     NextStep::Stay,
     {u"panel hidden alone"_s, kThousands + u" -> no"_s}},
    {"LastSectionPrintsPanelKept",
     RazdelCount - 1,
     kNone,
     true,
     {},
     NextStep::Print,
     {u"tab 1"_s, u"panel shown"_s}},
    {"LastSectionPrintsPanelHidden",
     RazdelCount - 1,
     kNone,
     false,
     {},
     NextStep::Print,
     {u"tab 1"_s, u"panel hidden"_s}},
    {"LastSectionErrorsStay",
     RazdelCount - 1,
     kErrBlocked,
     false,
     {},
     NextStep::Stay,
     {u"tab 0"_s, kPrintLead + kM3}},
};

INSTANTIATE_TEST_SUITE_P(Cases, NextGate, ::testing::ValuesIn(kNextCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ------------------------------------------------------------------ output gate

const QString kAsk = u"Предупреждение? "_s;
const QString kWarnPrint =
    kAsk + u"В данных отчёта есть предупреждения (всего - 3).\n\rПоказать предупреждения"_s;
const QString kWarnExport =
    kAsk + u"В данных отчёта есть предупреждения (всего - 3)\n\rПоказать предупреждения"_s;
const QString kZero =
    kAsk + u"Действительно ли объем оказанных услуг за предыдущий год равен нулю"_s;
const QString kEqual =
    kAsk + u"Действительно ли количество выданных аудиторских заключений по ОБЯЗАТЕЛЬНОМУ "
           u"аудиту\n\rравно количеству выданных аудиторских заключений по ИНИЦИАТИВНОМУ аудиту"_s;
const QString kErrOnly = u"Сообщение: В данных отчёта есть ошибки (всего - 2).\n\r"_s;
const QString kErrBoth =
    u"Сообщение: В данных отчёта есть ошибки (всего - 2)\n\rи предупреждения (всего - 3).\n\r"_s;
const QString kPrintEnding = u"Перед печатью необходимо устранить ошибки"_s;
const QString kMailEnding = u"Перед отправкой отчёта необходимо устранить ошибки"_s;
const QString kExportErr =
    u"Сообщение: В данных отчёта есть ошибки (всего - 2)\n\rСначало надо исправить ошибки"_s;

QString yes(const QString& q)
{
    return q + u" -> yes"_s;
}
QString no(const QString& q)
{
    return q + u" -> no"_s;
}

struct OutputCase {
    const char* name;
    OutputKind kind;
    OutputGateCounts counts;
    bool visible;
    bool showAllBefore;
    QList<bool> answers;
    bool passes;
    QStringList tail; // after the control run
    bool visibleAfter;
};

class OutputGateTest : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputGateTest, ShowsAsksAndRestoresInOrder)
{
    const OutputCase& c = GetParam();
    Recorder r;
    r.report = c.counts;
    r.visible = c.visible;
    r.all = c.showAllBefore;
    r.answers = c.answers;
    EXPECT_EQ(OutputGate(c.kind, r, r), c.passes);
    EXPECT_EQ(r.log, QStringList{u"control report"_s} + c.tail) << r.log.join(u'|').toStdString();
    EXPECT_EQ(r.visible, c.visibleAfter);
    EXPECT_TRUE(r.answers.isEmpty()) << "a scripted answer was not asked for";
}

constexpr OutputGateCounts kOutNone{0, 0, false, false};
constexpr OutputGateCounts kOutErr{2, 0, false, false};
constexpr OutputGateCounts kOutBoth{2, 3, true, true};
constexpr OutputGateCounts kOutWarn{0, 3, false, false};
constexpr OutputGateCounts kOutWarnZero{0, 3, true, false};
constexpr OutputGateCounts kOutWarnEqual{0, 3, false, true};
constexpr OutputGateCounts kOutWarnBoth{0, 3, true, true};

const OutputCase kOutputCases[] = {
    // nothing found: every output goes ahead untouched
    {"PrintClean", OutputKind::Print, kOutNone, false, false, {}, true, {}, false},
    {"ExportClean", OutputKind::Export, kOutNone, true, false, {}, true, {}, true},
    {"MailClean", OutputKind::Mail, kOutNone, false, true, {}, true, {}, false},
    // errors: the list, then the message (export: the message first)
    {"PrintErrors",
     OutputKind::Print,
     kOutErr,
     false,
     false,
     {},
     false,
     {u"first record 0"_s, kErrOnly + kPrintEnding, u"common"_s},
     true},
    {"PrintErrorsAndWarnings",
     OutputKind::Print,
     kOutBoth,
     true,
     false,
     {},
     false,
     {u"first record 0"_s, kErrBoth + kPrintEnding, u"common"_s},
     true},
    {"ExportErrors",
     OutputKind::Export,
     kOutErr,
     false,
     false,
     {},
     false,
     {kExportErr, u"first record 0"_s},
     true},
    {"ExportErrorsAndWarnings",
     OutputKind::Export,
     kOutBoth,
     false,
     false,
     {},
     false,
     {kExportErr, u"first record 0"_s},
     true},
    {"MailErrors",
     OutputKind::Mail,
     kOutErr,
     false,
     false,
     {},
     false,
     {u"first record 0"_s, kErrOnly + kMailEnding},
     true},
    {"MailErrorsAndWarnings",
     OutputKind::Mail,
     kOutBoth,
     false,
     false,
     {},
     false,
     {u"first record 0"_s, kErrBoth + kMailEnding},
     true},
    // warnings, export and mail: one question
    {"ExportWarningsShown",
     OutputKind::Export,
     kOutWarn,
     false,
     false,
     {true},
     false,
     {yes(kWarnExport), u"first record 1"_s},
     true},
    {"ExportWarningsSkipped",
     OutputKind::Export,
     kOutWarn,
     false,
     false,
     {false},
     true,
     {no(kWarnExport)},
     false},
    {"MailWarningsShown",
     OutputKind::Mail,
     kOutWarn,
     false,
     false,
     {true},
     false,
     {yes(kWarnPrint), u"first record 1"_s},
     true},
    {"MailWarningsSkipped",
     OutputKind::Mail,
     kOutWarnBoth,
     true,
     false,
     {false},
     true,
     {no(kWarnPrint)},
     true},
    // warnings, final print: the question, then the two confirmations
    {"PrintWarningsShown",
     OutputKind::Print,
     kOutWarn,
     true,
     false,
     {true},
     false,
     {u"panel hidden"_s, u"tab 1"_s, yes(kWarnPrint), u"first record 1"_s, u"common"_s},
     true},
    {"PrintWarningsSkippedRestoresPanel",
     OutputKind::Print,
     kOutWarn,
     true,
     false,
     {false},
     true,
     {u"panel hidden"_s, u"tab 1"_s, no(kWarnPrint), u"scope section"_s, u"first record 1"_s,
      u"panel shown"_s},
     true},
    {"PrintWarningsSkippedPanelWasHidden",
     OutputKind::Print,
     kOutWarn,
     false,
     true,
     {false},
     true,
     {u"panel hidden"_s, u"tab 1"_s, no(kWarnPrint), u"scope report"_s, u"first record 1"_s,
      u"panel hidden"_s},
     false},
    {"PrintZeroPreviousYearDenied",
     OutputKind::Print,
     kOutWarnZero,
     false,
     false,
     {false, false},
     false,
     {u"panel hidden"_s, u"tab 1"_s, no(kWarnPrint), no(kZero), u"jump 05/2"_s},
     true},
    {"PrintZeroPreviousYearConfirmed",
     OutputKind::Print,
     kOutWarnZero,
     false,
     false,
     {false, true},
     true,
     {u"panel hidden"_s, u"tab 1"_s, no(kWarnPrint), yes(kZero), u"scope section"_s,
      u"first record 1"_s, u"panel hidden"_s},
     false},
    {"PrintEqualAuditsDenied",
     OutputKind::Print,
     kOutWarnEqual,
     false,
     false,
     {false, false},
     false,
     {u"panel hidden"_s, u"tab 1"_s, no(kWarnPrint), no(kEqual), u"jump 29/4"_s},
     true},
    {"PrintBothConfirmationsThenEqualDenied",
     OutputKind::Print,
     kOutWarnBoth,
     false,
     false,
     {false, true, false},
     false,
     {u"panel hidden"_s, u"tab 1"_s, no(kWarnPrint), yes(kZero), no(kEqual), u"jump 29/4"_s},
     true},
    {"PrintBothConfirmed",
     OutputKind::Print,
     kOutWarnBoth,
     true,
     false,
     {false, true, true},
     true,
     {u"panel hidden"_s, u"tab 1"_s, no(kWarnPrint), yes(kZero), yes(kEqual), u"scope section"_s,
      u"first record 1"_s, u"panel shown"_s},
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, OutputGateTest, ::testing::ValuesIn(kOutputCases),
                         [](const auto& p) { return std::string(p.param.name); });

// ------------------------------------------------------------------ warnings by row

TEST(GatesWarningAt, FindsOnlyWarningsOfThatSectionRow)
{
    auto err = createErrTable();
    const auto add = [&](int razdel, const QString& row, bool warning) {
        err->append();
        err->fieldByName(u"RazdelInd"_s).setAsInteger(razdel);
        err->fieldByName(u"KodRow_Value"_s).setAsString(row);
        err->fieldByName(u"IsWarning"_s).setAsBoolean(warning);
        err->post();
    };
    add(PosRazdel2, u"05"_s, false); // an error at the row is no warning
    add(PosRazdel4, u"05"_s, true);  // the row in another section
    add(PosRazdel4, u"29"_s, true);
    err->setFilter(u"IsWarning=false"_s); // the list's filter does not hide what is asked for
    err->setFiltered(true);
    const OutputGateCounts c = OutputCountsOf(*err, 1, 2);
    EXPECT_EQ(c.errors, 1);
    EXPECT_EQ(c.warnings, 2);
    EXPECT_FALSE(c.zeroPreviousYear);
    EXPECT_TRUE(c.equalAudits);
}

} // namespace
