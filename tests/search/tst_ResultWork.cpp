// Working on a search's results from the results screen: the output buttons of the
// "Results" tab (printed PDF read by pdftotext, clipboard, saved files, "Save all") and
// the "Manage results" tab (category, copy, delete all), through the real controls.

#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "core/RecordModel.h"
#include "core/ResultKeys.h"
#include "search/OutputActions.h"
#include "search/ResultCopy.h"
#include "search/ResultFiles.h"
#include "search/ResultsTab.h"
#include "support/ResultsScreenTest.h"
#include "support/TableRows.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolButton>

using namespace papyrant;
using namespace papyrant::test;

namespace {
// Text compared the way a printout shows it: line wraps and page ends are blanks, and
// each page ends in its number.
QString printedWords(QString text)
{
    static const QRegularExpression pageNumber(QStringLiteral("\\s\\d+\\s*\\f"));
    return text.replace(pageNumber, QStringLiteral(" ")).remove(QChar(0x200B)).remove(QLatin1Char('\r')).simplified();
}

} // namespace

class ResultWorkTest : public ResultsScreenTest {
    Q_OBJECT
private:
    ResultsTab& results() const { return *m_form->resultsTab(); }
    void waitUntilIdle() { QTRY_VERIFY(m_form->isEnabled() && !m_form->ticks().running()); }
    // Selects the text of the results box from `from` on, `length` characters.
    void select(const QString& from, int length)
    {
        QTextCursor cursor = results().resultsBox()->textCursor();
        cursor.setPosition(results().pageText().indexOf(from));
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, length);
        results().resultsBox()->setTextCursor(cursor);
    }

