#include "app/app_identity.h"
#include "app/config.h"
#include "app/ini_location.h"
#include "app/single_instance.h"

#include "link/port_choice.h"
#include "platform/ini_file.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestAppConfig : public QObject {
    Q_OBJECT

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void iniNumberRules_data();
    void iniNumberRules();
    void loadConfigReadsPortAndGraphOptions_data();
    void loadConfigReadsPortAndGraphOptions();
    void versionText_data();
    void versionText();
    void iniFileLocation();
    void iniFileFallsBackWhenTheFolderIsReadOnly();
    void onlyOneCopyOfAnExecutableRuns();
    void aLockLeftByACrashedCopyIsTakenOver();
};

void TestAppConfig::iniNumberRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "3" << true << 3;
    QTest::newRow("half goes down to even") << "2.5" << true << 2;
    QTest::newRow("half goes up to even") << "3.5" << true << 4;
    QTest::newRow("above half") << "2.51" << true << 3;
    QTest::newRow("trailing letters") << "7abc" << true << 7;
    QTest::newRow("no number") << "abc" << true << 0;
    QTest::newRow("empty value") << "" << true << 0;
    QTest::newRow("leading blanks") << "  12" << true << 12;
    QTest::newRow("negative") << "-1" << true << -1;
    QTest::newRow("sentinel") << "Error" << false << 0;
    QTest::newRow("sentinel is exact") << "error" << true << 0;
    QTest::newRow("top of 16 bits") << "32767" << true << 32767;
    QTest::newRow("bottom of 16 bits") << "-32768" << true << -32768;
    QTest::newRow("just above 16 bits") << "32768" << false << 0;
    QTest::newRow("rounds out of 16 bits") << "32767.5" << false << 0;
    QTest::newRow("just below 16 bits") << "-32769" << false << 0;
    QTest::newRow("far out of range") << "99999999999999999999999999" << false << 0;
    QTest::newRow("hexadecimal") << "&H10" << true << 16;
}

void TestAppConfig::iniNumberRules()
{
    QFETCH(QString, text);
    QFETCH(bool, present);
    QFETCH(int, value);

    const auto n = iniNumber(text);
    QCOMPARE(n.has_value(), present);
    if (present)
        QCOMPARE(int(*n), value);
}

void TestAppConfig::loadConfigReadsPortAndGraphOptions_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("scale0");
    QTest::addColumn<int>("scale1");
    QTest::addColumn<bool>("dialogShown");

    QTest::newRow("no file") << QByteArray() << 0 << 0 << 0 << true;
    QTest::newRow("everything set") << QByteArray("[RS232C]\nCommPort=3\n[Chart]\nScaleLine0=1\nScaleLine1=1\n")
                                    << 3 << 1 << 1 << false;
    QTest::newRow("only the second option")
        << QByteArray("[RS232C]\nCommPort=2\n[Chart]\nScaleLine1=1\n") << 2 << 0 << 1 << false;
    QTest::newRow("options are not range-checked")
        << QByteArray("[RS232C]\nCommPort=2\n[Chart]\nScaleLine0=7\nScaleLine1=-3\n") << 2 << 7 << -3 << false;
    QTest::newRow("the index comes last in the key name")
        << QByteArray("[RS232C]\nCommPort=2\n[Chart]\n0ScaleLine=1\n") << 2 << 0 << 0 << false;
    QTest::newRow("literal Error is a missing key") << QByteArray("[RS232C]\nCommPort=Error\n") << 0 << 0 << 0 << true;
    QTest::newRow("port zero asks nothing") << QByteArray("[RS232C]\nCommPort=0\n") << 0 << 0 << 0 << false;
    QTest::newRow("no number asks nothing") << QByteArray("[RS232C]\nCommPort=abc\n") << 0 << 0 << 0 << false;
    QTest::newRow("port out of range is missing") << QByteArray("[RS232C]\nCommPort=70000\n") << 0 << 0 << 0 << true;
    QTest::newRow("option out of range stays off")
        << QByteArray("[RS232C]\nCommPort=1\n[Chart]\nScaleLine0=40000\n") << 1 << 0 << 0 << false;
    QTest::newRow("key in another section") << QByteArray("[Chart]\nCommPort=4\n") << 0 << 0 << 0 << true;
}

