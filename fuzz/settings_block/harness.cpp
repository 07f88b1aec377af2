// Feeds arbitrary texts to the settings-block decoding through the editor that shows
// them, and checks what a shown block may lead to.
#include "editor/settings_editor.h"
#include "fuzz/widget_harness.h"
#include "settings/settings_block.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>

using fuzzsupport::require;

namespace {

void decode(const QString &text)
{
    fuzzsupport::ensureApplication();
    static QWidget window;
    static fuzzsupport::SilentBoxes boxes;
    static SettingsEditor e(&window, new QWidget(&window), boxes);
    [[maybe_unused]] static const bool initialised = (e.MainIni(), true);

    const DecodeResult result = e.ShowReadData(text, text.size() % 2 ? BlockSource::File : BlockSource::Device);
    require(result != DecodeResult::Accepted || !block::read(text).isEmpty());
    // "Off" never stands beside a value, whatever the block held.
    require(!e.ChkCurLimOff()->isChecked() || e.TxtData(7)->text().isEmpty());
    if (result == DecodeResult::Accepted && e.MakeWriteData(text)) {
        // Copied parts as they came, computed parts in upper-case hexadecimal.
        static const QRegularExpression computed(QStringLiteral("^[0-9A-F]{8}.{12}[0-9A-F]{22}..[0-9A-F]{12}.{8}$"));
        const QString out = e.WriteData();
        require(computed.match(out).hasMatch() && out.mid(8, 12) == text.mid(8, 12) && out.mid(42, 2) == text.mid(42, 2)
                && out.mid(56) == text.mid(56, 8));
    }
    if (result == DecodeResult::Accepted) {
        // As after a verified write of this very block: what the marks take as shown is what
        // the widgets show, so nothing is marked.
        e.markWritten(text);
        require(e.changedCount() == 0 && !e.ChkCurLimOff()->font().bold());
        for (int i = 0; i < fields::Count; ++i)
            require(!e.TxtData(i)->font().bold());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzsupport::latin1(data, size);
    decode(text);
    // Also cut or padded to 64 characters, so that short and long inputs reach the fields.
    if (text.size() != block::Length)
        decode(text.left(block::Length).leftJustified(block::Length, u'0'));
    return 0;
}
