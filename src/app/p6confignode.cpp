#include "p6confignode.h"

namespace {

// Where the parser stands inside the node on top of its stack.
enum class Expect {
    Open,       // "(" of a node
    Number,     // text up to the first "|"
    Ignored,    // text up to the second "|"
    Name,       // text up to "(" of the attributes
    Attributes, // key|value|... up to ")"
    ChildrenOpen, // "(" of the children list
    Children,   // "(" of a child or ")" ending the list
    Close,      // ")" ending the node
    Done        // only white space may follow
};

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

} // namespace

const P6ConfigNode &P6ConfigNode::empty()
{
    static const P6ConfigNode node;
    return node;
}

const P6ConfigNode &P6ConfigNode::child(const QString &childName) const
{
    for (const Ptr &node : children) {
        if (node->name == childName)
            return *node;
    }
    return empty();
}

const P6ConfigNode &P6ConfigNode::at(const QStringList &path) const
{
    const P6ConfigNode *node = this;
    for (const QString &step : path) {
        node = &node->child(step);
        if (node == &empty())
            break;
    }
    return *node;
}

P6ConfigNode::Ptr P6ConfigNode::parse(const QString &text, QString *error, const Limits &limits)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return Ptr();
    };
    if (text.size() > limits.maxTextLength)
        return fail(QStringLiteral("view data of %1 characters is too long").arg(text.size()));

    Ptr root;
    std::vector<P6ConfigNode *> stack;
    Expect expect = Expect::Open;
    QString token;
    QStringList attributeTokens;
    int nodeCount = 0;
    int start = 0;
    if (!text.isEmpty() && text.at(0) == QChar(0xFEFF))
        start = 1;

    for (int i = start; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool delimiter = c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char('|');
        if (!delimiter) {
            token += c;
            continue;
        }
        switch (expect) {
        case Expect::Open:
        case Expect::Children:
            if (!isBlank(token))
                return fail(QStringLiteral("text between nodes at %1").arg(i));
            if (c == QLatin1Char('(')) {
                if (int(stack.size()) >= limits.maxDepth)
                    return fail(QStringLiteral("nodes nested deeper than %1 levels").arg(limits.maxDepth));
                if (++nodeCount > limits.maxNodes)
                    return fail(QStringLiteral("more than %1 nodes").arg(limits.maxNodes));
                auto node = std::make_shared<P6ConfigNode>();
                if (stack.empty()) {
                    root = node;
                } else {
                    node->m_parent = stack.back();
                    stack.back()->children.push_back(node);
                }
                stack.push_back(node.get());
                expect = Expect::Number;
            } else if (c == QLatin1Char(')') && expect == Expect::Children) {
                expect = Expect::Close;
            } else {
                return fail(QStringLiteral("unexpected \"%1\" at %2").arg(c).arg(i));
            }
            break;
        case Expect::Number:
            if (c != QLatin1Char('|'))
                return fail(QStringLiteral("unexpected \"%1\" in a node number at %2").arg(c).arg(i));
            stack.back()->number = token.trimmed().toInt();
            expect = Expect::Ignored;
            break;
        case Expect::Ignored:
            if (c != QLatin1Char('|'))
                return fail(QStringLiteral("unexpected \"%1\" before a node name at %2").arg(c).arg(i));
            expect = Expect::Name;
            break;
        case Expect::Name:
            if (c != QLatin1Char('('))
                return fail(QStringLiteral("unexpected \"%1\" in a node name at %2").arg(c).arg(i));
            stack.back()->name = token.trimmed();
            attributeTokens.clear();
            expect = Expect::Attributes;
            break;
        case Expect::Attributes:
            if (c == QLatin1Char('(')) {
                return fail(QStringLiteral("unexpected \"(\" in attributes at %1").arg(i));
            } else if (c == QLatin1Char('|')) {
                attributeTokens.append(token);
            } else {
                attributeTokens.append(token);
                if (attributeTokens.size() == 1 && isBlank(attributeTokens.first()))
                    attributeTokens.clear();
                if (attributeTokens.size() % 2 != 0)
                    return fail(QStringLiteral("an attribute without a value at %1").arg(i));
                for (int a = 0; a < attributeTokens.size(); a += 2)
                    stack.back()->attributes.insert(attributeTokens.at(a).trimmed(), attributeTokens.at(a + 1));
                expect = Expect::ChildrenOpen;
            }
            break;
        case Expect::ChildrenOpen:
            if (c != QLatin1Char('(') || !isBlank(token))
                return fail(QStringLiteral("no children list at %1").arg(i));
            expect = Expect::Children;
            break;
        case Expect::Close:
            if (c != QLatin1Char(')') || !isBlank(token))
                return fail(QStringLiteral("unclosed node at %1").arg(i));
            stack.pop_back();
            expect = stack.empty() ? Expect::Done : Expect::Children;
            break;
        case Expect::Done:
            return fail(QStringLiteral("text after the end of the view at %1").arg(i));
        }
        token.clear();
    }
    if (expect != Expect::Done)
        return fail(QStringLiteral("the view data ends before its root node closes"));
    if (!isBlank(token))
        return fail(QStringLiteral("text after the end of the view"));
    return root;
}
