#include "taskitem.h"

#include <algorithm>

namespace mygc {

TaskItem::~TaskItem() = default;

void TaskItem::setProgress(float progress)
{
    m_progress = std::clamp(progress, 0.0f, 1.0f);
}

} // namespace mygc
