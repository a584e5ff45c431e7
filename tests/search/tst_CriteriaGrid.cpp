// The criteria rows, driven through the real boxes: enabling, summary, key and paste
// filtering, arrow moves, Clear, TidyRows, and a window of whole rows that grows with the
// screen and follows the focus.

#include "search/CriteriaGrid.h"
#include "support/ScreenFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>
#include <tuple>

using namespace papyrant;
using namespace papyrant::test;

using namespace Qt::StringLiterals;

namespace {
constexpr int Open = 0, Words = 1, Close = 2;

void type(QLineEdit* target, const QString& text)
{
    target->setFocus();
    target->setCursorPosition(target->text().size());
    QTest::keyClicks(target, text);
}

// The given rows followed by empty rows with "And" up to ten.
QStringList padded(QStringList rows)
{
    while (rows.size() < CriteriaRowCount)
        rows << u"|||And"_s;
    return rows;
}

} // namespace

class CriteriaGridTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CriteriaGrid> m_grid;

    QLineEdit* box(int row, int kind) const
    {
        static const char* const names[] = {"TextBrackets1_", "TextFind1_", "TextBrackets2_"};
        return the<QLineEdit>(m_grid.get(), QLatin1String(names[kind]) + QString::number(row));
    }
    QComboBox* combo(int row) const { return the<QComboBox>(m_grid.get(), u"Combo1_%1"_s.arg(row)); }
    QString summary() const { return the<QLineEdit>(m_grid.get(), u"Text3"_s)->text(); }
    // Which rows take input: 1 where a row's three boxes are on, 0 where all are off.
    QString switchedOn() const
    {
        QString rows;
        for (int i = 0; i < CriteriaRowCount; ++i) {
            const int on = box(i, Open)->isEnabled() + box(i, Words)->isEnabled() + box(i, Close)->isEnabled();
            rows += on == 3 ? u'1' : on == 0 ? u'0' : u'?';
        }
        return rows;
    }
    // Types rows from the top, each given as "open|words|close|operator"; an empty part is left alone.
    void fill(const QStringList& rows)
    {
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList parts = rows[i].split(u'|');
            for (int kind : {Open, Words, Close}) {
                if (!parts[kind].isEmpty())
                    type(box(i, kind), parts[kind]);
            }
            if (!parts[3].isEmpty())
                choose(combo(i), parts[3]);
        }
    }
    // rows() in the form fill() takes, all ten rows.
    QStringList rowsText() const
    {
        QStringList all;
        for (const CriteriaRow& row : m_grid->rows())
            all << QStringList{row.openBrackets, row.words, row.closeBrackets, row.op}.join(u'|');
        return all;
    }

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
        QCOMPARE(rowsText(), padded({}));
        QCOMPARE(switchedOn(), u"1000000000"_s);
        auto* search = the<QPushButton>(m_grid.get(), u"Command8"_s);
        QSignalSpy requested(m_grid.get(), &CriteriaGrid::searchRequested);
        QTest::mouseClick(search, Qt::LeftButton);
        // Enter searches from any box of a row, a bracket box too.
        for (int kind : {Open, Words, Close})
            QTest::keyClick(box(0, kind), Qt::Key_Return);
        QTest::keyClick(box(0, Close), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(requested.count(), 5);
        QCOMPARE(rowsText(), padded({}));
    }

    void typingOpensTheNextRowAndDeletingClosesIt()
    {
        type(box(0, Words), u"a"_s);
        QCOMPARE(switchedOn(), u"1100000000"_s);
        fill({"|||", "(|b|)|"});
        QCOMPARE(summary(), u"a And (b)"_s);
        choose(combo(0), u"Or"_s);
        QCOMPARE(summary(), u"a Or (b)"_s);

        type(box(0, Open), u"("_s);
        QTest::keyClick(box(0, Words), Qt::Key_Backspace);
        // Row 1 is switched off but keeps what it holds; row 2 stays open behind its words.
        QCOMPARE(switchedOn(), u"1010000000"_s);
        QCOMPARE(rowsText().mid(0, 2), (QStringList{"(|||Or", "(|b|)|And"}));
        QCOMPARE(summary(), u"("_s);
    }

    void bracketBoxesTakeOnlyTheirBracket()
    {
        // Letters, blanks, quotes and the other bracket are dropped as they are typed.
        for (const auto& [kind, typed, kept] : {std::tuple{Open, "a)(b (", "(("}, std::tuple{Close, "x)(')", "))"}}) {
            QLineEdit* target = box(0, kind);
            type(target, QString::fromLatin1(typed));
            QCOMPARE(target->text(), QString::fromLatin1(kept));
            QTest::keyClick(target, Qt::Key_Backspace);
            QCOMPARE(target->text(), QString::fromLatin1(kept).chopped(1));
            // A refused key leaves a selection as it is.
            target->selectAll();
            QTest::keyClick(target, Qt::Key_A);
            QCOMPARE(target->text(), QString::fromLatin1(kept).chopped(1));
        }
    }

    void pastedTextKeepsOnlyBrackets()
    {
        QLineEdit* open = box(0, Open);
        QApplication::clipboard()->setText(QStringLiteral("(a' (b("));
        open->setFocus();
        QTest::keyClick(open, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(open->text(), QStringLiteral("((("));
    }

    void arrowsMoveBetweenBoxes()
    {
        // Rows 0 and 1 hold words and brackets; row 2 is open but empty.
        fill({"((|abc|)|", "(|de|))|"});
        // Presses the key with the caret at a place (-1: the end) and gives the box that has the caret then.
        auto press = [this](int row, int kind, int caret, Qt::Key key) {
            QLineEdit* from = box(row, kind);
            from->setFocus();
            from->setCursorPosition(caret < 0 ? from->text().size() : caret);
            QTest::keyClick(from, key);
            return QApplication::focusWidget();
        };
        QCOMPARE(press(1, Words, -1, Qt::Key_Right), box(1, Close));
        QCOMPARE(press(1, Words, 0, Qt::Key_Left), box(1, Open));
        QCOMPARE(press(0, Words, 1, Qt::Key_Down), box(1, Words));
        QCOMPARE(press(1, Words, 1, Qt::Key_Up), box(0, Words));
        QCOMPARE(press(0, Open, -1, Qt::Key_Right), box(0, Words));
        QCOMPARE(press(0, Open, 0, Qt::Key_Down), box(1, Open));
        QCOMPARE(press(0, Close, 0, Qt::Key_Left), box(0, Words));
        QCOMPARE(press(1, Close, 0, Qt::Key_Up), box(0, Close));

        // A switched-off box cannot take the caret, above or below.
        box(0, Words)->clear(); // row 1 closes, row 2 stays open behind "de"
        QVERIFY(box(2, Words)->isEnabled());
        QCOMPARE(press(2, Words, 0, Qt::Key_Up), box(2, Words));
        type(box(0, Words), QStringLiteral("abc"));
        box(1, Words)->clear(); // row 2 closes
        QCOMPARE(press(1, Words, 0, Qt::Key_Down), box(1, Words));
    }

    void clearEmptiesRowsAndKeepsOperators()
    {
        fill({"(|A||Or", "|B|)|", "|C||"});
        box(2, Words)->setFocus();
        m_grid->clearRows();
        QCOMPARE(rowsText(), padded({"|||Or"}));
        QCOMPARE(switchedOn(), u"1000000000"_s);
        QCOMPARE(summary(), QString());
        QCOMPARE(QApplication::focusWidget(), box(0, Words));
    }

    void tidyRowsEmptiesEverythingAfterAGap()
    {
        fill({"|A||", "|B||", "(|C||", "|D|)|"});
        box(1, Words)->clear();
        // Row 2 is switched off but keeps C; rows 3 and 4 stay open behind C and D, so the summary
        // still shows row 3.
        QCOMPARE(switchedOn(), u"1101100000"_s);
        QCOMPARE(box(2, Words)->text(), u"C"_s);
        QCOMPARE(summary(), QStringLiteral("AD)"));

        m_grid->TidyRows();
        QCOMPARE(rowsText(), padded({"|A||And"}));
        QCOMPARE(switchedOn(), u"1100000000"_s);
        QCOMPARE(summary(), QStringLiteral("A"));
    }

    void windowShowsWholeRowsAndScrollsToTheFocusedRow()
    {
        QWidget* window = the(m_grid.get(), u"Picturecontaner"_s);
        QWidget* room = the(m_grid.get(), u"CriteriaRoom"_s);
        auto* scroll = the<QScrollBar>(m_grid.get(), u"Scroll1"_s);
        const int pitch = the(m_grid.get(), role::CriteriaRow(1))->y() - the(m_grid.get(), role::CriteriaRow(0))->y();
        QVERIFY(pitch > 0);
        // Each row is either wholly in the window or wholly out of it.
        const auto rowsInView = [&] {
            QString rows;
            for (int i = 0; i < CriteriaRowCount; ++i) {
                QWidget* strip = the(m_grid.get(), role::CriteriaRow(i));
                const QRect shown(strip->mapTo(window, QPoint(0, 0)), strip->size());
                const bool whole = window->rect().contains(shown);
                rows += whole ? u'1' : window->rect().intersects(shown) ? u'?' : u'0';
            }
            return rows;
        };
        // Room for three and a half rows shows three.
        m_grid->resize(m_grid->width(), m_grid->height() - room->height() + pitch * 7 / 2);
        QTRY_COMPARE(m_grid->shownRowCount(), 3);
        QCOMPARE(window->height(), 3 * pitch);
        QCOMPARE(rowsInView(), u"1110000000"_s);

        // Tab and the arrows bring the row they reach into view.
        fill({"|a||", "|b||", "|c||", "|d||", "|e||"});
        scroll->setValue(0);
        box(2, Words)->setFocus();
        QTest::keyClick(box(2, Words), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), box(3, Words));
        QCOMPARE(rowsInView(), u"0111000000"_s);
        combo(8)->setFocus(Qt::TabFocusReason);
        QCOMPARE(rowsInView(), u"0000001110"_s);
        QTest::keyClick(combo(8), Qt::Key_Tab);
        QCOMPARE(rowsInView(), u"0000000111"_s);

        // The bar moves whole rows.
        QCOMPARE(scroll->maximum(), 7);
        scroll->setValue(0);
        QCOMPARE(rowsInView(), u"1110000000"_s);
    }
};

QTEST_MAIN(CriteriaGridTest)
#include "tst_CriteriaGrid.moc"
