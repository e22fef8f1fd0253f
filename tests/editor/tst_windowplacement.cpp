#include "windowplacement.h"

#include <QTest>
#include <QWidget>

Q_DECLARE_METATYPE(WindowBounds)

class TestWindowPlacement : public QObject {
    Q_OBJECT
private slots:
    void place_data()
    {
        QTest::addColumn<WindowBounds>("bounds");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");
        const QRect primary(0, 0, 1920, 1080);
        const QRect right(1920, 0, 1280, 1024);
        QTest::newRow("on the primary screen") << WindowBounds{10, 10, 900, 800} << QList{primary} << QRect(10, 10, 900, 800);
        QTest::newRow("on a second screen") << WindowBounds{2000, 50, 900, 800} << QList{primary, right}
                                            << QRect(2000, 50, 900, 800);
        QTest::newRow("second screen unplugged") << WindowBounds{2000, 50, 900, 800} << QList{primary}
                                                 << QRect(0, 0, 900, 800);
        QTest::newRow("partly off the left edge, title bar grabbable")
            << WindowBounds{-500, 100, 900, 800} << QList{primary} << QRect(-500, 100, 900, 800);
        QTest::newRow("title bar above the screen") << WindowBounds{100, -400, 900, 800} << QList{primary}
                                                    << QRect(0, 0, 900, 800);
        QTest::newRow("far off, larger than the screen")
            << WindowBounds{-9000, -9000, 4000, 3000} << QList{primary} << QRect(0, 0, 1920, 1080);
        QTest::newRow("too small") << WindowBounds{10, 10, 0, -5} << QList{primary} << QRect(10, 10, 680, 300);
        QTest::newRow("huge size, position kept") << WindowBounds{10, 10, 2147483647, 5000} << QList{primary}
                                                  << QRect(10, 10, 1920, 1080);
        QTest::newRow("as large as two screens") << WindowBounds{0, 0, 9000, 9000} << QList{primary, right}
                                                 << QRect(0, 0, 3200, 1080);
        QTest::newRow("extreme position") << WindowBounds{-2147483647 - 1, 2147483647, 900, 800} << QList{primary}
                                          << QRect(0, 0, 900, 800);
        QTest::newRow("no screen known") << WindowBounds{-9000, 10, 900, 800} << QList<QRect>{}
                                         << QRect(-9000, 10, 900, 800);
        QTest::newRow("screen with an offset origin")
            << WindowBounds{5000, 5000, 900, 800} << QList{QRect(-1280, 0, 1280, 1024), primary}
            << QRect(-1280, 0, 900, 800);
    }
    void place()
    {
        QFETCH(WindowBounds, bounds);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        QCOMPARE(PlaceOnScreens(bounds, screens, QSize(680, 300)), expected);
    }
};

QTEST_APPLESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
