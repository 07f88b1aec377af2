#include "device_operations.h"

#include "operations_view.h"
#include "serial_link.h"

#include "platform/message_boxes.h"
#include "platform/message_line.h"
#include "platform/waiter.h"
#include "logdata/run_data_decoder.h"
#include "settings/block_layout.h"
#include "settings/settings_reply.h"

namespace {

const QString Cr = QStringLiteral("\r");
const char *const Completion = QT_TRANSLATE_NOOP("DeviceOperations", "Completion");
const char *const VerifyNg = QT_TRANSLATE_NOOP("DeviceOperations", "Verify was NG.");
const char *const NothingWritten = QT_TRANSLATE_NOOP("DeviceOperations", "Nothing was written to the ZX.");
const char *const ConfirmClear =
    QT_TRANSLATE_NOOP("DeviceOperations", "Erase the run log stored in the ZX?\r\nThis cannot be undone.");
const char *const ConfirmDefaults =
    QT_TRANSLATE_NOOP("DeviceOperations", "Overwrite all settings in the ZX with the factory defaults?");

// Before ROM version 4 the controller answers "ae" and "be" with their echo alone and is
// then busy for a while; later versions send a carriage return once they are done.
constexpr qint16 FirstVersionWithClosingCr = 4;
constexpr double OldControllerBusySeconds = 5.0;
constexpr double PauseAfterVersionRead = 0.3;
// Time the controller is given between the steps of a write or a restore.
constexpr double SettlingPause = 0.5;

} // namespace

QString DeviceOperations::caption(int index)
{
    static const char *const Captions[Count] = {
        QT_TRANSLATE_NOOP("DeviceOperations", "Setting Data Read"),
        QT_TRANSLATE_NOOP("DeviceOperations", "Setting Data Write"),
        QT_TRANSLATE_NOOP("DeviceOperations", "Default Data Write"),
        QT_TRANSLATE_NOOP("DeviceOperations", "Data Get"),
        QT_TRANSLATE_NOOP("DeviceOperations", "Data Clear"),
    };
    return index >= 0 && index < Count ? tr(Captions[index]) : QString();
}

DeviceOperations::DeviceOperations(SerialLink &link, Waiter &waiter, MessageLine &line, MessageBoxes &boxes,
                                   OperationsView &view, QObject *parent)
    : QObject(parent), m_link(link), m_waiter(waiter), m_line(line), m_boxes(boxes), m_view(view)
{}

bool DeviceOperations::cancelled() const
{
    return m_waiter.cancelled();
}

bool DeviceOperations::pause(double seconds)
{
    m_waiter.WaitSeconds(seconds);
    return !cancelled();
}

bool DeviceOperations::exchange(const QString &command, const QString &terminator, int replyLength)
{
    m_link.SendCommand(command, terminator, replyLength);
    return !cancelled();
}

void DeviceOperations::CmdZxCom_Click(int index)
{
    // The port menu or a loaded settings file can unlock a button in the middle of an
    // operation; a second exchange on the same line would mix both replies.
    if (m_running || index < 0 || index >= Count || cancelled())
        return;
    m_running = true;
    m_view.operationStarted(index);

    if (!confirmed(index)) {
        // Nothing was sent: fields and message line stay as they were.
        if (!cancelled())
            m_view.operationEnded(index);
        m_running = false;
        return;
    }

    m_link.beginOperation();
    m_line.ShowMessage(caption(index), MessageLine::Black);

    switch (index) {
    case SettingDataRead:
        readSettings();
        break;
    case SettingDataWrite:
        WriteSettings();
        break;
    case DefaultDataWrite:
        writeDefaults();
        break;
    case DataGet:
        getLog();
        break;
    case DataClear:
        clearLog();
        break;
    }
    if (cancelled()) {
        // The window is going away: leave its widgets alone.
        m_running = false;
        return;
    }

    m_link.endBusy();
    EndOperation(index);
    m_running = false;
}

// Erasing the run log and restoring the defaults cannot be undone: ask first.
bool DeviceOperations::confirmed(int index)
{
    const char *const question = index == DataClear ? ConfirmClear
        : index == DefaultDataWrite                 ? ConfirmDefaults
                                                    : nullptr;
    if (!question)
        return true;
    const auto answer = m_boxes.show(tr(question), MessageBoxes::Icon::None, MessageBoxes::Buttons::YesNoDefaultNo);
    return answer == MessageBoxes::Answer::Yes && !cancelled();
}

