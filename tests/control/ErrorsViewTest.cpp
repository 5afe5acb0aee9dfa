#include "control/ErrorsView.h"
#include "model/Razdels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ControlCounts counts()
{
    ControlCounts c;
    c.RazdelErrCount[2] = 11;
    c.RazdelWarnCount[2] = 2;
    c.AllErrCount = 40;
    c.AllWarnCount = 7;
    return c;
}

} // namespace

// Each tab, for the current section and for the whole document: filter, counters and titles.
TEST(ErrorsView, TabsOfTheSectionAndOfTheDocument)
{
    const QString kod = Razdels()[2].Kod;
    const struct {
        int tab;
        bool whole;
        QString filter, errorsTab, warningsTab, caption, number, name;
    } cases[] = {
        {0, false, u"IsWarning=false and RazdelKod='"_s + kod + u"'"_s,
         u"           Ошибки  (всего - 11)           "_s, u"  Предупреждения  (всего -  2)  "_s,
         u"Ошибки в текущем разделе. Всего ошибок - 11"_s, u"Номер ошибки"_s,
         u"Наименование ошибки"_s},
        {1, false, u"IsWarning=true and RazdelKod='"_s + kod + u"'"_s,
         u"           Ошибки  (всего - 11)           "_s, u"  Предупреждения  (всего -  2)  "_s,
         u"Предупреждения в текущем разделе. Всего предупреждений - 2"_s, u"Номер предупреждения"_s,
         u"Наименование предупреждения"_s},
        {0, true, u"IsWarning=false"_s, u"           Ошибки  (всего -  40)           "_s,
         u"  Предупреждения  (всего -  7)  "_s, u"Ошибки в целом по документу. Всего ошибок - 40"_s,
         u"Номер ошибки"_s, u"Наименование ошибки"_s},
        {1, true, u"IsWarning=true"_s, u"           Ошибки  (всего -  40)           "_s,
         u"  Предупреждения  (всего -  7)  "_s,
         u"Предупреждения в целом по документу. Всего предупреждений - 7"_s,
         u"Номер предупреждения"_s, u"Наименование предупреждения"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "tab " << c.tab << (c.whole ? " whole" : " section"));
        const ErrorsView v = ErrorsViewFor(c.tab, c.whole, 2, counts());
        EXPECT_TRUE(v.texts);
        EXPECT_EQ(v.filter, c.filter);
        EXPECT_EQ(v.errorsTab, c.errorsTab);
        EXPECT_EQ(v.warningsTab, c.warningsTab);
        EXPECT_EQ(v.caption, c.caption);
        EXPECT_EQ(v.numberTitle, c.number);
        EXPECT_EQ(v.nameTitle, c.name);
        EXPECT_EQ(v.sectionColumn, c.whole);
    }
}

// No current section: the list is filtered by kind only and nothing else changes.
TEST(ErrorsView, NoSectionFiltersByKindOnly)
{
    for (const int razdel : {-1, RazdelCount}) {
        const ErrorsView v = ErrorsViewFor(1, false, razdel, counts());
        EXPECT_EQ(v.filter, u"IsWarning=true"_s);
        EXPECT_FALSE(v.texts);
        EXPECT_TRUE(v.caption.isEmpty());
    }
}
