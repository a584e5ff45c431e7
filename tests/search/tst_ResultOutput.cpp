// Saving result pages: proposed names, rich text read back by an independent reader
// (unrtf), the plain-text choice, the replace question and the failures of a "Save all"
// run (the whole run is worked through the screen in tst_ResultWork).

#include "core/DataBinding.h"
#include "search/ResultFiles.h"
#include "search/RtfWriter.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace papyrant;
using namespace papyrant::test;

namespace {

// One character as a reader shows it: the letter, its colour and its weight.
struct Shown {
    QChar c;
    quint32 rgb;
    bool bold;
    bool operator==(const Shown&) const = default;
};

// Walks unrtf's HTML: <font color> and <b> nest, <br> is a line break, entities are
// letters. unrtf folds runs of blanks, so blanks are left out on both sides.
QList<Shown> shownByUnrtf(const QString& html)
{
    static const QHash<QString, QChar> named{{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'},
        {"uuml", QChar(0xFC)}, {"szlig", QChar(0xDF)}, {"eacute", QChar(0xE9)}};
    static const QRegularExpression token(QStringLiteral(R"(<(/?)(\w+)([^>]*)>|&#(\d+);|&(\w+);|([^<&]))"));
    const QString body = html.mid(html.indexOf(QLatin1String("<body>")) + 6);
    QList<quint32> colours{BlackRgb};
    QList<bool> fontHasColour;
    int bold = 0;
    QList<Shown> shown;
    auto add = [&](QChar c) {
        if (c != u' ')
            shown.append({c, colours.last(), bold > 0});
    };
    for (auto it = token.globalMatch(body); it.hasNext();) {
        const auto m = it.next();
        const QString tag = m.captured(2);
        if (tag == u"font" && m.captured(1).isEmpty()) {
            static const QRegularExpression colour(QStringLiteral("color=\"#([0-9a-f]{6})\""));
            const auto c = colour.match(m.captured(3));
            fontHasColour.append(c.hasMatch());
            if (c.hasMatch())
                colours.append(c.captured(1).toUInt(nullptr, 16));
        } else if (tag == u"font" && !fontHasColour.isEmpty() && fontHasColour.takeLast()) {
            colours.removeLast();
        } else if (tag == u"b") {
            bold += m.captured(1).isEmpty() ? 1 : -1;
        } else if (tag == u"br") {
            add(u'\n');
        } else if (!m.captured(4).isEmpty()) {
            add(QChar(m.captured(4).toUShort()));
        } else if (!m.captured(5).isEmpty()) {
            add(named.value(m.captured(5), u'#'));
        } else if (!m.captured(6).isEmpty() && m.captured(6) != u"\n") {
            add(m.captured(6)[0]);
        }
    }
    return shown;
}

// What the page should look like: marks applied in order, the later winning.
QList<Shown> expectedLook(const QString& text, const ColourMarks& marks)
{
    QList<Shown> look;
    for (qsizetype i = 0; i < text.size(); ++i) {
        Shown s{text[i], BlackRgb, false};
        for (const ColourMark& mark : marks) {
            if (i >= mark.start && i < mark.start + mark.length)
                s = {text[i], mark.rgb, mark.bold};
        }
        if (s.c != u' ')
            look.append(s);
    }
    return look;
}

} // namespace

class ResultOutputTest : public QObject {
    Q_OBJECT
private slots:
    void proposedNames_data()
    {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("viewedPage");
        QTest::addColumn<QString>("proposed");
        const QString long55 = QStringLiteral("soil carbon And grassland Or meadow Not alpine pastures");
        row("wildcards and the other seven removed, pairs too", R"(gen** And "vir?s" | a<b>c:d\e/f)", 1, 0,
            "gen And virs  abcdef");
        row("55 characters cut to 40", long55, 1, 0, long55.left(40));
        row("second of three pages", long55, 3, 1, long55.left(40) + "2");
        row("39 characters stay whole", long55.left(39), 2, 0, long55.left(39) + "1");
    }
    void proposedNames()
    {
        QFETCH(QString, summary);
        QFETCH(int, pageCount);
        QFETCH(int, viewedPage);
        QTEST(proposedPageFileName(summary, pageCount, viewedPage), "proposed");
    }

