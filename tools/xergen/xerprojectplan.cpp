#include "xerprojectplan.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

struct Trade {
    const char* name;
    QVector<const char*> activities; // "%1" is the floor or area
    int minDays;
    int maxDays;
};

// Construction trades; the design, procurement and commissioning templates follow.
const QVector<Trade>& trades()
{
    static const QVector<Trade> list {
        { "Earthworks", { "Site clearance", "Excavation", "Dewatering", "Backfill and compaction" }, 3, 12 },
        { "Piling & Foundations", { "Piling rig mobilisation", "Bored piles", "Pile caps", "Ground beams" }, 2, 15 },
        { "Structure", { "Columns and core walls – %1", "Formwork – %1", "Reinforcement – %1", "Pour concrete – %1",
                           "Strip formwork – %1" }, 2, 8 },
        { "Façade", { "Façade brackets – %1", "Install curtain wall – %1", "Glazing – %1", "Sealant and inspection – %1" }, 3, 10 },
        { "MEP Rough-in", { "Ductwork – %1", "Pipework – %1", "Cable trays – %1", "Sprinkler mains – %1" }, 3, 9 },
        { "Finishes", { "Drywall partitions – %1", "Screed – %1", "Suspended ceilings – %1", "Painting – %1",
                          "Floor finishes – %1" }, 3, 10 },
        { "Roofing", { "Roof insulation", "Waterproofing membrane", "Roof drainage", "Rooftop plant installation" }, 2, 8 },
    };
    return list;
}

struct Stage {
    const char* code;
    const char* name;
    QVector<const char*> activities;
    int minDays;
    int maxDays;
};

const QVector<Stage>& designStages()
{
    static const QVector<Stage> list {
        { "CD", "Concept Design", { "Brief review – %1", "%1 concept options", "%1 concept report", "Client approval of %1 concept" }, 3, 10 },
        { "DD", "Developed Design", { "%1 developed design", "Coordinate %1 model", "%1 design review", "Cost check – %1 design" }, 4, 15 },
        { "TD", "Technical Design", { "%1 technical drawings", "%1 specifications", "Issue %1 tender package" }, 5, 15 },
    };
    return list;
}

const QVector<Stage>& procurementStages()
{
    static const QVector<Stage> list {
        { "TEN", "Tender", { "Prepare tender documents – %1", "Tender period – %1", "Tender evaluation – %1" }, 5, 15 },
        { "AWD", "Award & Submittals", { "Award contract – %1", "Shop drawings – %1", "Submittal approval – %1" }, 3, 12 },
        { "FAB", "Fabrication & Delivery", { "Fabrication – %1", "Factory acceptance test – %1", "Delivery to site – %1" }, 2, 25 },
    };
    return list;
}

const QVector<Stage>& commissioningStages()
{
    static const QVector<Stage> list {
        { "TC", "Testing & Commissioning", { "Pre-commissioning checks – %1", "Functional testing – %1",
                                             "Integrated systems test – %1", "Training and O&M manuals – %1" }, 2, 8 },
    };
    return list;
}

struct Named {
    const char* code;
    const char* name;
};

const QVector<Named> kDisciplines { { "ARC", "Architectural" }, { "STR", "Structural" }, { "MEC", "Mechanical" },
    { "ELE", "Electrical" }, { "FAC", "Façade" }, { "LND", "Landscape" }, { "FPR", "Fire Protection" }, { "CIV", "Civil" } };
const QVector<Named> kPackages { { "STL", "Structural steel" }, { "PRE", "Precast concrete" }, { "CWF", "Curtain wall façade" },
    { "ELV", "Elevators" }, { "HVA", "HVAC equipment" }, { "SWG", "Switchgear" }, { "WIN", "Windows and doors" }, { "ROF", "Roofing" } };
const QVector<Named> kBuildings { { "BA", "Building A – Office Tower" }, { "BB", "Building B – Residential" },
    { "AER", "Ærø Wing" }, { "PRK", "Parking Garage" }, { "CAF", "Café Pavilion" }, { "ENC", "Energy Centre" } };
