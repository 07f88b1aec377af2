#pragma once
#include "platform/message_boxes.h"

#include <QPointer>
#include <QWidget>

// Modal QMessageBox with the application title, centred on the main window once it exists.
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QString title) : m_title(std::move(title)) {}
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    Answer show(const QString &text, Icon icon, Buttons buttons) override;

private:
    QString m_title;
    QPointer<QWidget> m_parent;
};
