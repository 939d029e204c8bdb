#include "p6confignode.h"

#include <QtTest>

namespace {

// "Name{key=value,...}[child child]"; attributes sorted by key. Also checks every child's parent.
QString describe(const P6ConfigNode &node, bool *parentsOk)
{
    QStringList attributes;
    for (auto it = node.attributes.cbegin(); it != node.attributes.cend(); ++it)
        attributes << it.key() + QLatin1Char('=') + it.value();
    attributes.sort();
    QString text = QString::number(node.number) + node.name;
    if (!attributes.isEmpty())
        text += QLatin1Char('{') + attributes.join(QLatin1Char(',')) + QLatin1Char('}');
    if (!node.children.empty()) {
        QStringList children;
        for (const P6ConfigNode::Ptr &child : node.children) {
            *parentsOk = *parentsOk && child->parent() == &node;
            children << describe(*child, parentsOk);
        }
        text += QLatin1Char('[') + children.join(QLatin1Char(' ')) + QLatin1Char(']');
    }
    return text;
}

QString nested(int depth)
{
    return QString(QStringLiteral("(0||N()(")).repeated(depth) + QString(QStringLiteral("))")).repeated(depth);
}

} // namespace

class TestP6ConfigNode : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void lookupFollowsFirstChildren();
};

void TestP6ConfigNode::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxNodes");
    // Empty: the parse must fail.
    QTest::addColumn<QString>("expected");

    const int nodes = P6ConfigLimits().maxNodes;
    QTest::newRow("view with columns and sorts")
        << "(0||ViewSettings(version|8)((0||TaskView()((0||Columns()((1||task_code(column_title|Activity ID|width|80)())"
           "(2||task_name(column_title|Name|width|300)())))(0||GroupSortBy()((0||SortBys()())))))))"
        << nodes
        << "0ViewSettings{version=8}[0TaskView[0Columns[1task_code{column_title=Activity ID,width=80} "
           "2task_name{column_title=Name,width=300}] 0GroupSortBy[0SortBys]]]";
    QTest::newRow("byte-order mark, blanks between nodes and trailing white space")
        << QString(QChar(0xFEFF)) + "(7|x|Root(a|1)( (0||A()()) \r\n (0||B()()) ))\r\n  " << nodes << "7Root{a=1}[0A 0B]";
    QTest::newRow("a later key replaces an earlier one") << "(0||R(k|1|k|2)())" << nodes << "0R{k=2}";
    QTest::newRow("a number that is no number reads as 0") << "(x||R()())" << nodes << "0R";
    QTest::newRow("empty text") << "" << nodes << "";
    QTest::newRow("truncated before the root closes") << "(0||R()((0||A()())" << nodes << "";
    QTest::newRow("truncated inside attributes") << "(0||R(a|1" << nodes << "";
    QTest::newRow("text after the root") << "(0||R()())(0||S()())" << nodes << "";
    QTest::newRow("text between nodes") << "(0||R()(junk(0||A()())))" << nodes << "";
    QTest::newRow("delimiter inside a name") << "(0||R|x()())" << nodes << "";
    QTest::newRow("attribute without a value") << "(0||R(a|1|b)())" << nodes << "";
    QTest::newRow("missing children list") << "(0||R())" << nodes << "";
    QTest::newRow("64 levels") << nested(64) << nodes << QString("0N[").repeated(63) + "0N" + QString("]").repeated(63);
    QTest::newRow("65 levels") << nested(65) << nodes << "";
    // A recursive parser overflows its stack on this.
    QTest::newRow("half a megabyte of nesting") << nested(50000) << nodes << "";
    QTest::newRow("node count at the cap") << "(0||R()((0||A()())(0||B()())))" << 3 << "0R[0A 0B]";
    QTest::newRow("node count over the cap") << "(0||R()((0||A()())(0||B()())))" << 2 << "";
    QTest::newRow("oversized text") << "(0||R(a|" + QString(P6ConfigLimits().maxTextLength, QLatin1Char('x')) + ")())"
                                    << nodes << "";
}

void TestP6ConfigNode::parse()
{
    QFETCH(QString, text);
    QFETCH(int, maxNodes);
    QFETCH(QString, expected);

    P6ConfigLimits limits;
    limits.maxNodes = maxNodes;
    QString error;
    const P6ConfigNode::Ptr root = P6ConfigNode::parse(text, &error, limits);
    if (expected.isEmpty()) {
        QVERIFY(!root);
        QVERIFY(!error.isEmpty());
        return;
    }
    QVERIFY2(root, qPrintable(error));
    QVERIFY(!root->parent());
    bool parentsOk = true;
    QCOMPARE(describe(*root, &parentsOk), expected);
    QVERIFY(parentsOk);
}

void TestP6ConfigNode::lookupFollowsFirstChildren()
{
    const P6ConfigNode::Ptr root =
        P6ConfigNode::parse("(0||V()((0||T()((1||C(w|1)())))(0||T()((2||C(w|2)())))))");
    QVERIFY(root);
    QCOMPARE(root->at({"T", "C"}).attribute("w"), QStringLiteral("1"));
    QCOMPARE(&root->at({"T", "Missing", "C"}), &P6ConfigNode::empty());
    QVERIFY(root->at({"Missing"}).isEmpty());
}

QTEST_GUILESS_MAIN(TestP6ConfigNode)
#include "tst_p6confignode.moc"