const QVector<Named> kSystems { { "HVAC", "HVAC" }, { "ELEC", "Electrical" }, { "FA", "Fire alarm" }, { "LIFT", "Elevators" },
    { "BMS", "Building management system" } };
const QVector<Named> kFloors { { "FND", "Foundations" }, { "GF", "Ground Floor" }, { "L1", "Level 1" }, { "L2", "Level 2" },
    { "L3", "Level 3" }, { "L4", "Level 4" }, { "RF", "Roof" } };

// Names repeat with a round number once a list is used up, so any activity count works.
void cycled(const QVector<Named>& list, int i, QString* code, QString* name)
{
    const Named& n = list.at(i % list.size());
    const int round = i / list.size();
    *code = QString::fromUtf8(n.code) + (round ? QString::number(round + 1) : QString());
    *name = QString::fromUtf8(n.name) + (round ? QStringLiteral(" %1").arg(round + 1) : QString());
}

} // namespace

bool XerProjectPlan::isStartConstraint(const QString& c)
{
    return c == QLatin1String("CS_MSO") || c == QLatin1String("CS_MSOB") || c == QLatin1String("CS_MANDSTART")
        || c == QLatin1String("CS_MSOA");
}

bool XerProjectPlan::isFinishConstraint(const QString& c)
{
    return c == QLatin1String("CS_MEO") || c == QLatin1String("CS_MEOB") || c == QLatin1String("CS_MANDFIN")
        || c == QLatin1String("CS_MEOA");
}

namespace {

bool isMilestone(XerProjectPlan::Kind k)
{
    return k == XerProjectPlan::Kind::StartMilestone || k == XerProjectPlan::Kind::FinishMilestone;
}

int lagDays(double hours)
{
    return int(std::floor(hours / 8.0));
}

} // namespace

const char* XerProjectPlan::phaseCode(int phase)
{
    static const char* const codes[] = { "DES", "PRC", "CON", "COM" };
    return codes[phase];
}

QString XerProjectPlan::tradeName(int trade)
{
    return QString::fromUtf8(trades().at(trade).name);
}

int XerProjectPlan::tradeCount()
{
    return trades().size();
}

int XerProjectPlan::addWbs(int parentIndex, const QString& code, const QString& name)
{
    WbsNode node;
    node.id = 2000 + m_wbs.size();
    node.parentId = parentIndex < 0 ? 1999 : m_wbs.at(parentIndex).id;
    node.depth = parentIndex < 0 ? 0 : m_wbs.at(parentIndex).depth + 1;
    node.seq = parentIndex < 0 ? 0 : 10 * m_childCount[parentIndex]++;
    node.code = code;
    node.name = name;
    m_wbs.append(node);
    m_childCount.append(0);
    return m_wbs.size() - 1;
}

int XerProjectPlan::addActivity(int wbsIndex, int phase, int trade, const QString& name, Kind kind, int duration)
{
    Activity a {};
    a.id = kFirstActivityId + m_activities.size();
    a.wbsIndex = wbsIndex;
    a.phase = phase;
    a.trade = trade;
    a.code = QStringLiteral("%1%2").arg(QLatin1String(phase < 0 ? "MS" : phaseCode(phase))).arg(1000 + 10 * m_phaseCounter[phase + 1]++);
    a.name = name;
    a.kind = kind;
    a.duration = isMilestone(kind) ? 0 : std::max(1, duration);
    a.constraintShift = 0;
    a.constraintDay = -1;
    a.secondaryConstraintDay = -1;
    m_activities.append(a);
    return m_activities.size() - 1;
}

void XerProjectPlan::link(int pred, int succ, Link type, double lagHours)
{
    if (pred >= 0 && succ > pred)
        m_relations.append({ pred, succ, type, lagHours });
}

