#pragma once

class Activities;
class LayoutManager;
class ProjectLoader;

// Shows a finished load in the activities view: hands over its models,
// turns the views stored in the schedule into layouts and applies the
// default layout. The window and the command-line export both go through
// here, so an exported file holds what the window would show.
void presentProject(Activities *activities, ProjectLoader *loader, LayoutManager *layouts);
