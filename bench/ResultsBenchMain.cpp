// papyrant-results-bench: the results screen's figures (see SearchBench.h) in a GUI
// application of their own, drawing off screen. papyrant-bench --only results runs it.

#include "SearchBench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Times Papyrant's results screen on a generated bibliography.");
    parser.addHelpOption();
    parser.addOption({"records", "records of the bibliography searched", "n", "100000"});
    parser.addOption({"runs", "runs per figure (the median is judged)", "n", "5"});
    parser.addOption({"data", "folder for generated bibliographies (kept between runs)", "dir",
        QDir::tempPath() + "/papyrant-bench"});
    parser.addOption({"program-folder", "folder holding the template", "dir", PAPYRANT_PROGRAM_FOLDER});
    parser.addOption({"only", "run only these figures: page, far-page, search, removals, save-all", "names"});
    parser.process(app);
    try {
        const bool passed = papyrant::bench::runResultsBench({parser.value("program-folder"), parser.value("data"),
            parser.value("records").toInt(), std::max(1, parser.value("runs").toInt()),
            parser.values("only").join(',').split(',', Qt::SkipEmptyParts)});
        return passed ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "papyrant-results-bench: %s\n", e.what());
        return 2;
    }
}
