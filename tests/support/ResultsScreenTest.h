#pragma once
// What the results screen's tests share: a master bibliography made once, a fresh copy
// of it opened before each test with a new screen over it, and the screen's controls
// found by design name and worked as a user would. A test class derives from it and
// calls setUpCase/openScreen/closeScreen/tearDownCase from its own slots.

#include "search/ReportForm.h"
#include "support/ScreenFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace papyrant::test {

// Record k of 120: its title holds "gene", its key words say which smaller results it is in
// (fiftyone, tenth, trio, single); entry dates and categories differ from record to record.
inline std::vector<TestRecord> geneStudies()
{
    std::vector<TestRecord> all;
    for (int k = 1; k <= 120; ++k) {
        const QString n = QString::number(k);
        QString keywords = QStringLiteral("kw");
        keywords += k <= 51 ? QStringLiteral(" fiftyone") : QString();
        keywords += k <= 10 ? QStringLiteral(" tenth") : QString();
        keywords += k <= 3 ? QStringLiteral(" trio") : QString();
        keywords += k == 1 ? QStringLiteral(" single") : QString();
        all.push_back({{"Title", "Gene study " + n}, {"TitelS", "Gene study " + n}, {"Authors", "Author " + n},
            {"Publishing_year", QStringLiteral("%1").arg(k, 3, 10, QLatin1Char('0'))}, {"Keywords", keywords + " end"},
            {"Abstract", "Line one\r\nline two of " + n}, {"Entry_Date", QStringLiteral("%1.01.2020").arg(k % 28 + 1)},
            {"Category", k % 2 ? "Methods" : "None"}});
    }
    return all;
}

class ResultsScreenTest : public QObject {
protected:
    std::unique_ptr<ScreenFixture> m_fixture;
    QString m_master;
    QString m_path; // the copy the screen works on
    ReportForm* m_form = nullptr;

    void setUpCase(const std::vector<TestRecord>& records)
    {
        m_fixture = std::make_unique<ScreenFixture>();
        m_master = m_fixture->folder().makeBibliography(QStringLiteral("master.pyr"), records);
        screens().registerScreen(ScreenKind::SearchResults, [](Bibliography& b) { return new ReportForm(b); });
    }
    void openScreen()
    {
        m_path = m_fixture->folder().filePath(QStringLiteral("genes.pyr"));
        QFile::remove(m_path);
        QVERIFY(QFile::copy(m_master, m_path));
        m_form = new ReportForm(m_fixture->folder().openBibliography(m_path));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }
    // Every prompt was expected and answered as scripted; the pointer is back to normal.
    void closeScreen()
    {
        delete m_form;
        m_form = nullptr;
        m_fixture->verifyNoUnexpectedPrompts();
        QVERIFY(prompts().allAnswersUsed());
        prompts().clear();
        QVERIFY(!QApplication::overrideCursor());
    }
    void tearDownCase()
    {
        screens().unregisterScreen(ScreenKind::SearchResults);
        m_fixture.reset();
    }

    template <typename T = QWidget>
    T* the(const char* name, const QWidget* in = nullptr) const
    {
        return test::the<T>(in ? in : m_form, QLatin1String(name));
    }
    QString text(const char* name) const { return the<QTextEdit>(name)->toPlainText(); }
    QString label(const char* name) const { return the<QLabel>(name)->text(); }
    bool enabled(const char* name) const { return the(name)->isEnabled(); }
    ScriptedPrompts& prompts() { return m_fixture->prompts(); }

    void type(const char* box, const QString& words)
    {
        auto* edit = the<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, words);
    }
    // Types the words into row 0 and presses Search; waits until the search has ended and
    // the screen takes input again.
    void search(const QString& words)
    {
        type("TextFind1_0", words);
        click("Command8");
        QTRY_VERIFY(!m_form->searching() && m_form->isEnabled());
    }
    // Chooses another page and waits until it is presented.
    void choosePage(int index)
    {
        the<QComboBox>("Combo2")->setCurrentIndex(index);
        QVERIFY(!m_form->isEnabled());
        QTRY_VERIFY(m_form->isEnabled());
    }
    void showTab(int tab) { the<QTabWidget>("Tab1")->setCurrentIndex(tab); }
    void click(const QString& button) { test::click(m_form, button); }
    // Rows of the screen's bibliography, columns joined by '|'.
    QStringList rows(const QString& sql) const { return readLines(m_path, sql); }
};

} // namespace papyrant::test
