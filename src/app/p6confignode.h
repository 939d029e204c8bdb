#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Caps on the view data a parse accepts.
struct P6ConfigLimits
{
    int maxTextLength = 8 * 1024 * 1024;
    int maxDepth = 64;
    int maxNodes = 200000;
};

// One node of the view settings P6 stores as text, "(number||Name(key|value|...)(children))".
// The text comes from files other people send, so the parser is a loop over an explicit stack
// with caps on size, depth and node count; anything it cannot read whole gives no tree at all.
class P6ConfigNode
{
public:
    using Ptr = std::shared_ptr<P6ConfigNode>;

    using Limits = P6ConfigLimits;

    int number = 0;
    QString name;
    // A later key replaces an earlier one.
    QHash<QString, QString> attributes;
    std::vector<Ptr> children;

    // The node this one hangs under; never owned, null for the root.
    const P6ConfigNode *parent() const { return m_parent; }
    QString attribute(const QString &key) const { return attributes.value(key); }

    // The first child of that name, or an empty node.
    const P6ConfigNode &child(const QString &name) const;
    // Follows first children by name from here; an empty node when a step is missing.
    const P6ConfigNode &at(const QStringList &path) const;
    bool isEmpty() const { return name.isEmpty() && children.empty() && attributes.isEmpty(); }

    // The root of the text, or null with `error` set when the text is not one whole node.
    static Ptr parse(const QString &text, QString *error = nullptr, const Limits &limits = Limits());

    static const P6ConfigNode &empty();

private:
    const P6ConfigNode *m_parent = nullptr;
};
