#include "activities.h"

#include "pdparentitemproxymodel.h"
#include "pdrecordsetmodel.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTreeView>

Activities::Activities(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Activities"));
    setWindowTitle(QStringLiteral("Form"));
    resize(400, 300);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    layout->addWidget(m_splitter, 0, 0);

    m_treeView = new QTreeView(m_splitter);
    m_treeView->setObjectName(QStringLiteral("treeView"));
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Uniform heights let the view skip measuring every row, which is what
    // keeps a 200,000-row project scrolling smoothly.
    m_treeView->setUniformRowHeights(true);
    m_splitter->addWidget(m_treeView);

    m_chartArea = new QWidget(m_splitter);
    m_chartArea->setObjectName(QStringLiteral("chartArea"));
    m_chartArea->setAutoFillBackground(true);
    m_splitter->addWidget(m_chartArea);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);

    m_emptyModel = new PdRecordSetModel(this);
    const QStringList emptyColumns{QStringLiteral("Activity ID"), QStringLiteral("Activity Name"),
                                   QStringLiteral("Start"), QStringLiteral("Finish"), QStringLiteral("WBS")};
    m_emptyModel->setRecordSet(QVariantList{QVariant(emptyColumns)});
    m_parentProxy = new PdParentItemProxyModel(this);

    setModels(m_emptyModel, nullptr, nullptr, nullptr, nullptr, true);
}

Activities::~Activities() = default;

void Activities::setModels(QAbstractItemModel *activityModel, QAbstractItemModel *wbsModel,
                           QAbstractItemModel *codeTypeModel, QAbstractItemModel *codeModel,
                           QAbstractItemModel *relationshipModel, bool)
{
    qInfo().nospace() << Q_FUNC_INFO << " start";
    QElapsedTimer timer;
    timer.start();

    m_activityModel = activityModel ? activityModel : m_emptyModel;
    m_wbsModel = wbsModel;
    m_codeTypeModel = codeTypeModel;
    m_codeModel = codeModel;
    m_relationshipModel = relationshipModel;

    m_parentProxy->setSourceModel(m_activityModel);
    if (m_treeView->model() != m_parentProxy)
        m_treeView->setModel(m_parentProxy);

    m_initialRowCount = m_activityModel->rowCount();

    qInfo().nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
}

void Activities::onCloseProject()
{
    setModels(m_emptyModel, nullptr, nullptr, nullptr, nullptr, true);
}
