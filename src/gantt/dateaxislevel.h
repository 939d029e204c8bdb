#pragma once

#include <QObject>

namespace mygc {

class DateAxis;

// One band of the date axis, labelled in one time unit.
class DateAxisLevel : public QObject
{
    Q_OBJECT
public:
    explicit DateAxisLevel(int unit = 3, DateAxis *axis = nullptr);

    int height() const { return m_height; }
    int unit() const { return m_unit; }
    DateAxis *axis() const { return m_axis; }

    void setUnit(int unit) { m_unit = unit; }
    void setAxis(DateAxis *axis) { m_axis = axis; }

private:
    int m_height = 28;
    int m_unit = 3;
    DateAxis *m_axis = nullptr;
};

} // namespace mygc
