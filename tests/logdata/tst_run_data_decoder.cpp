#include "logdata/log_store.h"
#include "logdata/run_data_decoder.h"

#include <QTest>

namespace {
// "br", every sample 0E 0B (1.1 V, 20 A) so a misplaced read shows, then a carriage return.
const QString Base = QStringLiteral("br") + QStringLiteral("0E0B").repeated(512) + u'\r';
// The reply with sample `s`'s voltage and current pairs replaced.
QString withPair(QString r, int s, const QString &volt, const QString &cur)
{
    return r.replace(2 + 4 * s, 2, volt).replace(4 + 4 * s, 2, cur);
}

// Sample `sample` must hold volt/cur; others hold the base values below `volts`/`curs`, else -1.
struct Case {
    const char *name;
    QString reply;
    int sample;
    float volt, cur;
    int volts, curs;
};
} // namespace
Q_DECLARE_METATYPE(Case)

class TstRunDataDecoder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decoding_data()
    {
        QTest::addColumn<Case>("c");
        QList<Case> cases {
            {"zero", withPair(Base, 300, "00", "00"), 300, 0, 0, 512, 512},
            {"2.5 V, 50 A, first sample", withPair(Base, 0, "20", "1B"), 0, 2.5, 50, 512, 512},
            {"5.0 V (not 4.97), 300 A, last", withPair(Base, 511, "40", "9F"), 511, 5, 300, 512, 512},
            {"fe lower", withPair(Base, 300, "fe", "fe"), 300, 19.7f, 480, 512, 512},
            {"FF: no voltage", withPair(Base, 300, "FF", "05"), 300, -1, 10, 512, 512},
            {"FF: no current", withPair(Base, 300, "4D", "FF"), 300, 6, -1, 512, 512},
            {"all FF: empty store", QStringLiteral("br") + QStringLiteral("FFFF").repeated(512), -1, 0, 0, 0, 0},
            {"other head, garbage tail", "zz" + Base.mid(2) + "0000garbage\x01", -1, 0, 0, 512, 512},
            {"one digit", Base.left(3), -1, 0, 0, 0, 0},
            {"first voltage only", Base.left(5), -1, 0, 0, 1, 0},
            {"last digit missing", Base.left(2049), -1, 0, 0, 512, 511}};
        for (const QString &bad : {QStringLiteral("G1"), QStringLiteral(" 1"), QStringLiteral("+1"),
                                   QStringLiteral("&H"), QString(QChar(0x0661)) + u'1', QString(QChar(0)) + u'0'})
            cases.append({"garbled pair", withPair(Base, 10, bad, bad), 10, -1, -1, 512, 512});
        for (const Case &c : cases)
            QTest::addRow("%s%s", c.name, c.sample == 10 ? qPrintable(" " + c.reply.mid(42, 2).toUtf8().toHex()) : "")
                << c;
    }
    // Nothing of the previous log (all 7) survives anywhere.
    void decoding()
    {
        QFETCH(Case, c);
        LogStore s;
        s.VoltData.fill(7.0f), s.CurData.fill(7.0f);
        decodeRunData(c.reply, s);
        for (int i = 0; i < LogStore::SampleCount; ++i) {
            QCOMPARE(s.VoltData[size_t(i)], i == c.sample ? c.volt : i < c.volts ? 1.1f : -1.0f);
            QCOMPARE(s.CurData[size_t(i)], i == c.sample ? c.cur : i < c.curs ? 20.0f : -1.0f);
        }
        QCOMPARE(s.isEmpty(), c.volts == 0);
    }
};

QTEST_GUILESS_MAIN(TstRunDataDecoder)
#include "tst_run_data_decoder.moc"
