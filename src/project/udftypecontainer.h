#pragma once

#include "basecontainer.h"

// Rows of the "UDFTYPE" table.
class UdfTypeContainer final : public BaseContainer<UdfTypeContainer>
{
};
