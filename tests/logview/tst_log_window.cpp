// The log window as a user meets it: layout after resizing and the minimum size, the two
// options and their INI keys, the window's life from first use to close and reopen, the
// kept picture of the drawing surface, and a screenshot of a realistic log.
#include "realistic_log.h"

#include "logview/frm_log.h"
#include "logview/log_store.h"
#include "logview/log_viewer.h"

#include "platform/image_surface.h"
#include "platform/ini_file.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_output.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct World {
    QTemporaryDir dir;
    IniFile ini{dir.filePath(QStringLiteral("ZX316B Link.ini"))};
    LogStore store;
    QString option(int i) const { return ini.ReadIni(QStringLiteral("Chart"), QStringLiteral("ScaleLine%1").arg(i)); }
};

} // namespace

class TstLogWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // `request` is an outer size set in twips, or (when `dragged`) dragged to in pixels.
    void layoutAfterResize_data()
    {
        QTest::addColumn<QSize>("request");
        QTest::addColumn<bool>("dragged");
        QTest::addColumn<QSize>("outer");       // twips, after the minimum-size rule
        QTest::addColumn<double>("closeLeft");
        QTest::addColumn<QPointF>("time");      // LblTime left, top
        QTest::addColumn<double>("lblS9Left");
        QTest::newRow("initial") << QSize(7000, 5200) << false << QSize(7000, 5200) << 2712.5 << QPointF(3102.5, 4420) << 6132.5;
        QTest::newRow("exact minimum") << QSize(5070, 4600) << false << QSize(5070, 4600) << 1747.5 << QPointF(2137.5, 3820) << 4202.5;
        QTest::newRow("too narrow") << QSize(4000, 6000) << false << QSize(5070, 6000) << 1747.5 << QPointF(2137.5, 5220) << 4202.5;
        QTest::newRow("too low") << QSize(9000, 3000) << false << QSize(9000, 4600) << 3712.5 << QPointF(4102.5, 3820) << 8132.5;
        QTest::newRow("dragged tiny") << QSize(20, 20) << true << QSize(5070, 4600) << 1747.5 << QPointF(2137.5, 3820) << 4202.5;
        QTest::newRow("dragged large") << QSize(800, 600) << true << QSize(12000, 9000) << 5212.5 << QPointF(5602.5, 8220) << 11132.5;
    }
    void layoutAfterResize()
    {
        QFETCH(QSize, request);
        QFETCH(bool, dragged);
        QFETCH(QSize, outer);
        QFETCH(double, closeLeft);
        QFETCH(QPointF, time);
        QFETCH(double, lblS9Left);
        World w;
        FrmLog f(w.store, w.ini, {0, 0}, nullptr);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        if (dragged)
            f.resize(request - (f.frameGeometry().size() - f.size()));
        else
            f.setSize(request.width(), request.height());
        QTRY_COMPARE(QSize(f.Width(), f.Height()), outer);
        const QRectF pic(540, 1020, outer.width() - 1200, outer.height() - 2100);
        QTRY_COMPARE(f.twipRect(f.PicLog), pic);
        QCOMPARE(f.frameGeometry().size(), QSize(qRound(outer.width() / 15.0), qRound(outer.height() / 15.0)));

        QCOMPARE(f.twipRect(f.CmdClose), QRectF(closeLeft, 300, 1575, 495));
        QCOMPARE(f.twipRect(f.Frame1), QRectF(outer.width() - 1605, 180, 1395, 690));
        QCOMPARE(f.twipRect(f.Frame2), QRectF(120, 180, 1395, 675));
        QCOMPARE(f.PicLog->innerWidth(), int(pic.width()) - 60); // inside the 2-pixel border
        for (int k = 0; k <= 10; ++k)
            QCOMPARE(f.twipRect(f.LblVolt[k]).topLeft(), QPointF(0, (pic.height() - 50) * (10 - k) / 10 + 955));
        for (int k = 0; k <= 6; ++k)
            QCOMPARE(f.twipRect(f.LblCur[k]).topLeft(), QPointF(outer.width() - 540, (pic.height() - 50) * (6 - k) / 6 + 955));
        QCOMPARE(f.twipRect(f.LblTime).topLeft(), time);
        QCOMPARE(f.twipRect(f.LblS[0]).topLeft(), QPointF(362.5, outer.height() - 1020));
        QCOMPARE(f.twipRect(f.LblS[9]).topLeft(), QPointF(lblS9Left, outer.height() - 1020));
        QCOMPARE(f.LblVolt[10]->text() + f.LblCur[6]->text() + f.LblS[9]->text(), QStringLiteral("10.0300540"));
        // Widgets sit on the nearest whole pixel of their twip rectangles.
        QCOMPARE(f.PicLog->geometry(), QRect(36, 68, qRound(pic.width() / 15), qRound(pic.height() / 15)));
        QCOMPARE(f.CmdClose->x(), qRound(closeLeft / 15));
    }

    // Start-up values set the boxes; a box that gets set writes its key (0 or 1 only).
    void startUpOptions_data()
    {
        QTest::addColumn<int>("value0");
        QTest::addColumn<int>("value1");
        QTest::addColumn<QString>("written0");
        QTest::addColumn<QString>("written1");
        QTest::newRow("both off") << 0 << 0 << IniFile::Missing << IniFile::Missing;
        QTest::newRow("voltage on") << 1 << 0 << "1" << IniFile::Missing;
        QTest::newRow("current on") << 0 << 1 << IniFile::Missing << "1";
        QTest::newRow("odd values") << 5 << -3 << "1" << "1";
    }
    void startUpOptions()
    {
        QFETCH(int, value0);
        QFETCH(int, value1);
        QFETCH(QString, written0);
        QFETCH(QString, written1);
        World w;
        FrmLog f(w.store, w.ini, {value0, value1}, nullptr);
        QCOMPARE(f.ChkScaleLine[0]->isChecked(), value0 != 0);
        QCOMPARE(f.ChkScaleLine[1]->isChecked(), value1 != 0);
        QCOMPARE(w.option(0), written0);
        QCOMPARE(w.option(1), written1);
    }

    void lifecycleAndClicks()
    {
        World w;
        QWidget mainWindow;
        mainWindow.setGeometry(100, 50, 400, 300);
        mainWindow.show();
        RecordingSurface recorder;
        LogViewer viewer(w.store, w.ini, {1, 0}, &mainWindow, &recorder);
        QVERIFY(!viewer.window());

        viewer.SetGraph(QStringLiteral("br") + QStringLiteral("401B").repeated(512));
        QPointer<FrmLog> first = viewer.window();
        QVERIFY(first && first->isVisible() && first->windowTitle() == QStringLiteral("Log Data"));
        QCOMPARE(first->frameGeometry().left(), mainWindow.frameGeometry().left() + 133); // 2000 twips
        QCOMPARE(recorder.lines.last(), (RecordingSurface::Line{5478, 2580, 5489, 2580, FrmLog::CurColour, 2}));

        QTest::mouseClick(first->ChkScaleLine[0], Qt::LeftButton); // each click writes its key at once
        QTest::mouseClick(first->ChkScaleLine[1], Qt::LeftButton);
        QCOMPARE(w.option(0) + w.option(1), QStringLiteral("01"));
        viewer.SetGraphFile();
        QCOMPARE(viewer.window(), first.data()); // an open window is reused

        QTest::mouseClick(first->CmdClose, Qt::LeftButton);
        QTRY_VERIFY(!first);
        QVERIFY(!viewer.window());
        QCOMPARE(w.store.CurData[0], 50.0f); // closing leaves the log alone

        // Reopened, the window starts from the start-up values and writes them back.
        viewer.SetGraphFile();
        QVERIFY(viewer.window()->ChkScaleLine[0]->isChecked() && !viewer.window()->ChkScaleLine[1]->isChecked());
        QCOMPARE(w.option(0) + w.option(1), QStringLiteral("11"));
    }

    void minimizedWindowIsLeftAlone()
    {
        World w;
        RecordingSurface recorder;
        FrmLog f(w.store, w.ini, {0, 0}, nullptr, &recorder);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.setWindowState(Qt::WindowMinimized);
        recorder.clear();
        f.resize(10, 10);
        QTest::qWait(20);
        QVERIFY(recorder.lines.isEmpty());
        QCOMPARE(f.size(), QSize(10, 10)); // not pushed back to the minimum while minimized
    }

    // The surface keeps what was drawn and shows it again on every repaint; twips map onto
    // its pixels and pens stay as many logical pixels wide as asked, at any pixel ratio.
    void surfaceKeepsItsPicture()
    {
        QWidget parent;
        parent.resize(500, 300);
        ImageSurface s(&parent);
        s.setTwipGeometry(QRectF(0, 0, 3060, 1560)); // 204 x 104 px, 200 x 100 inside
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QVERIFY(s.innerWidth() == 3000 && s.innerHeight() == 1500);
        s.fillRect(0, 0, 3000, 1500, 0xE0E0E0);
        s.line(1500, 0, 1500, 1500, 0x0000FF, 1);     // red, 1 px, at x = 100 px
        s.line(0, 750, 3000, 750, 0xFF0000, 2);       // blue, 2 px, at y = 50 px
        s.line(-1e30, 1200, 1e30, 1200, 0x00FF00, 2); // far outside: cut, not lost
        s.line(2400, 1e300, 2400, -1e300, 0x00FF00, 2);
        s.line(0, std::nan(""), 10, 10, 0x000000, 5); // not a number: ignored

        const QImage pic = s.picture();
        const qreal ratio = s.devicePixelRatioF();
        QCOMPARE(pic.devicePixelRatio(), ratio);
        QCOMPARE(pic.size(), QSize(qCeil(200 * ratio), qCeil(100 * ratio)));
        auto at = [&](double x, double y) { return pic.pixelColor(int(x * ratio), int(y * ratio)); };
        QCOMPARE(at(20, 20), QColor(0xE0, 0xE0, 0xE0));
        QCOMPARE(at(100, 20), QColor(255, 0, 0));
        QCOMPARE(at(20, 50), QColor(0, 0, 255));
        QCOMPARE(at(50, 80), QColor(0, 255, 0));
        QCOMPARE(at(160, 30), QColor(0, 255, 0));
        double ink = 0; // across the blue line, the ink adds up to its width
        for (int y = 0; y < int(65 * ratio); ++y)
            ink += (0xE0 - pic.pixelColor(int(20 * ratio), y).red()) / double(0xE0);
        QVERIFY2(std::abs(ink - 2 * ratio) < 0.35, qPrintable(QString::number(ink)));

        // Covered and uncovered: the widget paints the same picture without a redraw.
        const QImage shown = s.grab().toImage();
        QCOMPARE(shown.pixelColor(QPoint(2 + 100, 2 + 20) * shown.devicePixelRatio()), QColor(255, 0, 0));
        s.update();
        QCOMPARE(s.grab().toImage(), shown);
    }

    void screenshotOfRealisticLog()
    {
        World w;
        LogViewer viewer(w.store, w.ini, {0, 1}, nullptr);
        viewer.SetGraph(realisticRunDataReply());
        FrmLog *f = viewer.window();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QVERIFY(w.store.VoltData[0] > 8.0f && w.store.VoltData[150] < 8.0f && w.store.VoltData[301] == -1.0f);
        QVERIFY(*std::max_element(w.store.CurData.begin(), w.store.CurData.end()) > 200);
        QVERIFY(saveScreenshot(f, QStringLiteral("log-window.png")));
        const QImage pic = f->PicLog->picture();
        QCOMPARE(pic.pixelColor(pic.width() / 4, pic.height() - 1), QColor(0xE0, 0xE0, 0xE0));
        bool blue = false;
        bool purple = false;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width() / 2; ++x) {
                blue = blue || pic.pixelColor(x, y) == QColor(0, 0, 255);
                purple = purple || pic.pixelColor(x, y) == QColor(0xC0, 0, 0xC0);
            }
        QVERIFY(blue && purple);
    }
};

QTEST_MAIN(TstLogWindow)
#include "tst_log_window.moc"
