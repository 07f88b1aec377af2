// Untrusted files are read whole but never past a cap, and only when they are regular
// files: a FIFO or a device must neither block nor flood the reader.
#include "files/text_file.h"
#include "platform/capped_file.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using S = CappedFile::Status;
Q_DECLARE_METATYPE(CappedFile::Status)

class TstCappedFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<CappedFile::Status>("status");
        QTest::addColumn<int>("size");
        QTest::newRow("missing") << "missing" << S::Missing << 0;
        QTest::newRow("at the cap") << "8" << S::Read << 8;
        QTest::newRow("one past the cap") << "9" << S::TooLarge << 0;
        QTest::newRow("folder") << "folder" << S::NotRegular << 0;
        QTest::newRow("FIFO, nobody writing") << "fifo" << S::NotRegular << 0;
        QTest::newRow("link to a device that never ends") << "zero" << S::NotRegular << 0;
    }
    void kinds()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("f");
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("f"));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link("/dev/zero", path));
        else if (kind != "missing") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(kind.toInt(), 'x')) == kind.toInt());
        }
        const CappedFile file = CappedFile::read(path, 8);
        QTEST(file.status, "status");
        QTEST(int(file.bytes.size()), "size");
        // The File menu's reader refuses the same files with a reason and never hangs on them.
        const textfile::Content content = textfile::readAtMost(path, 8);
        QCOMPARE(content.status == textfile::Content::Status::Failed,
                 file.status != S::Read && file.status != S::TooLarge);
    }
};

QTEST_GUILESS_MAIN(TstCappedFile)
#include "tst_capped_file.moc"
