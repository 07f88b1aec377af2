// The real implementations behind the seams and the small widgets of the main window, as a
// user meets them: the message box's buttons and default, the message line's first
// characters, the indicator's and the logo's pixels, a spin button's lower end.
#include "editor/spin_button.h"
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
        QTest::newRow("question, Return")
            << B::YesNo << I::None << int(Qt::Key_Return) << "Yes* No" << int(QMessageBox::NoIcon) << A::Yes;
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

    // A message longer than the line shows its beginning, in the colour asked for.
    void messageLineShowsItsStart()
    {
        MessageLineEdit line;
        line.resize(120, 24);
        line.show();
        QVERIFY(QTest::qWaitForWindowExposed(&line));
        line.ShowMessage("ComPort cannot be opened. " + QString(80, 'x'), MessageLine::Red);
        QCOMPARE(line.cursorPosition(), 0);
        QCOMPARE(line.palette().color(QPalette::Active, QPalette::Text), QColor(255, 0, 0));
    }

    // What the user sees of the indicator: teal until the first command, then the greens.
    void busyIndicatorPixels()
    {
        ShapeLed shape;
        shape.resize(17, 9);
        BusyIndicator busy(&shape);
        const auto centre = [&] {
            const QImage image = shape.grab().toImage();
            return image.pixelColor(image.width() / 2, image.height() / 2);
        };
        QCOMPARE(centre(), QColor(0, 0x40, 0x40));
        busy.setBusy(true);
        QCOMPARE(centre(), QColor(0, 0xFF, 0));
        QVERIFY(busy.TmrLed().isActive() && busy.TmrLed().interval() == 100);
        busy.setBusy(false);
        QCOMPARE(centre(), QColor(0, 0x40, 0));
        QVERIFY(!busy.TmrLed().isActive());
    }

    // The badge's dark blue field and the spark's yellow are where they belong.
    void logoColours()
    {
        const QImage logo = LogoWidget::render();
        QCOMPARE(logo.size(), QSize(150, 45));
        QCOMPARE(logo.pixelColor(0, 0).alpha(), 0);
        const QColor field = logo.pixelColor(110, 40);
        QVERIFY2(field.blue() > field.red() + 40 && field.blue() > 40, qPrintable(field.name()));
        bool spark = false;
        for (int x = 0; x < 45 && !spark; ++x)
            for (int y = 0; y < 45 && !spark; ++y)
                spark = logo.pixelColor(x, y) == QColor(0xff, 0xc8, 0x2e);
        QVERIFY(spark);
    }

    // Stepping down stops on the minimum and says so once; below it nothing changes.
    void spinButtonStopsAtItsMinimum()
    {
        SpinButton spin;
        spin.setMinimum(50);
        spin.setMaximum(300);
        spin.setSingleStep(10);
        spin.setValue(60);
        QSignalSpy changed(&spin, &SpinButton::valueChanged);
        spin.stepDown();
        QCOMPARE(spin.value(), 50);
        spin.stepDown();
        QCOMPARE(spin.value(), 50);
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_MAIN(TstRealWidgets)
#include "tst_real_widgets.moc"
