// The auto-extract and manual-adding screens driven through their controls: opening files,
// taking selections, a run with its end message, the hand-over of failed records and the
// way back, label sets from the list, tagged exports read by their tag maps (checked against
// independent readers) and the "Tag map" dialog, and manual adding's holders, marks and
// saved state.

#include "core/ProgramState.h"
#include "entry/AutoExtractForm.h"
#include "entry/ManualForm.h"
#include "entry/TagMapDialog.h"
#include "entry/TextView.h"
#include "support/FixedClock.h"
#include "support/IndependentReaders.h"
#include "support/ScreenFixture.h"
#include "support/TableRows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {
QString sample(const QString& path)
{
    return QStringLiteral(PAPYRANT_SOURCE_DIR "/tests/") + path;
}

const QString Records = u"Export header\r\n<T>Alpha</T>\r\n<A>Ann</A>\r\n<T>Beta</T>\r\n<A>Bob\r\n<T>Gamma</T>\r\n"
                        "<A>Cy</A>\r\n"_s;

} // namespace

class EntryScreensTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScreenFixture> m_fixture;
    FixedClock m_day{QDate(2026, 5, 4)};
    QString m_bibliography;

    QString textFile(const QString& text, const QString& leaf = u"export.txt"_s)
    {
        return writeFileBytes(m_fixture->folder().filePath(leaf), text.toUtf8());
    }
    // Opens the file through the screen's own open button.
    void open(QWidget* screen, const QString& button, const QString& text)
    {
        m_fixture->prompts().answerFile(textFile(text));
        click(screen, button);
    }
    AutoExtractForm* openExtract()
    {
        AutoExtractForm* screen = showExtract();
        the<QLineEdit>(screen, u"Text2_0"_s)->setText(u"<T>"_s);
        the<QLineEdit>(screen, u"Text4_0"_s)->setText(u"</T>"_s);
        the<QLineEdit>(screen, u"Text2_1"_s)->setText(u"<A>"_s);
        the<QLineEdit>(screen, u"Text4_1"_s)->setText(u"</A>"_s);
        open(screen, u"Command2"_s, Records);
        QTest::mouseClick(the<TextView>(screen, u"RText1"_s)->viewport(), Qt::LeftButton);
        return screen;
    }
    AutoExtractForm* showExtract()
    {
        return qobject_cast<AutoExtractForm*>(screens().show(ScreenKind::AutoExtract, m_fixture->bibliography()));
    }
    // Opens a sample file as it is, through the screen's open button.
    void openSample(QWidget* screen, const QString& path)
    {
        m_fixture->prompts().answerFile(sample(path));
        click(screen, u"Command2"_s);
    }
    QString labelsFile() const { return m_fixture->folder().filePath(u"VarEdoAbb"_s); }
    void extract(AutoExtractForm* screen)
    {
        const std::size_t before = m_fixture->prompts().asked().size();
        click(screen, u"CommandExtract"_s);
        QVERIFY(!screen->close()); // the close box waits for the run's end
        QTRY_VERIFY(m_fixture->prompts().asked().size() > before);
        QTRY_VERIFY(!screen->running());
        // The screen takes input again one turn of the event loop after the end.
        QTRY_VERIFY(the(screen, u"Command2"_s)->isEnabled());
    }
    // Rows added after the two the bibliography starts with.
    QStringList stored(const QString& columns)
    {
        return readLines(m_bibliography, u"SELECT "_s + columns + u" FROM Abstracts WHERE rowid > 2 ORDER BY rowid"_s);
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<ScreenFixture>();
        m_bibliography = m_fixture->openBibliography(
            u"shelf.pyr"_s, {{{u"Category"_s, u"soil"_s}}, {{u"Category"_s, u"Crohn's"_s}}});
        screens().registerScreen(ScreenKind::AutoExtract, [](Bibliography& b) { return new AutoExtractForm(b); });
        screens().registerScreen(ScreenKind::ManualAdding, [](Bibliography& b) { return new ManualForm(b); });
    }
    void cleanup() { m_fixture.reset(); }

    void extractWaitsForAClickInTheView()
    {
        AutoExtractForm* screen = showExtract();
        QCOMPARE(screen->windowTitle(), u"Papyrant, Auto extract, bibliography name is: shelf"_s);
        QCOMPARE(items(the<QComboBox>(screen, u"Combo2"_s)), QStringList({u"Crohn's"_s, u"soil"_s}));
        // A listed name is refused and becomes the current entry; cancelling leaves it there.
        m_fixture->prompts().answerInput(u"soil"_s);
        m_fixture->prompts().answerInput(QString());
        click(screen, u"Command5"_s);
        QCOMPARE(m_fixture->prompts().messages(), QStringList{u"You already have a Category named soil"_s});
        QCOMPARE(the<QComboBox>(screen, u"Combo2"_s)->currentText(), u"soil"_s);
        auto* extract = the<QPushButton>(screen, u"CommandExtract"_s);
        m_fixture->prompts().cancelFile();
        click(screen, u"Command2"_s);
        open(screen, u"Command2"_s, u"\x89PNG\0\0"_s);
        // The loader's refusals and notes (tst_ExtractionRun) reach the user; a file with bytes
        // that are not UTF-8 opens all the same.
        QVERIFY(m_fixture->prompts().messages().last().startsWith(u"This file can't be opened.\n"_s));
        m_fixture->prompts().answerFile(
            writeFileBytes(m_fixture->folder().filePath(u"stray.txt"_s), "M\xC3\xBCller, J\xC3\xB6rg \xFF!"));
        click(screen, u"Command2"_s);
        QVERIFY(m_fixture->prompts().messages().last().startsWith(u"1 byte of this file is not UTF-8"_s));
        QCOMPARE(the<TextView>(screen, u"RText1"_s)->model().text(), u"Müller, Jörg \uFFFD!"_s);
        // A text without tags of a known layout is cut by the labels, as always.
        open(screen, u"Command2"_s, Records);
        QCOMPARE(the<QLabel>(screen, u"FormatSummary"_s)->text(), u"No tags of a known layout"_s);
        QCOMPARE(the<QComboBox>(screen, u"TagMapList"_s)->currentText(), u"None (extract by the labels)"_s);
        QVERIFY(!the<QPushButton>(screen, u"TagMapEdit"_s)->isEnabled());
        QVERIFY(!extract->isEnabled());
        auto* view = the<TextView>(screen, u"RText1"_s);
        QTest::mouseClick(view->viewport(), Qt::LeftButton);
        QVERIFY(extract->isEnabled());
        view->selectAll();
        QTest::keyClick(view, Qt::Key_Delete);
        QTest::mouseClick(view->viewport(), Qt::LeftButton);
        QVERIFY(!extract->isEnabled());
    }

    void viewTakesLineBreaksAsTheFileHasThem()
    {
        AutoExtractForm* screen = openExtract();
        auto* view = the<TextView>(screen, u"RText1"_s);
        view->select(12, 0); // before the "r" of "header"
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier); // a CR LF pair is one step
        click(screen, u"Command8_3"_s);
        QCOMPARE(the<QLineEdit>(screen, u"Text4_3"_s)->text(), u"r\r\n<"_s);
        view->select(4, 0);
        click(screen, u"Command8_3"_s);
        QCOMPARE(the<QLineEdit>(screen, u"Text4_3"_s)->text(), QString());
        view->select(15, 0); // after the pair
        QTest::keyClick(view, Qt::Key_Backspace);
        QTest::keyClicks(view, u" |"_s);
        QVERIFY(view->model().text().startsWith(u"Export header |<T>Alpha</T>\r\n"_s));
    }

    void runStoresCleanRecordsAndHandsOverTheRest()
    {
        AutoExtractForm* screen = openExtract();
        m_fixture->prompts().answerMessage(PromptButton::Yes);
        extract(screen);
        QCOMPARE(m_fixture->prompts().asked().back().text,
            u"The following record/s couldn't be extracted\nRecords:   2\nThey may contain miss text\n"
            "Do you want to use manual adding to add these records?"_s);
        QCOMPARE(stored(u"Title, Authors, Category, Personal"_s),
            QStringList({u"Alpha|Ann|None|XX_EmptyField_XX"_s, u"Gamma|Cy|None|XX_EmptyField_XX"_s}));
        QCOMPARE(the<QLabel>(screen, u"Label5"_s)->text(), u"from export.txt to shelf"_s);
        auto* manual = screens().live<ManualForm>(ScreenKind::ManualAdding);
        QVERIFY(manual && manual->isVisible() && !screen->isVisible());
        QCOMPARE(the<TextView>(manual, u"RText1"_s)->model().text(), u"<T>Beta</T>\r\n<A>Bob\r\n"_s);
        QVERIFY(!the<QToolButton>(manual, u"Command4"_s)->isEnabled());
        QCOMPARE(items(the<QComboBox>(manual, u"Combo1"_s)), QStringList({u"Crohn's"_s, u"None"_s, u"soil"_s}));
        QCOMPARE(the<QComboBox>(manual, u"Combo1"_s)->currentText(), u"None"_s);
        // Back from manual adding returns to the auto-extract screen.
        click(manual, role::Back);
        QTRY_VERIFY(!screens().existing(ScreenKind::ManualAdding));
        QVERIFY(screen->isVisible());
        // A second run finds "None" in the list and does not add it again.
        open(screen, u"Command2"_s, u"<T>A</T><A>a</A><T>B</T><A>b</A><T>C</T><A>c</A>"_s);
        extract(screen);
        QCOMPARE(m_fixture->prompts().asked().back().text, u"3 records were added successfully"_s);
        QCOMPARE(items(the<QComboBox>(screen, u"Combo2"_s)), QStringList({u"Crohn's"_s, u"None"_s, u"soil"_s}));
        QCOMPARE(the<QLabel>(screen, u"Label4"_s)->text(), u"4"_s);
        QVERIFY(!the<QWidget>(screen, role::ExtractProgress)->isVisible());
    }

    void labelSetsFromTheList()
    {
        AutoExtractForm* screen = showExtract();
        auto* list = the<QComboBox>(screen, u"Combo1"_s);
        list->setCurrentIndex(2);
        emit list->activated(2);
        QCOMPARE(the<QLineEdit>(screen, u"Text2_6"_s)->text(), u"TY  - "_s);
        QCOMPARE(the<QLineEdit>(screen, u"Text4_6"_s)->text(), u"\n"_s);
        QVERIFY(the<QToolButton>(screen, u"Command7"_s)->isEnabled());
        m_fixture->prompts().answerMessage(PromptButton::Yes);
        click(screen, u"Command6"_s); // its box is tst_ExtractionRun's
        QCOMPARE(items(list), QStringList({u"MEDLINE (PubMed)"_s, u"ISI tagged (Web of Science)"_s}));
        QVERIFY(the<QLineEdit>(screen, u"Text2_6"_s)->text().isEmpty());
        QVERIFY(!the<QToolButton>(screen, u"Command6"_s)->isEnabled());
    }

    void exportsExtractByTheirReadyMaps_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<TaggedFormat>("format");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("failed"); // records without a title
        row("RIS: ris2xml", u"formats/data/awkward.ris"_s, TaggedFormat::Ris, u"RIS export: 7 records"_s,
            u"RIS (ready-made)"_s, u"  4"_s);
        row("Web of Science: isi2xml", u"formats/data/awkward.isi"_s, TaggedFormat::WebOfScience,
            u"Web of Science export: 4 records"_s, u"Web of Science (ready-made)"_s, QString());
        row("MEDLINE: Bio.Medline", u"formats/data/awkward.nbib"_s, TaggedFormat::Medline,
            u"MEDLINE export: 4 records"_s, u"MEDLINE (PubMed) (ready-made)"_s, QString());
    }
    void exportsExtractByTheirReadyMaps()
    {
        QFETCH(QString, path);
        QFETCH(TaggedFormat, format);
        QFETCH(QString, summary);
        QFETCH(QString, map);
        QFETCH(QString, failed);
        AutoExtractForm* screen = showExtract();
        openSample(screen, path);
        QCOMPARE(the<QLabel>(screen, u"FormatSummary"_s)->text(), summary);
        QCOMPARE(the<QComboBox>(screen, u"TagMapList"_s)->currentText(), map);
        QVERIFY(!the<QToolButton>(screen, u"TagMapDelete"_s)->isEnabled()); // a ready-made map stays
        // Looking at the map in the dialog changes nothing.
        click(screen, u"TagMapEdit"_s);
        click(screen->findChild<TagMapDialog*>(), u"TagMapOk"_s);
        QTRY_VERIFY(!screen->findChild<TagMapDialog*>());
        QCOMPARE(the<QComboBox>(screen, u"TagMapList"_s)->currentText(), map);
        // A recognised export needs no click into the view.
        QVERIFY(the<QPushButton>(screen, u"CommandExtract"_s)->isEnabled());
        if (!failed.isEmpty())
            m_fixture->prompts().answerMessage(PromptButton::No);
        extract(screen);
        const int records = summary.section(u' ', -2, -2).toInt();
        QCOMPARE(m_fixture->prompts().messages().last(),
            failed.isEmpty() ? u"%1 records were added successfully"_s.arg(records)
                             : u"The following record/s couldn't be extracted\nRecords: %1\nThey may contain miss "
                               "text\nDo you want to use manual adding to add these records?"_s.arg(failed));
        QCOMPARE(stored(u"DISTINCT Category"_s), QStringList{u"None"_s});
        compareWithReader(readRows(m_bibliography,
                              u"SELECT Title, Authors, Publishing_year, Source FROM Abstracts WHERE rowid > 2"_s),
            independentCitations(sample(path), format));
    }

    void tagMapDialogSavesRenamesAndDeletes()
    {
        AutoExtractForm* screen = showExtract();
        QCOMPARE(the<QComboBox>(screen, u"Combo1"_s)->count(), 3);
        auto* maps = the<QComboBox>(screen, u"TagMapList"_s);
        QCOMPARE(items(maps),
            (QStringList{u"None (extract by the labels)"_s, QString(), u"MEDLINE (PubMed) (ready-made)"_s,
                u"RIS (ready-made)"_s, u"Web of Science (ready-made)"_s}));
        openSample(screen, u"formats/data/unknown.txt"_s);
        QCOMPARE(the<QLabel>(screen, u"FormatSummary"_s)->text(), u"Tagged text (Label: value): 4 records"_s);
        QCOMPARE(maps->currentText(), u"None (extract by the labels)"_s); // no map knows this layout yet

        click(screen, u"TagMapEdit"_s);
        auto* dialog = screen->findChild<TagMapDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        auto* table = the<QTableWidget>(dialog, u"TagTable"_s);
        QCOMPARE(table->rowCount(), 9);
        QCOMPARE(table->item(4, 0)->text(), u"Quelle"_s); // the proposal's rows are tst_TagMaps'
        auto* quelle = the<QComboBox>(dialog, u"TagField_Quelle"_s);
        QCOMPARE(quelle->currentText(), u"(not used)"_s);
        choose(quelle, u"Source"_s);
        m_fixture->prompts().answerInput(u"Crohn's catalogue"_s);
        click(dialog, u"TagMapSave"_s);
        QCOMPARE(readLines(labelsFile(), u"SELECT Name, Format, Title, Authors, Source FROM tagmaps"_s),
            QStringList{u"Crohn's catalogue|Label: value|Werk|Beteiligte|Quelle"_s});
        click(dialog, u"TagMapOk"_s);
        QTRY_VERIFY(!screen->findChild<TagMapDialog*>());
        QCOMPARE(maps->currentText(), u"Crohn's catalogue"_s);

        extract(screen);
        QCOMPARE(m_fixture->prompts().messages().last(), u"4 records were added successfully"_s);
        QCOMPARE(stored(u"Source"_s).at(1), u"Alpine Ecology 188(4)"_s);

        m_fixture->prompts().answerInput(u"Bob's catalogue"_s);
        click(screen, u"TagMapRename"_s);
        QCOMPARE(maps->currentText(), u"Bob's catalogue"_s);
        m_fixture->prompts().answerMessage(PromptButton::Yes);
        click(screen, u"TagMapDelete"_s); // the store's boxes are tst_TagMaps'
        QCOMPARE(readLines(labelsFile(), u"SELECT count(*) FROM tagmaps"_s), QStringList{u"0"_s});
        QCOMPARE(items(maps).size(), 5);
        QCOMPARE(maps->currentText(), u"None (extract by the labels)"_s);
        QVERIFY(!the<QToolButton>(screen, u"TagMapDelete"_s)->isEnabled());
        m_fixture->verifyNoUnexpectedPrompts();
    }

    void manualAddingHoldsMarksAndSaves()
    {
        auto* screen = screens().show(ScreenKind::ManualAdding, m_fixture->bibliography());
        QCOMPARE(screen->windowTitle(), u"Papyrant, Manual adding, bibliography name is: shelf"_s);
        auto box = [&](int i) { return the<QPlainTextEdit>(screen, u"Text2_%1"_s.arg(i)); };
        auto* date = the<QLineEdit>(screen, u"Text2_10"_s);
        QCOMPARE(date->text(), shortDateText(QDate(2026, 5, 4)));
        box(9)->setPlainText(u"only a comment"_s);
        click(screen, u"Command2"_s);
        QCOMPARE(describe(m_fixture->prompts().asked().back()),
            u"Papyrant|There is no data to be added!|Ok/Information/Ok"_s);

        open(screen, u"Command4"_s, u"Title line\r\nsecond"_s);
        auto* view = the<TextView>(screen, u"RText1"_s);
        view->select(6, 8); // "line" CR LF "se"
        click(screen, u"Command1_0"_s);
        QCOMPARE(box(0)->toPlainText(), u"line\nse"_s);
        QCOMPARE(view->colourAt(5), QColor());
        QCOMPARE(view->colourAt(13), QColor(255, 0, 0));
        box(4)->setPlainText(QString(60, u'9'));
        box(7)->setPlainText(u" \r\n"_s);
        date->clear();
        click(screen, u"Command2"_s);
        QCOMPARE(stored(u"Title, TitelS, Publishing_year, Language, Entry_Date, Personal, Category"_s).back(),
            u"line\r\nse|line\r\nse|%1|XX_EmptyField_XX|XX_EmptyField_XX|only a comment|None"_s.arg(QString(50, u'9')));
        QVERIFY(box(0)->toPlainText().isEmpty() && box(9)->toPlainText().isEmpty() && date->text().isEmpty());

        // A failing write is reported and the entries stay.
        box(0)->setPlainText(QString(300, u't'));
        OtherConnection other(m_bibliography, "BEGIN EXCLUSIVE");
        click(screen, u"Command2"_s);
        QCOMPARE(m_fixture->prompts().messages().back(), u"The record couldn't be added.\ndatabase is locked"_s);
        other.close();
        click(screen, u"Command2"_s);
        QCOMPARE(stored(u"length(Title), length(TitelS)"_s).back(), u"300|240"_s);

        // The state is saved as the file had it; the second time without a dialog.
        const QString saved = textFile(u"old"_s, u"state.txt"_s);
        m_fixture->prompts().clear();
        m_fixture->prompts().answerFile(saved);
        m_fixture->prompts().answerMessage(PromptButton::No);
        m_fixture->prompts().cancelFile();
        click(screen, u"Command6"_s);
        const QString dialog = u"Save|Text File (*.txt)|*.txt|save:temptext"_s;
        QCOMPARE(m_fixture->prompts().described(),
            (QStringList{dialog,
                u"Papyrant|You already have file called \"state.txt\"\nDo you want to replace it?|YesNo/Question/No"_s,
                dialog}));
        m_fixture->prompts().answerFile(saved);
        m_fixture->prompts().answerMessage(PromptButton::Yes);
        click(screen, u"Command6"_s);
        click(screen, u"Command6"_s);
        QCOMPARE(readFileBytes(saved), QByteArray("Title line\r\nsecond"));
    }
};

QTEST_MAIN(EntryScreensTest)
#include "tst_EntryScreens.moc"
