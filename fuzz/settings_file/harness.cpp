// A settings file's bytes through the path File > Setting Data > Open takes: the file is
// read from disk, checked for length and shown in the settings editor. Whatever it holds,
// the fields either show a block that can be written back as it was, or nothing changes.
#include "editor/settings_editor.h"
#include "fuzz/widget_harness.h"
#include "logview/frm_log.h" // LogViewer keeps a QPointer to it
#include "logview/log_viewer.h"
#include "platform/file_dialogs.h"
#include "platform/ini_file.h"
#include "settings/settings_block.h"
#include "ui/file_commands.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using fuzzsupport::require;

namespace {

struct OneFile : FileDialogs {
    QString path;
    QString openFile(const QString &) override { return path; }
    QString saveFile(const QString &) override { return {}; }
};

struct World {
    QTemporaryDir dir;
    QWidget window;
    fuzzsupport::SilentBoxes boxes;
    OneFile dialogs;
    LogStore store;
    IniFile ini {dir.filePath(QStringLiteral("fuzz.ini"))};
    const std::array<int, 2> scaleLine {0, 0};
    SettingsEditor editor {&window, new QWidget(&window), boxes};
    LogViewer viewer {store, ini, scaleLine, &window};
    FileCommands files {dialogs, boxes, editor, store, viewer, [] { return QString(); }};
    World()
    {
        editor.MainIni();
        dialogs.path = dir.filePath(QStringLiteral("input.set"));
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::ensureApplication();
    static World w;
    QFile file(w.dialogs.path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    file.close();

    w.editor.ClearDisplay();
    w.files.mnuOpen_Click();
    const QString bytes = fuzzsupport::latin1(data, size);
    const bool shown = !w.editor.TxtData(0)->text().isEmpty();
    // Only a file of exactly one readable block of this controller shows anything.
    require(!shown || (size == size_t(block::Length) && block::isReadable(bytes)));
    if (shown && w.editor.MakeWriteData(QString())) {
        // Written back from a file alone: the bytes the tool does not own are the file's.
        const QString out = w.editor.WriteData();
        require(out.size() == block::Length && out.mid(8, 12) == bytes.mid(8, 12)
                && out.mid(56, 8) == bytes.mid(56, 8));
    }
    return 0;
}
