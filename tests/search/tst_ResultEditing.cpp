// Walking, saving and removing records of a result set, read back with bare SQLite.

#include "core/Database.h"
#include "core/RecordSet.h"
#include "search/ResultEditing.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(papyrant::NavigationButtons)

class ResultEditingTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    QString m_path;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_set;
    ResultsState m_state;

    // A bibliography of records T1 ... T<count> as the result set, at record `current`.
    void open(int count = 10, int current = 1)
    {
        m_set.reset();
        m_db.reset();
        std::vector<TestRecord> records;
        for (int k = 1; k <= count; ++k)
            records.push_back({{"Title", u"T%1"_s.arg(k)}, {"TitelS", u"T%1"_s.arg(k)}, {"Category", "None"}});
        m_path = m_folder->makeBibliography(QStringLiteral("results.pyr"), records);
        m_db = std::make_unique<Database>(m_path);
        m_set = std::make_unique<RecordSet>(*m_db, QStringLiteral("Select Abstracts.* From Abstracts"));
        m_state = ResultsState{};
        m_state.ResultCount = count;
        QVERIFY(goToRecord(*m_set, m_state, current).has_value());
    }
    QString currentTitle() const { return m_set->value(QStringLiteral("Title")); }

private slots:
    void initTestCase() { m_folder = std::make_unique<TestProgramFolder>(); }
    void cleanupTestCase()
    {
        m_set.reset();
        m_db.reset();
        m_folder.reset();
    }

    void remove_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<NavigationButtons>("buttons");
        row("third of ten", 10, 3, u"T2"_s, "Record no. 2 of 9", NavigationButtons{true, true});
        row("first", 10, 1, u"T2"_s, "Record no. 1 of 9", NavigationButtons{false, true});
        row("last", 10, 10, u"T9"_s, "Record no. 9 of 9", NavigationButtons{true, false});
        row("second of two", 2, 2, u"T1"_s, "Record no. 1 of 1", NavigationButtons{false, false});
        row("the only one", 1, 1, u""_s, "All records were deleted", NavigationButtons{});
    }
    void remove()
    {
        QFETCH(int, count);
        QFETCH(int, removed);
        QFETCH(QString, current);
        QFETCH(QString, counter);
        QFETCH(NavigationButtons, buttons);
        open(count, removed);
        const EditPosition position = removeCurrentRecord(*m_set, m_state);
        QCOMPARE(position.counter, counter);
        QCOMPARE(position.buttons, buttons);
        QCOMPARE(m_state.ResultCount, count - 1);
        QCOMPARE(m_set->recordCount(), count - 1);
        QVERIFY(m_state.ResultsChanged);
        QCOMPARE(LoadEditFields(*m_set).texts[Title], current);
        const QStringList left = readLines(m_path, u"SELECT Title FROM Abstracts"_s);
        QCOMPARE(left.size(), count - 1);
        QVERIFY(!left.contains(u"T%1"_s.arg(removed)));
    }

    void goToClamps_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("recordNo");
        QTest::addColumn<QString>("shown");
        row("nothing", "", 1, "1");
        row("zero", "0", 1, "1");
        row("leading zeros stay", "007", 7, "007");
        row("past the end", "25", 10, "10");
        row("past any number", "99999999999999999999", 10, "10");
    }
    void goToClamps()
    {
        QFETCH(QString, typed);
        QFETCH(int, recordNo);
        QFETCH(QString, shown);
        open();
        const GoToTarget target = goToTarget(typed, 10);
        QCOMPARE(target.recordNo, recordNo);
        QCOMPARE(target.boxText, shown);
        const EditPosition position = *goToRecord(*m_set, m_state, target.recordNo);
        QCOMPARE(currentTitle(), QStringLiteral("T%1").arg(recordNo));
        QCOMPARE(position.counter, QStringLiteral("Record no. %1 of 10").arg(recordNo));
        QCOMPARE(position.buttons, navigationButtons(recordNo, 10));
    }

    void saveStoresMarkersTrimsAndSortKey()
    {
        open(10, 4);
        EditTexts texts = LoadEditFields(*m_set).texts;
        QCOMPARE(texts[Title], QStringLiteral("T4"));
        texts[Title].clear();
        texts[Authors] = QStringLiteral(" \n Li J\r\n ");
        texts[Abstract] = QStringLiteral("  \n ");
        texts[Personal] = QStringLiteral("two\nlines");
        saveCurrentRecord(*m_set, texts, QStringLiteral(" "));
        const QString marker = EmptyFieldMarker;
        const QStringList stored{marker, marker, "Li J", marker, "two\nlines", "None", marker};
        QCOMPARE(readRows(m_path,
                     QStringLiteral("SELECT Title, TitelS, Authors, Abstract, Personal, Category, Language "
                                    "FROM Abstracts WHERE rowid = 4")),
            std::vector<QStringList>{stored});
        // The record reads back with the marker shown as an empty field; its neighbour is untouched.
        QCOMPARE(LoadEditFields(*m_set).texts[Title], QString());
        QCOMPARE(readRows(m_path, QStringLiteral("SELECT Title FROM Abstracts WHERE rowid = 5")),
            std::vector<QStringList>{{"T5"}});
    }

    void storeErrorChangesNothing_data()
    {
        QTest::addColumn<bool>("removing");
        row("save", false);
        row("remove", true);
    }
    void storeErrorChangesNothing()
    {
        QFETCH(bool, removing);
        open(10, 3);
        m_db->execute(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON Abstracts BEGIN SELECT RAISE(ABORT, "
                                     "'disk I/O error'); END")
                          .arg(removing ? "DELETE" : "UPDATE"));
        const auto before = readRows(m_path, QStringLiteral("SELECT * FROM Abstracts"));
        const ResultsState state = m_state;
        const auto attempt = [&] {
            if (removing)
                removeCurrentRecord(*m_set, m_state);
            else
                saveCurrentRecord(*m_set, EditTexts{QStringLiteral("changed")}, QStringLiteral("Methods"));
        };
        QCOMPARE(thrownText<StoreError>(attempt), "disk I/O error");
        QCOMPARE(readRows(m_path, QStringLiteral("SELECT * FROM Abstracts")), before);
        QCOMPARE(m_state.ResultCount, state.ResultCount);
        QCOMPARE(m_state.ResultsChanged, false);
        QCOMPARE(m_set->recordCount(), 10);
        QCOMPARE(m_set->absolutePosition(), 2);
        QVERIFY(!m_set->editing());
        QCOMPARE(currentTitle(), QStringLiteral("T3"));
    }
};

QTEST_GUILESS_MAIN(ResultEditingTest)
#include "tst_ResultEditing.moc"
