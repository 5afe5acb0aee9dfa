#pragma once

#include "control/Gates.h"

#include <QString>
#include <QStringList>

// The window as the gates drive it: the counts of the control runs are set by the test,
// every step is written into `log` (shared with the message boxes, so the order of boxes
// and steps shows).
class RecordingGateHost : public GateHost {
public:
    explicit RecordingGateHost(QStringList& log) : m_log(log) {}

    SectionGateCounts section;
    OutputGateCounts report;
    bool visible = false;
    bool all = false;

    SectionGateCounts runSectionControl() override
    {
        all = false;
        m_log << QStringLiteral("control section");
        return section;
    }
    OutputGateCounts runReportControl() override
    {
        all = true;
        m_log << QStringLiteral("control report");
        return report;
    }
    bool panelVisible() const override { return visible; }
    void setPanelVisible(bool v) override
    {
        visible = v;
        m_log << (v ? QStringLiteral("panel shown") : QStringLiteral("panel hidden"));
    }
    void hidePanelOnly() override
    {
        visible = false;
        m_log << QStringLiteral("panel hidden alone");
    }
    void showTab(int tab) override
    {
        visible = true;
        m_log << QStringLiteral("tab %1").arg(tab);
    }
    void showFirstRecord(int tab) override
    {
        visible = true;
        m_log << QStringLiteral("first record %1").arg(tab);
    }
    void jumpToRecord(const QString& kodRow, int razdelInd) override
    {
        m_log << QStringLiteral("jump %1/%2").arg(kodRow).arg(razdelInd);
    }
    bool showAll() const override { return all; }
    void setShowAll(bool a) override
    {
        all = a;
        m_log << (a ? QStringLiteral("scope report") : QStringLiteral("scope section"));
    }
    void updateCommonAction() override { m_log << QStringLiteral("common"); }

private:
    QStringList& m_log;
};