private slots:
    void initTestCase() { setUpCase(geneStudies()); }
    void init() { openScreen(); }
    void cleanup() { closeScreen(); }
    void cleanupTestCase() { tearDownCase(); }

    // The printer and the clipboard get the viewed page, or the text selected in it, with
    // the CR LF of a field whole; the copy button says which as the mouse comes over it.
    void viewedTextPrintedAndCopied_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<QString>("copyTip");
        row("whole page", false, "Copy viewed records, From 1 to 3");
        row("selected text", true, "Copy selected text");
    }
    void viewedTextPrintedAndCopied()
    {
        QFETCH(bool, selection);
        QFETCH(QString, copyTip);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext is needed (scripts/setup installs poppler-utils)");
        search(QStringLiteral("trio"));
        if (selection)
            select(QStringLiteral("Line one\r\nline two of 2"), 16);
        const QString page = selection ? QStringLiteral("Line one\r\nline t") : results().pageText();
        QVERIFY(selection || page.contains("This search revealed 3 records"));
        const QString pdf = m_fixture->folder().filePath(QStringLiteral("printed.pdf"));
        m_form->output()->setPrinterSource([pdf] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return printer;
        });
        click("Command5");
        QProcess reader;
        reader.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(reader.waitForFinished());
        QCOMPARE(printedWords(QString::fromUtf8(reader.readAllStandardOutput())), printedWords(page));
        auto* copy = the<QToolButton>("Command10");
        QTest::mouseMove(m_form, QPoint(2, 2));
        QTest::mouseMove(copy);
        QTRY_COMPARE(copy->toolTip(), copyTip);
        click("Command10");
        QCOMPARE(QGuiApplication::clipboard()->text(), page);
    }

    void savedFilesHoldTheirPages()
    {
        // "Save all" from the second page with a page's file there: No asks again, Yes
        // replaces. The viewed page's file is tst_ResultManagement's.
        search(QStringLiteral("gene"));
        choosePage(1);
        const QString base = m_fixture->folder().filePath(QStringLiteral("genes"));
        writeFileBytes(base + "2.txt", "old");
        for (PromptButton answer : {PromptButton::No, PromptButton::Yes}) {
            prompts().answerFile(base + ".txt", 2);
            prompts().answerMessage(answer);
        }
        click("Command15");
        waitUntilIdle();
        const QString dialog = u'|' + ResultFileFilter + "|save:gene";
        const QString replace
            = "Papyrant|You already have file called \"genes2.txt\"\nDo you want to replace it?|YesNo/Question/No";
        QCOMPARE(prompts().described(), (QStringList{SaveAllTitle + dialog, replace, SaveAllTitle + dialog, replace}));
        // Back on the page viewed before, and every file holds its page.
        QCOMPARE(results().chosenPage(), 1);
        QVERIFY(results().resultsBox()->isVisible());
        QVERIFY(results().resultsBox()->toPlainText().contains("Record No. 51 of 120"));
        QCOMPARE(readFileBytes(base + "2.txt"), results().pageText().toUtf8());
        for (int page : {0, 2}) {
            choosePage(page);
            QCOMPARE(readFileBytes(base + QString::number(page + 1) + ".txt"), results().pageText().toUtf8());
        }
        QVERIFY(!QFile::exists(base + "4.txt"));
    }

    void newCategoryDoneOnThreeResults()
    {
        search(QStringLiteral("trio"));
        showTab(2);
        click("CommandDown");
        showTab(3);
        QVERIFY(!enabled("Command11") && !the("Label12")->isVisible());
        prompts().answerInput(QStringLiteral("Reviews"));
        click("Command1");
        QCOMPARE(the<QComboBox>("Combo4")->currentText(), QStringLiteral("Reviews"));
        QVERIFY(enabled("Command11") && the("Label12")->isVisible());
        click("Command11");
        QVERIFY(!the("Label12")->isVisible());
        QVERIFY(!m_form->close()); // the close box waits for the run's end
        QTRY_COMPARE(label("Label13"), QStringLiteral("3 records were put into category Reviews"));
        QTRY_VERIFY(m_form->isEnabled());
        // Exactly the three results (tst_ResultManagement holds the rest); the record on the
        // edit tab shows the category and keeps it when saved.
        QCOMPARE(rows("SELECT Keywords LIKE '% trio %' FROM Abstracts WHERE Category = 'Reviews'"),
            (QStringList{"1", "1", "1"}));
        showTab(2);
        QCOMPARE(the<QComboBox>("Combo3")->currentText(), QStringLiteral("Reviews"));
        click("CommandUpdate");
        QCOMPARE(rows("SELECT count(*) FROM Abstracts WHERE Category = 'Reviews'"), QStringList{"3"});
    }

    void doFollowsTheCategoryBox_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("searchAgain");
        QTest::addColumn<QString>("typed"); // empty: the next entry of the list is chosen
        QTest::addColumn<bool>("offered");
        row("entry chosen", "trio", false, "", true);
        row("name typed", "trio", false, "Archive", true);
        row("blanks typed", "trio", false, "  ", false);
        row("nothing found", "nowhere", false, "", false);
        row("a new search clears the choice", "trio", true, "", false);
    }
    void doFollowsTheCategoryBox()
    {
        QFETCH(QString, words);
        QFETCH(QString, typed);
        QFETCH(bool, searchAgain);
        QFETCH(bool, offered);
        search(words);
        showTab(3);
        auto* box = the<QComboBox>("Combo4");
        if (typed.isEmpty())
            QTest::keyClick(box, Qt::Key_Down);
        else
            QTest::keyClicks(box->lineEdit(), typed);
        if (searchAgain) {
            showTab(0);
            search(words);
            showTab(3);
            QCOMPARE(box->currentText(), QString());
        }
        QCOMPARE(enabled("Command11"), offered);
        QCOMPARE(the("Label12")->isVisible(), offered);
    }

    void copyIntoANewBibliography()
    {
        search(QStringLiteral("trio"));
        showTab(3);
        const QString target = m_fixture->folder().filePath(QStringLiteral("for-ana.pyr"));
        prompts().answerFile(target);
        prompts().answerMessage(PromptButton::Yes);
        click("Command12");
        QVERIFY(!m_form->close()); // the close box waits for the copy's end
        QTRY_COMPARE(label("Label13"), QStringLiteral("3 records were copied to for-ana.pyr bibliography"));
        QCOMPARE(prompts().described(),
            (QStringList{CopyTargetTitle + u'|' + BibliographyFilter + "|save:",
                "Papyrant|Bibliography \"for-ana.pyr\" Doesn't exist. \nDo you want to create "
                "it?|YesNo/Question/Yes"}));
        QVERIFY(!the("Bar2")->isVisible());
        QTRY_VERIFY(m_form->isEnabled());
        // Every column as it was, entry dates and categories included, in the result's order.
        const QString columns = QStringList(columnNames().begin(), columnNames().end()).join(QLatin1Char(','));
        QCOMPARE(readLines(target, "SELECT " + columns + " FROM Abstracts"),
            rows("SELECT " + columns + " FROM Abstracts WHERE Keywords LIKE '% trio %'"));
    }

    void deleteAllEmptiesTheScreen()
    {
        search(QString());
        showTab(3);
        // No, which is also what Enter chooses, changes nothing.
        prompts().answerMessage(PromptButton::No);
        click("Command13");
        QCOMPARE(prompts().described().last(),
            "Papyrant|Current results revealed 120 records.\nAre you sure you want to delete all current "
            "results?|YesNo/None/No");
        QVERIFY(rows("SELECT count(*) FROM Abstracts") == QStringList{"120"} && label("Label13").isEmpty());
        prompts().answerMessage(PromptButton::Yes);
        click("Command13");
        QTRY_COMPARE(label("Label13"), QStringLiteral("Records were deleted"));
        QTRY_VERIFY(m_form->isEnabled());
        QCOMPARE(rows("SELECT count(*) FROM Abstracts"), QStringList{"0"});
        QCOMPARE(label("Label7"), QStringLiteral("All records were deleted"));
        QCOMPARE(the<QPlainTextEdit>("Text2_0")->toPlainText(), QString());
        for (const char* off :
            {"Command12", "Command13", "Command11", "CommandUpdate", "CommandRemove", "CommandUp", "CommandDown"})
            QVERIFY2(!enabled(off), off);
        showTab(1);
        waitUntilIdle();
        QVERIFY(results().pageText().contains("This search revealed no records\n"));
        QVERIFY(!enabled("Command15"));
    }
};

QTEST_MAIN(ResultWorkTest)
#include "tst_ResultWork.moc"
