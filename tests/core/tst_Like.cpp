// The Like operator: wildcards, classes and case-blind matching, alone and in SQL.

#include "core/Database.h"
#include "core/LikeMatcher.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "support/TestFolders.h"

#include <QTest>

using namespace papyrant;
using namespace Qt::StringLiterals;

class LikeTest : public QObject {
    Q_OBJECT
private slots:
    void matches_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("expected");
        // Word patterns the search builds.
        QTest::newRow("inner word") << u"* gene *"_s << "a gene therapy" << true;
        QTest::newRow("inner word needs blanks") << u"* gene *"_s << "a gene, therapy" << false;
        QTest::newRow("whole field is not inner") << u"* gene *"_s << "gene" << false;
        QTest::newRow("leading word") << u"gene *"_s << "gene therapy" << true;
        QTest::newRow("leading needs start") << u"gene *"_s << "a gene therapy" << false;
        QTest::newRow("trailing word") << u"* gene"_s << "the gene" << true;
        QTest::newRow("trailing full stop") << u"* gene"_s << "the gene." << false;
        QTest::newRow("phrase") << u"* gene therapy *"_s << "new gene therapy now" << true;
        QTest::newRow("user star") << u"* gen* *"_s << "new genetic code" << true;
        // Case.
        QTest::newRow("ascii case") << u"* GENE *"_s << "a gene b" << true;
        QTest::newRow("umlaut case") << u"* Äpfel *"_s << "rote äpfel hier" << true;
        QTest::newRow("accent case") << u"*ÉTUDE*"_s << "une étude" << true;
        QTest::newRow("ascii word in accented text") << u"* gene *"_s << "Müller, gene études" << true;
        QTest::newRow("ascii word beside accented letter") << u"* gene *"_s << "Müller genež x" << false;
        QTest::newRow("greek case") << u"Σ*"_s << "σοφία" << true;
        // Two letters outside ASCII fold into it: the Kelvin sign into k, the long s into s.
        QTest::newRow("kelvin sign is itself") << u"\u212A"_s << "\u212A" << true;
        QTest::newRow("long s is itself") << u"*\u017F*"_s << "Ma\u017F" << true;
        QTest::newRow("k stands for the kelvin sign") << u"* k *"_s << "5 \u212A here" << true;
        QTest::newRow("s stands for the long s") << u"[r-t]"_s << "\u017F" << true;
        // Single characters.
        QTest::newRow("question one") << u"ge?e"_s << "gene" << true;
        QTest::newRow("question exactly one") << u"ge?e"_s << "gee" << false;
        QTest::newRow("question non-ascii") << u"stra?e"_s << "straße" << true;
        QTest::newRow("hash digit") << u"19##"_s << "1990" << true;
        QTest::newRow("hash not letter") << u"19##"_s << "19x0" << false;
        // Classes.
        QTest::newRow("class") << u"[abc]at"_s << "bat" << true;
        QTest::newRow("class miss") << u"[abc]at"_s << "rat" << false;
        QTest::newRow("class case") << u"[abc]at"_s << "Cat" << true;
        QTest::newRow("range") << u"[a-f]*"_s << "Delta" << true;
        QTest::newRow("negated") << u"[!abc]at"_s << "rat" << true;
        QTest::newRow("negated miss") << u"[!abc]at"_s << "cat" << false;
        QTest::newRow("star in class is literal") << u"a[*]b"_s << "a*b" << true;
        QTest::newRow("unmatched bracket is itself") << u"*[x*"_s << "a[xyz" << true;
        QTest::newRow("unmatched bracket literal miss") << u"[x"_s << "x" << false;
        // Stars.
        QTest::newRow("only star") << u"*"_s << "" << true;
        QTest::newRow("empty pattern empty text") << u""_s << "" << true;
        QTest::newRow("empty pattern text") << u""_s << "a" << false;
        QTest::newRow("stars collapse") << u"a**b"_s << "ab" << true;
        QTest::newRow("head and tail overlap") << u"ab*ba"_s << "aba" << false;
        QTest::newRow("head and tail") << u"ab*ba"_s << "abba" << true;
        QTest::newRow("middle pieces in order") << u"*a*b*c*"_s << "xxaxxbxxc" << true;
        QTest::newRow("middle pieces out of order") << u"*a*b*c*"_s << "cxbxa" << false;
        QTest::newRow("exact") << u"gene"_s << "GENE" << true;
        QTest::newRow("percent is literal") << u"a%"_s << "abc" << false;
        QTest::newRow("underscore is literal") << u"a_c"_s << "abc" << false;
    }
    void matches()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, subject);
        QFETCH(bool, expected);
        const QByteArray p = pattern.toUtf8();
        const QByteArray s = subject.toUtf8();
        QCOMPARE(
            LikePattern(std::string_view(p.constData(), p.size())).matches(std::string_view(s.constData(), s.size())),
            expected);
    }

    // Word edges the records of the search tests do not show: characters outside ASCII
    // on either side of an ASCII word, combining marks, letters beyond the basic plane.
    void wholeWord_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("expected");
        QTest::newRow("guillemets") << u"gene"_s << "«gene»" << true;
        QTest::newRow("em dash and no-break space") << u"gene"_s << "x—gene y" << true;
        QTest::newRow("letter after") << u"gene"_s << "genež" << false;
        QTest::newRow("letter before") << u"gene"_s << "ßgene" << false;
        QTest::newRow("combining mark belongs to the word") << u"gene"_s << "gené x" << false;
        QTest::newRow("letter beyond the basic plane") << u"gene"_s << "gene𝐀" << false;
        QTest::newRow("Kelvin sign as k") << u"kelvin"_s << "5 Kelvin." << true;
        QTest::newRow("later occurrence") << u"gene"_s << "genes, gene" << true;
        QTest::newRow("tail at the last word end") << u"a*c"_s << "ab, abc cx" << true;
        QTest::newRow("head must start a word") << u"b*"_s << "ab" << false;
        QTest::newRow("empty text") << u"gene"_s << "" << false;
    }
    void wholeWord()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, subject);
        QFETCH(bool, expected);
        const QByteArray p = pattern.toUtf8();
        const QByteArray s = subject.toUtf8();
        QCOMPARE(LikePattern(std::string_view(p.constData(), p.size()))
                     .matchesWholeWord(std::string_view(s.constData(), s.size())),
            expected);
    }

    void likeAndLetterCaseInStatements()
    {
        // Like, Not Like and quoted patterns run through the program's like; equality,
        // Distinct and Order by ignore letter case.
        test::TestProgramFolder folder;
        Database db(folder.makeBibliography(u"like.pyr"_s,
            {{{"Title", "Gene therapy today"}, {"Category", "Reviews"}, {"TitelS", "b"}},
                {{"Title", "Virus gene"}, {"Category", "reviews"}, {"TitelS", "A"}},
                {{"Title", "Cell biology"}, {"Category", "None"}, {"TitelS", "c"}},
                {{"Title", "Crohn's disease"}, {"Category", "None"}, {"TitelS", "d"}}}));
        const auto count = [&](const QString& where) {
            return RecordSet(db, "Select Abstracts.* From Abstracts Where " + where).recordCount();
        };
        QCOMPARE(count(u"(Abstracts.Title Like 'gene *') or (Abstracts.Title Like '* gene')"_s), 2);
        QCOMPARE(count(u"Abstracts.Title Not Like '*gene*'"_s), 2);
        QCOMPARE(count("Abstracts.Title Like " + sqlLiteral(u"Crohn's *"_s)), 1);
        QCOMPARE(count(u"Abstracts.Category = 'REVIEWS'"_s), 2);
        QCOMPARE(count(u"WholeWord(Abstracts.Title, 'GENE')"_s), 2);
        // No text, no answer: a NULL field is neither a match nor, negated, a miss.
        QCOMPARE(count(u"WholeWord(NULL, 'gene') Is Null And Not WholeWord('a', 'gene')"_s), 4);
        QCOMPARE(RecordSet(db, u"Select Distinct Abstracts.Category From Abstracts"_s).recordCount(), 2);
        RecordSet ordered(db, u"Select Abstracts.* From Abstracts Order by TitelS"_s);
        QCOMPARE(ordered.value(u"TitelS"_s), u"A"_s);
        ordered.moveNext();
        QCOMPARE(ordered.value(u"TitelS"_s), u"b"_s);
    }

    void quotingHelper_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("plain") << u"Reviews"_s << "'Reviews'";
        QTest::newRow("one quote") << u"Crohn's"_s << "'Crohn''s'";
        QTest::newRow("quotes only") << u"''"_s << "''''''";
        QTest::newRow("empty") << u""_s << "''";
    }
    void quotingHelper()
    {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(sqlLiteral(text), literal);
        QCOMPARE(sqlLiteralBody(text), literal.mid(1, literal.size() - 2));
    }

    void statementTranslation_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("run");
        QTest::newRow("qualified delete") << u"Delete Abstracts.* From Abstracts Where Category = 'x'"_s
                                          << "DELETE FROM Abstracts Where Category = 'x'";
        QTest::newRow("lower case") << u"delete abstracts.* from Abstracts"_s << "DELETE FROM Abstracts";
        // Only a delete is rewritten, though a select has the same "Abstracts.* From".
        QTest::newRow("select untouched")
            << u"Select Abstracts.* From Abstracts"_s << "Select Abstracts.* From Abstracts";
    }
    void statementTranslation()
    {
        QFETCH(QString, written);
        QFETCH(QString, run);
        QCOMPARE(translateStatement(written), run);
    }
};

QTEST_GUILESS_MAIN(LikeTest)
#include "tst_Like.moc"
