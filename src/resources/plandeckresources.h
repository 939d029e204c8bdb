#pragma once

#include <QStringList>

namespace plandeck {

// Registers the embedded catalogue, default layout and icons. Static libraries
// drop their resources unless something references the initialiser, so every
// program and test that reads ":/" paths calls this first. Safe to call often.
void initResources();

// Every icon path under ":/images/" that the program refers to.
QStringList iconResourcePaths();

} // namespace plandeck
