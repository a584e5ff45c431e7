// Where the help window puts its browser and where the window itself goes, as
// arithmetic on sizes and rectangles.

#include "help/HelpLayout.h"
#include "support/TableRows.h"

#include <QtTest>

using namespace papyrant;
using papyrant::test::row;

class TestHelpLayout : public QObject {
    Q_OBJECT
private slots:
    void layoutArithmetic_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<int>("clamped");
        QTest::addColumn<QRect>("browser");
        // 96 dpi: 15 twips to the pixel.
        row("96 dpi", QSize(600, 500), qreal(96), -1, QRect(8, 58, 583, 433));
        row("96 dpi at the minimum", QSize(400, 167), qreal(96), -1, QRect(8, 58, 383, 100));
        row("96 dpi too low", QSize(400, 166), qreal(96), 167, QRect());
        row("192 dpi", QSize(1200, 1000), qreal(192), -1, QRect(17, 117, 1167, 867));
        row("192 dpi too low", QSize(1200, 300), qreal(192), 333, QRect());
        row("144 dpi", QSize(900, 750), qreal(144), -1, QRect(13, 88, 875, 650));
    }
    void layoutArithmetic()
    {
        QFETCH(QSize, window);
        QFETCH(qreal, dpi);
        QFETCH(int, clamped);
        QFETCH(QRect, browser);
        const HelpLayout layout = helpLayout(window, dpi, dpi);
        QCOMPARE(layout.clampedHeight.value_or(-1), clamped);
        QCOMPARE(layout.browser, browser);
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("caller");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("placed");
        const QRect wide(0, 0, 1920, 1080);
        const QSize help(640, 600);
        row("right", QRect(100, 100, 720, 416), help, wide, QRect(828, 100, 640, 600));
        row("right, raised", QRect(100, 700, 720, 300), help, wide, QRect(828, 480, 640, 600));
        row("left", QRect(1100, 100, 720, 416), help, wide, QRect(452, 100, 640, 600));
        row("below", QRect(300, 0, 1320, 416), help, wide, QRect(300, 424, 640, 600));
        row("right, narrower", QRect(0, 0, 1300, 1000), QSize(800, 600), wide, QRect(1308, 0, 612, 600));
        row("no room: below, pushed up", QRect(0, 0, 1900, 1000), help, wide, QRect(0, 480, 640, 600));
        row("larger than the screen", QRect(100, 100, 200, 100), QSize(2000, 1200), wide, QRect(308, 0, 1612, 1080));
        row("second screen", QRect(2000, 100, 720, 416), help, QRect(1920, 0, 1280, 1024), QRect(2728, 100, 472, 600));
    }
    void placement()
    {
        QFETCH(QRect, caller);
        QFETCH(QSize, window);
        QFETCH(QRect, screen);
        QFETCH(QRect, placed);
        QCOMPARE(helpPlacement(caller, window, QSize(320, 167), screen, 8), placed);
    }
};

QTEST_GUILESS_MAIN(TestHelpLayout)
#include "tst_HelpLayout.moc"