void DeviceOperations::EndOperation(int index)
{
    m_view.operationEnded(index);
    if (!m_link.CommError())
        m_line.ShowMessage(tr(Completion), MessageLine::Black);
}

bool DeviceOperations::SetReadData()
{
    if (!exchange(QStringLiteral("sr"), Cr, block::ReplyLength))
        return false;
    if (m_link.CommTimeout())
        return false; // told by the exchange
    const settingsreply::Reply reply = settingsreply::parse(m_link.RecvData());
    if (reply.verdict != settingsreply::Verdict::Accepted) {
        // A reply that cannot be a whole settings block is a failure of the operation,
        // never a silent "Completion".
        m_boxes.show(settingsreply::unreadableText(), MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        if (cancelled())
            return false;
        m_line.ShowMessage(settingsreply::unreadableLine(), MessageLine::Red);
        m_link.setCommError(true);
        return false;
    }
    m_readData = reply.block;
    m_romVer = reply.romVer;
    return true;
}

// The block shown is the one this operation accepted, whatever a menu command has put
// into the receive buffer or the fields in the meantime.
void DeviceOperations::showReply()
{
    m_view.settingsAccepted(m_readData);
}

void DeviceOperations::readSettings()
{
    m_view.clearDisplay();
    if (SetReadData())
        showReply();
}

void DeviceOperations::WriteSettings()
{
    // Some bytes of the block are copied from the controller's own reply.
    if (m_readData.isEmpty()) {
        SetReadData();
        if (cancelled())
            return;
    }
    if (!pause(SettlingPause))
        return;
    // Kept here: a menu command (saving a settings file) may rebuild the editor's block
    // while this one is on its way, and the read-back must be compared with what was sent.
    const std::optional<QString> made = m_view.makeWriteData(m_readData);
    if (cancelled())
        return;
    if (!made) {
        // Refused and told by the view; nothing is sent, and the line must not say otherwise.
        m_line.ShowMessage(tr(NothingWritten), MessageLine::Red);
        m_link.setCommError(true);
        return;
    }
    const QString block = *made;
    // Each step goes on whatever the one before did: a lost "sw" echo is reported, and the
    // read-back then shows whether the block got through.
    if (!exchange(QStringLiteral("sw"), QStringLiteral("sw")))
        return;
    if (!exchange(block, block))
        return;
    if (!pause(SettlingPause))
        return;
    VerifySettings(block);
}

void DeviceOperations::VerifySettings(const QString &written)
{
    // Without an accepted read-back nothing was verified: comparing with an older reply
    // could report a write that never arrived as good.
    const bool readBack = SetReadData();
    if (cancelled())
        return;
    if (readBack && m_readData == written) {
        m_view.settingsVerified(written);
        return;
    }
    m_line.ShowMessage(tr(VerifyNg), MessageLine::Red);
    m_link.setCommError(true);
}

void DeviceOperations::writeDefaults()
{
    m_view.clearDisplay();
    if (m_romVer == -1) {
        // The version decides how "ae" ends; the result itself is not needed.
        SetReadData();
        if (cancelled() || !pause(PauseAfterVersionRead))
            return;
    }
    if (m_romVer < FirstVersionWithClosingCr) {
        if (!exchange(QStringLiteral("ae"), QStringLiteral("ae")) || !pause(OldControllerBusySeconds))
            return;
    } else if (!exchange(QStringLiteral("ae"), Cr)) {
        return;
    }
    if (!pause(SettlingPause) || !exchange(QStringLiteral("rt"), QStringLiteral("rt")) || !pause(SettlingPause))
        return;
    if (SetReadData())
        showReply();
}

void DeviceOperations::getLog()
{
    if (!exchange(QStringLiteral("br"), Cr, RunDataReplyLength + 1)) // the samples, then a carriage return
        return;
    if (!m_link.CommError()) {
        const QString reply = m_link.RecvData();
        m_view.runLogFetched(reply);
    }
}

void DeviceOperations::clearLog()
{
    // Read every time: only the reply tells which way this controller ends "be".
    if (!SetReadData() || !pause(PauseAfterVersionRead))
        return;
    if (m_romVer < FirstVersionWithClosingCr) {
        if (exchange(QStringLiteral("be"), QStringLiteral("be")))
            pause(OldControllerBusySeconds);
    } else {
        exchange(QStringLiteral("be"), Cr);
    }
}
