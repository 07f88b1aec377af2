// Showing a settings block in the editor and building the block to write from it.
#include "settings/block_assembly.h"
#include "settings/field_rules.h"
#include "numtext/number_text.h"
#include "settings/settings_block.h"
#include "editor/settings_editor.h"
#include "platform/message_boxes.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

const char *const DeletedText = QT_TRANSLATE_NOOP("SettingsEditor", "Setting Data is deleted.");
const char *const OtherTypeText = QT_TRANSLATE_NOOP("SettingsEditor", "ZX type is different.");
const char *const AbnormalText = QT_TRANSLATE_NOOP("SettingsEditor", "Data is abnormal!!\r\nPlease set it correctly.");
const char *const NoSourceText =
    QT_TRANSLATE_NOOP("SettingsEditor",
                      "No setting data has been read from the ZX yet.\r\n"
                      "Please use \"Setting Data Read\" or open a setting data file first.");

} // namespace

DecodeResult SettingsEditor::refuse(DecodeResult result, const QString &message)
{
    if (!message.isEmpty())
        m_boxes.show(message, MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    Q_EMIT writeAllowed(false);
    return result;
}

DecodeResult SettingsEditor::ShowReadData(const QString &text, BlockSource source)
{
    // A file is told apart by its caller, which reports trouble in its own words.
    const QString unreadable = source == BlockSource::Device ? settingsreply::unreadableText() : QString();
    // Checked before anything is shown: a block that is not all hexadecimal digits
    // leaves every widget as it was.
    if (!block::isReadable(text))
        return refuse(DecodeResult::Unreadable, unreadable);

    switch (block::deviceOf(text)) {
    case block::Device::Deleted:
        return refuse(DecodeResult::Deleted, tr(DeletedText));
    case block::Device::Other:
        TxtZxType()->setText(QString());
        return refuse(DecodeResult::OtherType, tr(OtherTypeText));
    case block::Device::Zx316b:
        break;
    }

    m_holdMarks = true;
    for (const block::Step &step : block::read(text)) {
        switch (step.kind) {
        case block::Step::Kind::ZxType:
            TxtZxType()->setText(step.text);
            break;
        case block::Step::Kind::Field:
            setFieldText(step.index, step.text);
            break;
        case block::Step::Kind::CurLimOffCheck:
            applyOffCheck();
            break;
        case block::Step::Kind::Version:
            TxtVer()->setText(step.text);
            break;
        case block::Step::Kind::ModeFlags:
            for (int b = 0; b < 4; ++b)
                ChkMode(b)->setChecked((step.bits & (1 << b)) != 0);
            break;
        }
    }
    if (source == BlockSource::File)
        m_lastFileBlock = text.left(block::Length);
    // What the widgets show now is what later edits are compared with.
    ChangeMarks::Shown shown;
    for (int i = 0; i < fields::Count; ++i)
        shown.texts[size_t(i)] = TxtData(i)->text();
    shown.curLimOff = ChkCurLimOff()->isChecked();
    m_marks.setBaseline(shown, source);
    m_holdMarks = false;
    refreshMarks();
    Q_EMIT writeAllowed(true);
    return DecodeResult::Accepted;
}

// The controller reports its limiter off as 480 A; the field was just filled from the
// block, so its number decides the switch.
void SettingsEditor::applyOffCheck()
{
    const QString shown = TxtData(fields::CurrentLimit)->text();
    const bool off = numtext::readSingle(shown) == fieldrules::LimiterOffCurrent;
    const bool wasOff = ChkCurLimOff()->isChecked();
    ChkCurLimOff()->setChecked(off);
    // Already ticked from an earlier block: the toggle does not fire, yet the field now
    // shows 480; blank it as a fresh tick would, so "Off" never stands beside a value.
    if (off && wasOff)
        turnCurrentLimiterOff();
    // Unticked by this block: the field shows the block's value, even one out of range,
    // rather than the value kept from before the limiter was switched off.
    if (!off && wasOff)
        setFieldText(fields::CurrentLimit, shown);
}

bool SettingsEditor::MakeWriteData(const QString &readData)
{
    assembly::FieldStates states;
    assembly::FieldTexts texts;
    for (int i = 0; i < fields::Count; ++i) {
        texts[size_t(i)] = TxtData(i)->text();
        states[size_t(i)] = {texts[size_t(i)], isOutOfRange(i)};
    }
    const bool off = ChkCurLimOff()->isChecked();
    m_refusedField = nullptr;
    if (assembly::firstUnusableField(states, off) >= 0) {
        m_boxes.show(tr(AbnormalText), MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
        m_refusedField = firstRefused(states, off);
        if (m_refusedField)
            m_refusedField->setFocus(Qt::OtherFocusReason);
        return false;
    }
    const QString &source = assembly::isCopySource(readData) ? readData : m_lastFileBlock;
    if (!assembly::isCopySource(source)) {
        m_boxes.show(tr(NoSourceText), MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        return false;
    }
    m_writeData = assembly::build(texts, off, source);
    return true;
}

// After the box the user lands on the first value on screen, top to bottom, that kept
// the block from being built. Hidden fields cannot take the focus.
QLineEdit *SettingsEditor::firstRefused(const assembly::FieldStates &states, bool curLimOff) const
{
    for (int i : fields::visibleOrder()) {
        // Field i alone as it stands, every other field holding a value that can be written.
        assembly::FieldStates alone;
        for (int k = 0; k < fields::Count; ++k)
            alone[size_t(k)] =
                k == i ? states[size_t(k)] : assembly::FieldState {numtext::shortestText(MinData(k)), false};
        if (assembly::firstUnusableField(alone, curLimOff) == i)
            return TxtData(i);
    }
    return nullptr;
}
