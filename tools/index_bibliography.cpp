// Builds or brings up to date the trigram index of a bibliography, which makes searches
// for rare words fast: papyrant-index <file.pyr> [--drop]
// With --drop the index, its tables and triggers are removed and the file is as before.
#include "core/Database.h"
#include "core/TrigramIndex.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace papyrant;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2 || arguments.size() > 3 || (arguments.size() == 3 && arguments[2] != "--drop")) {
        std::fprintf(stderr, "usage: papyrant-index <file.pyr> [--drop]\n");
        return 2;
    }
    try {
        Database db(arguments[1]);
        if (arguments.size() == 3) {
            dropTrigramIndex(db);
            return 0;
        }
        TrigramIndexBuild build(db);
        QElapsedTimer clock;
        clock.start();
        int shown = -1;
        StepOutcome outcome;
        do {
            outcome = build.step(TickBudget());
            const StepProgress progress = build.progress();
            const int percent = progress.total > 0 ? progress.done * 100 / progress.total : 0;
            if (percent != shown) {
                std::printf("\r%3d%%", percent);
                std::fflush(stdout);
                shown = percent;
            }
        } while (outcome.ongoing());
        if (outcome.kind == StepOutcome::Kind::Failed) {
            std::fprintf(stderr, "\npapyrant-index: %s\n", qPrintable(outcome.reason));
            return 1;
        }
        std::printf("\rindex up to date in %.1f s\n", clock.elapsed() / 1000.0);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "papyrant-index: %s\n", error.what());
        return 1;
    }
    return 0;
}
