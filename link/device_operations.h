#pragma once
#include <QObject>
#include <QString>
#include <QtGlobal>

class MessageBoxes;
class MessageLine;
class OperationsView;
class SerialLink;
class Waiter;

// The five operations of the command buttons CmdZxCom(0..4), built on the command
// exchange of SerialLink: read the settings, write and verify them, restore the defaults,
// fetch the run log, erase the run log.
//
// The operations know no widget: what they show goes to an OperationsView, the message
// line and the message boxes. An operation runs on the user-interface thread from the
// click to its end; its waits keep the window alive, so menu commands may run in between.
// When the program ends it calls Waiter::cancelAll(): the running operation then returns
// at once without telling the view anything more, and this object must outlive that
// return (destroy it after the event loop).
class DeviceOperations : public QObject {
    Q_OBJECT
public:
    enum Command { SettingDataRead = 0, SettingDataWrite = 1, DefaultDataWrite = 2, DataGet = 3, DataClear = 4 };
    static constexpr int Count = 5;
    // The operation's name as the user reads it: "Setting Data Read" ... "Data Clear".
    static QString caption(int index);

    DeviceOperations(SerialLink &link, Waiter &waiter, MessageLine &line, MessageBoxes &boxes, OperationsView &view,
                     QObject *parent = nullptr);

    // The click handler of the button array: common start, the operation, common end.
    // A click that arrives while an operation runs is ignored.
    void CmdZxCom_Click(int index);
    bool isRunning() const { return m_running; }

    // Sends "sr" and takes a complete settings reply into ReadData and RomVer.
    bool SetReadData();
    // The common end: the view unlocks what the operation locked, and "Completion" is
    // reported when nothing failed.
    void EndOperation(int index);

    // The last settings block accepted from the controller; empty until then.
    const QString &ReadData() const { return m_readData; }
    // The controller's ROM version; -1 until a settings reply has been accepted.
    qint16 RomVer() const { return m_romVer; }
    void setRomVer(qint16 version) { m_romVer = version; }

private:
    bool confirmed(int index);
    void readSettings();
    void WriteSettings();
    void VerifySettings(const QString &written);
    void writeDefaults();
    void getLog();
    void clearLog();

    // Waits that are part of an operation; false when the program is ending.
    bool pause(double seconds);
    bool exchange(const QString &command, const QString &terminator, int replyLength = 0);
    bool cancelled() const;
    void showReply();

    SerialLink &m_link;
    Waiter &m_waiter;
    MessageLine &m_line;
    MessageBoxes &m_boxes;
    OperationsView &m_view;

    QString m_readData;
    qint16 m_romVer = -1;
    bool m_running = false;
};
