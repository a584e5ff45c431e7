// Saved tag maps in the labels file: their dialogues with exact words, names holding a
// quote, the ready-made maps' names kept free, and a labels file written before tag maps
// existed, which opens, keeps its label sets and gets its table on the first save.

#include "entry/LabelSets.h"
#include "formats/ReadyTagMaps.h"
#include "formats/TagMapStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QTest>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {
TagMap sampleMap()
{
    TagMap map = *readyTagMap(TaggedFormat::Ris);
    map.name = u"My RIS"_s;
    map.rule(TagTarget::Keywords) = ruleFromText(u"KW + DE"_s);
    return map;
}

} // namespace

class TagMapStoreTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QString m_path;

    TagMapStore store() { return TagMapStore(*m_prompts, m_path); }
    void saveAs(const QString& name)
    {
        m_prompts->answerInput(name);
        QCOMPARE(store().save(sampleMap()).result, LabelChange::Done);
    }
    QString lastBox() const { return describe(m_prompts->asked().back()); }

private slots:
    void init()
    {
        m_prompts.reset();
        m_folder.reset();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_folder = std::make_unique<TestProgramFolder>();
        m_path = m_folder->filePath(u"VarEdoAbb"_s);
    }

    void savedMapLoadsBackUnderAnyName()
    {
        QCOMPARE(*store().names(), QStringList()); // the shipped file holds no saved map
        saveAs(u"Crohn's map"_s);
        QCOMPARE(lastBox(), u"New tag map|Please type the name of the new tag map|input:My RIS"_s);
        QCOMPARE(readLines(m_path, u"SELECT Name, Format, Title, Keywords, First_page FROM tagmaps"_s),
            QStringList{u"Crohn's map|RIS|TI | T1 | CT|KW + DE|SP"_s});
        TagMap expected = sampleMap();
        expected.name = u"Crohn's map"_s;
        QCOMPARE(*store().load(u"CROHN'S MAP"_s), expected);

        m_prompts->answerInput(u"Web of Science"_s); // a ready-made map's name
        m_prompts->answerInput(u"Crohn's map"_s); // taken
        m_prompts->answerInput(u"Bob's map"_s);
        QCOMPARE(store().rename(u"Crohn's map"_s).name, u"Bob's map"_s);
        QCOMPARE(m_prompts->described().mid(1),
            (QStringList{u"Rename tag map|Please type the new name of the tag map|input:Crohn's map"_s,
                u"Rename tag map|Web of Science is the name of a ready-made tag map.\nPlease type the new name of the "
                "tag map|input:Web of Science"_s,
                u"Rename tag map|You already have a tag map called Crohn's map\nPlease type the new name of the tag "
                "map|input:Crohn's map"_s}));
        QCOMPARE(*store().names(), QStringList{u"Bob's map"_s});

        m_prompts->answerMessage(PromptButton::Yes);
        QCOMPARE(store().remove(u"Bob's map"_s).result, LabelChange::Done);
        QCOMPARE(lastBox(),
            u"Delete tag map|You are going to delete the tag map Bob's map.\nAre you sure you want to delete "
            "it?|YesNo/None/Yes"_s);
        QCOMPARE(*store().names(), QStringList());
    }

    void overwritingAsksFirst()
    {
        saveAs(u"Mine"_s);
        m_prompts->clear();
        m_prompts->answerInput(u"RIS"_s);
        m_prompts->answerInput(u"MINE"_s);
        m_prompts->answerMessage(PromptButton::No);
        m_prompts->answerInput(QString());
        QCOMPARE(store().save(sampleMap()).result, LabelChange::Declined);
        QCOMPARE(m_prompts->described(),
            (QStringList{u"New tag map|Please type the name of the new tag map|input:My RIS"_s,
                u"New tag map|RIS is the name of a ready-made tag map.\nPlease type the name of the new tag "
                "map|input:RIS"_s,
                u"Papyrant|You already have a tag map called MINE\nDo you want to overwrite it?|YesNo/Exclamation/Yes"_s,
                u"New tag map|Please type the name of the new tag map|input:MINE"_s}));
        m_prompts->answerInput(u"mine"_s);
        m_prompts->answerMessage(PromptButton::Yes);
        TagMap changed = sampleMap();
        changed.rule(TagTarget::Title) = ruleFromText(u"T1"_s);
        QCOMPARE(store().save(changed).name, u"mine"_s);
        QCOMPARE(readLines(m_path, u"SELECT Name, Title FROM tagmaps"_s), QStringList{u"mine|T1"_s});
    }

    void labelsFileWrittenBeforeStillWorks()
    {
        OtherConnection(m_path, "DROP TABLE tagmaps");
        const QStringList labelSets = readLines(m_path, u"SELECT * FROM abbreviations"_s);
        QCOMPARE(*store().names(), QStringList());
        bool vanished = false;
        QVERIFY(!store().load(u"Gone"_s, &vanished) && vanished);
        QCOMPARE(lastBox(),
            u"Papyrant|The tag map called Gone is no longer in the labels file.\nNothing was changed.|Ok/None/Ok"_s);
        QVERIFY(LabelSetStore(*m_prompts, m_path).load(u"RIS"_s));
        saveAs(u"First"_s);
        QCOMPARE(*store().names(), QStringList{u"First"_s});
        QCOMPARE(readLines(m_path, u"SELECT * FROM abbreviations"_s), labelSets);
        // The table made on the first save is the one the shipped labels file has.
        const QString columns = u"SELECT name, type FROM pragma_table_info('tagmaps')"_s;
        QCOMPARE(readLines(m_path, columns), readLines(builtProgramFolder() + u"/VarEdoAbb"_s, columns));
    }
};

QTEST_GUILESS_MAIN(TagMapStoreTest)
#include "tst_TagMapStore.moc"
