// Label sets in the labels file: the dialogues of save, delete and rename with their exact
// words, names holding a quote, and a file that is missing, damaged, locked or no longer
// holds the set: the user is told and the file stays as it was.

#include "core/RecordModel.h"
#include "entry/LabelSets.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QTest>

#include <optional>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {

Labels labels(const QString& stem)
{
    Labels texts;
    for (int i = 0; i < LabelFieldCount; ++i)
        texts[i] = i % 3 == 2 ? QString() : u"%1%2 "_s.arg(stem).arg(i);
    texts[0] = u'\n' + stem + u"  - "_s;
    return texts;
}

} // namespace

class LabelSetsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QString m_path;

    LabelSetStore store() { return LabelSetStore(*m_prompts, m_path); }
    QStringList names() { return *store().names(); }
    void saveAs(const QString& name, const QString& stem)
    {
        m_prompts->answerInput(name);
        QCOMPARE(store().save(labels(stem), labels(stem + u'e')).result, LabelChange::Done);
    }
    void expectNotice(const QString& text)
    {
        QCOMPARE(describe(m_prompts->asked().back()), "Papyrant|" + text + "|Ok/None/Ok");
    }

private slots:
    void init()
    {
        m_prompts.reset();
        m_folder.reset();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_folder = std::make_unique<TestProgramFolder>();
        m_path = m_folder->filePath(u"VarEdoAbb"_s);
        OtherConnection(m_path, "DELETE FROM abbreviations"); // empty, as a labels file may ship
    }

    void savedSetLoadsBackExactly()
    {
        saveAs(u"Crohn's set"_s, u"K"_s);
        saveAs(u"Another"_s, u"A"_s);
        QCOMPARE(
            describe(m_prompts->asked().front()), "New abbreviations|Please type the new abbreviations name|input:");
        QCOMPARE(names(), QStringList({"Crohn's set", "Another"}));
        const auto set = store().load(u"crohn's SET"_s); // the store ignores letter case
        QVERIFY(set);
        QCOMPARE(set->startLabels, labels(u"K"_s)); // blanks, line feeds, empty boxes kept
        QCOMPARE(set->endLabels, labels(u"Ke"_s));
        QCOMPARE(readLines(m_path, u"SELECT Title1, keyW2, PT1 FROM abbreviations"_s).front(), "\nK  - ||K6 ");
    }

    void savingOverAnotherLetterCaseAsks()
    {
        saveAs(u"Medline"_s, u"old"_s);
        m_prompts->clear();
        m_prompts->answerInput(u"MEDLINE"_s);
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(u"MEDLINE"_s);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().save(labels(u"new"_s), labels(u"new"_s)).name, "MEDLINE");
        const QString overwrite = u"Papyrant|You already have abbreviations called MEDLINE\n do you want to overwrite "
                                  "it?|YesNo/Exclamation/Yes"_s;
        // No shows the typed name again.
        QCOMPARE(m_prompts->described(),
            (QStringList{"New abbreviations|Please type the new abbreviations name|input:", overwrite,
                "New abbreviations|Please type the new abbreviations name|input:MEDLINE", overwrite}));
        QCOMPARE(names(), QStringList{"MEDLINE"});
        QCOMPARE(store().load(u"medline"_s)->startLabels, labels(u"new"_s));
        // No, then an empty answer: nothing is written.
        m_prompts->answerInput(u"medline"_s);
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(QString());
        QCOMPARE(store().save(labels(u"x"_s), labels(u"x"_s)).result, LabelChange::Declined);
        QCOMPARE(store().load(u"MEDLINE"_s)->startLabels, labels(u"new"_s));
    }

    void deleteAsksFirst()
    {
        saveAs(u"Crohn's set"_s, u"K"_s);
        m_prompts->answerMessage(PromptButton::No);
        QCOMPARE(store().remove(u"Crohn's set"_s).result, LabelChange::Declined);
        QCOMPARE(describe(m_prompts->asked().back()),
            "Delete Labels|You are going to delete Crohn's set Labels.\nAre you sure you want to delete "
            "it?|YesNo/None/Yes");
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Crohn's set"_s).result, LabelChange::Done);
        QVERIFY(names().isEmpty());
    }

    void renameRefusesTakenNames()
    {
        saveAs(u"RIS"_s, u"r"_s);
        saveAs(u"Crohn's set"_s, u"K"_s);
        m_prompts->clear();
        m_prompts->answerInput(u"Crohn's set"_s); // its own name
        m_prompts->answerInput(u"ris"_s);
        m_prompts->answerInput(u"Crohn's disease"_s);
        QCOMPARE(store().rename(u"Crohn's set"_s).name, "Crohn's disease");
        // The old name is proposed each time.
        QCOMPARE(m_prompts->described(),
            (QStringList{"Rename Labels|Please type the new Labels name|input:Crohn's set",
                "Rename Labels|You already have abbreviations called Crohn's set\nPlease type the new Labels "
                "name|input:Crohn's set",
                "Rename Labels|You already have abbreviations called ris\nPlease type the new Labels "
                "name|input:Crohn's "
                "set"}));
        QCOMPARE(names(), QStringList({"RIS", "Crohn's disease"}));
        QCOMPARE(store().load(u"Crohn's disease"_s)->startLabels, labels(u"K"_s));
    }

    void firstFieldIsTheEarliestStartLabel()
    {
        // The ready-made sets as shipped (init emptied this test's copy).
        const auto shipped = [&](const QString& name) {
            return LabelSetStore(*m_prompts, builtProgramFolder() + u"/VarEdoAbb"_s).load(name)->startLabels;
        };
        const QString medline
            = u"\nPMID- 1\nOWN - NLM\nDP  - 2019 Feb\nTI  - Soil\nAB  - x\nFAU - Berg, A\nAU  - Berg A\n"_s;
        QCOMPARE(earliestStartLabelField(shipped(u"MEDLINE (PubMed)"_s), medline), int(Publishing_year));
        QCOMPARE(earliestStartLabelField(shipped(u"RIS"_s), u"TY  - JOUR\nAU  - Berg, A\nTI  - Soil\n"_s),
            int(Publication_type));
        QCOMPARE(earliestStartLabelField(shipped(u"ISI tagged (Web of Science)"_s), u"FN x\nVR 1.0\nPT J\nAU Berg\n"_s),
            int(Publication_type));
        QCOMPARE(earliestStartLabelField(shipped(u"RIS"_s), u"no tags here"_s), -1);
    }

    void vanishedSetIsReportedNotActedOn()
    {
        saveAs(u"Kept"_s, u"k"_s);
        const QByteArray before = readFileBytes(m_path);
        const QString gone = u"The Labels called Gone are no longer in the labels file.\nNothing was changed."_s;
        bool vanished = false;
        QVERIFY(!store().load(u"Gone"_s, &vanished) && vanished);
        expectNotice(gone);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Gone"_s).result, LabelChange::Vanished);
        expectNotice(gone);
        m_prompts->answerInput(u"New name"_s);
        QCOMPARE(store().rename(u"Gone"_s).result, LabelChange::Vanished);
        expectNotice(gone);
        QCOMPARE(readFileBytes(m_path), before);
    }

    void unusableFileChangesNothing_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("reason");
        row("damaged", u"damaged"_s, "The labels file is damaged.");
        row("wrong table", u"DROP TABLE abbreviations; CREATE TABLE abbreviations (Name TEXT)"_s,
            "The labels file is damaged.");
        row("locked", u"BEGIN EXCLUSIVE"_s, "The labels file is in use by another program.");
        row("missing", u"missing"_s, "The labels file %1 is missing.");
    }
    void unusableFileChangesNothing()
    {
        QFETCH(QString, problem);
        QFETCH(QString, reason);
        saveAs(u"Kept"_s, u"k"_s);
        std::optional<OtherConnection> other;
        if (problem == "damaged") {
            writeFileBytes(m_path, QByteArray(4096, 'x'));
        } else if (problem == "missing") {
            QFile::remove(m_path);
            reason = reason.arg(m_path);
        } else {
            other.emplace(m_path, problem.toUtf8().constData()); // a change of another tool, or its lock
        }
        const QByteArray before = readFileBytes(m_path);
        QVERIFY(!store().load(u"Kept"_s));
        expectNotice("The labels couldn't be read.\n" + reason);
        m_prompts->answerInput(u"Other"_s);
        QCOMPARE(store().save(labels(u"o"_s), labels(u"o"_s)).result, LabelChange::Failed);
        expectNotice("The labels couldn't be saved; the labels file is unchanged.\n" + reason);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Kept"_s).result, LabelChange::Failed);
        expectNotice("The labels couldn't be deleted; the labels file is unchanged.\n" + reason);
        QCOMPARE(readFileBytes(m_path), before);
    }
};

QTEST_GUILESS_MAIN(LabelSetsTest)
#include "tst_LabelSets.moc"