XerProjectPlan::XerProjectPlan(std::uint64_t seed, int activityCount)
    : m_random(seed)
    , m_phaseCounter(kPhaseCount + 1, 0)
{
    const int n = std::max(0, activityCount);
    m_activities.reserve(n);
    m_relations.reserve(n + n / 2);
    m_wbs.reserve(n / 3 + 16);
    const int root = addWbs(-1, QStringLiteral("HQ"), QStringLiteral("Harbour Quarter Mixed-Use Development"));

    const bool withMilestones = n >= 20;
    const int rest = withMilestones ? n - 8 : n;
    int budget[kPhaseCount] = { rest * 10 / 100, rest * 12 / 100, 0, rest * 8 / 100 };
    if (!withMilestones)
        budget[0] = budget[1] = budget[3] = 0;
    budget[2] = rest - budget[0] - budget[1] - budget[3];

    const int msWbs = withMilestones ? addWbs(root, QStringLiteral("MS"), QStringLiteral("Key Milestones")) : -1;
    auto milestone = [&](const char* name, Kind kind) {
        return withMilestones ? addActivity(msWbs, -1, -1, QString::fromUtf8(name), kind, 0) : -1;
    };

    const int ntp = milestone("Notice to Proceed", Kind::StartMilestone);
    if (ntp >= 0) {
        m_activities[ntp].constraint = QStringLiteral("CS_MSO");
        m_activities[ntp].constraintShift = -1;
        m_activities[ntp].constraintDay = 0;
    }

    QVector<int> ends;
    buildPhase(0, budget[0], ntp, 0, 40, ends);
    const int freeze = milestone("Design Freeze", Kind::FinishMilestone);
    for (int e : ends)
        link(e, freeze, Link::FS, 0);
    const int permit = milestone("Building Permit Granted", Kind::FinishMilestone);
    link(freeze, permit, Link::FS, 80);

    ends.clear();
    buildPhase(1, budget[1], ntp, 15, 140, ends);
    const int procured = milestone("Procurement Complete", Kind::FinishMilestone);
    for (int e : ends)
        link(e, procured, Link::FS, 0);

    ends.clear();
    buildPhase(2, budget[2], permit, 100, 190, ends);
    const int toppedOut = milestone("Structure Topped Out", Kind::FinishMilestone);
    const int structure = 2;
    for (int i = 0; i < m_activities.size(); ++i) {
        if (m_activities.at(i).phase == 2 && m_activities.at(i).trade == structure && toppedOut >= 0
            && m_activities.at(i).name.startsWith(QLatin1String("Strip formwork – Roof")))
            link(i, toppedOut, Link::FF, 0);
    }
    const int built = milestone("Construction Complete", Kind::FinishMilestone);
    for (int e : ends)
        link(e, built, Link::FS, 0);
    link(procured, built, Link::FS, 0);
    link(toppedOut, built, Link::FS, 0);

    ends.clear();
    buildPhase(3, budget[3], built, 0, 0, ends);
    const int substantial = milestone("Substantial Completion", Kind::FinishMilestone);
    for (int e : ends)
        link(e, substantial, Link::FS, 0);
    link(built, substantial, Link::FS, 16);
    if (substantial >= 0) {
        m_activities[substantial].constraint = QStringLiteral("CS_MEOB");
        m_activities[substantial].constraintShift = 0;
    }
    const int handover = milestone("Project Handover", Kind::FinishMilestone);
    link(substantial, handover, Link::FS, 40);
    if (handover >= 0) {
        m_activities[handover].constraint = QStringLiteral("CS_MANDFIN");
        m_activities[handover].constraintShift = 0;
    }

    schedule();
}

