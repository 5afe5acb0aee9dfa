#pragma once

#include <QString>
#include <array>

// Descriptor of one section of the report: its code, texts and the names of the
// table, grid and panel of the main window that hold and show it.
struct TRazdel {
    qint32 Nomer;
    QString Kod;
    QString Name;
    QString NameForMsg;
    QString ListCaption;
    QString Title;
    QString Zag_01;
    QString Zag_02;
    QString Zag_03;
    QString EdIzm;
    QString DataSetName;
    QString GridName;
    QString PanelName;
    QString KeyFieldName;
};

constexpr int RazdelCount = 7;

// Fixed positions of the sections.
enum RazdelPos : int {
    PosRekvizity = 0,
    PosRazdel1 = 1,
    PosRazdel2 = 2,
    PosRazdel3 = 3,
    PosRazdel4 = 4,
    PosQualityTest = 5,
    PosMembership = 6,
};

const std::array<TRazdel, RazdelCount>& Razdels();
// Position of the section with the given code, -1 when there is none.
int razdelPosByKod(const QString& kod);
