// The search options dialog, driven through its real controls: defaults, the sort list
// that follows the output fields, the lists read from the bibliography and the checks of "OK".

#include "core/Database.h"
#include "core/ProgramState.h"
#include "options/OptionForm.h"
#include "options/OptionLists.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;

namespace {

template <typename T>
T* control(const QWidget& form, const char* name)
{
    T* found = form.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QStringList texts(const QListWidget* list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->item(i)->text();
    return all;
}

QStringList checkedTexts(const QListWidget* list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            all << list->item(i)->text();
    }
    return all;
}

QStringList items(const QComboBox* combo)
{
    QStringList all;
    for (int i = 0; i < combo->count(); ++i)
        all << combo->itemText(i);
    return all;
}

// Ticks or clears an entry the way a user does from the keyboard: current row, Space.
void toggle(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    list->setFocus();
    list->setCurrentItem(found.first());
    const Qt::CheckState before = found.first()->checkState();
    QTest::keyClick(list->viewport(), Qt::Key_Space);
    QVERIFY(found.first()->checkState() != before);
}

void choose(QComboBox* combo, const QString& text)
{
    combo->setFocus();
    const int target = combo->findText(text);
    QVERIFY2(target >= 0, qPrintable(text));
    while (combo->currentIndex() != target)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
}

// Ticks or clears a check box from the keyboard, as a short caption leaves little to click.
void tick(QCheckBox* box)
{
    const bool before = box->isChecked();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->isChecked(), !before);
}

void clickOk(const QWidget& form) { QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton); }

} // namespace

class OptionFormTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<OptionForm> m_form;
    QString m_bibliography;

    void openForm(const std::vector<TestRecord>& records)
    {
        m_bibliography = m_folder->makeBibliography(QStringLiteral("options.pyr"), records);
        m_folder->openBibliography(m_bibliography);
        m_folder->state().DataPath.clear();
        m_form = std::make_unique<OptionForm>();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    // The categories in the order the engine gives them.
    QStringList distinctCategories() const
    {
        QStringList names;
        for (const QStringList& row :
             readRows(m_bibliography, QStringLiteral("Select Distinct Abstracts.Category From Abstracts")))
            names << row.front();
        return names;
    }

    void addRecord(const QString& language, const QString& category)
    {
        Database db(m_bibliography);
        db.execute(QStringLiteral("INSERT INTO Abstracts (Title, Language, Category) VALUES ('t', '%1', '%2')")
                       .arg(language, category));
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        openForm({{{"Title", "a"}, {"Language", "German"}, {"Category", "Reviews"}},
                  {{"Title", "b"}, {"Language", "english"}, {"Category", "None"}},
                  {{"Title", "c"}, {"Language", "Danish"}, {"Category", "Crohn's"}},
                  {{"Title", "d"}, {"Language", "German"}, {"Category", "Reviews"}}});
    }
    void cleanup()
    {
        m_form.reset();
        QVERIFY2(m_prompts->unexpected().isEmpty(), qPrintable(m_prompts->unexpected().join(QLatin1Char('\n'))));
        m_prompts.reset();
        m_folder.reset();
    }

    void startsWithTheDefaults()
    {
        const OptionForm& form = *m_form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Options"));
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QVERIFY(form.windowFlags() & Qt::CustomizeWindowHint);

        QCOMPARE(texts(control<QListWidget>(form, "List1Vis")),
                 (QStringList{"Title", "Authors", "Author address", "Source", "Key words", "Publication type", "Abstract"}));
        QCOMPARE(checkedTexts(control<QListWidget>(form, "List1Vis")), (QStringList{"Title", "Key words", "Abstract"}));
        QVERIFY(control<QCheckBox>(form, "CheckwHoleWord")->isChecked());
        QCOMPARE(checkedTexts(control<QListWidget>(form, "List2Vis")),
                 (QStringList{"Title", "Authors", "Author address", "Source", "Publishing year", "Publication type",
                              "Language", "Abstract", "Personal comment", "Category"}));
        QCOMPARE(control<QListWidget>(form, "List2Vis")->currentRow(), -1);
        QVERIFY(!control<QCheckBox>(form, "CheckRef")->isChecked());
        QCOMPARE(items(control<QComboBox>(form, "Combo2")),
                 (QStringList{"None", "Title", "Publishing year", "Publication type", "Language"}));
        QCOMPARE(control<QComboBox>(form, "Combo2")->currentText(), QStringLiteral("None"));
        QCOMPARE(form.sortColumn(), QStringLiteral("None"));
        QVERIFY(control<QCheckBox>(form, "CheckYears")->isChecked());
        for (const char* year : {"TextYear1", "TextYear2"}) {
            QVERIFY(!control<QLineEdit>(form, year)->isEnabled());
            QCOMPARE(control<QLineEdit>(form, year)->maxLength(), 4);
        }
        QVERIFY(control<QCheckBox>(form, "CheckLanguage")->isChecked());
        QVERIFY(!control<QComboBox>(form, "ComboLanguage")->isEnabled());
        QVERIFY(control<QComboBox>(form, "ComboLanguage")->isEditable());
        QCOMPARE(checkedTexts(control<QListWidget>(form, "List3")), texts(control<QListWidget>(form, "List3")));
        QCOMPARE(texts(control<QListWidget>(form, "List3")), distinctCategories());
        QCOMPARE(texts(control<QListWidget>(form, "List3")).size(), 3);
        QCOMPARE(control<QListWidget>(form, "List3")->currentRow(), -1);
        QCOMPARE(control<QPushButton>(form, "Command2")->text(), QStringLiteral("Help"));
        QCOMPARE(m_folder->state().DataPath, m_bibliography);

        CriteriaRows rows;
        rows[0].words = QStringLiteral("gene");
        QCOMPARE(ComposeQuery(rows, form.searchOptions()),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* gene *' ) or "
                                "( Abstracts.Title Like 'gene *' ) or ( Abstracts.Title Like '* gene' )) or "
                                "(( Abstracts.Keywords Like '* gene *' ) or ( Abstracts.Keywords Like 'gene *' ) or "
                                "( Abstracts.Keywords Like '* gene' )) or (( Abstracts.Abstract Like '* gene *' ) or "
                                "( Abstracts.Abstract Like 'gene *' ) or ( Abstracts.Abstract Like '* gene' ))))"));
        const std::array<bool, FieldCount> output = form.outputFields();
        QVERIFY(!output[Keywords] && !output[Entry_Date] && output[Title] && output[Category]);
        QVERIFY(!form.createReferences());
        QVERIFY(form.wholeWordOnly());
    }

    void visibleSearchListSetsTheSearchedColumns()
    {
        toggle(control<QListWidget>(*m_form, "List1Vis"), QStringLiteral("Key words"));
        toggle(control<QListWidget>(*m_form, "List1Vis"), QStringLiteral("Author address"));
        const SearchOptions options = m_form->searchOptions();
        QCOMPARE(options.searchedColumns, (std::array<bool, SearchableColumnCount>{true, false, true, false, false, false, true}));
        CriteriaRows rows;
        rows[0].words = QStringLiteral("x");
        const QString statement = ComposeQuery(rows, options);
        QVERIFY(statement.contains(QStringLiteral("Abstracts.Author_address Like")));
        QVERIFY(!statement.contains(QStringLiteral("Abstracts.Keywords")));
    }

    void sortChoiceGivesItsColumnName_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("column");
        QTest::newRow("title") << "Title" << "TitelS";
        QTest::newRow("publication type") << "Publication type" << "Publication_type";
        QTest::newRow("publishing year") << "Publishing year" << "Publishing_year";
        QTest::newRow("language") << "Language" << "Language";
        QTest::newRow("none") << "None" << "None";
    }
    void sortChoiceGivesItsColumnName()
    {
        QFETCH(QString, choice);
        QFETCH(QString, column);
        choose(control<QComboBox>(*m_form, "Combo2"), QStringLiteral("Language"));
        choose(control<QComboBox>(*m_form, "Combo2"), choice);
        QCOMPARE(m_form->sortColumn(), column);
        const SearchOptions options = m_form->searchOptions();
        QCOMPARE(options.sortChoice, choice);
        QCOMPARE(options.sortColumn, column);
        const QString statement = ComposeQuery(CriteriaRows{}, options);
        QCOMPARE(statement.endsWith(QStringLiteral(" Order by ") + column), choice != QLatin1String("None"));
    }

    void droppingAnOutputFieldRebuildsTheSortList()
    {
        QComboBox* sortBy = control<QComboBox>(*m_form, "Combo2");
        QListWidget* output = control<QListWidget>(*m_form, "List2Vis");
        choose(sortBy, QStringLiteral("Title"));
        toggle(output, QStringLiteral("Publishing year"));
        QCOMPARE(items(sortBy), (QStringList{"None", "Title", "Publication type", "Language"}));
        QCOMPARE(sortBy->currentText(), QStringLiteral("None"));
        QCOMPARE(m_form->sortColumn(), QStringLiteral("None"));
        QCOMPARE(output->currentItem()->text(), QStringLiteral("Publishing year"));
        QVERIFY(!m_form->outputFields()[Publishing_year]);

        // Any change of the output rebuilds it, even of a field that is no sort choice.
        choose(sortBy, QStringLiteral("Language"));
        toggle(output, QStringLiteral("Key words"));
        QCOMPARE(sortBy->currentText(), QStringLiteral("None"));
        toggle(output, QStringLiteral("Publishing year"));
        QCOMPARE(items(sortBy), (QStringList{"None", "Title", "Publishing year", "Publication type", "Language"}));
        QVERIFY(m_form->outputFields()[Keywords]);
    }

    void referencesSwitch()
    {
        tick(control<QCheckBox>(*m_form, "CheckRef"));
        QVERIFY(m_form->createReferences());
    }

    void okNeedsACategory()
    {
        QListWidget* categories = control<QListWidget>(*m_form, "List3");
        for (const QString& name : {QStringLiteral("Reviews"), QStringLiteral("None"), QStringLiteral("Crohn's")})
            toggle(categories, name);
        QSignalSpy accepted(m_form.get(), &OptionForm::accepted);
        m_prompts->answerMessage(PromptButton::Ok);
        clickOk(*m_form);
        QCOMPARE(m_prompts->asked().size(), std::size_t(1));
        const AskedPrompt& asked = m_prompts->asked().front();
        QCOMPARE(asked.text, QStringLiteral("There is no selected category.\nplease select one or more category"));
        QCOMPARE(asked.title, QStringLiteral("Papyrant"));
        QCOMPARE(asked.buttons, PromptButtons::Ok);
        QCOMPARE(asked.icon, PromptIcon::None);
        QVERIFY(m_form->isVisible());
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(categories->currentRow(), -1);

        toggle(categories, QStringLiteral("Crohn's"));
        clickOk(*m_form);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(ComposeQuery(CriteriaRows{}, m_form->searchOptions()),
                 QStringLiteral("Select Abstracts.* From Abstracts Where ((Abstracts.Category = 'Crohn''s' ))"));
    }

    void okNeedsAYearWhenYearsAreNotAll()
    {
        tick(control<QCheckBox>(*m_form, "CheckYears"));
        QLineEdit* from = control<QLineEdit>(*m_form, "TextYear1");
        QVERIFY(from->isEnabled());
        QVERIFY(control<QLineEdit>(*m_form, "TextYear2")->isEnabled());
        m_prompts->answerMessage(PromptButton::Ok);
        clickOk(*m_form);
        QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("Please set year value")});
        QCOMPARE(m_prompts->asked().front().icon, PromptIcon::None);
        QVERIFY(m_form->isVisible());
        QCOMPARE(QApplication::focusWidget(), from);

        QTest::keyClicks(from, QStringLiteral("199012"));
        QCOMPARE(from->text(), QStringLiteral("1990"));
        clickOk(*m_form);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(ComposeQuery(CriteriaRows{}, m_form->searchOptions()),
                 QStringLiteral("Select Abstracts.* From Abstracts Where ((Abstracts.Publishing_year >= '1990' ))"));

        tick(control<QCheckBox>(*m_form, "CheckYears"));
        QVERIFY(!from->isEnabled());
    }

    void okNeedsALanguageWhenLanguagesAreNotAll()
    {
        QComboBox* language = control<QComboBox>(*m_form, "ComboLanguage");
        tick(control<QCheckBox>(*m_form, "CheckLanguage"));
        QVERIFY(language->isEnabled());
        QCOMPARE(items(language), (QStringList{"Danish", "english", "German"}));
        QCOMPARE(language->currentText(), QString());
        m_prompts->answerMessage(PromptButton::Ok);
        clickOk(*m_form);
        QCOMPARE(m_prompts->messages(), QStringList{QStringLiteral("Please set requested language")});
        QVERIFY(m_form->isVisible());
        QCOMPARE(QApplication::focusWidget(), language);

        QTest::keyClicks(language->lineEdit(), QStringLiteral("Kala'allisut"));
        QTest::keyClick(language->lineEdit(), Qt::Key_Return);
        QCOMPARE(language->count(), 3);
        clickOk(*m_form);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(ComposeQuery(CriteriaRows{}, m_form->searchOptions()),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (Abstracts.Language = 'Kala''allisut' )"));
    }

    void languageListIsReadAgainAtEachUncheck()
    {
        QCheckBox* all = control<QCheckBox>(*m_form, "CheckLanguage");
        QComboBox* language = control<QComboBox>(*m_form, "ComboLanguage");
        tick(all);
        QCOMPARE(language->count(), 3);
        tick(all);
        QVERIFY(!language->isEnabled());
        addRecord(QStringLiteral("Basque"), QStringLiteral("None"));
        tick(all);
        QCOMPARE(items(language), (QStringList{"Basque", "Danish", "english", "German"}));
    }

    void categoryRefreshShowsNewCategoriesAllSelected()
    {
        QListWidget* categories = control<QListWidget>(*m_form, "List3");
        toggle(categories, QStringLiteral("None"));
        addRecord(QStringLiteral("German"), QStringLiteral("Methods"));
        m_form->hide();
        m_form->requestCategoryRefresh();
        m_form->show();
        QCOMPARE(texts(categories), distinctCategories());
        QVERIFY(texts(categories).contains(QStringLiteral("Methods")));
        QCOMPARE(texts(categories).size(), 4);
        QCOMPARE(checkedTexts(categories), texts(categories));
    }

    void emptyBibliographyHasNoCategoryToAskFor()
    {
        openForm({});
        QCOMPARE(control<QListWidget>(*m_form, "List3")->count(), 0);
        QSignalSpy accepted(m_form.get(), &OptionForm::accepted);
        clickOk(*m_form);
        QVERIFY(m_prompts->asked().empty());
        QCOMPARE(accepted.count(), 1);
        QVERIFY(!m_form->isVisible());
    }

    void unreadableBibliographyIsReportedNotFatal()
    {
        const QString broken = m_folder->filePath(QStringLiteral("broken.pyr"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is not a bibliography, only a text that looks like one to nobody");
        file.close();
        m_folder->openBibliography(broken);
        m_prompts->answerMessage(PromptButton::Ok);
        OptionForm form;
        QCOMPARE(m_prompts->asked().size(), std::size_t(1));
        QVERIFY(m_prompts->asked().front().text.startsWith(QStringLiteral("The categories could not be read.\n")));
        QVERIFY(m_prompts->asked().front().text.size() > 34);
        QCOMPARE(control<QListWidget>(form, "List3")->count(), 0);
    }

    void choicesPersistWhileHidden()
    {
        toggle(control<QListWidget>(*m_form, "List1Vis"), QStringLiteral("Source"));
        choose(control<QComboBox>(*m_form, "Combo2"), QStringLiteral("Publishing year"));
        clickOk(*m_form);
        m_form->show();
        QVERIFY(m_form->searchOptions().searchedColumns[3]);
        QCOMPARE(m_form->sortColumn(), QStringLiteral("Publishing_year"));
    }

    void theWindowCannotBeClosed()
    {
        QVERIFY(!m_form->close());
        QVERIFY(m_form->isVisible());
        QTest::keyClick(m_form.get(), Qt::Key_Escape);
        QVERIFY(m_form->isVisible());
    }

    void helpOpensTheOptionsPage()
    {
        QTest::mouseClick(control<QPushButton>(*m_form, "Command2"), Qt::LeftButton);
        QCOMPARE(m_folder->state().HelpPage, m_folder->state().ProgramFolder + QStringLiteral("/HsearchOp.htm"));
    }

    void sortChoicesFollowTheOutputFields()
    {
        std::array<bool, FieldCount> fields{};
        QCOMPARE(sortChoices(fields), QStringList{QStringLiteral("None")});
        fields[Language] = fields[Title] = fields[Keywords] = true;
        QCOMPARE(sortChoices(fields), (QStringList{"None", "Title", "Language"}));
    }
};

QTEST_MAIN(OptionFormTest)
#include "tst_OptionForm.moc"
