// Feeds arbitrary texts to the settings-block decoder, both alone and through the
// editor that shows the block, and checks what a decoded block may lead to.
#include "settings/block_assembly.h"
#include "settings/settings_block.h"
#include "settings/settings_editor.h"
#include "platform/message_boxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

class SilentBoxes : public MessageBoxes {
public:
    Answer show(const QString &, Icon, Buttons) override { return Answer::Ok; }
};

struct World {
    World()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        window = std::make_unique<QWidget>();
        fraTmp = new QWidget(window.get());
        editor = std::make_unique<SettingsEditor>(window.get(), fraTmp, boxes);
        editor->MainIni();
    }
    int argc = 1;
    char name[8] = "fuzz";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    std::unique_ptr<QWidget> window;
    QWidget *fraTmp = nullptr;
    SilentBoxes boxes;
    std::unique_ptr<SettingsEditor> editor;
};

World &world()
{
    static World w;
    return w;
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isUpperHex(const QString &s)
{
    for (QChar c : s)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}

void decode(const QString &text)
{
    const block::Reading r = block::read(text);
    require(r.steps.size() <= 20);
    require(text.size() >= block::Length || (r.steps.isEmpty() && !r.complete));

    World &w = world();
    const auto source = text.size() % 2 ? BlockSource::File : BlockSource::Device;
    const DecodeResult result = w.editor->ShowReadData(text, source);
    require(result != DecodeResult::Accepted || r.complete);
    // The Off switch and field 7 stay consistent whatever the block held.
    if (w.editor->ChkCurLimOff()->isChecked())
        require(w.editor->TxtData(7)->text().isEmpty());
    if (result == DecodeResult::Accepted && w.editor->MakeWriteData(text)) {
        const QString out = w.editor->WriteData();
        require(out.size() == block::Length);
        require(isUpperHex(out.left(8)) && isUpperHex(out.mid(20, 22)) && isUpperHex(out.mid(44, 12)));
        require(out.mid(8, 12) == text.mid(8, 12) && out.mid(56, 8) == text.mid(56, 8));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    decode(text);
    // Short texts also padded, and long ones cut, to 64 characters so that the input
    // reaches the field decoding.
    if (text.size() != block::Length)
        decode(text.left(block::Length).leftJustified(block::Length, u'0'));
    return 0;
}
