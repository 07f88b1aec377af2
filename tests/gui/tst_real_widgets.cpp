// The real message box behind its seam and the small widgets of the main window, as a user
// meets them: buttons and default, the message line's first characters, the indicator's
// and the logo's pixels.
#include "platform/gui/qt_message_boxes.h"
#include "ui/busy_indicator.h"
#include "ui/logo_widget.h"
#include "ui/message_line_edit.h"
#include "ui/shape_led.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using Boxes = MessageBoxes;
Q_DECLARE_METATYPE(Boxes::Buttons)
Q_DECLARE_METATYPE(Boxes::Icon)
Q_DECLARE_METATYPE(Boxes::Answer)

namespace {
// "Yes* No": the box's buttons in a fixed order, the default one marked.
QString buttonsOf(QMessageBox *box)
{
    QStringList out;
    for (auto [which, name] : {std::pair {QMessageBox::Ok, "OK"}, {QMessageBox::Yes, "Yes"}, {QMessageBox::No, "No"}}) {
        if (QAbstractButton *b = box->button(which))
            out << QString(name) + (b == static_cast<QAbstractButton *>(box->defaultButton()) ? "*" : "");
    }
    return out.join(' ');
}
} // namespace

class TstRealWidgets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The box is looked at and answered by a key while it is up; Return takes the default.
    void messageBoxes_data()
    {
        QTest::addColumn<Boxes::Buttons>("buttons");
        QTest::addColumn<Boxes::Icon>("icon");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("qtIcon");
        QTest::addColumn<Boxes::Answer>("answer");
        using B = Boxes::Buttons;
        using I = Boxes::Icon;
        using A = Boxes::Answer;
        QTest::newRow("OK, critical") << B::Ok << I::Critical << int(Qt::Key_Return) << "OK"
                                      << int(QMessageBox::Critical) << A::Ok;
        QTest::newRow("OK, exclamation") << B::Ok << I::Exclamation << int(Qt::Key_Return) << "OK"
                                         << int(QMessageBox::Warning) << A::Ok;
        QTest::newRow("question, Escape")
            << B::YesNo << I::Information << int(Qt::Key_Escape) << "Yes* No" << int(QMessageBox::Information) << A::No;
        QTest::newRow("cannot be undone, Return")
            << B::YesNoDefaultNo << I::None << int(Qt::Key_Return) << "Yes No*" << int(QMessageBox::NoIcon) << A::No;
    }
    void messageBoxes()
    {
        QFETCH(Boxes::Buttons, buttons);
        QFETCH(Boxes::Icon, icon);
        QFETCH(int, key);
        QString seen;
        int seenIcon = -1;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = box->windowTitle() + ": " + box->text() + " / " + buttonsOf(box);
            seenIcon = int(box->icon());
            QTest::keyClick(box, Qt::Key(key));
        });
        QtMessageBoxes boxes("ZX316B Link");
        QTEST(boxes.show("Erase?", icon, buttons), "answer");
        QFETCH(QString, shown);
        QCOMPARE(seen, "ZX316B Link: Erase? / " + shown);
        QTEST(seenIcon, "qtIcon");
    }

    // A message longer than the line shows its beginning.
    void messageLineShowsItsStart()
    {
        MessageLineEdit line;
        line.resize(120, 24);
        line.show();
        QVERIFY(QTest::qWaitForWindowExposed(&line));
        line.ShowMessage("ComPort cannot be opened. " + QString(80, 'x'), MessageLine::Red);
        QCOMPARE(line.cursorPosition(), 0);
    }

    // What the user sees of the indicator: a black frame around teal until the first
    // command, then the greens.
    void busyIndicatorPixels()
    {
        ShapeLed shape;
        shape.resize(17, 9);
        BusyIndicator busy(&shape);
        const auto shows = [&shape](const QColor &fill) {
            const QImage image = shape.grab().toImage();
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const bool frame = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
                    if (image.pixelColor(x, y) != (frame ? QColor(Qt::black) : fill))
                        return false;
                }
            return true;
        };
        QVERIFY(shows(QColor(0, 0x40, 0x40)));
        busy.setBusy(true);
        QVERIFY(shows(QColor(0, 0xFF, 0)));
        busy.setBusy(false);
        QVERIFY(shows(QColor(0, 0x40, 0)));
    }

    // The logo: transparent corners, a dark blue badge, the yellow spark, and a ring as
    // high as it is wide.
    void logo()
    {
        const QImage logo = LogoWidget::render();
        QCOMPARE(logo.pixelColor(0, 0).alpha(), 0);
        const QColor field = logo.pixelColor(110, 40);
        QVERIFY2(field.blue() > field.red() + 40 && field.blue() > 40, qPrintable(field.name()));
        const auto ring = [&logo](int x, int y) {
            const QColor c = logo.pixelColor(x, y);
            return std::abs(c.red() - 0x6f) + std::abs(c.green() - 0xb8) + std::abs(c.blue() - 0xe8) < 60;
        };
        QList<int> across, down; // the ring's pixels on the row and the column through its centre
        bool spark = false;
        for (int i = 3; i < 42; ++i) {
            if (ring(i, 22))
                across << i;
            if (ring(22, i))
                down << i;
            for (int j = 3; j < 42; ++j)
                spark = spark || logo.pixelColor(i, j) == QColor(0xff, 0xc8, 0x2e);
        }
        QVERIFY(spark && across.size() >= 2 && down.size() >= 2);
        QCOMPARE(down.last() - down.first(), across.last() - across.first());
    }
};

QTEST_MAIN(TstRealWidgets)
#include "tst_real_widgets.moc"
