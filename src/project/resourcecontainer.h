#pragma once

#include "basecontainer.h"

// Rows of the "RSRC" table.
class ResourceContainer final : public BaseContainer<ResourceContainer>
{
};
