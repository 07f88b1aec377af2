#pragma once

class QAction;
class QMenu;
class QMenuBar;

// The main window's menu bar: File (Setting Data > Open/Save, a separator, Log Data >
// Open/Save), then ComPort and Exit as commands on the bar itself. Every item carries its
// name as objectName so it can be found the way the rest of the program refers to it.
struct MainMenu {
    QMenu *mnuFile = nullptr;
    QMenu *mnuSet = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuSave = nullptr;
    QAction *sep1 = nullptr;
    QMenu *mnuLog = nullptr;
    QAction *munOpenLog = nullptr;
    QAction *mnuSaveLog = nullptr;
    QAction *mnuCom = nullptr;
    QAction *mnuEnd = nullptr;

    static MainMenu build(QMenuBar *bar);
};
