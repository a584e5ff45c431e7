// What "OK" of the search options refuses, checked on plain option values.

#include "options/OptionChecks.h"

#include <QTest>

using namespace papyrant;

Q_DECLARE_METATYPE(papyrant::SearchOptions)

namespace {

SearchOptions with(std::vector<CategoryChoice> categories, bool allYears = true, QString from = {}, QString to = {},
    bool allLanguages = true, QString language = {})
{
    SearchOptions options;
    options.categories = std::move(categories);
    options.allYears = allYears;
    options.yearFrom = std::move(from);
    options.yearTo = std::move(to);
    options.allLanguages = allLanguages;
    options.language = std::move(language);
    return options;
}

const QString NoCategory = QStringLiteral("There is no selected category.\nplease select one or more category");
const QString NoYear = QStringLiteral("Please set year value");
const QString NoLanguage = QStringLiteral("Please set requested language");

} // namespace

class OptionChecksTest : public QObject {
    Q_OBJECT
private slots:
    void checks_data()
    {
        QTest::addColumn<SearchOptions>("options");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<int>("place");
        const std::vector<CategoryChoice> one{{"Reviews", false}, {"None", true}};
        const std::vector<CategoryChoice> none{{"Reviews", false}, {"None", false}};
        using Place = OptionRefusal::Place;
        QTest::newRow("defaults") << with(one) << QString() << 0;
        QTest::newRow("no category in the list") << with({}) << QString() << 0;
        QTest::newRow("no category chosen") << with(none) << NoCategory << int(Place::Categories);
        // The category comes first, even when a year is missing too.
        QTest::newRow("category before year") << with(none, false) << NoCategory << int(Place::Categories);
        QTest::newRow("no year") << with(one, false) << NoYear << int(Place::YearFrom);
        QTest::newRow("from alone") << with(one, false, "1990") << QString() << 0;
        QTest::newRow("to alone") << with(one, false, {}, "2000") << QString() << 0;
        QTest::newRow("no language") << with(one, true, {}, {}, false) << NoLanguage << int(Place::Language);
        QTest::newRow("year before language") << with(one, false, {}, {}, false) << NoYear << int(Place::YearFrom);
        QTest::newRow("language given") << with(one, true, {}, {}, false, "German") << QString() << 0;
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
