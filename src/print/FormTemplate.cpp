#include "print/FormTemplate.h"

#include "model/FieldDef.h"
#include "model/FormTables.h"
#include "model/Razdels.h"
#include "print/PrintReport.h"
#include "print/SpreadsheetApp.h"

using namespace Qt::StringLiterals;

namespace {

// Columns: A number, B caption, C row code, D..J data columns 3..9.
constexpr int kColNum = 1;
constexpr int kColName = 2;
constexpr int kColCode = 3;
constexpr int kFirstData = 4;
constexpr int kLastCol = 10;
constexpr double kWidthsMm[kLastCol] = {10, 88, 18, 22.5, 22.5, 22.5, 22.5, 22.5, 22.5, 22.5};

const QString kFont = u"Liberation Sans"_s;

struct SectionRows {
    int position;
    int lastGraf;
};
constexpr SectionRows kSections[] = {
    {PosRazdel1, 4}, {PosRazdel2, 4}, {PosRazdel3, 3}, {PosRazdel4, 9}};

class Sheet {
public:
    explicit Sheet(SpreadsheetApp& app) : m_app(app) {}

    int row() const { return m_row; }
    void skip(int rows = 1) { m_row += rows; }

    void text(int row, int col, const QString& t)
    {
        if (!t.isEmpty())
            m_app.setCellText(row, col, t);
    }
    // A text over the columns, merged when it spans more than one.
    void span(int row, int left, int right, const QString& t)
    {
        text(row, left, t);
        if (right > left)
            m_app.mergeCells({row, left, row, right});
    }
    void frame(const CellRange& r)
    {
        for (BorderEdge e :
             {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right,
              BorderEdge::InsideVertical, BorderEdge::InsideHorizontal})
            m_app.setBorder(r, e);
    }
    void centre(const CellRange& r)
    {
        m_app.setHorizontalAlignment(r, HAlign::Center);
        m_app.setVerticalAlignment(r, VAlign::Center);
    }
    SpreadsheetApp& app() { return m_app; }

private:
    SpreadsheetApp& m_app;
    int m_row = 1;
};

// Where a table's columns lie on the sheet's grid: the caption from B to nameLast, the row
// code, then each data column over `dataWidth` grid columns. Tables with few data columns
// spread over the whole width, so their captions take one or two lines instead of four.
struct TablePlan {
    int nameLast;
    int code;
    int dataFirst;
    int dataWidth;

