#pragma once

#include "basecontainer.h"

// Rows of the "ACTVCODE" table.
class ActvCodeContainer final : public BaseContainer<ActvCodeContainer>
{
};
