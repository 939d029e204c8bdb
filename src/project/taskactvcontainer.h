#pragma once

#include "basecontainer.h"

// Rows of the "TASKACTV" table.
class TaskActvContainer final : public BaseContainer<TaskActvContainer>
{
};
