// What "OK" of the search options refuses, checked on plain option values.

#include "options/OptionChecks.h"
#include "support/TableRows.h"

#include <QTest>

using namespace papyrant;
using papyrant::test::row;

Q_DECLARE_METATYPE(papyrant::SearchOptions)

namespace {

const QString NoCategorySelected = QStringLiteral("There is no selected category.\nplease select one or more category");
const QString NoYear = QStringLiteral("Please set year value");
const QString NoLanguage = QStringLiteral("Please set requested language");
const std::vector<CategoryChoice> One{{"Reviews", false}, {"None", true}};
const std::vector<CategoryChoice> None{{"Reviews", false}, {"None", false}};

} // namespace

class OptionChecksTest : public QObject {
    Q_OBJECT
private slots:
    void checks_data()
    {
        QTest::addColumn<SearchOptions>("options");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<int>("place");
        using Place = OptionRefusal::Place;
        row("defaults", SearchOptions{.categories = One}, QString(), 0);
        row("no category in the list", SearchOptions{}, QString(), 0);
        row("no category chosen", SearchOptions{.categories = None}, NoCategorySelected, int(Place::Categories));
        // The category comes first, even when a year is missing too.
        row("category before year", SearchOptions{.allYears = false, .categories = None}, NoCategorySelected,
            int(Place::Categories));
        row("no year", SearchOptions{.allYears = false, .categories = One}, NoYear, int(Place::YearFrom));
        row("from alone", SearchOptions{.allYears = false, .yearFrom = "1990"}, QString(), 0);
        row("to alone", SearchOptions{.allYears = false, .yearTo = "2000"}, QString(), 0);
        row("no language", SearchOptions{.allLanguages = false}, NoLanguage, int(Place::Language));
        row("year before language", SearchOptions{.allYears = false, .allLanguages = false}, NoYear,
            int(Place::YearFrom));
        row("language given", SearchOptions{.allLanguages = false, .language = "German"}, QString(), 0);
    }
    void checks()
    {
        QFETCH(SearchOptions, options);
        QFETCH(QString, message);
        QFETCH(int, place);
        const std::optional<OptionRefusal> refusal = checkOptions(options);
        QCOMPARE(refusal.has_value(), !message.isEmpty());
        if (refusal) {
            QCOMPARE(refusal->message, message);
            QCOMPARE(int(refusal->place), place);
        }
    }
};

QTEST_GUILESS_MAIN(OptionChecksTest)
#include "tst_OptionChecks.moc"
