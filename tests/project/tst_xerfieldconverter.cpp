#include "xerfieldconverter.h"

#include <QtTest>

#include <cstring>

class tst_XerFieldConverter : public QObject
{
    Q_OBJECT
private slots:
    void shouldConvertByDatatype_data();
    void shouldConvertByDatatype();
    void shouldGiveSameDateTimeAsFormatParser_data();
    void shouldGiveSameDateTimeAsFormatParser();
    void shouldStoreInPlaceWhatConvertGives_data();
    void shouldStoreInPlaceWhatConvertGives();
    void shouldKeepEveryRememberedDateTime();
    void shouldRoundDecimalsAsQtDoes_data();
    void shouldRoundDecimalsAsQtDoes();
};

void tst_XerFieldConverter::shouldConvertByDatatype_data()
{
    QTest::addColumn<QString>("datatype");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("integer") << "integer" << "4711" << QVariant(4711);
    QTest::newRow("negative integer") << "integer" << "-12" << QVariant(-12);
    QTest::newRow("integer past int range") << "integer" << "12345678901" << QVariant(qlonglong(12345678901));
    QTest::newRow("integer with blanks") << "integer" << " 42 " << QVariant(42);
    QTest::newRow("integer not a number keeps its text") << "integer" << "abc" << QVariant("abc");
    QTest::newRow("NaN in integer column keeps its text") << "integer" << "NaN" << QVariant("NaN");
    QTest::newRow("integer past double range keeps its text") << "integer" << "1e999" << QVariant("1e999");
    QTest::newRow("decimal in integer column keeps its value") << "integer" << "12.5" << QVariant(12.5);
    QTest::newRow("double") << "double" << "8.25" << QVariant(8.25);
    QTest::newRow("double integral") << "double" << "40" << QVariant(40.0);
    QTest::newRow("double negative exponent") << "double" << "-1.5e-3" << QVariant(-0.0015);
    QTest::newRow("double with plus sign") << "double" << "+3.5" << QVariant(3.5);
    QTest::newRow("double not a number") << "double" << "12,5" << QVariant(0.0);
    QTest::newRow("string") << "string" << "Façade wall" << QVariant("Façade wall");
    QTest::newRow("datetime") << "datetime" << "2019-03-04 08:00" << QVariant(QDateTime(QDate(2019, 3, 4), QTime(8, 0)));
    QTest::newRow("datetime in another form") << "datetime" << "04.03.2019" << QVariant(QDateTime());
    QTest::newRow("datetime with impossible day") << "datetime" << "2019-02-30 08:00" << QVariant(QDateTime());
    QTest::newRow("empty integer") << "integer" << "" << QVariant();
    QTest::newRow("empty string") << "string" << "" << QVariant();
    QTest::newRow("empty datetime") << "datetime" << "" << QVariant();
    QTest::newRow("unknown datatype") << "boolean" << "Y" << QVariant();
}

void tst_XerFieldConverter::shouldConvertByDatatype()
{
    QFETCH(QString, datatype);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);

    XerFieldConverter converter;
    const XerFieldConverter::Datatype type = XerFieldConverter::datatypeOf(datatype);
    for (int pass = 0; pass < 2; ++pass) {
        const QVariant value = converter.convert(type, text);
        QCOMPARE(value.userType(), expected.userType());
        QCOMPARE(value, expected);
    }
}

void tst_XerFieldConverter::shouldGiveSameDateTimeAsFormatParser_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight") << "2020-01-01 00:00";
    QTest::newRow("last minute of a leap day") << "2024-02-29 23:59";
    QTest::newRow("hour 24") << "2021-05-05 24:00";
    QTest::newRow("month 13") << "2021-13-01 08:00";
    QTest::newRow("single-digit month") << "2021-3-01 08:00";
    QTest::newRow("seconds") << "2021-03-01 08:00:30";
}

void tst_XerFieldConverter::shouldGiveSameDateTimeAsFormatParser()
{
    QFETCH(QString, text);
    const QDateTime reference = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
    XerFieldConverter converter;
    QCOMPARE(converter.convert(XerFieldConverter::DateTime, text).toDateTime(), reference);
    QCOMPARE(converter.convert(XerFieldConverter::DateTime, text).toDateTime().isValid(), reference.isValid());
}

