// papyrant-view-probe <file>: opens a text file into the entry screens' text view as the
// open button does (read, decode, show) and prints the seconds it took.
// papyrant-view-probe --extract <file> <bibliography>: opens it the same way, then stores it
// by the ready-made tag map of its layout in ticks, and prints the seconds in all, the peak
// resident kilobytes, the records stored and the longest tick in milliseconds.
// The bench runs it as a child process, since the view needs a GUI application.

#include "BenchFiles.h"
#include "TickedExtraction.h"

#include "entry/TextFileLoader.h"
#include "entry/TextView.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool extract = argc == 4 && qstrcmp(argv[1], "--extract") == 0;
    if (argc != 2 && !extract) {
        std::fprintf(stderr, "usage: papyrant-view-probe [--extract] <file> [<bibliography>]\n");
        return 2;
    }
    papyrant::TextView view;
    view.resize(700, 600);
    view.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    try {
        view.setModelText(papyrant::loadTextFile(QString::fromLocal8Bit(argv[extract ? 2 : 1])).text);
        view.repaint(); // the first page laid out and painted
        QApplication::processEvents();
        if (!extract) {
            std::printf("%.3f %lld\n", timer.nsecsElapsed() / 1e9, static_cast<long long>(view.model().length()));
            return 0;
        }
        const auto figures
            = papyrant::bench::extractInTicks(view.modelWithSelection(), QString::fromLocal8Bit(argv[3]));
        std::printf("%.3f %ld %d %.1f\n", timer.nsecsElapsed() / 1e9, papyrant::bench::statusKilobytes("VmHWM:"),
            figures.stored, figures.longestTickMs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "papyrant-view-probe: %s\n", e.what());
        return 1;
    }
    return 0;
}