void XerProjectPlan::buildPhase(int phase, int budget, int gate, int windowStart, int windowEnd, QVector<int>& areaEnds)
{
    if (budget <= 0)
        return;
    static const char* const phaseNames[] = { "Design & Permits", "Procurement", "Construction", "Commissioning & Handover" };
    const int phaseWbs = addWbs(0, QString::fromLatin1(phaseCode(phase)), QString::fromUtf8(phaseNames[phase]));
    const int perArea[] = { 11, 9, 75, 4 };
    const int areaEstimate = std::max(1, (budget + perArea[phase] - 1) / perArea[phase]);
    static const QStringList startConstraints { "CS_MSO", "CS_MSOB", "CS_MANDSTART", "CS_MSOA" };
    static const QStringList finishConstraints { "CS_MEO", "CS_MEOB", "CS_MANDFIN", "CS_MEOA" };

    int left = budget;
    for (int area = 0; left > 0; ++area) {
        QString areaCode, areaName;
        const QVector<Named>& areaList = phase == 0 ? kDisciplines : phase == 1 ? kPackages : phase == 2 ? kBuildings : kSystems;
        cycled(areaList, area, &areaCode, &areaName);
        const int areaWbs = addWbs(phaseWbs, areaCode, areaName);
        const int areaFirst = m_activities.size();
        const int windowDay = windowStart + int(qint64(windowEnd - windowStart) * area / areaEstimate);

        // One leaf = one WBS node with a short chain of activities.
        struct Leaf {
            int wbs;
            int trade;
            QVector<const char*> names;
            QString place;
            int minDays, maxDays;
        };
        QVector<Leaf> leaves;
        if (phase == 2) {
            const int floors = m_random.between(3, 6);
            for (int f = 0; f < floors; ++f) {
                const int floorIndex = f == 0 ? 0 : (f == floors - 1 ? kFloors.size() - 1 : f);
                const Named floor = kFloors.at(floorIndex);
                const int floorWbs = addWbs(areaWbs, QString::fromUtf8(floor.code), QString::fromUtf8(floor.name));
                const QVector<int> tradeIds = floorIndex == 0 ? QVector<int> { 0, 1 }
                    : floorIndex == kFloors.size() - 1 ? QVector<int> { 2, 6, 4 } : QVector<int> { 2, 3, 4, 5 };
                for (int t : tradeIds) {
                    const Trade& tr = trades().at(t);
                    const int leafWbs = addWbs(floorWbs, QString::fromUtf8(tr.name).left(3).toUpper(), QString::fromUtf8(tr.name));
                    leaves.append({ leafWbs, t, tr.activities, QString::fromUtf8(floor.name), tr.minDays, tr.maxDays });
                }
            }
        } else {
            const QVector<Stage>& stages = phase == 0 ? designStages() : phase == 1 ? procurementStages() : commissioningStages();
            for (const Stage& s : stages) {
                const int leafWbs = phase == 3 ? areaWbs : addWbs(areaWbs, QString::fromUtf8(s.code), QString::fromUtf8(s.name));
                leaves.append({ leafWbs, -1, s.activities, areaName, s.minDays, s.maxDays });
            }
        }

        QVector<int> leafFirst;
        int previousStructure = -1;
        int previousLeafLast = -1;
        for (int l = 0; l < leaves.size() && left > 0; ++l) {
            const Leaf& leaf = leaves.at(l);
            const int count = std::min<int>(leaf.names.size(), left);
            int prev = -1;
            for (int k = 0; k < count; ++k) {
                Kind kind = Kind::Task;
                const int roll = m_random.below(100);
                if (phase == 2 && roll < 10)
                    kind = Kind::ResourceDependent;
                else if (roll == 99)
                    kind = Kind::WbsSummary;
                QString name = QString::fromUtf8(leaf.names.at(k));
                if (name.contains(QLatin1String("%1")))
                    name = name.arg(leaf.place);
                const int a = addActivity(leaf.wbs, phase, leaf.trade, name, kind, m_random.between(leaf.minDays, leaf.maxDays));
                --left;
                Activity& act = m_activities[a];
                if (prev >= 0) {
                    const int r = m_random.below(100);
                    if (r < 78)
                        link(prev, a, Link::FS, 0);
                    else if (r < 84)
                        link(prev, a, Link::FS, 8.0 * m_random.between(1, 3));
                    else if (r < 88)
                        link(prev, a, Link::FS, r % 2 ? -8.0 : -4.0);
                    else if (r < 94)
                        link(prev, a, Link::SS, r % 2 ? 12.5 : 4.5);
                    else
                        link(prev, a, Link::FF, r % 2 ? 0.0 : 8.0);
                } else if (l == 0) {
                    link(gate, a, Link::FS, 0);
                    act.constraint = QStringLiteral("CS_MSOA");
                    act.constraintShift = -1;
                    act.constraintDay = windowDay;
                } else if (leafFirst.size() == l) {
                    const int before = leafFirst.at(l - 1);
                    const int lastOfBefore = a - 1;
                    link(std::min(before + 2, lastOfBefore), a, m_random.chance(70) ? Link::FS : Link::SS,
                        m_random.chance(70) ? 0.0 : 16.0);
                }
                if (k == 0 && phase == 2 && leaf.trade == 2) {
                    link(previousStructure, a, Link::FS, 0);
                }
                if (k == 3 && phase == 2 && leaf.trade == 2)
                    previousStructure = a;
                if (act.constraint.isEmpty() && m_random.chance(4)) {
                    const bool start = m_random.chance(50);
                    const QStringList& choices = start ? startConstraints : finishConstraints;
                    act.constraint = choices.at(m_random.below(choices.size()));
                    act.constraintShift = m_random.between(0, 5);
                } else if (act.constraint.isEmpty() && m_random.chance(1)) {
                    act.constraint = QStringLiteral("CS_ALAP");
                }
                if (m_random.chance(1)) {
                    act.secondaryConstraint = QStringLiteral("CS_MEOB");
                    act.secondaryConstraintDay = 0;
                }
                if (prev >= 0 && a - areaFirst > 3 && m_random.chance(3))
                    link(areaFirst + m_random.below(a - areaFirst - 1), a, Link::SF, 0);
                if (k == 0)
                    leafFirst.append(a);
                prev = a;
            }
            // Each leaf finishes no earlier than the one before it, so only the area's last
            // activity is an open end and floats stay those of a closed network.
            link(previousLeafLast, prev, Link::FF, 0);
            previousLeafLast = prev;
        }
        const int areaLast = m_activities.size() - 1;
        if (areaLast >= areaFirst)
            areaEnds.append(areaLast);
        if (phase == 2 && left > 0 && areaLast > areaFirst) {
            const int loe = addActivity(areaWbs, phase, -1, QStringLiteral("Site supervision – %1").arg(areaName), Kind::LevelOfEffort, 1);
            --left;
            link(areaFirst, loe, Link::SS, 0);
            link(areaLast, loe, Link::FF, 0);
        }
    }
}

