#pragma once
#include <QPushButton>

// One of the five command buttons CmdZxCom(0..4). Its caption carries an access key
// ("Setting Data &Read"), while screen readers hear the operation's plain name. Enter and
// Return press it when it has the focus, as Space does.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(int index, QWidget *parent);

    // The caption with its access key marked by '&'.
    static QString captionWithAccessKey(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