    int dataLeft(int k) const { return dataFirst + k * dataWidth; }
    int dataRight(int k) const { return dataLeft(k) + dataWidth - 1; }
};

TablePlan planFor(int dataColumns)
{
    switch (dataColumns) {
    case 1:
        return {7, 8, 9, 2};
    case 2:
        return {5, 6, 7, 2};
    default:
        return {kColName, kColCode, kFirstData, 1};
    }
}

// Column titles in levels; upper levels shared by neighbours are merged.
void header(Sheet& s, int top, const QList<QStringList>& levels, const TablePlan& plan)
{
    int depth = 1;
    for (const QStringList& l : levels)
        depth = std::max(depth, int(l.size()));
    const int bottom = top + depth - 1;
    s.text(top, kColName, u"Наименование показателя"_s);
    s.text(top, plan.code, u"№ строки"_s);
    if (depth > 1 || plan.nameLast > kColName)
        s.app().mergeCells({top, kColName, bottom, plan.nameLast});
    if (depth > 1)
        s.app().mergeCells({top, plan.code, bottom, plan.code});
    for (int level = 0; level < depth; ++level) {
        int k = 0;
        while (k < levels.size()) {
            const QStringList& l = levels[k];
            if (l.size() <= level) {
                ++k;
                continue;
            }
            int end = k;
            while (end + 1 < levels.size() && levels[end + 1].size() > level &&
                   levels[end + 1].mid(0, level + 1) == l.mid(0, level + 1))
                ++end;
            const int col = plan.dataLeft(k);
            const int lastCol = plan.dataRight(end);
            // The last level of a shallow column reaches down to the bottom row.
            const bool down = level == l.size() - 1 && level < depth - 1;
            s.text(top + level, col, l[level]);
            if (lastCol > col || down)
                s.app().mergeCells({top + level, col, down ? bottom : top + level, lastCol});
            k = end + 1;
        }
    }
    const int lastCol = plan.dataRight(int(levels.size()) - 1);
    s.centre({top, kColName, bottom, lastCol});
    s.app().setFont({top, kColName, bottom, lastCol}, kFont, 8);
    s.app().setWrapText({top, kColName, bottom, lastCol}, true);
    // Column numbers under the titles.
    const int numbers = bottom + 1;
    s.span(numbers, kColName, plan.nameLast, u"1"_s);
    s.text(numbers, plan.code, u"2"_s);
    for (int k = 0; k < levels.size(); ++k)
        s.span(numbers, plan.dataLeft(k), plan.dataRight(k), QString::number(k + 3));
    s.centre({numbers, kColName, numbers, lastCol});
    s.skip(depth + 1);
}

void sectionTitle(Sheet& s, const TRazdel& r, const QString& unit)
{
    s.skip();
    s.span(s.row(), kColNum, kLastCol - 3, r.Title);
    s.app().setBold({s.row(), kColNum, s.row(), kColNum}, true);
    s.span(s.row(), kLastCol - 2, kLastCol, unit);
    s.app().setHorizontalAlignment({s.row(), kLastCol - 2, s.row(), kLastCol}, HAlign::Right);
    s.skip();
}

QString labelOf(const DataSet& table, const QString& field)
{
    for (const FieldDef& f : table.fieldDefs())
        if (f.name == field)
            return f.displayLabel;
    return field;
}

// One table row: the caption, the code and the data markers, each over its columns.
void tableRow(Sheet& s, const TablePlan& plan, const QString& name, const QString& code,
              const QStringList& data)
{
    s.span(s.row(), kColName, plan.nameLast, name);
    s.text(s.row(), plan.code, code);
    for (int k = 0; k < data.size(); ++k)
        s.span(s.row(), plan.dataLeft(k), plan.dataRight(k), data[k]);
    s.skip();
}

void section(Sheet& s, int position, int lastGraf)
{
    const TRazdel& r = Razdels()[position];
    sectionTitle(s, r, r.Zag_03.trimmed());
    auto table = createRazdelTable(position);
    QList<QStringList> levels;
    for (int graf = 3; graf <= lastGraf; ++graf) {
        QStringList l = labelOf(*table, u"Graf0%1"_s.arg(graf)).split(u'|');
        l.removeLast(); // the column number goes in its own row
        for (QString& t : l)
            t = t.simplified();
        levels << l;
    }
    const TablePlan plan = planFor(lastGraf - 2);
    const int top = s.row();
    header(s, top, levels, plan);
    const int lastCol = plan.dataRight(lastGraf - 3);
    const int first = s.row();
    for (table->first(); !table->eof(); table->next()) {
        const QString kod = table->fieldByName(u"KodRow"_s).asString();
        QString name = table->fieldByName(u"NameRow"_s).asString();
        name.replace(u"\r\n"_s, u"\n"_s);
        QStringList data;
        for (int graf = 3; graf <= lastGraf; ++graf)
            data << u"#Row%1Graf0%2#"_s.arg(kod).arg(graf);
        tableRow(s, plan, name, kod, data);
    }
    const int last = s.row() - 1;
    s.app().setWrapText({first, kColName, last, plan.nameLast}, true);
    s.app().setVerticalAlignment({first, kColName, last, lastCol}, VAlign::Center);
    s.app().setHorizontalAlignment({first, plan.code, last, plan.code}, HAlign::Center);
    s.app().setHorizontalAlignment({first, plan.dataFirst, last, lastCol}, HAlign::Right);
    s.frame({top, kColName, last, lastCol});
}

void labelled(Sheet& s, const QString& label, const QString& marker)
{
    s.span(s.row(), kColNum, kColName, label);
    s.span(s.row(), kColCode, kLastCol, marker);
    // A long caption takes a second line rather than being cut by the value beside it.
    s.app().setWrapText({s.row(), kColNum, s.row(), kLastCol}, true);
    s.app().setVerticalAlignment({s.row(), kColNum, s.row(), kLastCol}, VAlign::Center);
    s.frame({s.row(), kColNum, s.row(), kLastCol});
    s.skip();
}

} // namespace

