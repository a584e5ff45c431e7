// Label sets in the labels file: the dialogues of save, delete and rename with their exact
// words, names holding a quote, and a file that is missing, damaged, locked or no longer
// holds the set: the user is told and the file stays as it was.

#include "entry/LabelSets.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

using namespace papyrant;
using namespace papyrant::test;

namespace {

Labels labels(const QString& stem)
{
    Labels texts;
    for (int i = 0; i < LabelFieldCount; ++i)
        texts[i] = i % 3 == 2 ? QString() : QStringLiteral("%1%2 ").arg(stem).arg(i);
    texts[0] = QLatin1Char('\n') + stem + QStringLiteral("  - ");
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
    QString fileBytes() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex()) : QString();
    }
    void saveAs(const QString& name, const QString& stem)
    {
        m_prompts->answerInput(name);
        QCOMPARE(store().save(labels(stem), labels(stem + QLatin1Char('e'))).result, LabelChange::Done);
    }
    void expectNotice(const QString& text)
    {
        QCOMPARE(m_prompts->asked().back().text, text);
        QCOMPARE(m_prompts->asked().back().title, QStringLiteral("Papyrant"));
        QCOMPARE(m_prompts->asked().back().buttons, PromptButtons::Ok);
    }

private slots:
    void init()
    {
        m_prompts.reset();
        m_folder.reset();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_folder = std::make_unique<TestProgramFolder>();
        m_path = m_folder->filePath(QStringLiteral("VarEdoAbb"));
        // Start from an empty table, as a labels file may ship.
        sqlite3* db = nullptr;
        sqlite3_open(m_path.toUtf8().constData(), &db);
        sqlite3_exec(db, "DELETE FROM abbreviations", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    void cleanup() { QVERIFY2(m_prompts->unexpected().isEmpty(), qPrintable(m_prompts->unexpected().join('\n'))); }

    void savedSetLoadsBackExactly()
    {
        saveAs(QStringLiteral("Crohn's set"), QStringLiteral("K"));
        saveAs(QStringLiteral("Another"), QStringLiteral("A"));
        const AskedPrompt& asked = m_prompts->asked().front();
        QCOMPARE(asked.text, QStringLiteral("Please type the new abbreviations name"));
        QCOMPARE(asked.title, QStringLiteral("New abbreviations"));
        QCOMPARE(asked.preset, QString());
        QCOMPARE(names(), QStringList({QStringLiteral("Crohn's set"), QStringLiteral("Another")}));
        const auto set = store().load(QStringLiteral("crohn's SET")); // the store ignores letter case
        QVERIFY(set);
        QCOMPARE(set->startLabels, labels(QStringLiteral("K"))); // blanks, line feeds, empty boxes kept
        QCOMPARE(set->endLabels, labels(QStringLiteral("Ke")));
        const auto row = readRows(m_path, QStringLiteral("SELECT Title1, keyW2, PT1 FROM abbreviations"));
        QCOMPARE(row.front(), QStringList({QStringLiteral("\nK  - "), QString(), QStringLiteral("K6 ")}));
    }

    void savingOverAnotherLetterCaseAsks()
    {
        saveAs(QStringLiteral("Medline"), QStringLiteral("old"));
        m_prompts->clear();
        m_prompts->answerInput(QStringLiteral("MEDLINE"));
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(QStringLiteral("MEDLINE"));
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(
            store().save(labels(QStringLiteral("new")), labels(QStringLiteral("new"))).name, QStringLiteral("MEDLINE"));
        const auto& asked = m_prompts->asked();
        QCOMPARE(asked.size(), std::size_t(4));
        QCOMPARE(asked[1].text,
            QStringLiteral("You already have abbreviations called MEDLINE\n do you want to overwrite it?"));
        QCOMPARE(asked[1].buttons, PromptButtons::YesNo);
        QCOMPARE(asked[1].icon, PromptIcon::Exclamation);
        QCOMPARE(asked[2].preset, QStringLiteral("MEDLINE")); // No shows the typed name again
        QCOMPARE(names(), QStringList{QStringLiteral("MEDLINE")});
        QCOMPARE(store().load(QStringLiteral("medline"))->startLabels, labels(QStringLiteral("new")));
        // No, then an empty answer: nothing is written.
        m_prompts->answerInput(QStringLiteral("medline"));
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(QString());
        QCOMPARE(store().save(labels(QStringLiteral("x")), labels(QStringLiteral("x"))).result, LabelChange::Declined);
        QCOMPARE(store().load(QStringLiteral("MEDLINE"))->startLabels, labels(QStringLiteral("new")));
    }

    void deleteAsksFirst()
    {
        saveAs(QStringLiteral("Crohn's set"), QStringLiteral("K"));
        m_prompts->answerMessage(PromptButton::No);
        QCOMPARE(store().remove(QStringLiteral("Crohn's set")).result, LabelChange::Declined);
        const AskedPrompt& asked = m_prompts->asked().back();
        QCOMPARE(asked.text,
            QStringLiteral("You are going to delete Crohn's set Labels.\nAre you sure you want to delete it?"));
        QCOMPARE(asked.title, QStringLiteral("Delete Labels"));
        QCOMPARE(asked.icon, PromptIcon::None);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(QStringLiteral("Crohn's set")).result, LabelChange::Done);
        QVERIFY(names().isEmpty());
    }

    void renameRefusesTakenNames()
    {
        saveAs(QStringLiteral("RIS"), QStringLiteral("r"));
        saveAs(QStringLiteral("Crohn's set"), QStringLiteral("K"));
        m_prompts->clear();
        m_prompts->answerInput(QStringLiteral("Crohn's set")); // its own name
        m_prompts->answerInput(QStringLiteral("ris"));
        m_prompts->answerInput(QStringLiteral("Crohn's disease"));
        QCOMPARE(store().rename(QStringLiteral("Crohn's set")).name, QStringLiteral("Crohn's disease"));
        const auto& asked = m_prompts->asked();
        QCOMPARE(asked[0].text, QStringLiteral("Please type the new Labels name"));
        QCOMPARE(asked[0].title, QStringLiteral("Rename Labels"));
        QCOMPARE(asked[1].text,
            QStringLiteral("You already have abbreviations called Crohn's set\nPlease type the new Labels name"));
        QCOMPARE(asked[2].text,
            QStringLiteral("You already have abbreviations called ris\nPlease type the new Labels name"));
        QCOMPARE(asked[2].preset, QStringLiteral("Crohn's set")); // the old name, each time
        QCOMPARE(names(), QStringList({QStringLiteral("RIS"), QStringLiteral("Crohn's disease")}));
        QCOMPARE(store().load(QStringLiteral("Crohn's disease"))->startLabels, labels(QStringLiteral("K")));
    }

    void vanishedSetIsReportedNotActedOn()
    {
        saveAs(QStringLiteral("Kept"), QStringLiteral("k"));
        const QString before = fileBytes();
        const QString gone
            = QStringLiteral("The Labels called Gone are no longer in the labels file.\nNothing was changed.");
        QVERIFY(!store().load(QStringLiteral("Gone")));
        expectNotice(gone);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(QStringLiteral("Gone")).result, LabelChange::Vanished);
        expectNotice(gone);
        m_prompts->answerInput(QStringLiteral("New name"));
        QCOMPARE(store().rename(QStringLiteral("Gone")).result, LabelChange::Vanished);
        expectNotice(gone);
        QCOMPARE(fileBytes(), before);
    }

    void unusableFileChangesNothing_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("reason");
        QTest::newRow("damaged") << "damaged"
                                 << "The labels file is damaged.";
        QTest::newRow("wrong table") << "wrong table"
                                     << "The labels file is damaged.";
        QTest::newRow("locked") << "locked"
                                << "The labels file is in use by another program.";
        QTest::newRow("missing") << "missing"
                                 << "The labels file %1 is missing.";
    }
    void unusableFileChangesNothing()
    {
        QFETCH(QString, problem);
        QFETCH(QString, reason);
        saveAs(QStringLiteral("Kept"), QStringLiteral("k"));
        sqlite3* other = nullptr;
        if (problem == QLatin1String("damaged")) {
            QFile file(m_path);
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray(4096, 'x'));
        } else if (problem == QLatin1String("missing")) {
            QFile::remove(m_path);
            reason = reason.arg(m_path);
        } else {
            sqlite3_open(m_path.toUtf8().constData(), &other);
            const char* sql = problem == QLatin1String("locked")
                ? "BEGIN EXCLUSIVE"
                : "DROP TABLE abbreviations; CREATE TABLE abbreviations (Name TEXT)";
            QCOMPARE(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        }
        const QString before = fileBytes();
        QVERIFY(!store().load(QStringLiteral("Kept")));
        expectNotice(QStringLiteral("The labels couldn't be read.\n") + reason);
        m_prompts->answerInput(QStringLiteral("Other"));
        QCOMPARE(store().save(labels(QStringLiteral("o")), labels(QStringLiteral("o"))).result, LabelChange::Failed);
        expectNotice(QStringLiteral("The labels couldn't be saved; the labels file is unchanged.\n") + reason);
        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(QStringLiteral("Kept")).result, LabelChange::Failed);
        expectNotice(QStringLiteral("The labels couldn't be deleted; the labels file is unchanged.\n") + reason);
        QCOMPARE(fileBytes(), before);
        if (other) {
            sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        }
    }
};

QTEST_GUILESS_MAIN(LabelSetsTest)
#include "tst_LabelSets.moc"