void XerProjectPlan::schedule()
{
    const int n = m_activities.size();
    // Relations bucketed by successor and by predecessor (counting sort keeps it linear).
    QVector<int> inStart(n + 1, 0), outStart(n + 1, 0);
    for (const Relation& r : m_relations) {
        ++inStart[r.succ + 1];
        ++outStart[r.pred + 1];
    }
    for (int i = 0; i < n; ++i) {
        inStart[i + 1] += inStart[i];
        outStart[i + 1] += outStart[i];
    }
    QVector<int> inList(m_relations.size()), outList(m_relations.size());
    {
        QVector<int> inFill = inStart, outFill = outStart;
        for (int i = 0; i < m_relations.size(); ++i) {
            inList[inFill[m_relations.at(i).succ]++] = i;
            outList[outFill[m_relations.at(i).pred]++] = i;
        }
    }

    auto span = [](const Activity& a) { return std::max(a.duration, 1); };
    // Earliest start the relation allows the successor.
    auto requiredStart = [&](const Relation& r) {
        const Activity& p = m_activities.at(r.pred);
        const Activity& s = m_activities.at(r.succ);
        const int lag = lagDays(r.lagHours);
        const int predEnd = p.kind == Kind::StartMilestone ? p.es - 1 : p.ef;
        switch (r.type) {
        case Link::FS:
            return s.kind == Kind::FinishMilestone ? predEnd + lag : predEnd + 1 + lag;
        case Link::SS:
            return p.es + lag;
        case Link::FF:
            return predEnd + lag - (span(s) - 1);
        case Link::SF:
            return p.es + lag - (span(s) - 1);
        }
        return 0;
    };

    for (int i = 0; i < n; ++i) {
        Activity& a = m_activities[i];
        if (a.kind == Kind::LevelOfEffort) {
            int es = 0, ef = 0;
            for (int k = inStart[i]; k < inStart[i + 1]; ++k) {
                const Relation& r = m_relations.at(inList[k]);
                const Activity& p = m_activities.at(r.pred);
                if (r.type == Link::FF)
                    ef = std::max(ef, p.ef + lagDays(r.lagHours));
                else
                    es = std::max(es, p.es + lagDays(r.lagHours));
            }
            a.es = es;
            a.ef = std::max(es, ef);
            a.duration = a.ef - a.es + 1;
            continue;
        }
        int es = 0;
        for (int k = inStart[i]; k < inStart[i + 1]; ++k)
            es = std::max(es, requiredStart(m_relations.at(inList[k])));
        if (a.constraintShift < 0) {
            es = std::max(es, a.constraintDay);
        } else if (isStartConstraint(a.constraint)) {
            a.constraintDay = es + a.constraintShift;
            es = a.constraintDay;
        } else if (isFinishConstraint(a.constraint)) {
            a.constraintDay = es + span(a) - 1 + a.constraintShift;
            es = a.constraintDay - (span(a) - 1);
        }
        a.es = es;
        a.ef = isMilestone(a.kind) ? es : es + a.duration - 1;
        if (!a.secondaryConstraint.isEmpty())
            a.secondaryConstraintDay = a.ef + 10;
    }

    m_finishDay = 0;
    for (const Activity& a : m_activities)
        m_finishDay = std::max(m_finishDay, a.ef);

    for (Activity& a : m_activities)
        a.lf = m_finishDay;
    for (int i = n - 1; i >= 0; --i) {
        Activity& a = m_activities[i];
        if (a.kind == Kind::LevelOfEffort)
            a.lf = a.ef;
        a.lf = std::max(a.lf, a.ef);
        a.ls = isMilestone(a.kind) ? a.lf : a.lf - span(a) + 1;
        if (a.kind == Kind::LevelOfEffort)
            continue;
        for (int k = inStart[i]; k < inStart[i + 1]; ++k) {
            const Relation& r = m_relations.at(inList[k]);
            Activity& p = m_activities[r.pred];
            const int lag = lagDays(r.lagHours);
            const int shift = p.kind == Kind::StartMilestone ? 1 : 0;
            int limit = p.lf;
            switch (r.type) {
            case Link::FS:
                limit = (a.kind == Kind::FinishMilestone ? a.lf - lag : a.ls - 1 - lag) + shift;
                break;
            case Link::SS:
                limit = a.ls - lag + span(p) - 1;
                break;
            case Link::FF:
                limit = a.lf - lag + shift;
                break;
            case Link::SF:
                limit = a.lf - lag + span(p) - 1;
                break;
            }
            p.lf = std::min(p.lf, limit);
        }
    }

    for (Activity& a : m_activities)
        a.freeFloat = a.lf - a.ef;
    for (const Relation& r : m_relations) {
        if (m_activities.at(r.succ).kind == Kind::LevelOfEffort)
            continue;
        Activity& p = m_activities[r.pred];
        p.freeFloat = std::min(p.freeFloat, std::max(0, m_activities.at(r.succ).es - requiredStart(r)));
    }

    m_dataDay = std::max(1, m_finishDay * 3 / 10);
    for (Activity& a : m_activities) {
        if (a.ef < m_dataDay && a.es < m_dataDay)
            a.status = Status::Complete;
        else if (a.es < m_dataDay)
            a.status = Status::Active;
        else
            a.status = Status::NotStarted;
    }
}
