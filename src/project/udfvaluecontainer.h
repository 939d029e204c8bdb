#pragma once

#include "basecontainer.h"

// Rows of the "UDFVALUE" table.
class UdfValueContainer final : public BaseContainer<UdfValueContainer>
{
};
