// Builds or brings up to date the trigram index of a bibliography, which makes searches
// for rare words fast: papyrant-index <file.pyr> [--drop]
// With --drop the index, its tables and triggers are removed and the file is as before.
#include "core/Database.h"
#include "core/SearchIndexUpkeep.h"
#include "core/TrigramIndex.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

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
    } catch (const std::exception& error) {
        std::fprintf(stderr, "papyrant-index: %s\n", error.what());
        return 1;
    }
    // The same upkeep the control panel runs in the background.
    SearchIndexUpkeep upkeep(arguments[1], 0);
    QElapsedTimer clock;
    clock.start();
    int shown = -1;
    while (upkeep.state() == SearchIndexUpkeep::State::Working) {
        QThread::msleep(100);
        const int percent = upkeep.permille() / 10;
        if (percent != shown) {
            std::printf("\r%3d%%", percent);
            std::fflush(stdout);
            shown = percent;
        }
    }
    if (upkeep.state() == SearchIndexUpkeep::State::Failed) {
        std::fprintf(stderr, "\npapyrant-index: %s\n", qPrintable(upkeep.failure()));
        return 1;
    }
    std::printf("\rindex up to date in %.1f s\n", clock.elapsed() / 1000.0);
    return 0;
}
