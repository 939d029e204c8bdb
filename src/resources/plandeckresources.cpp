#include "plandeckresources.h"

#include <QtGlobal>

#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerPlandeckResources()
{
    Q_INIT_RESOURCE(plandeck);
}

namespace plandeck {

void initResources()
{
    static std::once_flag once;
    std::call_once(once, registerPlandeckResources);
}

QStringList iconResourcePaths()
{
    static const char* const names[] = {
        "pyramid_128.png", "pyramid_48.png", "red_pyramid.png", "project-add2_32.png",
        "table_column_f_32.png", "table_column_filter_32.png", "network_diagram_f_32.png",
        "details_32.png", "gantt_chart-gear_32.png", "export_to_csv_32.png", "expand_all_32.png",
        "collapse_all_32.png", "expand_32.png", "remove_32.png", "outline_32.png",
        "table_stack.png", "time_f_32.png", "resource_human-task.png",
        "button_rounded_blue_left_32.png", "button_rounded_blue_right_32.png",
        "button_rounded_blue_up_32.png", "button_rounded_blue_down_32.png", "task_label_32.png",
        "task_position_predecessors.png", "task_position_successors.png", "sort_az_32.png",
        "sort_za_32.png", "filter-delete_32.png", "filter_16.png", "filter_up_16.png",
        "filter_down_16.png", "arrow_up_16.png", "arrow_down_16.png",
        "character_bold_small.png", "character_italic_small.png",
        "character_underline_small.png",
    };
    QStringList paths;
    for (const char* name : names)
        paths << QStringLiteral(":/images/") + QLatin1String(name);
    return paths;
}

} // namespace plandeck
