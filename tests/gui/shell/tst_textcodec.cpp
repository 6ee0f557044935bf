// The Windows-1252 edge between the core's bytes and Qt's strings.
#include "gui/support/textcodec.h"

#include <QTest>

using namespace qmx;

class TstTextCodec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bytesToText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("Key=REGISTRY;1") << QStringLiteral("Key=REGISTRY;1");
        QTest::newRow("euro and dashes")
            << QByteArray("\x80 \x96 \x97") << QString::fromUtf8("€ – —");
        QTest::newRow("latin-1 half")
            << QByteArray("Br\xe4ndle & S\xf6hne") << QString::fromUtf8("Brändle & Söhne");
        QTest::newRow("quotes and y diaeresis")
            << QByteArray("\x93x\x94\x9f") << QString::fromUtf8("“x”Ÿ");
        QTest::newRow("undefined bytes") << QByteArray("\x81\x8d\x8f\x90\x9d")
                                         << QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d");
        QTest::newRow("nul inside") << QByteArray("a\0b", 3) << QString::fromUtf16(u"a\u0000b", 3);
    }
    void bytesToText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::string s(bytes.constData(), static_cast<size_t>(bytes.size()));
        QCOMPARE(toQString(s), text);
        QCOMPARE(fromQString(text), s);
    }

    void everyByteSurvivesARoundTrip()
    {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        const QString text = toQString(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(fromQString(text), all);
    }

    void charactersOutsideTheCodePage()
    {
        QCOMPARE(fromQString(QString::fromUtf8("a中b")), std::string("a?b"));
        QCOMPARE(fromQString(QString::fromUtf8("x😀y")), std::string("x?y"));
        QCOMPARE(fromQString(QString::fromUtf16(u"\u0100")), std::string("?"));
    }
};

QTEST_APPLESS_MAIN(TstTextCodec)
#include "tst_textcodec.moc"