    void richTextAsUnrtfReadsIt()
    {
        const QString header = QStringLiteral("Search items :  Müller gene\nThis search revealed 1 records\n");
        const QString text = header
            + QStringLiteral("Record No. 1 of 1\nTitle :   Grüße, gene maps, язык 😀 {x} a\\b c\n"
                             "Category :   Soil\nReferences :  Müller (2019). Gene maps.\n");
        ColourMarks marks;
        for (qsizetype at = text.indexOf("gene", 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf("gene", at + 4, Qt::CaseInsensitive))
            marks.push_back({int(at), 4, RedRgb, false});
        marks.push_back({int(text.indexOf("Title : ")), 8, BlueRgb, false});
        marks.push_back({int(text.indexOf("References : ")), 13, BlueRgb, false});
        marks.push_back({0, int(header.size()), BlackRgb, true});

        QTemporaryDir dir;
        const QString path = dir.filePath("page.rtf");
        QVERIFY(!writeResultFile(path, text, marks, ResultFileKind::RichText));
        QVERIFY(readFileBytes(path).startsWith("{\\rtf1"));
        QProcess unrtf;
        unrtf.start("unrtf", {"--html", path});
        QVERIFY2(unrtf.waitForFinished() && unrtf.exitCode() == 0, "unrtf is needed (scripts/setup installs it)");
        const QList<Shown> shown = shownByUnrtf(QString::fromUtf8(unrtf.readAllStandardOutput()));
        const QList<Shown> expected = expectedLook(text, marks);
        for (qsizetype i = 0; i < std::min(shown.size(), expected.size()); ++i)
            QVERIFY2(
                shown[i] == expected[i], qPrintable(QStringLiteral("character %1 '%2'").arg(i).arg(expected[i].c)));
        QCOMPARE(shown.size(), expected.size());
    }

    void viewedPageFollowsTheFilterEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<bool>("richText");
        row("plain text under an .rtf name", "page.rtf", 2, false);
        row("rich text under a .txt name", "page.txt", 1, true);
    }
    void viewedPageFollowsTheFilterEntry()
    {
        QFETCH(QString, name);
        QFETCH(int, filterIndex);
        QFETCH(bool, richText);
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        const QString page = QStringLiteral("Record No. 1 of 60\nTitle :   Grüße\n");
        // The name is taken: No shows the dialog again with the same proposal, Yes replaces.
        writeFileBytes(dir.filePath(name), "old");
        prompts.answerFile(dir.filePath(name), filterIndex);
        prompts.answerMessage(PromptButton::No);
        prompts.answerFile(dir.filePath(name), filterIndex);
        prompts.answerMessage(PromptButton::Yes);
        QVERIFY(saveViewedRecords(prompts, "gene*", 2, 0, page, {{0, 5, RedRgb, false}}));
        const QString dialog = SaveViewedTitle + u'|' + ResultFileFilter + "|save:gene1";
        const QString replace
            = "Papyrant|You already have file called \"" + name + "\"\nDo you want to replace it?|YesNo/Question/No";
        QCOMPARE(prompts.described(), (QStringList{dialog, replace, dialog, replace}));
        const QByteArray written = readFileBytes(dir.filePath(name));
        QCOMPARE(written.startsWith("{\\rtf1"), richText);
        if (!richText)
            QCOMPARE(written, page.toUtf8());
    }

    void failedWriteLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.txt");
        writeFileBytes(path, "old page");
        QFile::setPermissions(path, QFile::ReadOwner);
        ScriptedPrompts prompts;
        prompts.answerFile(path, 2);
        prompts.answerMessage(PromptButton::Yes);
        QVERIFY(!saveViewedRecords(prompts, "gene", 1, 0, "new page", {}));
        QCOMPARE(prompts.messages().last(), "The file couldn't be saved correctly\nPermission denied");
        QCOMPARE(readFileBytes(path), QByteArray("old page"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.txt"});
    }

    void saveAllFailures()
    {
        TestProgramFolder folder;
        ScriptedPrompts prompts;
        prompts.answerFile(folder.filePath("ab"));
        QVERIFY(!chooseSaveAllFiles(prompts, "gene", 2));
        QVERIFY(prompts.messages().last().startsWith("The file couldn't be saved correctly\n"));
        // A page that cannot be written ends the run with the system's words; the pages
        // before it stay.
        prompts.answerFile(folder.filePath("genes.rtf"));
        const std::optional<SaveAllFiles> files = chooseSaveAllFiles(prompts, "gene", 2);
        QVERIFY(files && files->pagePath(1) == folder.filePath("genes2.rtf"));
        DataBinding results(folder.openBibliography(
            folder.makeBibliography("sixty.pyr", std::vector<TestRecord>(60, {{"Title", "gene"}}))));
        results.setRecordSource("Abstracts");
        SaveAllRun run(results.refresh(), 60, SearchSnapshot{}, *files);
        QVERIFY(QDir(folder.path()).mkdir("genes2.rtf"));
        const StepOutcome outcome = runToEnd(run);
        QCOMPARE(outcome.kind, StepOutcome::Kind::Failed);
        QVERIFY(!outcome.reason.isEmpty());
        QCOMPARE(run.progress().done, 1);
        QVERIFY(readFileBytes(folder.filePath("genes1.rtf")).startsWith("{\\rtf1"));
    }
};

QTEST_GUILESS_MAIN(ResultOutputTest)
#include "tst_ResultOutput.moc"
