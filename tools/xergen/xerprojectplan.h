#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

// Small, fast, portable random source: the same seed gives the same schedule on every
// platform and library, which std:: distributions do not promise.
class XerRandom {
public:
    explicit XerRandom(std::uint64_t seed) : m_state(seed) { }
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : int(next() % std::uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

// A synthetic construction project: WBS tree, activities, relationships and a critical-path
// schedule in working days (day 0 is the first working day of the project).
class XerProjectPlan {
public:
    enum class Kind { Task, ResourceDependent, StartMilestone, FinishMilestone, LevelOfEffort, WbsSummary };
    enum class Status { NotStarted, Active, Complete };
    enum class Link { FS, SS, FF, SF };

    struct WbsNode {
        int id;
        int parentId;
        int seq;
        int depth;
        QString code;
        QString name;
    };

    struct Activity {
        int id;
        int wbsIndex;
        int phase;
        int trade; // -1 when the activity has no trade
        QString code;
        QString name;
        Kind kind;
        int duration; // working days; 0 for milestones
        QString constraint; // P6 constraint type, empty for none
        int constraintShift; // working days the constraint moves the activity
        int constraintDay;
        QString secondaryConstraint;
        int secondaryConstraintDay;
        int es, ef, ls, lf; // working-day indices, finish inclusive
        int freeFloat; // working days
        Status status;
    };

    struct Relation {
        int pred;
        int succ;
        Link type;
        double lagHours;
    };

    XerProjectPlan(std::uint64_t seed, int activityCount);

    static constexpr int kPhaseCount = 4;
    // Far above the WBS ids, so an id names one record whichever table it is looked up in.
    static constexpr int kFirstActivityId = 1000000;
    static bool isStartConstraint(const QString& constraint);
    static bool isFinishConstraint(const QString& constraint);
    static const char* phaseCode(int phase);
    static QString tradeName(int trade);
    static int tradeCount();

    const QVector<WbsNode>& wbs() const { return m_wbs; }
    const QVector<Activity>& activities() const { return m_activities; }
    const QVector<Relation>& relations() const { return m_relations; }
    int dataDay() const { return m_dataDay; }
    int projectFinishDay() const { return m_finishDay; }

private:
    int addWbs(int parentIndex, const QString& code, const QString& name);
    int addActivity(int wbsIndex, int phase, int trade, const QString& name, Kind kind, int duration);
    void link(int pred, int succ, Link type, double lagHours);
    void buildPhase(int phase, int budget, int gate, int windowStart, int windowEnd, QVector<int>& areaEnds);
    void schedule();

    XerRandom m_random;
    QVector<WbsNode> m_wbs;
    QVector<Activity> m_activities;
    QVector<Relation> m_relations;
    QVector<int> m_childCount; // per WBS node, for sibling sequence numbers
    QVector<int> m_phaseCounter;
    int m_dataDay = 0;
    int m_finishDay = 0;
};
