#include "main_menu.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {
template <typename T> T *named(T *item, const char *name)
{
    item->setObjectName(QString::fromLatin1(name));
    return item;
}
} // namespace

MainMenu MainMenu::build(QMenuBar *bar)
{
    MainMenu m;
    m.mnuFile = named(bar->addMenu(QCoreApplication::translate("FrmMain", "&File")), "mnuFile");
    // The trailing blank is part of the caption.
    m.mnuSet = named(m.mnuFile->addMenu(QCoreApplication::translate("FrmMain", "&Setting Data ")), "mnuSet");
    m.mnuOpen = named(m.mnuSet->addAction(QCoreApplication::translate("FrmMain", "&Open")), "mnuOpen");
    m.mnuSave = named(m.mnuSet->addAction(QCoreApplication::translate("FrmMain", "&Save")), "mnuSave");
    m.sep1 = named(m.mnuFile->addSeparator(), "sep1");
    m.mnuLog = named(m.mnuFile->addMenu(QCoreApplication::translate("FrmMain", "&Log Data")), "mnuLog");
    m.munOpenLog = named(m.mnuLog->addAction(QCoreApplication::translate("FrmMain", "&Open")), "munOpenLog");
    m.mnuSaveLog = named(m.mnuLog->addAction(QCoreApplication::translate("FrmMain", "&Save")), "mnuSaveLog");
    m.mnuCom = named(bar->addAction(QCoreApplication::translate("FrmMain", "&ComPort")), "mnuCom");
    m.mnuEnd = named(bar->addAction(QCoreApplication::translate("FrmMain", "&Exit")), "mnuEnd");
    // The usual keys for opening, saving and quitting; the submenu shows the first two
    // beside their items.
    m.mnuOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m.mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m.mnuEnd->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    return m;
}
