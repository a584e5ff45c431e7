// The program's screens one after another, for the accessibility walker
// (walk_screens.py): each line "next" on standard input shows the next stop and answers
// "STEP <stop>\t<window title>"; after the last stop it answers "DONE" and ends. The
// screens are the program's own (registerProgramScreens, as main registers them), over
// a bibliography with a few records.

#include "app/ProgramScreens.h"
#include "core/Captions.h"
#include "help/Help1.h"
#include "maintenance/MaintOptionForm.h"
#include "maintenance/MaintenanceForm.h"
#include "options/OptionForm.h"
#include "screens/ScreenKit.h"
#include "screens/WorkingScreen.h"
#include "search/CriteriaGrid.h"
#include "search/ReportForm.h"
#include "support/ScreenFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTabWidget>

#include <cstdio>
#include <functional>
#include <iostream>
#include <string>

using namespace papyrant;
using namespace papyrant::test;

namespace {

struct Stop {
    QString name;
    std::function<QWidget*()> show; // shows the stop; gives the window it is about
};

void say(const QString& line)
{
    std::cout << line.toStdString() << std::endl;
}

std::vector<TestRecord> records()
{
    std::vector<TestRecord> rows;
    for (const char* title : {"Gene maps of wheat", "Gene maps of wheat", "Soil carbon under grassland"}) {
        rows.push_back({{"Title", title}, {"TitelS", title}, {"Authors", "Berg, A."}, {"Abstract", "Measured."},
            {"Entry_Date", "1.2.2020"}, {"Category", "Crops"}});
    }
    return rows;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyrant"));
    installScreenKit();
    ScreenFixture fixture;
    AutoRemoveOptions autoRemove;
    registerProgramScreens(autoRemove);

    MainForm& panel = fixture.openPanel();
    fixture.openBibliography(QStringLiteral("tour.pyr"), records());
    panel.refreshRecordCount();

    // Opens a working screen from the panel, leaving the one open before.
    QPointer<QWidget> current;
    const auto open = [&](ScreenKind kind) -> QWidget* {
        if (auto* screen = qobject_cast<WorkingScreen*>(current.data()))
            screen->backToControlPanel();
        if (Help1::exists())
            Help1::instance().close();
        current = screens().show(kind, panel.bibliography());
        panel.hide();
        return current;
    };
    const auto report = [&]() { return qobject_cast<ReportForm*>(current.data()); };
    const auto tab = [&](int index) -> QWidget* {
        current->findChild<QTabWidget*>(QStringLiteral("Tab1"))->setCurrentIndex(index);
        return current;
    };

    const std::vector<Stop> stops{
        {QStringLiteral("control panel"), [&]() -> QWidget* { return &panel; }},
        {QStringLiteral("auto extract"), [&] { return open(ScreenKind::AutoExtract); }},
        {QStringLiteral("manual adding"), [&] { return open(ScreenKind::ManualAdding); }},
        {QStringLiteral("search items"),
            [&] {
                open(ScreenKind::SearchResults);
                report()->criteria()->wordsBox(0)->setText(QStringLiteral("gene"));
                report()->Search();
                return tab(ReportForm::SearchItems);
            }},
        // The walker opened the options with the tool button's action on the stop before.
        {QStringLiteral("search options"), [&]() -> QWidget* { return report()->options(); }},
        {QStringLiteral("results"),
            [&] {
                report()->options()->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
                return tab(ReportForm::Results);
            }},
        {QStringLiteral("edit results"), [&] { return tab(ReportForm::EditResults); }},
        {QStringLiteral("manage results"), [&] { return tab(ReportForm::ManageResults); }},
        {QStringLiteral("remove repeated records"), [&] { return open(ScreenKind::Maintenance); }},
        {QStringLiteral("cleanup"), [&] { return tab(1); }},
        {QStringLiteral("auto remove options"),
            [&]() -> QWidget* {
                current->findChild<QPushButton*>(QStringLiteral("CommandOptions"))->click();
                return current->findChild<MaintOptionForm*>();
            }},
    };

    std::size_t next = 0;
    QSocketNotifier input(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        std::string line;
        if (!std::getline(std::cin, line) || line != "next" || next == stops.size()) {
            say(QStringLiteral("DONE"));
            input.setEnabled(false);
            QCoreApplication::exit(fixture.prompts().unexpected().isEmpty() ? 0 : 1);
            return;
        }
        const Stop& stop = stops[next++];
        QWidget* window = stop.show();
        QApplication::processEvents();
        say(QStringLiteral("STEP ") + stop.name + QLatin1Char('\t') + (window ? window->windowTitle() : QString()));
    });
    say(QStringLiteral("READY"));
    const int status = app.exec();
    for (const QString& prompt : fixture.prompts().unexpected())
        std::cerr << "unexpected prompt: " << prompt.toStdString() << std::endl;
    return status;
}
