#pragma once

#include "basecontainer.h"

// Rows of the "ACTVTYPE" table.
class ActvTypeContainer final : public BaseContainer<ActvTypeContainer>
{
};
