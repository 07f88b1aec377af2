// The real message boxes, answered by key as a user does: Enter takes the default button,
// Escape the No of a question. What cannot be undone has No as its default.
#include "platform/gui/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using Answer = MessageBoxes::Answer;
using Buttons = MessageBoxes::Buttons;
using Icon = MessageBoxes::Icon;
Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Buttons)
Q_DECLARE_METATYPE(Icon)

class TestQtMessageBoxes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answeredByKey_data()
    {
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<Icon>("icon");
        QTest::addColumn<int>("key");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("box"); // its icon and buttons, the default one marked
        QTest::newRow("question, Enter") << Buttons::YesNo << Icon::None << int(Qt::Key_Return) << Answer::Yes
                                         << "0 &No &Yes*";
        QTest::newRow("question, Escape")
            << Buttons::YesNo << Icon::Information << int(Qt::Key_Escape) << Answer::No << "1 &No &Yes*";
        QTest::newRow("cannot be undone, Enter")
            << Buttons::YesNoDefaultNo << Icon::Exclamation << int(Qt::Key_Return) << Answer::No << "2 &No* &Yes";
        QTest::newRow("OK") << Buttons::Ok << Icon::Critical << int(Qt::Key_Return) << Answer::Ok << "3 OK";
    }
    void answeredByKey()
    {
        QFETCH(Buttons, buttons);
        QFETCH(Icon, icon);
        QFETCH(int, key);
        QFETCH(Answer, answer);
        QFETCH(QString, box);
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *m = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!m)
                return;
            QStringList texts;
            for (QAbstractButton *b : m->buttons())
                texts << b->text() + (b == m->defaultButton() ? "*" : "");
            texts.sort();
            shown = QStringLiteral("%1 %2 %3 %4")
                        .arg(m->windowTitle(), m->text(), QString::number(m->icon()), texts.join(u' '));
            QTest::keyClick(m, Qt::Key(key));
        });
        // A box left open fails the test instead of hanging it.
        QTimer::singleShot(5000, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        QCOMPARE(QtMessageBoxes("ZX316B Link").show("Sure?", icon, buttons), answer);
        QCOMPARE(shown, "ZX316B Link Sure? " + box);
    }
};

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qt_message_boxes.moc"
