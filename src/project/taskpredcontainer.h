#pragma once

#include "basecontainer.h"

// Rows of the "TASKPRED" table.
class TaskPredContainer final : public BaseContainer<TaskPredContainer>
{
};