void TestAppConfig::loadConfigReadsPortAndGraphOptions()
{
    QFETCH(QByteArray, content);
    QFETCH(int, port);
    QFETCH(int, scale0);
    QFETCH(int, scale1);
    QFETCH(bool, dialogShown);

    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    if (!content.isEmpty())
        writeFile(ini.path(), content);
    PortChoice choice;
    ScaleLines scale{0, 0};
    bool shown = false;
    LoadConfig(ini, choice, scale, [&] { shown = true; });
    QCOMPARE(int(choice.ComPortNo), port);
    QCOMPARE(scale[0], scale0);
    QCOMPARE(scale[1], scale1);
    QCOMPARE(shown, dialogShown);
}

void TestAppConfig::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.0.0") << 1 << 0 << 0 << "Version1.00";
    QTest::newRow("minor and revision run together") << 2 << 3 << 15 << "Version2.315";
    QTest::newRow("no leading zeros") << 10 << 0 << 7 << "Version10.07";
}

void TestAppConfig::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(appidentity::VersionText(major, minor, revision), text);
    QCOMPARE(appidentity::VersionText(), QStringLiteral("Version1.00"));
}

void TestAppConfig::iniFileLocation()
{
    QTemporaryDir app;
    QTemporaryDir user;
    const QString besides = app.path() + QStringLiteral("/ZX316B Link.ini");
    QCOMPARE(chooseIniPath(app.path(), QStringLiteral("ZX316B Link"), user.path()), besides);

    // A folder that cannot hold the file: the user's folder takes it.
    const QString gone = app.path() + QStringLiteral("/no-such-folder");
    QCOMPARE(chooseIniPath(gone, QStringLiteral("ZX316B Link"), user.path() + QStringLiteral("/zx")),
             user.path() + QStringLiteral("/zx/ZX316B Link.ini"));
    QVERIFY(QFileInfo(user.path() + QStringLiteral("/zx")).isDir());
}

void TestAppConfig::iniFileFallsBackWhenTheFolderIsReadOnly()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    QTemporaryDir app;
    QTemporaryDir user;
    QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::ExeOwner);
    QCOMPARE(chooseIniPath(app.path(), QStringLiteral("ZX316B Link"), user.path()),
             user.path() + QStringLiteral("/ZX316B Link.ini"));
    QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // An INI file already beside the program is used even when the folder is read-only.
    writeFile(app.path() + QStringLiteral("/ZX316B Link.ini"), "[RS232C]\nCommPort=1\n");
    QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::ExeOwner);
    QCOMPARE(chooseIniPath(app.path(), QStringLiteral("ZX316B Link"), user.path()),
             app.path() + QStringLiteral("/ZX316B Link.ini"));
    QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestAppConfig::onlyOneCopyOfAnExecutableRuns()
{
    QTemporaryDir locks;
    const QString exe = QStringLiteral("/opt/zx/zx316b-link");
    {
        SingleInstance first(locks.path(), exe);
        QVERIFY(first.tryAcquire());
        SingleInstance second(locks.path(), exe);
        QVERIFY(!second.tryAcquire());
        // Another copy of the program (a test build, the demo) is not blocked.
        SingleInstance elsewhere(locks.path(), QStringLiteral("/home/me/build/bin/zx316b-link"));
        QVERIFY(elsewhere.tryAcquire());
    }
    // The first copy ended: the next start runs.
    SingleInstance next(locks.path(), exe);
    QVERIFY(next.tryAcquire());
}

void TestAppConfig::aLockLeftByACrashedCopyIsTakenOver()
{
    QTemporaryDir locks;
    const QString exe = QStringLiteral("/opt/zx/zx316b-link");
    const QString path = SingleInstance::lockPathFor(locks.path(), exe);
    {
        QLockFile stale(path);
        QVERIFY(stale.tryLock(0));
        stale.setStaleLockTime(0);
        // Rewrite it as a lock of a process that no longer exists.
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = f.readAll().split('\n');
        f.close();
        lines[0] = "2147483000";
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(lines.join('\n'));
        f.close();
        // The QLockFile would remove the file on destruction; keep it.
        QFile::copy(path, path + QStringLiteral(".keep"));
    }
    QFile::rename(path + QStringLiteral(".keep"), path);
    QVERIFY(QFileInfo::exists(path));
    SingleInstance restart(locks.path(), exe);
    QVERIFY(restart.tryAcquire());
}

QTEST_MAIN(TestAppConfig)
#include "tst_config.moc"
