// The Like operator: wildcards, classes and case-blind matching, alone and in SQL.

#include "core/Database.h"
#include "core/LikeMatcher.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"
#include "support/TestFolders.h"

#include <QTest>

using namespace papyrant;

class LikeTest : public QObject {
    Q_OBJECT
private slots:
    void matches_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<bool>("expected");
        // Word patterns the search builds.
        QTest::newRow("inner word") << "* gene *"
                                    << "a gene therapy" << true;
        QTest::newRow("inner word needs blanks") << "* gene *"
                                                 << "a gene, therapy" << false;
        QTest::newRow("whole field is not inner") << "* gene *"
                                                  << "gene" << false;
        QTest::newRow("leading word") << "gene *"
                                      << "gene therapy" << true;
        QTest::newRow("leading needs start") << "gene *"
                                             << "a gene therapy" << false;
        QTest::newRow("trailing word") << "* gene"
                                       << "the gene" << true;
        QTest::newRow("trailing full stop") << "* gene"
                                            << "the gene." << false;
        QTest::newRow("phrase") << "* gene therapy *"
                                << "new gene therapy now" << true;
        QTest::newRow("user star") << "* gen* *"
                                   << "new genetic code" << true;
        QTest::newRow("user star gene") << "* gen* *"
                                        << "new gene code" << true;
        // Case.
        QTest::newRow("ascii case") << "* GENE *"
                                    << "a gene b" << true;
        QTest::newRow("umlaut case") << "* Äpfel *"
                                     << "rote äpfel hier" << true;
        QTest::newRow("accent case") << "*ÉTUDE*"
                                     << "une étude" << true;
        QTest::newRow("ascii word in accented text") << "* gene *"
                                                     << "Müller, gene études" << true;
        QTest::newRow("ascii word beside accented letter") << "* gene *"
                                                           << "Müller genež x" << false;
        QTest::newRow("greek case") << "Σ*"
                                    << "σοφία" << true;
        // Two letters outside ASCII fold into it: the Kelvin sign into k, the long s into s.
        QTest::newRow("kelvin sign is itself") << "\u212A"
                                               << "\u212A" << true;
        QTest::newRow("long s is itself") << "*\u017F*"
                                          << "Ma\u017F" << true;
        QTest::newRow("k stands for the kelvin sign") << "* k *"
                                                      << "5 \u212A here" << true;
        QTest::newRow("s stands for the long s") << "[r-t]"
                                                 << "\u017F" << true;
        // Single characters.
        QTest::newRow("question one") << "ge?e"
                                      << "gene" << true;
        QTest::newRow("question exactly one") << "ge?e"
                                              << "gee" << false;
        QTest::newRow("question non-ascii") << "stra?e"
                                            << "straße" << true;
        QTest::newRow("hash digit") << "19##"
                                    << "1990" << true;
        QTest::newRow("hash not letter") << "19##"
                                         << "19x0" << false;
        // Classes.
        QTest::newRow("class") << "[abc]at"
                               << "bat" << true;
        QTest::newRow("class miss") << "[abc]at"
                                    << "rat" << false;
        QTest::newRow("class case") << "[abc]at"
                                    << "Cat" << true;
        QTest::newRow("range") << "[a-f]*"
                               << "Delta" << true;
        QTest::newRow("negated") << "[!abc]at"
                                 << "rat" << true;
        QTest::newRow("negated miss") << "[!abc]at"
                                      << "cat" << false;
        QTest::newRow("star in class is literal") << "a[*]b"
                                                  << "a*b" << true;
        QTest::newRow("unmatched bracket is itself") << "*[x*"
                                                     << "a[xyz" << true;
        QTest::newRow("unmatched bracket literal miss") << "[x"
                                                        << "x" << false;
        // Stars.
        QTest::newRow("only star") << "*"
                                   << "" << true;
        QTest::newRow("empty pattern empty text") << ""
                                                  << "" << true;
        QTest::newRow("empty pattern text") << ""
                                            << "a" << false;
        QTest::newRow("stars collapse") << "a**b"
                                        << "ab" << true;
        QTest::newRow("head and tail overlap") << "ab*ba"
                                               << "aba" << false;
        QTest::newRow("head and tail") << "ab*ba"
                                       << "abba" << true;
        QTest::newRow("middle pieces in order") << "*a*b*c*"
                                                << "xxaxxbxxc" << true;
        QTest::newRow("middle pieces out of order") << "*a*b*c*"
                                                    << "cxbxa" << false;
        QTest::newRow("exact") << "gene"
                               << "GENE" << true;
        QTest::newRow("percent is literal") << "a%"
                                            << "abc" << false;
        QTest::newRow("underscore is literal") << "a_c"
                                               << "abc" << false;
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

