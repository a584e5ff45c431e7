// The search options dialog, driven through its real controls: the copy it is given, the
// sort list that follows the output fields, the languages read from the bibliography and
// "OK", which hands the edited copy back; and what "OK" refuses, checked on plain option
// values.

#include "core/Database.h"
#include "core/ProgramState.h"
#include "help/Help1.h"
#include "help/HelpOpener.h"
#include "options/OptionChecks.h"
#include "options/OptionForm.h"
#include "options/OptionLists.h"
#include "search/QueryComposition.h"
#include "support/ScreenFixture.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <optional>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;
using papyrant::test::row;

Q_DECLARE_METATYPE(papyrant::SearchOptions)

namespace {
// A control's state in one line: check lists as "+ticked -clear" entries, combo boxes as
// their entries and choice, each marked when switched off.
QString describe(const QWidget* control)
{
    QString state;
    if (const auto* list = qobject_cast<const QListWidget*>(control)) {
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << (list->item(i)->checkState() == Qt::Checked ? u'+' : u'-') + list->item(i)->text();
        state = entries.join(u',');
    } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        state = items(combo).join(u',') + QStringLiteral(" @") + combo->currentText()
            + (combo->isEditable() ? QStringLiteral(" editable") : QString());
    }
    return control->isEnabled() ? state : state + QStringLiteral(" (off)");
}

// Ticks or clears the one entry of that text from the keyboard.
void toggle(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    test::toggle(list, list->row(found.first()));
}

// Ticks or clears a check box from the keyboard, as a short caption leaves little to click.
void tick(QCheckBox* box)
{
    const bool before = box->isChecked();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->isChecked(), !before);
}

const QString NoCategorySelected = QStringLiteral("There is no selected category.\nplease select one or more category");
const QString NoYear = QStringLiteral("Please set year value");
const QString NoLanguage = QStringLiteral("Please set requested language");
const std::vector<CategoryChoice> One{{"Reviews", false}, {"None", true}};
const std::vector<CategoryChoice> None{{"Reviews", false}, {"None", false}};

} // namespace

class OptionFormTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScreenFixture> m_fixture;
    std::unique_ptr<OptionForm> m_form;
    QString m_bibliography;

    // A control of the dialog by its name.
    template <typename T = QWidget>
    T* the(const QString& name) const
    {
        return test::the<T>(m_form.get(), name);
    }

    void openForm(const std::vector<TestRecord>& records)
    {
        m_bibliography = m_fixture->folder().makeBibliography(QStringLiteral("options.pyr"), records);
        Bibliography& bibliography = m_fixture->folder().openBibliography(m_bibliography);
        m_form = std::make_unique<OptionForm>(bibliography);
        // As the results screen hands it over: the defaults, every category selected.
        m_form->edit(defaultSearchOptions(bibliography.refreshCategories(m_fixture->prompts())));
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    // The categories in the order the engine gives them, all ticked.
    QString allCategoriesTicked() const
    {
        return u'+' + readLines(m_bibliography, u"Select Distinct Abstracts.Category From Abstracts"_s).join(u",+"_s);
    }

    void addRecord(const QString& language, const QString& category)
    {
        Database(m_bibliography)
            .execute(u"INSERT INTO Abstracts (Title, Language, Category) VALUES ('t', '%1', '%2')"_s.arg(
                language, category));
    }

    // Presses "OK": with a notice expected, exactly that notice and the dialog stays open;
    // without, the dialog closes silently and hands back settings that compose this statement.
    void pressOk(const QString& notice, const QString& statement = {})
    {
        std::optional<SearchOptions> handedBack;
        const auto connection = QObject::connect(
            m_form.get(), &OptionForm::accepted, [&](const SearchOptions& edited) { handedBack = edited; });
        const std::size_t before = m_fixture->prompts().asked().size();
        click(m_form.get(), "Command1");
        QObject::disconnect(connection);
        QCOMPARE(m_fixture->prompts().asked().size(), before + (notice.isEmpty() ? 0 : 1));
        QCOMPARE(handedBack.has_value(), notice.isEmpty());
        QCOMPARE(m_form->isVisible(), !notice.isEmpty());
        if (!notice.isEmpty()) {
            QCOMPARE(describe(m_fixture->prompts().asked().back()), "Papyrant|" + notice + "|Ok/None/Ok");
            return;
        }
        QVERIFY(*handedBack == m_form->options());
        QCOMPARE(ComposeQuery(CriteriaRows{}, *handedBack), statement);
        m_form->show();
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<ScreenFixture>();
        openForm({{{"Title", "a"}, {"Language", "German"}, {"Category", "Reviews"}},
            {{"Title", "b"}, {"Language", "english"}, {"Category", "None"}},
            {{"Title", "c"}, {"Language", "Danish"}, {"Category", "Crohn's"}},
            {{"Title", "d"}, {"Language", "German"}, {"Category", "Reviews"}}});
    }
    void cleanup()
    {
        m_form.reset();
        m_fixture.reset();
    }

    void opensUnclosableWithEveryCategoryTicked()
    {
        const OptionForm& form = *m_form;
        // A title bar without close, minimise and maximise buttons.
        QCOMPARE(
            form.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::CustomizeWindowHint),
            Qt::WindowFlags(Qt::CustomizeWindowHint));
        QCOMPARE(describe(the("List3")), allCategoriesTicked());
        // The controls give back what they were given.
        QVERIFY(form.options() == defaultSearchOptions(m_fixture->folder().bibliography().categories()));
    }

    void choicesAreReadFromTheListsAndHandedBack()
    {
        toggle(the<QListWidget>("List1Vis"), QStringLiteral("Key words"));
        toggle(the<QListWidget>("List1Vis"), QStringLiteral("Author address"));
        choose(the<QComboBox>("Combo2"), QStringLiteral("Publishing year"));
        tick(the<QCheckBox>("CheckRef"));
        pressOk({}, QStringLiteral("Select Abstracts.* From Abstracts Order by CAST(Publishing_year AS TEXT)"));
        const SearchOptions options = m_form->options();
        QCOMPARE(options.searchedColumns,
            (std::array<bool, SearchableColumnCount>{true, false, true, false, false, false, true}));
        QVERIFY(options.createReferences);
    }

    void droppingAnOutputFieldRebuildsTheSortList()
    {
        QComboBox* sortBy = the<QComboBox>("Combo2");
        QListWidget* output = the<QListWidget>("List2Vis");
        choose(sortBy, QStringLiteral("Title"));
        toggle(output, QStringLiteral("Publishing year"));
        QCOMPARE(describe(sortBy), QStringLiteral("None,Title,Publication type,Language @None"));
        QCOMPARE(m_form->options().sortColumn, QStringLiteral("None"));
        QCOMPARE(output->currentItem()->text(), QStringLiteral("Publishing year"));
        QVERIFY(!m_form->options().outputFields[Publishing_year]);

        // Any change of the output rebuilds it, even of a field that is no sort choice.
        choose(sortBy, QStringLiteral("Language"));
        toggle(output, QStringLiteral("Key words"));
        QCOMPARE(sortBy->currentText(), QStringLiteral("None"));
        toggle(output, QStringLiteral("Publishing year"));
        QCOMPARE(describe(sortBy), QStringLiteral("None,Title,Publishing year,Publication type,Language @None"));
        QVERIFY(m_form->options().outputFields[Keywords]);
    }

    void okRefusesWhatIsMissing_data()
    {
        QTest::addColumn<int>("missing");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("caret");
        row("category", 0, u"There is no selected category.\nplease select one or more category"_s, "");
        row("year", 1, u"Please set year value"_s, "TextYear1");
        row("language", 2, u"Please set requested language"_s, "ComboLanguage");
    }
    void okRefusesWhatIsMissing()
    {
        QFETCH(int, missing);
        QFETCH(QString, notice);
        QFETCH(QString, caret);
        if (missing == 0) {
            for (const QString& name : {QStringLiteral("Reviews"), QStringLiteral("None"), QStringLiteral("Crohn's")})
                toggle(the<QListWidget>("List3"), name);
        }
        tick(the<QCheckBox>(missing == 1 ? "CheckYears" : missing == 2 ? "CheckLanguage" : "CheckRef"));
        pressOk(notice);
        if (caret.isEmpty())
            QCOMPARE(the<QListWidget>("List3")->currentRow(), -1);
        else
            QCOMPARE(QApplication::focusWidget(), the(caret));
    }

    void okTakesWhatWasGiven()
    {
        // One category, one year, a typed language: each reaches the statement quoted.
        QListWidget* categories = the<QListWidget>("List3");
        for (const QString& name : {QStringLiteral("Reviews"), QStringLiteral("None")})
            toggle(categories, name);
        pressOk({},
            QStringLiteral(
                "Select Abstracts.* From Abstracts Where ((CAST(Abstracts.Category AS TEXT) = 'Crohn''s' ))"));
        toggle(categories, QStringLiteral("None"));
        toggle(categories, QStringLiteral("Reviews"));

        QLineEdit* from = the<QLineEdit>("TextYear1");
        tick(the<QCheckBox>("CheckYears"));
        QVERIFY(from->isEnabled() && the("TextYear2")->isEnabled());
        QTest::keyClicks(from, QStringLiteral("199012"));
        QCOMPARE(from->text(), QStringLiteral("1990"));
        pressOk({},
            QStringLiteral(
                "Select Abstracts.* From Abstracts Where ((CAST(Abstracts.Publishing_year AS TEXT) >= '1990' ))"));
        tick(the<QCheckBox>("CheckYears"));
        QVERIFY(!from->isEnabled());

        QCheckBox* all = the<QCheckBox>("CheckLanguage");
        QComboBox* language = the<QComboBox>("ComboLanguage");
        tick(all);
        QCOMPARE(describe(language), QStringLiteral("Danish,english,German @ editable"));
        QTest::keyClicks(language->lineEdit(), QStringLiteral("Kala'allisut"));
        QTest::keyClick(language->lineEdit(), Qt::Key_Return);
        QCOMPARE(language->count(), 3);
        pressOk({},
            QStringLiteral(
                "Select Abstracts.* From Abstracts Where (CAST(Abstracts.Language AS TEXT) = 'Kala''allisut' )"));

        // The list is read again, unchosen, each time "All" is cleared.
        tick(all);
        QVERIFY(!language->isEnabled());
        addRecord(QStringLiteral("Basque"), QStringLiteral("None"));
        tick(all);
        QCOMPARE(describe(language), QStringLiteral("Basque,Danish,english,German @ editable"));
    }

    void emptyBibliographyHasNoCategoryToAskFor()
    {
        openForm({});
        QCOMPARE(the<QListWidget>("List3")->count(), 0);
        pressOk({}, QStringLiteral("Select Abstracts.* From Abstracts"));
    }

    void onlyOkClosesAndHelpOpensTheOptionsPage()
    {
        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
        QTest::keyClick(m_form.get(), Qt::Key_Escape);
        QVERIFY(m_form->isVisible());
        click(m_form.get(), "Command2");
        QCOMPARE(
            Help1::instance().homePage(), m_fixture->folder().state().ProgramFolder + QStringLiteral("/HsearchOp.htm"));
    }

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

QTEST_MAIN(OptionFormTest)
#include "tst_OptionForm.moc"
