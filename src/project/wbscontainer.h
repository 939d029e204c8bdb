#pragma once

#include "basecontainer.h"

// Rows of the "PROJWBS" table.
class WBSContainer final : public BaseContainer<WBSContainer>
{
};
