// The real file dialogs: the save dialog's suffix follows the chosen filter, and each opens in
// the folder the one before was left in.

#include "app/QtPrompts.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace papyrant;
using papyrant::test::row;
using namespace Qt::StringLiterals;

class TestQtPrompts : public QObject {
    Q_OBJECT
private slots:
    void saveSuffixFollowsTheChosenFilter_data()
    {
        QTest::addColumn<int>("entriesDown");
        QTest::addColumn<QString>("suffix");
        row("first entry, written \"*.rtf;\"", 0, u"rtf"_s);
        row("second entry picked", 1, u"txt"_s);
    }
    void saveSuffixFollowsTheChosenFilter()
    {
        QFETCH(int, entriesDown);
        QFETCH(QString, suffix);
        const auto dialog = QtPrompts::fileDialog(nullptr, true, u"Save"_s,
            u"Rtf File (*.rtf)|*.rtf;|Text File (*.txt)|*.txt"_s, QDir::tempPath(), u"page"_s);
        auto* filters = dialog->findChild<QComboBox*>(u"fileTypeCombo"_s);
        QVERIFY(filters);
        for (int i = 0; i < entriesDown; ++i)
            QTest::keyClick(filters, Qt::Key_Down);
        QCOMPARE(dialog->selectedNameFilter(), dialog->nameFilters().value(entriesDown));
        QCOMPARE(dialog->defaultSuffix(), suffix);
    }

    void dialogsOpenInTheFolderLastUsed()
    {
        QTemporaryDir one;
        QTemporaryDir two;
        QFile existing(QDir(one.path()).filePath(u"a.pyr"_s));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QtPrompts prompts;
        QStringList openedIn;
        // Answers the next dialog with `file`, noting the folder the dialog opened in.
        const auto answer = [&openedIn](const QString& file) {
            QTimer::singleShot(0, [&openedIn, file] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                openedIn << QDir(dialog->directory()).canonicalPath();
                dialog->selectFile(file);
                QMetaObject::invokeMethod(dialog, "accept");
            });
        };
        const QString filter = u"Papyrant File (*.pyr)|*.pyr"_s;
        answer(existing.fileName());
        QVERIFY(prompts.openFile(u"Open"_s, filter, QString()));
        answer(QDir(two.path()).filePath(u"b.pyr"_s));
        QVERIFY(prompts.saveFile(u"Save"_s, filter, u"b"_s));
        answer(existing.fileName());
        QVERIFY(prompts.openFile(u"Open"_s, filter, QString()));
        QCOMPARE(openedIn,
            (QStringList{
                QDir::current().canonicalPath(), QDir(one.path()).canonicalPath(), QDir(two.path()).canonicalPath()}));
    }
};

QTEST_MAIN(TestQtPrompts)
#include "tst_QtPrompts.moc"
