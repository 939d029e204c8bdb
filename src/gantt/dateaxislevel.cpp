#include "dateaxislevel.h"

namespace mygc {

DateAxisLevel::DateAxisLevel(int unit, DateAxis *axis)
    : m_unit(unit)
    , m_axis(axis)
{
}

} // namespace mygc
