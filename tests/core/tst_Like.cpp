// The Like operator: wildcards, classes and case-blind matching, alone and in SQL.

#include "core/Database.h"
#include "core/LikeMatcher.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QTest>

using namespace papyrant;
using papyrant::test::row;
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
        row("inner word", u"* gene *"_s, "a gene therapy", true);
        row("whole field is not inner", u"* gene *"_s, "gene", false);
        row("leading word", u"gene *"_s, "gene therapy", true);
        row("trailing word", u"* gene"_s, "the gene", true);
        row("trailing full stop", u"* gene"_s, "the gene.", false);
        row("phrase", u"* gene therapy *"_s, "new gene therapy now", true);
        row("user star", u"* gen* *"_s, "new genetic code", true);
        // Case.
        row("umlaut case", u"* Äpfel *"_s, "rote äpfel hier", true);
        row("accent case", u"*ÉTUDE*"_s, "une étude", true);
        row("ascii word in accented text", u"* gene *"_s, "Müller, gene études", true);
        row("ascii word beside accented letter", u"* gene *"_s, "Müller genež x", false);
        row("greek case", u"Σ*"_s, "σοφία", true);
        // Two letters outside ASCII fold into it: the Kelvin sign into k, the long s into s.
        row("kelvin sign is itself", u"\u212A"_s, "\u212A", true);
        row("long s is itself", u"*\u017F*"_s, "Ma\u017F", true);
        row("k stands for the kelvin sign", u"* k *"_s, "5 \u212A here", true);
        row("s stands for the long s", u"[r-t]"_s, "\u017F", true);
        // Single characters.
        row("question exactly one", u"ge?e"_s, "gee", false);
        row("question one", u"ge?e"_s, "gene", true);
        row("question non-ascii", u"stra?e"_s, "straße", true);
        row("hash digit", u"19##"_s, "1990", true);
        // Classes.
        row("class", u"[abc]at"_s, "bat", true);
        row("class miss", u"[abc]at"_s, "rat", false);
        row("class case", u"[abc]at"_s, "Cat", true);
        row("range", u"[a-f]*"_s, "Delta", true);
        row("negated", u"[!abc]at"_s, "rat", true);
        row("negated miss", u"[!abc]at"_s, "cat", false);
        row("star in class is literal", u"a[*]b"_s, "a*b", true);
        row("unmatched bracket is itself", u"*[x*"_s, "a[xyz", true);
        row("unmatched bracket literal miss", u"[x"_s, "x", false);
        // Stars.
        row("only star", u"*"_s, "", true);
        row("empty pattern text", u""_s, "a", false);
        row("stars collapse", u"a**b"_s, "ab", true);
        row("head and tail", u"ab*ba"_s, "abba", true);
        row("head and tail overlap", u"ab*ba"_s, "aba", false);
        row("middle pieces in order", u"*a*b*c*"_s, "xxaxxbxxc", true);
        row("exact", u"gene"_s, "GENE", true);
        row("percent is literal", u"a%"_s, "abc", false);
        row("underscore is literal", u"a_c"_s, "abc", false);
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
        row("guillemets", u"gene"_s, "«gene»", true);
        row("em dash and no-break space", u"gene"_s, "x—gene y", true);
        row("letter after", u"gene"_s, "genež", false);
        row("letter before", u"gene"_s, "ßgene", false);
        row("combining mark belongs to the word", u"gene"_s, "gené x", false);
        row("letter beyond the basic plane", u"gene"_s, "gene𝐀", false);
        row("Kelvin sign as k", u"kelvin"_s, "5 Kelvin.", true);
        row("later occurrence", u"gene"_s, "genes, gene", true);
        row("tail at the last word end", u"a*c"_s, "ab, abc cx", true);
        row("head must start a word", u"b*"_s, "ab", false);
        row("empty text", u"gene"_s, "", false);
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
        row("plain", u"Reviews"_s, "'Reviews'");
        row("one quote", u"Crohn's"_s, "'Crohn''s'");
        row("quotes only", u"''"_s, "''''''");
        row("empty", u""_s, "''");
    }
    void quotingHelper()
    {
        QFETCH(QString, text);
        QFETCH(QString, literal);
        QCOMPARE(sqlLiteral(text), literal);
        QCOMPARE(sqlLiteralBody(text), literal.mid(1, literal.size() - 2));
    }
};

QTEST_GUILESS_MAIN(LikeTest)
#include "tst_Like.moc"
