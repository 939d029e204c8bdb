#include "projectpresentation.h"

#include "activities.h"
#include "layoutmanager.h"
#include "pdgroupedtreeview.h"
#include "pdmodelutils.h"
#include "projectloader.h"
#include "xerloader.h"

#include <QHeaderView>
#include <QTreeView>

namespace {

const char *const DefaultColumns[] = {"Activity ID", "Activity Name", "Activity Type", "Start Date",
                                      "Finish Date", "WBS Code", "WBS Name"};

} // namespace

void presentProject(Activities *activities, ProjectLoader *loader, LayoutManager *layouts)
{
    activities->setModels(loader->model(QStringLiteral("ActivityModel")), loader->model(QStringLiteral("PROJWBS")),
                          loader->model(QStringLiteral("ACTVTYPE")), loader->model(QStringLiteral("ACTVCODE")),
                          loader->model(QStringLiteral("PredecessorModel")), true);

    QStringList columns;
    for (const char *name : DefaultColumns)
        columns.append(QLatin1String(name));
    QTreeView *tree = activities->treeView();
    setVisibleColumns(tree->header(), columns);
    tree->setTreePosition(firstVisibleColumn(tree->header()));
    // Group rows take their dates for the columns now shown.
    activities->onUpdateMergeColumns();

    auto *xerLoader = qobject_cast<XERLoader *>(loader);
    layouts->processP6layouts(xerLoader ? xerLoader->views() : QVariantList());
    layouts->applyLayout(readTextFile(QStringLiteral(":/files/xer_style.json")));
}