// A column's worth of texts of one datatype: storing each in place must read
// back exactly as storing what convert() gives, type included, also when a
// later value changes the column's storage.
void tst_XerFieldConverter::shouldStoreInPlaceWhatConvertGives_data()
{
    QTest::addColumn<QString>("datatype");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("integers after empty cells") << "integer" << QStringList{"", "", "7", "-3", ""};
    QTest::newRow("decimal among integers") << "integer" << QStringList{"1", "12.5", "", "2"};
    QTest::newRow("wide and odd integers") << "integer" << QStringList{"12345678901", "5", " 42 ", "abc"};
    QTest::newRow("doubles") << "double" << QStringList{"8.25", "", "+3.5", "12,5", "40"};
    QTest::newRow("repeated strings") << "string" << QStringList{"Not Started", "", "Not Started", "Façade"};
    QTest::newRow("date-times, repeated and impossible")
        << "datetime" << QStringList{"2019-03-04 08:00", "2019-02-30 08:00", "", "2019-03-04 08:00", "04.03.2019"};
    QTest::newRow("unknown datatype") << "boolean" << QStringList{"Y", ""};
}

void tst_XerFieldConverter::shouldStoreInPlaceWhatConvertGives()
{
    QFETCH(QString, datatype);
    QFETCH(QStringList, texts);

    const XerFieldConverter::Datatype type = XerFieldConverter::datatypeOf(datatype);
    XerFieldConverter viaVariant(1);
    XerFieldConverter inPlace(1);
    ContainerColumn expected;
    ContainerColumn actual;
    for (const QString &text : texts) {
        expected.append(viaVariant.convert(type, text, 0));
        inPlace.appendTo(actual, type, text, 0);
    }
    QCOMPARE(actual.size(), expected.size());
    for (int r = 0; r < expected.size(); ++r) {
        QCOMPARE(actual.at(r).isValid(), expected.at(r).isValid());
        QCOMPARE(actual.at(r).userType(), expected.at(r).userType());
        QCOMPARE(actual.at(r), expected.at(r));
    }
}

// Enough distinct minutes to make the remembered set grow several times;
// each must still give its own date-time when met again.
void tst_XerFieldConverter::shouldKeepEveryRememberedDateTime()
{
    const QDateTime first(QDate(2019, 1, 1), QTime(7, 0));
    QStringList texts;
    for (int i = 0; i < 5000; ++i)
        texts.append(first.addSecs(qint64(i) * 3700).toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    XerFieldConverter converter;
    for (int pass = 0; pass < 2; ++pass) {
        for (const QString &text : texts)
            QCOMPARE(converter.convert(XerFieldConverter::DateTime, text).toDateTime(), XerFieldConverter::parseDateTime(text));
    }
}

void tst_XerFieldConverter::shouldRoundDecimalsAsQtDoes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("tenth") << "0.1";
    QTest::newRow("fifteen digits") << "123456789.012345";
    QTest::newRow("sixteen digits") << "1234567890.123457";
    QTest::newRow("past 2^53") << "9007199254740993";
    QTest::newRow("many decimals") << "0.000000000000001";
    QTest::newRow("negative zero") << "-0";
    QTest::newRow("negative") << "-2.675";
    QTest::newRow("leading zeros") << "007.50";
    QTest::newRow("trailing point") << "12.";
    QTest::newRow("leading point") << ".5";
    QTest::newRow("exponent") << "1.5e3";
}

// Costs and hours are decimals that must keep their exact double: every
// text reads as QString::toDouble reads it, sign of zero included.
void tst_XerFieldConverter::shouldRoundDecimalsAsQtDoes()
{
    QFETCH(QString, text);
    bool ok = false;
    const double expected = text.toDouble(&ok);
    QVERIFY(ok);
    const QVariant value = XerFieldConverter().convert(XerFieldConverter::Double, text);
    QCOMPARE(value.userType(), int(QMetaType::Double));
    QCOMPARE(std::memcmp(&expected, value.constData(), sizeof expected), 0);
}

QTEST_GUILESS_MAIN(tst_XerFieldConverter)
#include "tst_xerfieldconverter.moc"
