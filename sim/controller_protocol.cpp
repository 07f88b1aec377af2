#include "sim/controller_protocol.h"
#include "sim/settings_block.h"

namespace {

bool isCommand(const QByteArray &text)
{
    return text == "sr" || text == "sw" || text == "ae" || text == "be" || text == "br" || text == "rt";
}

bool beginsCommand(char c)
{
    return c == 's' || c == 'a' || c == 'b' || c == 'r';
}

int hexValue(QChar c)
{
    bool ok = false;
    const int value = QString(c).toInt(&ok, 16);
    return ok ? value : -1;
}

QString flipCharacter(QString block, int index)
{
    const int value = hexValue(block.at(index));
    block[index] = value < 0 ? QLatin1Char('0') : QString::number(value ^ 1, 16).toUpper().at(0);
    return block;
}

QString changedReadBack(const QString &block, const Misbehaviour &misbehaviour)
{
    if (block.isEmpty())
        return block;
    const int start = qBound(0, misbehaviour.readBackIndex, int(block.size()) - 1);
    if (misbehaviour.readBack == Misbehaviour::ReadBack::LowerCaseCharacter) {
        for (int step = 0; step < block.size(); ++step) {
            const int i = (start + step) % block.size();
            if (block.at(i) >= QLatin1Char('A') && block.at(i) <= QLatin1Char('F')) {
                QString changed = block;
                changed[i] = block.at(i).toLower();
                return changed;
            }
        }
    }
    return flipCharacter(block, start);
}

} // namespace

ControllerProtocol::ControllerProtocol()
    : m_block(zxsim::defaultSettingsBlock(m_romVersion, m_deviceType)), m_log(zxsim::demoRunLog())
{}

void ControllerProtocol::setRomVersion(int version)
{
    m_romVersion = version;
    m_block = zxsim::withByte(m_block, zxsim::RomVersionByte, version);
}

void ControllerProtocol::setDeviceType(int type)
{
    m_deviceType = type;
    m_block = zxsim::withByte(m_block, zxsim::DeviceTypeByte, type);
}

QString ControllerProtocol::defaultSettingsBlock() const
{
    return zxsim::defaultSettingsBlock(m_romVersion, m_deviceType);
}

QList<Exchange> ControllerProtocol::feed(const QByteArray &bytes, qint64 nowMs)
{
    if (nowMs - m_lastInputMs > StaleInputMs) {
        m_pending = 0;
        m_collectingBlock = false;
        m_blockInput.clear();
    }
    if (!bytes.isEmpty())
        m_lastInputMs = nowMs;

    QList<Exchange> exchanges;
    for (const char c : bytes) {
        if (m_collectingBlock) {
            m_blockInput.append(c);
            if (m_blockInput.size() == zxsim::SettingsBlockLength)
                exchanges.append(finishBlock());
            continue;
        }
        if (m_pending) {
            const QByteArray candidate {&m_pending, 1};
            m_pending = 0;
            if (isCommand(candidate + c)) {
                exchanges.append(execute(candidate + c));
                continue;
            }
        }
        if (beginsCommand(c))
            m_pending = c;
    }
    return exchanges;
}

Exchange ControllerProtocol::execute(const QByteArray &command)
{
    Exchange exchange;
    exchange.command.text = QString::fromLatin1(command);
    if (command == "sr") {
        exchange.reply = settingsReply();
    } else if (command == "br") {
        exchange.reply = {{0, "br" + zxsim::runLogHex(m_log) + '\r'}};
    } else if (command == "sw") {
        m_collectingBlock = true;
        m_blockInput.clear();
        exchange.reply = {{0, command}};
    } else if (command == "ae") {
        m_block = defaultSettingsBlock();
        exchange.reply = closingReply(command);
    } else if (command == "be") {
        m_log = zxsim::emptyRunLog();
        exchange.reply = closingReply(command);
    } else {
        exchange.reply = {{0, command}};
    }
    misbehave(exchange);
    return exchange;
}

Exchange ControllerProtocol::finishBlock()
{
    // Stored exactly as received: the controller does not check the digits, and a program
    // that sent lower case must see it come back that way.
    m_block = QString::fromLatin1(m_blockInput);
    m_blockWritten = true;
    m_collectingBlock = false;

    Exchange exchange;
    exchange.command.text = m_block;
    exchange.command.isSettingsBlock = true;
    exchange.reply = {{0, m_blockInput}};
    m_blockInput.clear();
    misbehave(exchange);
    return exchange;
}

QList<ReplyPart> ControllerProtocol::settingsReply()
{
    QString block = m_block;
    if (m_blockWritten && m_misbehaviour.readBack != Misbehaviour::ReadBack::Faithful)
        block = changedReadBack(block, m_misbehaviour);
    m_blockWritten = false;
    return {{0, "sr" + block.toLatin1() + "0\r"}};
}

QList<ReplyPart> ControllerProtocol::closingReply(const QByteArray &echo) const
{
    if (m_romVersion < 4)
        return {{0, echo}};
    return {{0, echo}, {m_processingDelayMs, "\r"}};
}

void ControllerProtocol::misbehave(Exchange &exchange)
{
    const Misbehaviour &m = m_misbehaviour;
    const QString name = exchange.command.isSettingsBlock ? Misbehaviour::SettingsBlock : exchange.command.text;
    if (m.times == 0 || (!m.onlyFor.isEmpty() && !m.onlyFor.contains(name)))
        return;
    exchange.misbehaviour = m;
    if (m_misbehaviour.times > 0)
        --m_misbehaviour.times;

    QList<ReplyPart> &parts = exchange.reply;
    if (m.lowerCaseHex) {
        for (ReplyPart &part : parts)
            part.bytes = part.bytes.toLower();
    }
    if (!m.garbage.isEmpty()) {
        switch (m.garbageAt) {
        case Misbehaviour::GarbageAt::Instead:
            parts = {{0, m.garbage}};
            break;
        case Misbehaviour::GarbageAt::Before:
            parts.prepend({0, m.garbage});
            break;
        case Misbehaviour::GarbageAt::After:
            parts.append({0, m.garbage});
            break;
        }
    }
    if (m.silent)
        parts.clear();
    if (m.truncateAfter >= 0) {
        qsizetype left = m.truncateAfter;
        QList<ReplyPart> kept;
        for (ReplyPart part : parts) {
            if (left == 0)
                break;
            part.bytes.truncate(left);
            left -= part.bytes.size();
            kept.append(part);
        }
        parts = kept;
    }
}
