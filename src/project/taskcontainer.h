#pragma once

#include "basecontainer.h"

// Rows of the "TASK" table.
class TaskContainer final : public BaseContainer<TaskContainer>
{
};
