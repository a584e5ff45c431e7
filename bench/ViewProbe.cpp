// papyrant-view-probe <file>: opens a text file into the entry screens' text view as the
// open button does (read, decode, show) and prints the seconds it took. The bench runs it
// as a child process, since the view needs a GUI application.

#include "entry/TextFileLoader.h"
#include "entry/TextView.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: papyrant-view-probe <file>\n");
        return 2;
    }
    papyrant::TextView view;
    view.resize(700, 600);
    view.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    try {
        view.setModelText(papyrant::loadTextFile(QString::fromLocal8Bit(argv[1])).text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "papyrant-view-probe: %s\n", e.what());
        return 1;
    }
    view.repaint(); // the first page laid out and painted
    QApplication::processEvents();
    std::printf("%.3f %lld\n", timer.nsecsElapsed() / 1e9, static_cast<long long>(view.model().length()));
    return 0;
}