void BuildFormTemplate(SpreadsheetApp& app, bool draft)
{
    Sheet s(app);
    app.addWorkbook();
    for (int col = 1; col <= kLastCol; ++col)
        app.setColumnWidthMm(col, kWidthsMm[col - 1]);
    app.setFont({1, 1, 400, kLastCol}, kFont, 9);

    if (draft) {
        s.span(s.row(), kColNum, kLastCol,
               u"ЧЕРНОВИК — для проверки, не для представления в Минфин"_s);
        app.setFont({s.row(), 1, s.row(), 1}, kFont, 14);
        app.setBold({s.row(), 1, s.row(), 1}, true);
        app.setBackColor({s.row(), 1, s.row(), kLastCol}, CellColor(0xE0E0E0));
        s.centre({s.row(), 1, s.row(), 1});
        s.skip(2);
    }
    const int boxTop = s.row();
    s.span(s.row(), kColName, kLastCol - 1, u"ФЕДЕРАЛЬНОЕ СТАТИСТИЧЕСКОЕ НАБЛЮДЕНИЕ"_s);
    app.setBold({s.row(), kColName, s.row(), kColName}, true);
    s.skip();
    s.span(s.row(), kColName, kLastCol - 1,
           u"КОНФИДЕНЦИАЛЬНОСТЬ ГАРАНТИРУЕТСЯ ПОЛУЧАТЕЛЕМ ИНФОРМАЦИИ"_s);
    s.centre({boxTop, kColName, s.row(), kColName});
    s.frame({boxTop, kColName, s.row(), kLastCol - 1});
    s.skip(2);

    const int titleTop = s.row();
    s.span(s.row(), kColNum, kLastCol, u"ОТЧЕТ ОБ АУДИТОРСКОЙ ДЕЯТЕЛЬНОСТИ"_s);
    app.setFont({s.row(), 1, s.row(), 1}, kFont, 12);
    s.skip();
    s.span(s.row(), kColNum, kLastCol, u"за #Year# год"_s);
    app.setBold({titleTop, 1, s.row(), 1}, true);
    s.centre({titleTop, 1, s.row(), 1});
    s.skip(2);

    const int formTop = s.row();
    s.span(s.row(), kColNum, 6,
           u"Представляют: аудиторские организации и индивидуальные аудиторы"_s);
    s.span(s.row(), kLastCol - 2, kLastCol, u"Форма № 2-аудит"_s);
    app.setBold({s.row(), kLastCol - 2, s.row(), kLastCol - 2}, true);
    s.skip();
    s.span(s.row(), kColNum, 6, u"Получатель: Министерство финансов Российской Федерации"_s);
    s.span(s.row(), kLastCol - 2, kLastCol, u"Годовая"_s);
    s.centre({formTop, kLastCol - 2, s.row(), kLastCol - 2});
    s.frame({formTop, kLastCol - 2, s.row(), kLastCol});
    s.skip(2);

    labelled(s, u"Наименование отчитывающейся аудиторской организации"_s, u"#Name#"_s);
    labelled(s, u"Индивидуальный аудитор (фамилия, имя, отчество)"_s, u"#FIO#"_s);
    labelled(s, u"Почтовый адрес"_s, u"#Address#"_s);
    labelled(s, u"Телефон/факс"_s, u"#TelFax#"_s);
    labelled(s, u"Адрес электронной почты"_s, u"#email#"_s);
    s.skip();

    const int codesTop = s.row();
    s.span(s.row(), kColNum, kColName, u"Код формы по ОКУД"_s);
    s.span(s.row(), kColCode, 6, u"Код отчитывающейся организации по ОКПО"_s);
    s.span(s.row(), 7, kLastCol, u"ОГРН"_s);
    s.skip();
    s.span(s.row(), kColNum, kColName, u"1"_s);
    s.span(s.row(), kColCode, 6, u"2"_s);
    s.span(s.row(), 7, kLastCol, u"3"_s);
    s.skip();
    s.span(s.row(), kColNum, kColName, u"#OKUD#"_s);
    s.span(s.row(), kColCode, 6, u"#OKPO#"_s);
    s.span(s.row(), 7, kLastCol, u"#OGRN#"_s);
    s.centre({codesTop, 1, s.row(), kLastCol});
    s.frame({codesTop, 1, s.row(), kLastCol});
    s.skip();

    // Pages are planned for the longest values the editors take: the requisites with
    // section 1, sections 2 and 3, section 4 with the quality review, the membership with
    // the signatures. No table is cut by a page break.
    for (const SectionRows& r : kSections) {
        if (r.position == PosRazdel2 || r.position == PosRazdel4)
            app.setPageBreakBefore(s.row() + 1);
        section(s, r.position, r.lastGraf);
    }

    // Quality review: the answer cell shows ДА or НЕТ.
    const TablePlan answer = planFor(1);
    sectionTitle(s, Razdels()[PosQualityTest], QString());
    const int qTop = s.row();
    header(s, qTop, {{u"Ответ (ДА, НЕТ)"_s}}, answer);
    tableRow(s, answer, u"Внешняя проверка качества работы в отчётном году пройдена"_s, u"38"_s,
             {u"#Yes##No#"_s});
    const int qRow = s.row() - 1;
    app.setWrapText({qRow, kColName, qRow, answer.nameLast}, true);
    s.centre({qRow, answer.code, qRow, kLastCol});
    s.frame({qTop, kColName, qRow, kLastCol});
    app.setPageBreakBefore(s.row() + 1);

    // Membership: numbered rows of markers; the name over most of the width.
    constexpr int kMemberNameLast = kLastCol - 2;
    const int memberCols[4][2] = {{kColNum, kColNum},
                                  {kColName, kMemberNameLast},
                                  {kLastCol - 1, kLastCol - 1},
                                  {kLastCol, kLastCol}};
    s.skip();
    s.span(s.row(), kColNum, kLastCol, Razdels()[PosMembership].Title);
    app.setBold({s.row(), 1, s.row(), 1}, true);
    s.skip();
    const int mTop = s.row();
    const QString memberTitles[4] = {
        u"№ п/п"_s,
        u"Наименование профессионального объединения или международной сети аудиторских организаций"_s,
        u"Код объединения или сети"_s, u"Год вступления"_s};
    for (int k = 0; k < 4; ++k) {
        s.span(mTop, memberCols[k][0], memberCols[k][1], memberTitles[k]);
        s.span(mTop + 1, memberCols[k][0], memberCols[k][1], QString::number(k + 1));
    }
    s.centre({mTop, 1, mTop + 1, kLastCol});
    app.setFont({mTop, 1, mTop, kLastCol}, kFont, 8);
    app.setWrapText({mTop, 1, mTop, kLastCol}, true);
    s.skip(2);
    for (int k = 1; k <= kMembershipRows; ++k) {
        const QString n = QString::number(k);
        const QString markers[4] = {u"#NumRow"_s + n + u'#', u"#NameRow"_s + n + u'#',
                                    u"#KodRow"_s + n + u'#', u"#YearVstuplen"_s + n + u'#'};
        for (int c = 0; c < 4; ++c)
            s.span(s.row(), memberCols[c][0], memberCols[c][1], markers[c]);
        s.skip();
    }
    app.setWrapText({mTop + 2, kColName, s.row() - 1, kMemberNameLast}, true);
    app.setVerticalAlignment({mTop + 2, 1, s.row() - 1, kLastCol}, VAlign::Center);
    app.setHorizontalAlignment({mTop + 2, 1, s.row() - 1, 1}, HAlign::Center);
    app.setHorizontalAlignment({mTop + 2, kLastCol - 1, s.row() - 1, kLastCol}, HAlign::Center);
    s.frame({mTop, 1, s.row() - 1, kLastCol});
    s.skip();

    // Signatures.
    const int signTop = s.row();
    s.span(s.row(), kColNum, kColName, u"Руководитель организации (индивидуальный аудитор)"_s);
    s.span(s.row(), kColCode, 6, u"#rukovod#"_s);
    s.span(s.row(), 8, kLastCol, QString());
    app.setBorder({s.row(), kColCode, s.row(), 6}, BorderEdge::Bottom);
    app.setBorder({s.row(), 8, s.row(), kLastCol}, BorderEdge::Bottom);
    s.skip();
    s.span(s.row(), kColCode, 6, u"(Ф.И.О.)"_s);
    s.span(s.row(), 8, kLastCol, u"(подпись)"_s);
    s.skip(2);
    s.span(s.row(), kColNum, kColName, u"Должностное лицо, ответственное за составление формы"_s);
    s.span(s.row(), kColCode, 5, u"#PositionOtv#"_s);
    s.span(s.row(), 6, 8, u"#FIOotv#"_s);
    s.span(s.row(), 9, kLastCol, QString());
    app.setBorder({s.row(), kColCode, s.row(), 5}, BorderEdge::Bottom);
    app.setBorder({s.row(), 6, s.row(), 8}, BorderEdge::Bottom);
    app.setBorder({s.row(), 9, s.row(), kLastCol}, BorderEdge::Bottom);
    s.skip();
    s.span(s.row(), kColCode, 5, u"(должность)"_s);
    s.span(s.row(), 6, 8, u"(Ф.И.О.)"_s);
    s.span(s.row(), 9, kLastCol, u"(подпись)"_s);
    s.skip(2);
    s.span(s.row(), kColNum, kColName, u"Номер контактного телефона"_s);
    s.span(s.row(), kColCode, 5, u"#telOtv#"_s);
    s.span(s.row(), 6, 8, u"Дата составления документа"_s);
    s.span(s.row(), 9, kLastCol, u"#DataSost#"_s);
    app.setBorder({s.row(), kColCode, s.row(), 5}, BorderEdge::Bottom);
    app.setBorder({s.row(), 9, s.row(), kLastCol}, BorderEdge::Bottom);
    s.skip();
    // Names of up to a hundred characters wrap inside their lines instead of running over.
    app.setWrapText({signTop, kColNum, s.row() - 1, kLastCol}, true);
    app.setVerticalAlignment({signTop, kColNum, s.row() - 1, kColNum}, VAlign::Center);
    s.centre({signTop, kColCode, s.row() - 1, kLastCol});
    s.skip();
    s.span(s.row(), kColNum, kColName, u"КС = #FileCRC#"_s);
    app.setBold({s.row(), 1, s.row(), 1}, true);
    const int last = s.row();

    app.setOptimalRowHeights(1, last);
    PageSetup page;
    page.orientation = Orientation::Landscape;
    page.fitPagesWide = 1;
    page.marginMm = 12;
    page.printArea = u"A1:J%1"_s.arg(last);
    app.setPageSetup(page);
    app.setFooters(QString(), QString(), u"&8&С из &К"_s);
    app.protectSheet(QString::fromUtf16(kShablonPassword), SheetProtection::Everything);
}
