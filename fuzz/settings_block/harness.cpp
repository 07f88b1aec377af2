// Feeds arbitrary texts to the settings-block decoding through the editor that shows
// them, and checks what a shown block may lead to.
#include "settings/settings_block.h"
#include "editor/settings_editor.h"
#include "fuzz/widget_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <cstdint>
#include <cstdlib>

namespace {

SettingsEditor &editor()
{
    fuzzsupport::ensureApplication();
    static QWidget window;
    static fuzzsupport::SilentBoxes boxes;
    static SettingsEditor e(&window, new QWidget(&window), boxes);
    static const bool initialised = (e.MainIni(), true);
    Q_UNUSED(initialised);
    return e;
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void decode(const QString &text)
{
    SettingsEditor &e = editor();
    const auto source = text.size() % 2 ? BlockSource::File : BlockSource::Device;
    const DecodeResult result = e.ShowReadData(text, source);
    require(result != DecodeResult::Accepted || !block::read(text).isEmpty());
    // "Off" never stands beside a value, whatever the block held.
    require(!e.ChkCurLimOff()->isChecked() || e.TxtData(7)->text().isEmpty());
    if (result == DecodeResult::Accepted && e.MakeWriteData(text)) {
        const QString out = e.WriteData();
        require(out.size() == block::Length && out.mid(8, 12) == text.mid(8, 12) && out.mid(56, 8) == text.mid(56, 8));
        for (int i : {0, 20, 44}) // computed parts: upper-case hex only
            for (QChar c : out.mid(i, i == 20 ? 22 : i == 0 ? 8 : 12))
                require((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    decode(text);
    // Also cut or padded to 64 characters, so that short and long inputs reach the fields.
    if (text.size() != block::Length)
        decode(text.left(block::Length).leftJustified(block::Length, u'0'));
    return 0;
}
