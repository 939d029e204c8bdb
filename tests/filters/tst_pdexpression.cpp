#include "pdexpression.h"

#include <QDateTime>
#include <QtTest>

Q_DECLARE_METATYPE(PdValueKind)

class tst_PdExpression : public QObject
{
    Q_OBJECT

private slots:
    void shouldTestOneCondition_data();
    void shouldTestOneCondition();
    void shouldCombineAndOrPartners_data();
    void shouldCombineAndOrPartners();
    void shouldGiveNoConditionWithoutOperatorOrValue();
    void shouldRoundTripSavedParts_data();
    void shouldRoundTripSavedParts();
};

void tst_PdExpression::shouldTestOneCondition_data()
{
    QTest::addColumn<PdValueKind>("kind");
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("passes");

    const auto text = PdValueKind::Text;
    const auto integer = PdValueKind::Integer;
    const auto real = PdValueKind::Double;
    const auto date = PdValueKind::Date;
    const QVariant blank;
    const QVariant afternoon(QDateTime(QDate(2026, 3, 5), QTime(14, 0)));

    QTest::newRow("contains misses other case") << text << QVariant("XABCX") << "contains" << QVariant("abc") << false;
    QTest::newRow("begins with ignores case") << text << QVariant("ABCdef") << "begins with" << QVariant("abc") << true;
    QTest::newRow("ends with ignores case") << text << QVariant("xyZ") << "ends with" << QVariant("z") << true;
    QTest::newRow("does not begin with") << text << QVariant("abc") << "does not begin with" << QVariant("b") << true;
    QTest::newRow("does not end with") << text << QVariant("abc") << "does not end with" << QVariant("C") << false;
    QTest::newRow("empty text is in every text") << text << QVariant("x") << "does not contain" << QVariant("") << false;
    QTest::newRow("text equals is exact") << text << QVariant("Task") << "=" << QVariant("task") << false;
    QTest::newRow("numeric texts order as numbers") << text << QVariant("10") << ">" << QVariant("9") << true;
    QTest::newRow("blank text fails contains") << text << blank << "contains" << QVariant("a") << false;
    QTest::newRow("blank text passes does not contain") << text << blank << "does not contain" << QVariant("a") << true;
    QTest::newRow("blank text equals the empty text") << text << QVariant("") << "=" << QVariant("") << true;

    QTest::newRow("integer equals") << integer << QVariant(10) << "=" << QVariant(10) << true;
    QTest::newRow("integer against a text value") << integer << QVariant(10) << "=" << QVariant("10") << true;
    QTest::newRow("integer greater") << integer << QVariant(10) << ">" << QVariant(5) << true;
    QTest::newRow("integer at least") << integer << QVariant(10) << ">=" << QVariant(10) << true;
    QTest::newRow("integer not equal") << integer << QVariant(11) << "!=" << QVariant(10) << true;
    QTest::newRow("blank is not less than 5") << integer << blank << "<" << QVariant(5) << false;
    QTest::newRow("blank is not greater than -1") << integer << QVariant("") << ">" << QVariant(-1) << false;
    QTest::newRow("blank is not 5") << integer << blank << "!=" << QVariant(5) << true;
    QTest::newRow("text in a number column is no number") << integer << QVariant("n/a") << "<" << QVariant(5) << false;

    QTest::newRow("decimal comma") << real << QVariant("1,5") << "=" << QVariant(1.5) << true;
    QTest::newRow("cost in millions") << real << QVariant(2500000.0) << ">" << QVariant(1000000.0) << true;
    QTest::newRow("value read back as text") << real << QVariant(1000000.0) << "=" << QVariant("1000000") << true;
    QTest::newRow("number text contains") << real << QVariant(1000000.0) << "contains" << QVariant("000") << true;

    QTest::newRow("same day at another time equals") << date << afternoon << "=" << QVariant(QDate(2026, 3, 5)) << true;
    QTest::newRow("same day is after or equal") << date << afternoon << ">=" << QVariant(QDate(2026, 3, 5)) << true;
    QTest::newRow("same day is not after") << date << afternoon << ">" << QVariant(QDate(2026, 3, 5)) << false;
    QTest::newRow("day before the next") << date << afternoon << "<" << QVariant(QDate(2026, 3, 6)) << true;
    QTest::newRow("date read back as text") << date << afternoon << "<=" << QVariant("2026-03-05") << true;
    QTest::newRow("XER text cell") << date << QVariant("2026-03-05 08:00") << "=" << QVariant(QDate(2026, 3, 5)) << true;
    QTest::newRow("blank date is before nothing") << date << blank << "<" << QVariant(QDate(2026, 3, 6)) << false;
    QTest::newRow("blank date is after nothing") << date << blank << ">=" << QVariant(QDate(1900, 1, 1)) << false;

    QTest::newRow("unknown operator") << text << QVariant("a") << "~" << QVariant("a") << false;
}