    void likeAndNotLikeInStatements()
    {
        test::TestProgramFolder folder;
        const QString path = folder.makeBibliography(QStringLiteral("like.pyr"),
            {{{"Title", "Gene therapy today"}}, {{"Title", "Virus gene"}}, {{"Title", "Cell biology"}},
                {{"Title", "Crohn's disease"}}});
        Database db(path);
        RecordSet found(db,
            QStringLiteral("Select Abstracts.* From Abstracts Where (Abstracts.Title Like 'gene *') "
                           "or (Abstracts.Title Like '* gene')"));
        QCOMPARE(found.recordCount(), 2);
        RecordSet others(
            db, QStringLiteral("Select Abstracts.* From Abstracts Where Abstracts.Title Not Like '*gene*'"));
        QCOMPARE(others.recordCount(), 2);
        RecordSet quoted(db,
            QStringLiteral("Select Abstracts.* From Abstracts Where Abstracts.Title Like ")
                + sqlLiteral(QStringLiteral("Crohn's *")));
        QCOMPARE(quoted.recordCount(), 1);
        QCOMPARE(quoted.value(QStringLiteral("Title")), QStringLiteral("Crohn's disease"));
    }

    void equalityDistinctAndOrderIgnoreCase()
    {
        test::TestProgramFolder folder;
        const QString path = folder.makeBibliography(QStringLiteral("case.pyr"),
            {{{"Category", "Reviews"}, {"TitelS", "b"}}, {{"Category", "reviews"}, {"TitelS", "A"}},
                {{"Category", "None"}, {"TitelS", "c"}}});
        Database db(path);
        RecordSet distinct(db, QStringLiteral("Select Distinct Abstracts.Category From Abstracts"));
        QCOMPARE(distinct.recordCount(), 2);
        RecordSet equal(db, QStringLiteral("Select Abstracts.* From Abstracts Where Abstracts.Category = 'REVIEWS'"));
        QCOMPARE(equal.recordCount(), 2);
        RecordSet ordered(db, QStringLiteral("Select Abstracts.* From Abstracts Order by TitelS"));
        QCOMPARE(ordered.value(QStringLiteral("TitelS")), QStringLiteral("A"));
        ordered.moveNext();
        QCOMPARE(ordered.value(QStringLiteral("TitelS")), QStringLiteral("b"));
    }

    void quotingHelper_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("literal");
        QTest::newRow("plain") << "Reviews"
                               << "'Reviews'";
        QTest::newRow("one quote") << "Crohn's"
                                   << "'Crohn''s'";
        QTest::newRow("quotes only") << "''"
                                     << "''''''";
        QTest::newRow("empty") << ""
                               << "''";
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
        QTest::newRow("qualified delete") << "Delete Abstracts.* From Abstracts Where Category = 'x'"
                                          << "DELETE FROM Abstracts Where Category = 'x'";
        QTest::newRow("lower case") << "delete abstracts.* from Abstracts"
                                    << "DELETE FROM Abstracts";
        QTest::newRow("update untouched") << "Update Abstracts SET Category = 'a' Where Category = 'b'"
                                          << "Update Abstracts SET Category = 'a' Where Category = 'b'";
        QTest::newRow("select untouched") << "Select Abstracts.* From Abstracts"
                                          << "Select Abstracts.* From Abstracts";
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
