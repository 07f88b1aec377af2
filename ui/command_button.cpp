#include "ui/command_button.h"

#include "link/device_operations.h"

#include <QCoreApplication>
#include <QKeyEvent>

CommandButton::CommandButton(int index, QWidget *parent) : QPushButton(captionWithAccessKey(index), parent)
{
    setAccessibleName(DeviceOperations::caption(index));
}

QString CommandButton::captionWithAccessKey(int index)
{
    // Keys the menu bar does not use (F, C, E).
    static const char *const Captions[DeviceOperations::Count] = {
        QT_TRANSLATE_NOOP("CommandButton", "Setting Data &Read"),
        QT_TRANSLATE_NOOP("CommandButton", "Setting Data &Write"),
        QT_TRANSLATE_NOOP("CommandButton", "&Default Data Write"), QT_TRANSLATE_NOOP("CommandButton", "Data &Get"),
        QT_TRANSLATE_NOOP("CommandButton", "Data C&lear")};
    if (index < 0 || index >= DeviceOperations::Count)
        return QString();
    return QCoreApplication::translate("CommandButton", Captions[index]);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}