void tst_PdExpression::shouldTestOneCondition()
{
    QFETCH(PdValueKind, kind);
    QFETCH(QVariant, cell);
    QFETCH(QString, op);
    QFETCH(QVariant, value);
    QFETCH(bool, passes);
    if (op == QLatin1String("~"))
        QTest::ignoreMessage(QtWarningMsg, "PdExpression::acceptExpression: unknown operator");
    QCOMPARE(PdExpression(op, value).accepts(cell, kind), passes);
}

void tst_PdExpression::shouldCombineAndOrPartners_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("passing");

    QTest::newRow("or passes either") << QStringList{"=", "1", "OR", "=", "2"} << "12";
    QTest::newRow("and of two values passes none") << QStringList{"=", "1", "AND", "=", "2"} << "";
    QTest::newRow("and makes a range") << QStringList{">", "1", "AND", "<", "3"} << "2";
    QTest::newRow("or rescues an unknown operator") << QStringList{"~", "1", "OR", "=", "3"} << "3";
}

void tst_PdExpression::shouldCombineAndOrPartners()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, passing);
    const std::unique_ptr<PdExpression> chain = PdExpression::fromParts(parts);
    QVERIFY(chain);
    QString passed;
    for (int cell = 1; cell <= 3; ++cell) {
        if (parts.first() == QLatin1String("~"))
            QTest::ignoreMessage(QtWarningMsg, "PdExpression::acceptExpression: unknown operator");
        if (chain->accepts(cell, PdValueKind::Integer))
            passed += QString::number(cell);
    }
    QCOMPARE(passed, passing);
}

void tst_PdExpression::shouldGiveNoConditionWithoutOperatorOrValue()
{
    QVERIFY(!PdExpression::makeExpression(QString(), QVariant(1)));
    QVERIFY(!PdExpression::makeExpression(QStringLiteral("equals"), QVariant()));
    const auto empty = PdExpression::makeExpression(QStringLiteral("contains"), QVariant(QString()));
    QVERIFY(empty);
    QCOMPARE(PdExpression::makeExpression(QStringLiteral("is before or equal to"), QDate(2026, 1, 1))->op(),
             QStringLiteral("<="));
}

void tst_PdExpression::shouldRoundTripSavedParts_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QStringList>("readBack");

    QTest::newRow("or partner") << QStringList{"begins with", "A", "OR", "ends with", "Z"}
                                << QStringList{"begins with", "A", "OR", "ends with", "Z"};
    QTest::newRow("value with separators") << QStringList{"contains", "a;b", "AND", "!=", ";"}
                                           << QStringList{"contains", "a;b", "AND", "!=", ";"};
    QTest::newRow("unknown join word drops the partner") << QStringList{"=", "1", "XOR", "=", "2"}
                                                         << QStringList{"=", "1"};
    QTest::newRow("four parts keep the first condition") << QStringList{"=", "1", "AND", "="}
                                                         << QStringList{"=", "1"};
}

void tst_PdExpression::shouldRoundTripSavedParts()
{
    QFETCH(QStringList, parts);
    QFETCH(QStringList, readBack);
    const std::unique_ptr<PdExpression> chain = PdExpression::fromParts(parts);
    QVERIFY(chain);
    QCOMPARE(chain->toParts(), readBack);
    QCOMPARE(PdExpression(*chain).toParts(), readBack);
}

QTEST_GUILESS_MAIN(tst_PdExpression)
#include "tst_pdexpression.moc"
