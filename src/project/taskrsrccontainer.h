#pragma once

#include "basecontainer.h"

// Rows of the "TASKRSRC" table.
class TaskRsrcContainer final : public BaseContainer<TaskRsrcContainer>
{
};
