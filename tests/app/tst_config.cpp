#include "app/app_identity.h"
#include "app/config.h"
#include "app/ini_location.h"
#include "app/single_instance.h"

#include "link/port_choice.h"
#include "platform/ini_file.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

class TestAppConfig : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void iniNumberRules_data();
    void iniNumberRules();
    void loadConfig_data();
    void loadConfig();
    void versionText();
    void iniFileLocation();
    void onlyOneCopyOfAnExecutableRuns();
};

void TestAppConfig::iniNumberRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -99999: no value (as if the key were missing)
    const int none = -99999;
    for (auto [text, value] : std::initializer_list<std::pair<const char *, int>>{
             {"3", 3}, {"2.5", 2}, {"3.5", 4}, {"2.51", 3}, {"7abc", 7}, {"abc", 0}, {"", 0}, {"  12", 12},
             {"-1", -1}, {"Error", none}, {"error", 0}, {"32767", 32767}, {"-32768", -32768}, {"32768", none},
             {"32767.5", none}, {"-32769", none}, {"99999999999999999999999999", none}})
        QTest::newRow(text) << QString::fromLatin1(text) << value;
}

void TestAppConfig::iniNumberRules()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    const auto n = iniNumber(text);
    QCOMPARE(n ? int(*n) : -99999, value);
}

void TestAppConfig::loadConfig_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("expected");   // "port scale0 scale1 dialog?"
    QTest::newRow("no file") << QByteArray() << "0 0 0 dialog";
    QTest::newRow("all set") << QByteArray("[RS232C]\nCommPort=3\n[Chart]\nScaleLine0=1\nScaleLine1=1\n") << "3 1 1";
    QTest::newRow("only ScaleLine1") << QByteArray("[RS232C]\nCommPort=2\n[Chart]\nScaleLine1=1\n") << "2 0 1";
    QTest::newRow("no range check, index last")
        << QByteArray("[RS232C]\nCommPort=2\n[Chart]\nScaleLine0=7\n1ScaleLine=1\n") << "2 7 0";
    QTest::newRow("literal Error") << QByteArray("[RS232C]\nCommPort=Error\n") << "0 0 0 dialog";
    QTest::newRow("port 0 asks nothing") << QByteArray("[RS232C]\nCommPort=0\n") << "0 0 0";
    QTest::newRow("out of range is missing")
        << QByteArray("[RS232C]\nCommPort=70000\n[Chart]\nScaleLine0=40000\n") << "0 0 0 dialog";
}

void TestAppConfig::loadConfig()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("ZX316B Link.ini")));
    QFile f(ini.path());
    if (!content.isEmpty() && f.open(QIODevice::WriteOnly))
        f.write(content);
    f.close();
    PortChoice choice;
    ScaleLines scale{0, 0};
    bool shown = false;
    LoadConfig(ini, choice, scale, [&] { shown = true; });
    QCOMPARE(QStringLiteral("%1 %2 %3%4").arg(choice.ComPortNo).arg(scale[0]).arg(scale[1])
                 .arg(shown ? QStringLiteral(" dialog") : QString()), expected);
}

void TestAppConfig::versionText()
{
    QCOMPARE(appidentity::VersionText(), QStringLiteral("Version1.00"));
    QCOMPARE(appidentity::VersionText(2, 3, 15), QStringLiteral("Version2.315"));
}

void TestAppConfig::iniFileLocation()
{
    QTemporaryDir app;
    QTemporaryDir user;
    const QString title = QStringLiteral("ZX316B Link");
    QCOMPARE(chooseIniPath(app.path(), title, user.path()), app.path() + QStringLiteral("/ZX316B Link.ini"));
    // A folder that cannot hold the file: the user's configuration folder takes it.
    QCOMPARE(chooseIniPath(app.path() + QStringLiteral("/gone"), title, user.path() + QStringLiteral("/zx")),
             user.path() + QStringLiteral("/zx/ZX316B Link.ini"));
    QVERIFY(QFileInfo(user.path() + QStringLiteral("/zx")).isDir());
}

void TestAppConfig::onlyOneCopyOfAnExecutableRuns()
{
    QTemporaryDir locks;
    const QString exe = QStringLiteral("/opt/zx/zx316b-link");
    {
        SingleInstance first(locks.path(), exe);
        QVERIFY(first.tryAcquire());
        QVERIFY(!SingleInstance(locks.path(), exe).tryAcquire());
        // Another copy of the program (a test build, the demo) is not blocked.
        QVERIFY(SingleInstance(locks.path(), QStringLiteral("/home/me/build/bin/zx316b-link")).tryAcquire());
    }
    // A lock left by a copy that crashed (its process is gone) does not block the restart.
    const QString path = SingleInstance::lockPathFor(locks.path(), exe);
    QByteArray contents;
    {
        QLockFile held(path);
        QVERIFY(held.tryLock(0));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        contents = f.readAll();
    }
    contents.replace(0, contents.indexOf('\n'), "2147483000");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contents);
    f.close();
    QVERIFY(SingleInstance(locks.path(), exe).tryAcquire());
}

QTEST_MAIN(TestAppConfig)
#include "tst_config.moc"
