// The log file format on its own: the text written for a store, and what reading a
// text does to a store that already holds other samples.
#include "files/log_file.h"
#include "logview/log_store.h"

#include <QTest>

Q_DECLARE_METATYPE(logfile::Load)

namespace {

constexpr float Kept = 7.5f; // what every sample holds before a load

// Data rows from..to-1, each with values the test can recognise by index.
QString rows(int from, int to)
{
    QString t;
    for (int i = from; i < to; ++i)
        t += QStringLiteral("%1,%2,%3\r\n").arg(i).arg(10 + i / 10.0).arg(i * 10);
    return t;
}

const QString Head = logfile::Header + logfile::LineEnd;

} // namespace

class TstLogFile : public QObject {
    Q_OBJECT
private slots:
    void rowText_data()
    {
        QTest::addColumn<float>("volt");
        QTest::addColumn<float>("cur");
        QTest::addColumn<QString>("row");
        QTest::newRow("typical") << 12.3f << 150.f << "5,12.3,150";
        QTest::newRow("both missing") << -1.f << -1.f << "5,,";
        QTest::newRow("no voltage") << -1.f << 300.f << "5,,300";
        QTest::newRow("no current") << 4.9f << -1.f << "5,4.9,";
        QTest::newRow("zeros") << 0.f << 0.f << "5,0,0";
        QTest::newRow("seven digits") << 12.345678f << 0.5f << "5,12.34568,0.5";
        QTest::newRow("near -1 is a value") << -1.5f << -0.999f << "5,-1.5,-0.999";
    }
    void rowText()
    {
        QFETCH(float, volt);
        QFETCH(float, cur);
        QFETCH(QString, row);
        LogStore store;
        store.VoltData[5] = volt;
        store.CurData[5] = cur;
        const QStringList lines = logfile::MakeRunDat(store).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 514); // 513 lines, each ended by CR LF
        QCOMPARE(lines.first(), QStringLiteral("Time(s),Voltage(V),Current(A)"));
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines[6], row);
        QCOMPARE(lines[512], QStringLiteral("511,0,0"));
    }

    void load_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<logfile::Load>("result");
        QTest::addColumn<int>("stored"); // rows 0..stored-1 hold the file's values
        using L = logfile::Load;
        QTest::newRow("empty") << QString() << L::Empty << 0;
        QTest::newRow("header only") << Head << L::Loaded << 0;
        QTest::newRow("rows 0-9") << Head + rows(0, 10) << L::Loaded << 10;
        QTest::newRow("all rows") << Head + rows(0, 512) << L::Loaded << 512;
        QTest::newRow("LF line ends") << QString(Head + rows(0, 3)).remove(u'\r') << L::Loaded << 3;
        QTest::newRow("no final line end") << Head + rows(0, 3).chopped(2) << L::Loaded << 3;
        QTest::newRow("fields past the third") << Head + "0,10,0,x,y\r\n" << L::Loaded << 1;
        QTest::newRow("time as 1.0") << Head + rows(0, 1) + "1.0,10.1,10\r\n" << L::Loaded << 2;
        QTest::newRow("time only after 512") << Head + rows(0, 512) + "512\r\n" << L::Loaded << 512;
        QTest::newRow("row 3 missing") << Head + rows(0, 3) + rows(4, 6) << L::Refused << 3;
        QTest::newRow("header lower case") << "time(s),Voltage(V),Current(A)\r\n" + rows(0, 3) << L::Refused << 0;
        QTest::newRow("no header") << rows(0, 3) << L::Refused << 0;
        QTest::newRow("blank line at end") << Head + rows(0, 3) + "\r\n" << L::Refused << 3;
        QTest::newRow("blank first line") << "\r\n" + Head << L::Refused << 0;
        QTest::newRow("time not a number") << Head + rows(0, 2) + "x,1,1\r\n" << L::Refused << 2;
        QTest::newRow("voltage not a number") << Head + rows(0, 2) + "2,1a,1\r\n" << L::Refused << 2;
        QTest::newRow("blank is not empty") << Head + rows(0, 2) + "2, ,1\r\n" << L::Refused << 2;
        QTest::newRow("too big for a sample") << Head + "0," + QString(40, u'9') + ",1\r\n" << L::Refused << 0;
        QTest::newRow("values after 512") << Head + rows(0, 513) << L::Refused << 512;
        QTest::newRow("empty values after 512") << Head + rows(0, 512) + "512,,\r\n" << L::Refused << 512;
    }
    void load()
    {
        QFETCH(QString, text);
        QFETCH(logfile::Load, result);
        QFETCH(int, stored);
        LogStore store;
        store.VoltData.fill(Kept);
        store.CurData.fill(Kept);
        QCOMPARE(logfile::loadLogText(text, store), result);
        for (int i = 0; i < LogStore::SampleCount; ++i) {
            const bool fromFile = i < stored;
            QCOMPARE(store.VoltData[size_t(i)], fromFile ? float(10 + i / 10.0) : Kept);
            QCOMPARE(store.CurData[size_t(i)], fromFile ? float(i * 10) : Kept);
        }
    }
};

QTEST_GUILESS_MAIN(TstLogFile)
#include "tst_log_file.moc"
