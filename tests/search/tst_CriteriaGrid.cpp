// The criteria rows, driven through the real boxes: enabling, summary, key and paste
// filtering, arrow moves, Clear, TidyRows and scrolling.

#include "search/CriteriaGeometry.h"
#include "search/CriteriaGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace papyrant;

namespace {

enum Box { Open, Words, Close };

QLineEdit* box(const CriteriaGrid& grid, int row, int kind)
{
    const char* names[] = {"TextBrackets1_", "TextFind1_", "TextBrackets2_"};
    return grid.findChild<QLineEdit*>(QLatin1String(names[kind]) + QString::number(row));
}

QComboBox* combo(const CriteriaGrid& grid, int row)
{
    return grid.findChild<QComboBox*>(QStringLiteral("Combo1_") + QString::number(row));
}

QString summary(const CriteriaGrid& grid) { return grid.findChild<QLineEdit*>(QStringLiteral("Text3"))->text(); }

void type(QLineEdit* target, const QString& text)
{
    target->setFocus();
    target->setCursorPosition(target->text().size());
    QTest::keyClicks(target, text);
}

void chooseOperator(QComboBox* box, const QString& text)
{
    box->setFocus();
    const int steps = box->findText(text) - box->currentIndex();
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(box, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(box->currentText(), text);
}

} // namespace

class CriteriaGridTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CriteriaGrid> m_grid;

private slots:
    void init()
    {
        m_grid = std::make_unique<CriteriaGrid>();
        m_grid->show();
        m_grid->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_grid.get()));
    }
    void cleanup() { m_grid.reset(); }

    void startsWithOnlyTheFirstRowOpen()
    {
        for (int i = 0; i < CriteriaRowCount; ++i) {
            for (int kind : {Open, Words, Close}) {
                QVERIFY(box(*m_grid, i, kind));
                QCOMPARE(box(*m_grid, i, kind)->isEnabled(), i == 0);
                QVERIFY(box(*m_grid, i, kind)->text().isEmpty());
            }
            QCOMPARE(combo(*m_grid, i)->currentText(), QStringLiteral("And"));
            QCOMPARE(combo(*m_grid, i)->count(), 3);
            QVERIFY(combo(*m_grid, i)->isEnabled());
            QVERIFY(!m_grid->findChild<QLineEdit*>(QStringLiteral("TextColor1_") + QString::number(i))->isVisible());
        }
        QCOMPARE(combo(*m_grid, 0)->itemText(2), QStringLiteral("Not"));
        QCOMPARE(summary(*m_grid), QString());
        QCOMPARE(m_grid->findChild<QPushButton*>(QStringLiteral("Command8"))->text(), QStringLiteral("Search"));
    }

    void typingOpensTheNextRowAndDeletingClosesIt()
    {
        type(box(*m_grid, 0, Words), QStringLiteral("a"));
        QVERIFY(box(*m_grid, 1, Words)->isEnabled());
        QVERIFY(box(*m_grid, 1, Open)->isEnabled());
        QVERIFY(box(*m_grid, 1, Close)->isEnabled());
        QVERIFY(!box(*m_grid, 2, Words)->isEnabled());
        type(box(*m_grid, 1, Open), QStringLiteral("("));
        type(box(*m_grid, 1, Words), QStringLiteral("b"));
        type(box(*m_grid, 1, Close), QStringLiteral(")"));
        QCOMPARE(summary(*m_grid), QStringLiteral("a And (b)"));

        type(box(*m_grid, 0, Open), QStringLiteral("("));
        QTest::keyClick(box(*m_grid, 0, Words), Qt::Key_Backspace);
        QVERIFY(!box(*m_grid, 1, Words)->isEnabled());
        QVERIFY(!box(*m_grid, 1, Open)->isEnabled());
        QCOMPARE(box(*m_grid, 1, Words)->text(), QStringLiteral("b"));
        QCOMPARE(box(*m_grid, 1, Open)->text(), QStringLiteral("("));
        QCOMPARE(summary(*m_grid), QStringLiteral("("));
    }

    void summaryShowsBracketsWordsAndOperators()
    {
        type(box(*m_grid, 0, Open), QStringLiteral("(("));
        type(box(*m_grid, 0, Words), QStringLiteral("gene"));
        chooseOperator(combo(*m_grid, 0), QStringLiteral("Or"));
        type(box(*m_grid, 1, Words), QStringLiteral("virus"));
        type(box(*m_grid, 1, Close), QStringLiteral(")"));
        type(box(*m_grid, 2, Words), QStringLiteral("cell"));
        type(box(*m_grid, 2, Close), QStringLiteral(")"));
        QCOMPARE(summary(*m_grid), QStringLiteral("((gene Or virus) And cell)"));
        QCOMPARE(m_grid->summary(), summary(*m_grid));
    }

    void notShowsInTheSummary()
    {
        type(box(*m_grid, 0, Words), QStringLiteral("A"));
        type(box(*m_grid, 1, Words), QStringLiteral("B"));
        chooseOperator(combo(*m_grid, 0), QStringLiteral("Not"));
        QCOMPARE(summary(*m_grid), QStringLiteral("A Not B"));
        chooseOperator(combo(*m_grid, 1), QStringLiteral("Or"));
        QCOMPARE(summary(*m_grid), QStringLiteral("A Not B"));
    }

    void bracketBoxesTakeOnlyTheirBracket_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("open keeps three") << int(Open) << "(((" << "(((";
        QTest::newRow("open drops letters and close") << int(Open) << "a)(b (" << "((";
        QTest::newRow("close keeps its own") << int(Close) << "x)(')" << "))";
        QTest::newRow("close drops open") << int(Close) << "(" << "";
    }
    void bracketBoxesTakeOnlyTheirBracket()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        type(box(*m_grid, 0, kind), typed);
        QCOMPARE(box(*m_grid, 0, kind)->text(), kept);
    }

    void backspaceWorksInBracketBoxes()
    {
        QLineEdit* open = box(*m_grid, 0, Open);
        type(open, QStringLiteral("(("));
        QTest::keyClick(open, Qt::Key_Backspace);
        QCOMPARE(open->text(), QStringLiteral("("));
        // A refused key leaves a selection as it is.
        open->selectAll();
        QTest::keyClick(open, Qt::Key_A);
        QCOMPARE(open->text(), QStringLiteral("("));
    }

    void pastedTextKeepsOnlyBrackets()
    {
        QLineEdit* open = box(*m_grid, 0, Open);
        QApplication::clipboard()->setText(QStringLiteral("(a' (b("));
        open->setFocus();
        QTest::keyClick(open, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(open->text(), QStringLiteral("((("));

        QLineEdit* close = box(*m_grid, 0, Close);
        close->setFocus();
        close->insert(QStringLiteral(") Or 1=1 )"));
        QCOMPARE(close->text(), QStringLiteral("))"));
        QCOMPARE(m_grid->rows()[0].closeBrackets, QStringLiteral("))"));
    }

    void arrowsMoveBetweenBoxes_data()
    {
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<int>("fromKind");
        QTest::addColumn<int>("caret"); // -1: at the end
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("toRow");
        QTest::addColumn<int>("toKind");
        QTest::newRow("words right at end") << 1 << int(Words) << -1 << int(Qt::Key_Right) << 1 << int(Close);
        QTest::newRow("words right inside") << 1 << int(Words) << 1 << int(Qt::Key_Right) << 1 << int(Words);
        QTest::newRow("words left at start") << 1 << int(Words) << 0 << int(Qt::Key_Left) << 1 << int(Open);
        QTest::newRow("words left inside") << 1 << int(Words) << 2 << int(Qt::Key_Left) << 1 << int(Words);
        QTest::newRow("words down") << 0 << int(Words) << 1 << int(Qt::Key_Down) << 1 << int(Words);
        QTest::newRow("words down to closed row") << 1 << int(Words) << 1 << int(Qt::Key_Down) << 1 << int(Words);
        QTest::newRow("words up") << 1 << int(Words) << 1 << int(Qt::Key_Up) << 0 << int(Words);
        QTest::newRow("words up from first") << 0 << int(Words) << 1 << int(Qt::Key_Up) << 0 << int(Words);
        QTest::newRow("open right at end") << 0 << int(Open) << -1 << int(Qt::Key_Right) << 0 << int(Words);
        QTest::newRow("open down") << 0 << int(Open) << 0 << int(Qt::Key_Down) << 1 << int(Open);
        QTest::newRow("open up") << 1 << int(Open) << 0 << int(Qt::Key_Up) << 0 << int(Open);
        QTest::newRow("open left stays") << 1 << int(Open) << 0 << int(Qt::Key_Left) << 1 << int(Open);
        QTest::newRow("close left at start") << 0 << int(Close) << 0 << int(Qt::Key_Left) << 0 << int(Words);
        QTest::newRow("close left inside") << 0 << int(Close) << -1 << int(Qt::Key_Left) << 0 << int(Close);
        QTest::newRow("close down") << 0 << int(Close) << 0 << int(Qt::Key_Down) << 1 << int(Close);
        QTest::newRow("close down to closed row") << 1 << int(Close) << 0 << int(Qt::Key_Down) << 1 << int(Close);
        QTest::newRow("close up") << 1 << int(Close) << 0 << int(Qt::Key_Up) << 0 << int(Close);
        QTest::newRow("close right stays") << 0 << int(Close) << -1 << int(Qt::Key_Right) << 0 << int(Close);
    }
    void arrowsMoveBetweenBoxes()
    {
        QFETCH(int, fromRow);
        QFETCH(int, fromKind);
        QFETCH(int, caret);
        QFETCH(int, key);
        QFETCH(int, toRow);
        QFETCH(int, toKind);
        // Rows 0 and 1 hold words and brackets; row 2 is open but empty, row 2's successor closed.
        type(box(*m_grid, 0, Open), QStringLiteral("(("));
        type(box(*m_grid, 0, Words), QStringLiteral("abc"));
        type(box(*m_grid, 0, Close), QStringLiteral(")"));
        type(box(*m_grid, 1, Open), QStringLiteral("("));
        type(box(*m_grid, 1, Words), QStringLiteral("def"));
        type(box(*m_grid, 1, Close), QStringLiteral("))"));
        box(*m_grid, 1, Words)->clear();
        type(box(*m_grid, 1, Words), QStringLiteral("de"));
        if (QTest::currentDataTag() == QLatin1String("words down to closed row")
            || QTest::currentDataTag() == QLatin1String("close down to closed row"))
            box(*m_grid, 1, Words)->clear(); // row 2 closes
        QLineEdit* from = box(*m_grid, fromRow, fromKind);
        from->setFocus();
        from->setCursorPosition(caret < 0 ? from->text().size() : caret);
        QTest::keyClick(from, Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), box(*m_grid, toRow, toKind));
    }

    void upIntoAClosedRowKeepsTheCaret()
    {
        type(box(*m_grid, 0, Words), QStringLiteral("A"));
        type(box(*m_grid, 1, Words), QStringLiteral("B"));
        type(box(*m_grid, 2, Words), QStringLiteral("C"));
        box(*m_grid, 0, Words)->clear(); // row 1 closes, row 2 stays open behind B
        QVERIFY(!box(*m_grid, 1, Words)->isEnabled());
        QVERIFY(box(*m_grid, 2, Words)->isEnabled());
        box(*m_grid, 2, Words)->setFocus();
        QTest::keyClick(box(*m_grid, 2, Words), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), box(*m_grid, 2, Words));
    }

    void clearEmptiesRowsAndKeepsOperators()
    {
        type(box(*m_grid, 0, Open), QStringLiteral("("));
        type(box(*m_grid, 0, Words), QStringLiteral("A"));
        chooseOperator(combo(*m_grid, 0), QStringLiteral("Or"));
        type(box(*m_grid, 1, Words), QStringLiteral("B"));
        type(box(*m_grid, 1, Close), QStringLiteral(")"));
        type(box(*m_grid, 2, Words), QStringLiteral("C"));
        m_grid->setHighlightWord(0, QStringLiteral("A"));
        box(*m_grid, 2, Words)->setFocus();

        m_grid->clearRows();
        for (int i = 0; i < CriteriaRowCount; ++i) {
            for (int kind : {Open, Words, Close}) {
                QVERIFY(box(*m_grid, i, kind)->text().isEmpty());
                QCOMPARE(box(*m_grid, i, kind)->isEnabled(), i == 0);
            }
        }
        QCOMPARE(combo(*m_grid, 0)->currentText(), QStringLiteral("Or"));
        QCOMPARE(summary(*m_grid), QString());
        QCOMPARE(QApplication::focusWidget(), box(*m_grid, 0, Words));
    }

    void tidyRowsEmptiesEverythingAfterAGap()
    {
        type(box(*m_grid, 0, Words), QStringLiteral("A"));
        type(box(*m_grid, 1, Words), QStringLiteral("B"));
        type(box(*m_grid, 2, Open), QStringLiteral("("));
        type(box(*m_grid, 2, Words), QStringLiteral("C"));
        type(box(*m_grid, 3, Words), QStringLiteral("D"));
        type(box(*m_grid, 3, Close), QStringLiteral(")"));
        box(*m_grid, 1, Words)->clear();
        QVERIFY(!box(*m_grid, 2, Words)->isEnabled());
        QCOMPARE(box(*m_grid, 2, Words)->text(), QStringLiteral("C"));
        // Row 3 stays open behind C, so the summary still shows it.
        QCOMPARE(summary(*m_grid), QStringLiteral("AD)"));

        m_grid->TidyRows();
        const CriteriaRows rows = m_grid->rows();
        QCOMPARE(rows[0].words, QStringLiteral("A"));
        for (int i = 1; i < CriteriaRowCount; ++i) {
            QVERIFY(rows[i].words.isEmpty());
            QVERIFY(rows[i].openBrackets.isEmpty());
            QVERIFY(rows[i].closeBrackets.isEmpty());
        }
        QVERIFY(box(*m_grid, 1, Words)->isEnabled());
        QVERIFY(!box(*m_grid, 2, Words)->isEnabled());
        QCOMPARE(summary(*m_grid), QStringLiteral("A"));
    }

    void rowsGiveThePlainValues()
    {
        type(box(*m_grid, 0, Open), QStringLiteral("("));
        type(box(*m_grid, 0, Words), QStringLiteral("gene"));
        chooseOperator(combo(*m_grid, 0), QStringLiteral("Not"));
        type(box(*m_grid, 1, Words), QStringLiteral("virus"));
        type(box(*m_grid, 1, Close), QStringLiteral(")"));
        const CriteriaRows rows = m_grid->rows();
        QCOMPARE(rows[0].openBrackets, QStringLiteral("("));
        QCOMPARE(rows[0].words, QStringLiteral("gene"));
        QCOMPARE(rows[0].op, QStringLiteral("Not"));
        QCOMPARE(rows[1].words, QStringLiteral("virus"));
        QCOMPARE(rows[1].closeBrackets, QStringLiteral(")"));
        QCOMPARE(rows[1].op, QStringLiteral("And"));
        QVERIFY(!CheckBrackets(rows).has_value());
    }

    void searchButtonAsksForASearch()
    {
        QSignalSpy spy(m_grid.get(), &CriteriaGrid::searchRequested);
        QTest::mouseClick(m_grid->findChild<QPushButton*>(QStringLiteral("Command8")), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
    }

    void scrollingSlidesThePanel()
    {
        const int dpiY = m_grid->logicalDpiY();
        auto* scroll = m_grid->findChild<QScrollBar*>(QStringLiteral("Scroll1"));
        auto* slider = m_grid->findChild<QWidget*>(QStringLiteral("PictureSlider"));
        auto* window = m_grid->findChild<QWidget*>(QStringLiteral("Picturecontaner"));
        QCOMPARE(scroll->maximum(), 36);
        QCOMPARE(window->height(), qRound(3500.0 * dpiY / 1440));
        QCOMPARE(window->width(), qRound(9015.0 * m_grid->logicalDpiX() / 1440));
        QCOMPARE(slider->height(), qRound(10600.0 * dpiY / 1440));
        QCOMPARE(m_grid->findChild<QWidget*>(QStringLiteral("Picture1_3"))->y(), qRound(3375.0 * dpiY / 1440));
        QCOMPARE(slider->y(), 0);
        scroll->setFocus();
        QTest::keyClick(scroll, Qt::Key_Down);
        QCOMPARE(scroll->value(), 1);
        QCOMPARE(slider->y(), -qRound(200.0 * dpiY / 1440));
        scroll->setValue(36);
        QCOMPARE(slider->y(), -qRound(7200.0 * dpiY / 1440));
    }

    void scrollMaximumRoundsHalfToEven_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("maximum");
        QTest::newRow("35.5 up to even") << 10600 << 36;
        QTest::newRow("34.5 down to even") << 10400 << 34;
        QTest::newRow("35.4") << 10580 << 35;
        QTest::newRow("35.6") << 10620 << 36;
        QTest::newRow("exact") << 10500 << 35;
    }
    void scrollMaximumRoundsHalfToEven()
    {
        QFETCH(int, panel);
        QFETCH(int, maximum);
        QCOMPARE(criteria::scrollMaximum(panel, 3500, 200), maximum);
    }

    void twipsToPixels()
    {
        QCOMPARE(criteria::twipsToPixels(1440, 96), 96);
        QCOMPARE(criteria::twipsToPixels(9015, 96), 601);
        QCOMPARE(criteria::twipsToPixels(3500, 120), 292);
        QCOMPARE(criteria::twipsToPixels(-200, 96), -13);
    }
};

QTEST_MAIN(CriteriaGridTest)
#include "tst_CriteriaGrid.moc"
