#pragma once
#include "tests/settings/worked_block.h"

#include "platform/gui/twips.h"
#include "editor/settings_editor.h"
#include "editor/spin_button.h"
#include "tests/support/recording_message_boxes.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

// A window with the hidden frame and a freshly initialised editor, as start-up leaves it.
struct EditorWorld {
    EditorWorld() : fraTmp(new QFrame(&window)), editor(&window, fraTmp, boxes)
    {
        window.resize(twips::toPixels(6450), twips::toPixels(6030));
        twips::place(fraTmp, 180, 5460, 6255, 2475);
        fraTmp->hide();
        editor.MainIni();
    }
    QLineEdit *field(int i) const { return editor.TxtData(i); }
    SpinButton *spin(int i) const { return editor.UpDownData(i); }
    bool showAll()
    {
        fraTmp->show();
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    QWidget window;
    QFrame *fraTmp;
    RecordingMessageBoxes boxes;
    SettingsEditor editor;
};
