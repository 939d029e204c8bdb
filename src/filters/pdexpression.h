#ifndef PDEXPRESSION_H
#define PDEXPRESSION_H

#include "pdfiltervalue.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// One condition of a column's expression filter, linked to "and" and "or" partners. A condition
// owns its partners, so a whole chain is copied, moved and deleted through its head.
class PdExpression
{
public:
    PdExpression(const QString& op, const QVariant& value);
    PdExpression(const PdExpression& other);
    PdExpression& operator=(const PdExpression& other);
    ~PdExpression();

    // No condition for an empty operator text or a value without a type.
    static std::unique_ptr<PdExpression> makeExpression(const QString& shownOperator, const QVariant& value);
    static QString storedOperator(const QString& shownOperator);
    static bool isKnownOperator(const QString& op);

    // The test of one condition on a cell already read by its column's kind.
    static bool acceptExpression(const QVariant& cell, const QVariant& value, const QString& op,
                                 PdValueKind kind = PdValueKind::Text);

    // The whole chain from this head: every "and" step must pass, each rescued by its "or" partners.
    bool accepts(const QVariant& cell, PdValueKind kind = PdValueKind::Text) const;

    void setAndPartner(std::unique_ptr<PdExpression> partner);
    void setOrPartner(std::unique_ptr<PdExpression> partner);
    const PdExpression* andPartner() const { return m_and.get(); }
    const PdExpression* orPartner() const { return m_or.get(); }
    QString op() const { return m_op; }
    QVariant value() const { return m_value; }

    // The saved form: operator, value, then "AND" or "OR", the partner's operator and value.
    QStringList toParts() const;
    static std::unique_ptr<PdExpression> fromParts(const QStringList& parts);

private:
    std::unique_ptr<PdExpression> m_or;
    std::unique_ptr<PdExpression> m_and;
    QVariant m_value;
    QString m_op;
};

#endif // PDEXPRESSION_H
