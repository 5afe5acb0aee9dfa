#include "control/SectionGrids.h"

#include "control/EditRules.h"
#include "model/Razdels.h"

using namespace Qt::StringLiterals;

namespace {

constexpr Qt::Alignment kTop = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment kMiddle = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

bool is(const QString& field, const QString& name)
{
    return field.compare(name, Qt::CaseInsensitive) == 0;
}

QList<SectionGrid> makeGrids()
{
    QList<GridColumnSpec> s4 = {{u"NameRow"_s, 332, true, kTop, false},
                                {u"KodRow"_s, 32, true, kCentre, false}};
    for (int g = 3; g <= 9; ++g)
        s4.append({u"Graf%1"_s.arg(g, 2, 10, QChar(u'0')), 60, false, kMiddle, false});
    return {
        {PosRazdel1,
         2,
         30,
         true,
         true,
         {{u"NameRow"_s, 452, true, kTop, false},
          {u"KodRow"_s, 40, true, kCentre, false},
          {u"Graf03"_s, 74, false, kMiddle, false},
          {u"Graf04"_s, 74, false, kMiddle, false}}},
        {PosRazdel2,
         2,
         30,
         true,
         true,
         {{u"NameRow"_s, 450, true, kTop, false},
          {u"KodRow"_s, 40, true, kCentre, false},
          {u"Graf03"_s, 102, false, kMiddle, false},
          {u"Graf04"_s, 116, false, kMiddle, false}}},
        {PosRazdel3,
         2,
         29,
         true,
         true,
         {{u"NameRow"_s, 570, true, kTop, false},
          {u"KodRow"_s, 53, true, Qt::AlignHCenter | Qt::AlignTop, false},
          {u"Graf03"_s, 81, false, kTop, false}}},
        {PosRazdel4, 2, 30, true, true, s4},
        {PosQualityTest,
         2,
         30,
         false,
         false,
         {{u"NameRow"_s, 330, true, kMiddle, false},
          {u"NameYes"_s, 35, true, kRight, false},
          {u"ValueYes"_s, 20, false, kCentre, true},
          {u"NameNo"_s, 35, true, kRight, false},
          {u"ValueNo"_s, 20, false, kCentre, true}}},
        {PosMembership,
         1,
         22,
         true,
         true,
         {{u"Num"_s, 24, true, kCentre, false},
          {u"NameRow"_s, 563, false, kMiddle, false},
          {u"KodRow"_s, 42, true, kCentre, false},
          {u"Year"_s, 64, false, kMiddle, false}}},
    };
}

} // namespace

const QList<SectionGrid>& SectionGrids()
{
    static const QList<SectionGrid> grids = makeGrids();
    return grids;
}

KeyRule KeyRuleFor(int position, const QString& field)
{
    switch (position) {
    case PosRazdel1:
        return is(field, u"Graf03"_s) ? KeyRule::Integer : KeyRule::Decimal4;
    case PosRazdel2:
        return KeyRule::Decimal9;
    case PosRazdel3:
    case PosRazdel4:
        return KeyRule::Integer;
    case PosMembership:
        return is(field, u"Year"_s) ? KeyRule::Year : KeyRule::Any;
    default:
        return KeyRule::Any;
    }
}

CellLook CellLookFor(int position, int recNo, const QString& field)
{
    if (position == PosMembership) {
        // The first five names are the form's own; the codes of the next two groups of five
        // rows are coloured apart.
        if (is(field, u"NameRow"_s) && recNo <= 5)
            return CellLook::FixedName;
        if (is(field, u"KodRow"_s) && recNo >= 6 && recNo <= 10)
            return CellLook::FirstCodes;
        if (is(field, u"KodRow"_s) && recNo >= 11 && recNo <= 15)
            return CellLook::SecondCodes;
        return CellLook::Plain;
    }
    switch (cellClass(position, recNo, field)) {
    case CellClass::Total:
        return CellLook::Total;
    case CellClass::Locked:
        return CellLook::Locked;
    default:
        return CellLook::Plain;
    }
}
