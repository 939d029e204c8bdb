#include "xergenerator.h"

#include "xerprojectplan.h"

#include <QBuffer>
#include <QDate>
#include <QIODevice>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kProjectId = 4711;
constexpr int kCalendarId = 597;
constexpr int kFlushSize = 1 << 20;
const char* const kStamp = "2026-02-27 14:05";

using Kind = XerProjectPlan::Kind;
using Status = XerProjectPlan::Status;

struct Resource {
    int parent; // index or -1
    const char* code;
    const char* name;
    const char* type;
    const char* title;
    double rate;
};

const Resource kResources[] = {
    { -1, "SITE", "Site Management", "RT_Labor", "", 0 },
    { 0, "HMUELLER", "Hans Müller", "RT_Labor", "Site Manager", 95 },
    { 0, "SAERO", "Søren Ærø", "RT_Labor", "Project Engineer", 82 },
    { -1, "DESIGN", "Design Team", "RT_Labor", "", 0 },
    { 3, "ARCH", "Architects", "RT_Labor", "Architect", 110 },
    { 3, "STRENG", "Structural Engineers", "RT_Labor", "Engineer", 105 },
    { 3, "MEPENG", "MEP Engineers", "RT_Labor", "Engineer", 100 },
    { -1, "CREWS", "Construction Crews", "RT_Labor", "", 0 },
    { 7, "CARP", "Carpenters", "RT_Labor", "", 58 },
    { 7, "STFX", "Steel Fixers", "RT_Labor", "", 61 },
    { 7, "CONC", "Concrete Gang", "RT_Labor", "", 55 },
    { 7, "FACINST", "Façade Installers", "RT_Labor", "", 66 },
    { 7, "ELEC", "Electricians", "RT_Labor", "", 68 },
    { 7, "PIPE", "Pipefitters", "RT_Labor", "", 67 },
    { 7, "DRY", "Drywall Crew", "RT_Labor", "", 52 },
    { 7, "PAINT", "Painters", "RT_Labor", "", 49 },
    { 7, "EARTH", "Earthworks Crew", "RT_Labor", "", 57 },
    { -1, "EQUIP", "Equipment", "RT_Equip", "", 0 },
    { 17, "TC-1", "Tower Crane TC-1", "RT_Equip", "", 145 },
    { 17, "PUMP", "Concrete Pump", "RT_Equip", "", 120 },
    { 17, "EX30", "Excavator 30t", "RT_Equip", "", 135 },
    { -1, "MAT", "Materials", "RT_Mat", "", 0 },
    { 21, "C30", "Ready-Mix Concrete C30/37", "RT_Mat", "", 142.5 },
    { 21, "REBAR", "Reinforcement Steel", "RT_Mat", "", 1.15 },
    { -1, "COMM", "Commissioning Team", "RT_Labor", "", 90 },
    { -1, "PROC", "Procurement Officer", "RT_Labor", "Buyer", 75 },
    { -1, "", "Temporary Labour", "RT_Labor", "", 40 },
};
constexpr int kResourceCount = int(sizeof(kResources) / sizeof(kResources[0]));

// Preferred crews per construction trade (index into kResources); a second entry is a helper.
const int kTradeCrews[][2] = { { 16, 20 }, { 10, 20 }, { 10, 18 }, { 11, 18 }, { 12, 13 }, { 14, 15 }, { 8, 26 } };

struct Code {
    int id;
    int parentId; // 0 when none
    int type;
    const char* shortName;
    const char* name;
    const char* color;
};

const Code kCodes[] = {
    { 100, 0, 1, "DES", "Design & Permits", "" },
    { 101, 0, 1, "PRC", "Procurement", "" },
    { 102, 0, 1, "CON", "Construction", "" },
    { 103, 0, 1, "COM", "Commissioning & Handover", "" },
    { 200, 0, 2, "OWN", "Owner", "0000FF" },
    { 201, 200, 2, "OWN-DES", "Design Consultants", "" },
    { 202, 0, 2, "GC", "General Contractor", "FF8000" },
    { 203, 202, 2, "GC-CIV", "Civil & Structure", "" },
    { 204, 202, 2, "GC-FIN", "Fit-out", "" },
    { 205, 0, 2, "SUB", "Subcontractors", "008000" },
    { 206, 205, 2, "SUB-MEP", "Müller Haustechnik GmbH", "" },
    { 207, 205, 2, "SUB-FAC", "Façades Ærø A/S", "" },
    { 208, 205, 2, "SUB-ELV", "Élévateurs Lyon SA", "" },
};

// Responsible party per construction trade.
const int kTradeParty[] = { 203, 203, 203, 207, 206, 204, 204 };

QByteArray number(double value)
{
    if (std::fabs(value - std::round(value)) < 1e-9 && std::fabs(value) < 1e15)
        return QByteArray::number(qint64(std::llround(value)));
    QByteArray text = QByteArray::number(value, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    return text;
}

QByteArray guid(XerRandom& random)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray text(22, Qt::Uninitialized);
    for (int i = 0; i < 22; ++i)
        text[i] = alphabet[random.below(64)];
    return text;
}

// Working day to calendar date: five working days a week from Monday 2 March 2026.
QByteArray workingDay(int day)
{
    const int week = day >= 0 ? day / 5 : -((4 - day) / 5);
    return QDate(2026, 3, 2).addDays(qint64(week) * 7 + (day - week * 5)).toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
}

QByteArray viewNode(const QByteArray& name, const QByteArray& attributes, const QByteArray& children)
{
    return "(0||" + name + "(" + attributes + ")(" + children + "))";
}

QByteArray viewData(const QVector<QPair<QByteArray, QByteArray>>& columns, const QByteArray& group,
    const QVector<QByteArray>& sorts)
{
    QByteArray columnNodes;
    for (const auto& c : columns)
        columnNodes += viewNode(c.first, c.second, {});
    QByteArray sortNodes;
    for (int i = 0; i < sorts.size(); ++i)
        sortNodes += viewNode("Item" + QByteArray::number(i + 1), sorts.at(i), {});
    QByteArray taskView;
    if (!columns.isEmpty())
        taskView += viewNode("Columns", {}, columnNodes);
    taskView += viewNode("GroupSortBy", {},
        viewNode("GroupBys", {}, group.isEmpty() ? QByteArray() : viewNode("Item1", group, {}))
            + viewNode("SortBys", {}, sortNodes));
    return viewNode("ViewSettings", "version|8", viewNode("TaskView", "view_type|VT_Activity|bar_height|11", taskView));
}

} // namespace

XerGenerator::XerGenerator(std::uint64_t seed, int activityCount)
    : m_seed(seed)
    , m_activityCount(activityCount)
{
}

bool XerGenerator::write(QIODevice* out)
{
    m_out = out;
    m_error.clear();
    m_buffer.clear();
    m_buffer.reserve(kFlushSize + 64 * 1024);
    XerProjectPlan plan(m_seed, m_activityCount);
    writeTables(plan);
    flush();
    m_out = nullptr;
    return m_error.isEmpty();
}

QByteArray XerGenerator::toByteArray()
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    write(&buffer);
    return data;
}

void XerGenerator::flush()
{
    if (m_out && m_error.isEmpty() && !m_buffer.isEmpty()) {
        if (m_out->write(m_buffer) != m_buffer.size())
            m_error = m_out->errorString().isEmpty() ? QStringLiteral("write failed") : m_out->errorString();
    }
    m_buffer.clear();
}

void XerGenerator::table(const char* name, const char* fields)
{
    m_buffer += "%T\t";
    m_buffer += name;
    m_buffer += "\r\n%F\t";
    m_buffer += fields;
    m_buffer += "\r\n";
}

void XerGenerator::row()
{
    m_buffer += "%R";
}

void XerGenerator::end()
{
    m_buffer += "\r\n";
    if (m_buffer.size() >= kFlushSize)
        flush();
}

void XerGenerator::f(const QByteArray& text)
{
    m_buffer += '\t';
    m_buffer += text;
}

void XerGenerator::f(const char* text)
{
    m_buffer += '\t';
    m_buffer += text;
}

void XerGenerator::f(qint64 value)
{
    m_buffer += '\t';
    m_buffer += QByteArray::number(value);
}

void XerGenerator::f(double value)
{
    m_buffer += '\t';
    m_buffer += number(value);
}

void XerGenerator::empty(int count)
{
    m_buffer.append(count, '\t');
}

void XerGenerator::date(int day, bool finish)
{
    const int index = day - m_dateBase;
    if (index >= 0 && index < m_startDates.size())
        f(finish ? m_finishDates.at(index) : m_startDates.at(index));
    else
        f(workingDay(day) + (finish ? " 16:00" : " 08:00"));
}

void XerGenerator::writeTables(const XerProjectPlan& plan)
{
    XerRandom random(m_seed ^ 0x5DEECE66Dull);
    const auto& acts = plan.activities();
    const auto& wbs = plan.wbs();
    const int dataDay = plan.dataDay();
    const int finishDay = plan.projectFinishDay();

    // Formatting dates dominates the run time, and a schedule spans only a few hundred days.
    m_startDates.clear();
    m_finishDates.clear();
    m_dateBase = -64;
    for (int day = m_dateBase; day <= finishDay + 64; ++day) {
        const QByteArray d = workingDay(day);
        m_startDates.append(d + " 08:00");
        m_finishDates.append(d + " 16:00");
    }

    m_buffer += "ERMHDR\t23.12\t2026-02-27\tProject\tadmin\tPlandeck Demo\tdbxDatabaseNoName\tProject Management\tUSD\r\n";

    // Tables the viewer does not read come first, as in a real export.
    table("CURRTYPE", "curr_id\tdecimal_digit_cnt\tcurr_symbol\tdecimal_symbol\tdigit_group_symbol\tpos_curr_fmt_type\tneg_curr_fmt_type\tcurr_type\tcurr_short_name\tgroup_digit_cnt\tbase_exch_rate");
    m_buffer += "%R\t1\t2\t$\t.\t,\t#1.1\t(#1.1)\tUS Dollar\tUSD\t3\t1\r\n";
    m_buffer += "%R\t2\t2\t€\t,\t.\t1.1 #\t-1.1 #\tEuro\tEUR\t3\t0.92\r\n";
    m_buffer += "%R\t3\t2\t£\t.\t,\t#1.1\t-#1.1\tPound Sterling\tGBP\t3\t0.79\r\n";
    table("OBS", "obs_id\tparent_obs_id\tguid\tseq_num\tobs_name\tobs_descr");
    row(); f(1); empty(); f(guid(random)); f(0); f("Enterprise"); empty(); end();
    row(); f(2); f(1); f(guid(random)); f(10); f("Harbour Quarter Project Team"); empty(); end();

    table("PROJECT", "proj_id\tfy_start_month_num\tproj_short_name\tclndr_id\tplan_start_date\tplan_end_date\tscd_end_date\tlast_recalc_date\tadd_date\tguid\tdef_duration_type\ttask_code_prefix\tadd_by_name");
    row(); f(kProjectId); f(1); f("HQ-2026"); f(kCalendarId); date(0, false); date(finishDay, true); date(finishDay, true);
    date(dataDay, false); f(kStamp); f(guid(random)); f("DT_FixedDUR2"); f("A"); f("admin"); end();

    table("CALENDAR", "clndr_id\tdefault_flag\tclndr_name\tproj_id\tbase_clndr_id\tlast_chng_date\tclndr_type\tday_hr_cnt\tweek_hr_cnt\tmonth_hr_cnt\tyear_hr_cnt\tclndr_data");
    {
        QByteArray days;
        for (int d = 1; d <= 7; ++d) {
            const bool work = d >= 2 && d <= 6;
            days += viewNode(QByteArray::number(d), {}, work ? viewNode("0", "f|16:00|s|08:00", {}) : QByteArray());
        }
        const QByteArray data = viewNode("CalendarData", {}, viewNode("DaysOfWeek", {}, days) + viewNode("Exceptions", {},
            viewNode("0", "d|46381", {}) + viewNode("1", "d|46386", {})));
        row(); f(kCalendarId); f("Y"); f("Standard 5 Day Workweek"); f(kProjectId); empty(); f(kStamp); f("CA_Project");
        f(8); f(40); f(172); f(2000); f(data); end();
    }

    table("SCHEDOPTIONS", "schedoptions_id\tproj_id\tsched_outer_depend_type\tsched_open_critical_flag\tsched_lag_early_start_flag\tsched_retained_logic\tsched_float_type");
    row(); f(1); f(kProjectId); f("SD_Both"); f("N"); f("Y"); f("Y"); f("FT_FreeFloat"); end();

    table("PROJWBS", "wbs_id\tproj_id\tobs_id\tseq_num\test_wt\tproj_node_flag\tsum_data_flag\tstatus_code\twbs_short_name\twbs_name\tphase_id\tparent_wbs_id\tev_user_pct\tev_etc_user_value\torig_cost\tindep_remain_total_cost\tann_dscnt_rate_pct\tdscnt_period_type\tindep_remain_work_qty\tanticip_start_date\tanticip_end_date\tev_compute_type\tev_etc_compute_type\tguid\ttmpl_guid\tplan_open_state");
    for (const auto& node : wbs) {
        row(); f(node.id); f(kProjectId); f(2); f(node.seq); f(1); f(node.depth == 0 ? "Y" : "N"); f("N"); f("WS_Open");
        f(node.code); f(node.name); empty(); f(node.parentId); f(6); f(0.88); f(0); f(0); empty(); empty(); f(0);
        if (node.depth == 1 && node.code != QLatin1String("MS")) {
            date(0, false);
            date(finishDay, true);
        } else {
            empty(2);
        }
        f("EC_Cmp_pct"); f("EE_Rem_hr"); f(guid(random)); empty(); empty(); end();
    }

    table("ACTVTYPE", "actv_code_type_id\tactv_short_len\tseq_num\tactv_code_type\tproj_id\twbs_id\tactv_code_type_scope\tsuper_flag");
    row(); f(1); f(3); f(10); f("Phase"); empty(); empty(); f("AS_Global"); f("N"); end();
    row(); f(2); f(8); f(20); f("Responsible Party"); f(kProjectId); empty(); f("AS_Project"); f("N"); end();
    row(); f(3); f(4); f(30); f("Trade"); empty(); empty(); f("AS_EPS"); f("N"); end();

    table("RSRC", "rsrc_id\tparent_rsrc_id\tclndr_id\trole_id\tshift_id\tuser_id\tpobs_id\tguid\trsrc_seq_num\temail_addr\temployee_code\toffice_phone\tother_phone\trsrc_name\trsrc_short_name\trsrc_title_name\tdef_qty_per_hr\tcost_qty_type\tot_factor\tactive_flag\tauto_compute_act_flag\tdef_cost_qty_link_flag\tot_flag\tcurr_id\tunit_id\trsrc_type\tlocation_id\trsrc_notes\tload_tasks_flag\tlevel_flag\tlast_checksum");
    for (int i = 0; i < kResourceCount; ++i) {
        const Resource& r = kResources[i];
        row(); f(300 + i);
        if (r.parent >= 0)
            f(300 + r.parent);
        else
            empty();
        f(kCalendarId); empty(4); f(guid(random)); f(i * 10); empty(4); f(QString::fromUtf8(r.name)); f(r.code);
        f(QString::fromUtf8(r.title)); f(1); f("QT_Hour"); empty(); f("Y"); f("N"); f("Y"); f("N"); f(1);
        if (qstrcmp(r.type, "RT_Mat") == 0)
            f(3);
        else
            empty();
        f(r.type); empty(2); f("N"); f("Y"); empty(); end();
    }

    table("ACTVCODE", "actv_code_id\tparent_actv_code_id\tactv_code_type_id\tactv_code_name\tshort_name\tseq_num\tcolor\ttotal_assignments");
    for (const Code& c : kCodes) {
        row(); f(c.id);
        if (c.parentId)
            f(c.parentId);
        else
            empty();
        f(c.type); f(QString::fromUtf8(c.name)); f(c.shortName); f(c.id % 100 * 10); f(c.color); f(0); end();
    }
    for (int t = 0; t < XerProjectPlan::tradeCount(); ++t) {
        const QString name = XerProjectPlan::tradeName(t);
        row(); f(300 + t); empty(); f(3); f(name); f(name.left(3).toUpper()); f(t * 10); empty(); f(0); end();
    }

    table("UDFTYPE", "udf_type_id\ttable_name\tudf_type_name\tudf_type_label\tlogical_data_type\tsuper_flag\tindicator_expression\tsummary_indicator_expression\texport_flag");
    row(); f(101); f("TASK"); f("user_field_101"); f("Design Package"); f("FT_TEXT"); f("N"); empty(2); f("Y"); end();
    row(); f(102); f("TASK"); f("user_field_102"); f("Permit Date"); f("FT_START_DATE"); f("N"); empty(2); f("Y"); end();
    row(); f(103); f("TASK"); f("user_field_103"); f("Crew Size"); f("FT_INT"); f("N"); empty(2); f("Y"); end();
    row(); f(104); f("PROJWBS"); f("user_field_104"); f("WBS Owner"); f("FT_TEXT"); f("N"); empty(2); f("Y"); end();

    // Resource choice per activity, decided once so TASK.rsrc_id and TASKRSRC agree.
    QVector<int> primary(acts.size(), -1), helper(acts.size(), -1);
    for (int i = 0; i < acts.size(); ++i) {
        const auto& a = acts.at(i);
        if (a.kind == Kind::StartMilestone || a.kind == Kind::FinishMilestone || random.chance(20))
            continue;
        if (a.kind == Kind::LevelOfEffort)
            primary[i] = 1 + random.below(2);
        else if (a.phase == 0)
            primary[i] = 4 + random.below(3);
        else if (a.phase == 1)
            primary[i] = 25;
        else if (a.phase == 3)
            primary[i] = 24;
        else if (a.trade >= 0)
            primary[i] = kTradeCrews[a.trade][0];
        if (primary[i] >= 0 && random.chance(30)) {
            const int second = a.phase == 2 && a.trade >= 0 ? kTradeCrews[a.trade][1] : a.phase == 3 ? 12 : 2;
            if (second != primary[i])
                helper[i] = second;
        }
    }

    table("TASK", "task_id\tproj_id\twbs_id\tclndr_id\tphys_complete_pct\trev_fdbk_flag\test_wt\tlock_plan_flag\tauto_compute_act_flag\tcomplete_pct_type\ttask_type\tduration_type\tstatus_code\ttask_code\ttask_name\trsrc_id\ttotal_float_hr_cnt\tfree_float_hr_cnt\tremain_drtn_hr_cnt\tact_work_qty\tremain_work_qty\ttarget_work_qty\ttarget_drtn_hr_cnt\ttarget_equip_qty\tact_equip_qty\tremain_equip_qty\tcstr_date\tact_start_date\tact_end_date\tlate_start_date\tlate_end_date\texpect_end_date\tearly_start_date\tearly_end_date\trestart_date\treend_date\ttarget_start_date\ttarget_end_date\trem_late_start_date\trem_late_end_date\tcstr_type\tpriority_type\tsuspend_date\tresume_date\tfloat_path\tfloat_path_order\tguid\ttmpl_guid\tcstr_date2\tcstr_type2\tdriving_path_flag\tact_this_per_work_qty\tact_this_per_equip_qty\texternal_early_start_date\texternal_late_end_date\tcreate_date\tupdate_date\tcreate_user\tupdate_user\tlocation_id");
    int criticalOrder = 0;
    for (int i = 0; i < acts.size(); ++i) {
        const auto& a = acts.at(i);
        const bool milestone = a.kind == Kind::StartMilestone || a.kind == Kind::FinishMilestone;
        const bool finishAtEnd = a.kind != Kind::StartMilestone;
        const bool complete = a.status == Status::Complete;
        const bool active = a.status == Status::Active;
        const int remainDays = complete ? 0 : active ? a.ef - dataDay + 1 : (milestone ? 0 : a.duration);
        const double work = primary[i] >= 0 ? a.duration * 8.0 * (helper[i] >= 0 ? 2 : 1) : 0.0;
        const double doneShare = milestone ? (complete ? 1.0 : 0.0) : double(a.duration - remainDays) / a.duration;
        const int totalFloat = a.lf - a.ef;
        static const char* const types[] = { "TT_Task", "TT_Rsrc", "TT_Mile", "TT_FinMile", "TT_LOE", "TT_WBS" };
        static const char* const statuses[] = { "TK_NotStart", "TK_Active", "TK_Complete" };

        row(); f(a.id); f(kProjectId); f(wbs.at(a.wbsIndex).id); f(kCalendarId); f(std::round(doneShare * 100.0));
        f("N"); f(1); f("N"); f("N"); f("CP_Drtn"); f(types[int(a.kind)]); f("DT_FixedDUR2"); f(statuses[int(a.status)]);
        f(a.code); f(a.name);
        if (primary[i] >= 0)
            f(300 + primary[i]);
        else
            empty();
        if (complete) {
            empty(2);
        } else {
            f(totalFloat * 8.0);
            f(std::min(a.freeFloat, totalFloat) * 8.0);
        }
        f(remainDays * 8.0);
        f(std::round(work * doneShare * 100.0) / 100.0); f(std::round(work * (1.0 - doneShare) * 100.0) / 100.0); f(work);
        f(a.duration * 8.0); f(0); f(0); f(0);
        if (a.constraintDay >= 0 && !a.constraint.isEmpty() && a.constraint != QLatin1String("CS_ALAP"))
            date(a.constraintDay, XerProjectPlan::isFinishConstraint(a.constraint));
        else
            empty();
        if (complete || active)
            date(a.es, false);
        else
            empty();
        if (complete)
            date(a.ef, finishAtEnd);
        else
            empty();
        date(a.ls, milestone && finishAtEnd); date(a.lf, finishAtEnd);
        empty();
        date(active ? dataDay : a.es, milestone && finishAtEnd); date(a.ef, finishAtEnd);
        if (complete) {
            date(a.ef, finishAtEnd); date(a.ef, finishAtEnd);
        } else {
            date(active ? dataDay : a.es, milestone && finishAtEnd); date(a.ef, finishAtEnd);
        }
        date(a.es, milestone && finishAtEnd); date(a.ef, finishAtEnd);
        if (complete) {
            empty(2);
        } else {
            date(std::max(a.ls, dataDay), milestone && finishAtEnd); date(a.lf, finishAtEnd);
        }
        f(a.constraint); f(i % 17 == 0 ? "PT_High" : "PT_Normal"); empty(2);
        if (!complete && totalFloat == 0) {
            f(1); f(++criticalOrder);
        } else {
            empty(2);
        }
        f(guid(random)); empty();
        if (a.secondaryConstraintDay >= 0) {
            date(a.secondaryConstraintDay, true); f(a.secondaryConstraint);
        } else {
            empty(2);
        }
        f(totalFloat == 0 ? "Y" : "N"); f(0); f(0); empty(2);
        f(kStamp); f(kStamp); f("admin"); f(i % 3 ? "admin" : "j.müller"); empty(); end();
    }

    table("TASKACTV", "task_id\tactv_code_type_id\tactv_code_id\tproj_id");
    for (const auto& a : acts) {
        if (a.phase < 0)
            continue;
        row(); f(a.id); f(1); f(100 + a.phase); f(kProjectId); end();
        int party = a.phase == 0 ? 201 : a.phase == 1 ? 202 : a.phase == 3 ? 206 : a.trade >= 0 ? kTradeParty[a.trade] : 202;
        if (a.id % 10 != 7) {
            row(); f(a.id); f(2); f(party); f(kProjectId); end();
        }
        if (a.trade >= 0) {
            row(); f(a.id); f(3); f(300 + a.trade); f(kProjectId); end();
        }
    }

    table("TASKPRED", "task_pred_id\ttask_id\tpred_task_id\tproj_id\tpred_proj_id\tpred_type\tlag_hr_cnt\tcomments\tfloat_path\taref\tarls");
    static const char* const linkTypes[] = { "PR_FS", "PR_SS", "PR_FF", "PR_SF" };
    int relationId = 50000;
    for (const auto& r : plan.relations()) {
        row(); f(relationId++); f(acts.at(r.succ).id); f(acts.at(r.pred).id); f(kProjectId); f(kProjectId);
        f(linkTypes[int(r.type)]); f(r.lagHours); empty(4); end();
    }

    table("TASKRSRC", "taskrsrc_id\ttask_id\tproj_id\tcost_qty_link_flag\trole_id\tacct_id\trsrc_id\tpobs_id\tskill_level\tremain_qty\ttarget_qty\tremain_qty_per_hr\ttarget_lag_drtn_hr_cnt\ttarget_qty_per_hr\tact_ot_qty\tact_reg_qty\trelag_drtn_hr_cnt\tot_factor\tcost_per_qty\ttarget_cost\tact_reg_cost\tact_ot_cost\tremain_cost\tact_start_date\tact_end_date\trestart_date\treend_date\ttarget_start_date\ttarget_end_date\trem_late_start_date\trem_late_end_date\trollup_dates_flag\ttarget_crv\tremain_crv\tactual_crv\tts_pend_act_end_flag\tguid\trate_type\tact_this_per_cost\tact_this_per_qty\tcurv_id\trsrc_type\tcost_per_qty_source_type\tcreate_user\tcreate_date\thas_rsrchours");
    int assignmentId = 70000;
    for (int i = 0; i < acts.size(); ++i) {
        const auto& a = acts.at(i);
        for (int r : { primary[i], helper[i] }) {
            if (r < 0)
                continue;
            const Resource& res = kResources[r];
            const bool complete = a.status == Status::Complete;
            const bool active = a.status == Status::Active;
            const double planned = a.duration * 8.0;
            const double remaining = complete ? 0.0 : active ? (a.ef - dataDay + 1) * 8.0 : planned;
            const double actual = planned - remaining;
            row(); f(assignmentId++); f(a.id); f(kProjectId); f("Y"); empty(2); f(300 + r); empty(2);
            f(remaining); f(planned); f(1); f(0); f(1); f(0); f(actual); f(0); empty(); f(res.rate);
            f(planned * res.rate); f(actual * res.rate); f(0); f(remaining * res.rate);
            if (complete || active)
                date(a.es, false);
            else
                empty();
            if (complete)
                date(a.ef, true);
            else
                empty();
            date(active ? dataDay : a.es, false); date(a.ef, true); date(a.es, false); date(a.ef, true);
            if (complete) {
                empty(2);
            } else {
                date(std::max(a.ls, dataDay), false); date(a.lf, true);
            }
            f("N"); empty(3); f("N"); f(guid(random)); f("COST_PER_QTY"); f(0); f(0); empty(); f(res.type);
            f("ST_Rsrc"); f("admin"); f(kStamp); f("N"); end();
        }
    }

    table("UDFVALUE", "udf_type_id\tfk_id\tproj_id\tudf_date\tudf_number\tudf_text\tudf_code_id");
    for (const auto& node : wbs) {
        if (node.depth == 1) {
            row(); f(104); f(node.id); f(kProjectId); empty(2); f(node.code == QLatin1String("CON") ? "Søren Ærø" : "Hans Müller"); empty(); end();
        }
    }
    for (int i = 0; i < acts.size(); ++i) {
        const auto& a = acts.at(i);
        if (a.phase == 0 || a.phase == 1) {
            row(); f(101); f(a.id); f(kProjectId); empty(2);
            // Every ninth package reference is left blank, as half-filled user fields are common.
            if (i % 9 == 4)
                empty();
            else
                f(QStringLiteral("DP-%1-%2").arg(wbs.at(a.wbsIndex).code).arg(i % 4 + 1, 2, 10, QLatin1Char('0')));
            empty(); end();
        }
        if (a.phase == 2 && i % 7 == 0) {
            row(); f(102); f(a.id); f(kProjectId); date(std::max(0, a.es - 10), false); empty(3); end();
        }
        if (a.phase == 2 && a.kind != Kind::LevelOfEffort && i % 3 != 1) {
            row(); f(103); f(a.id); f(kProjectId); empty(); f(2 + i % 13); empty(2); end();
        }
    }

    table("VIEWPROP", "view_id\tview_name\tview_type\tproj_id\tuser_id\tdata_pos");
    const QByteArray wbsGroupAll = "join_path|PROJWBS|max_level|0";
    const QByteArray wbsGroupTwo = "join_path|PROJWBS|max_level|2";
    row(); f(9001); f("Classic WBS Layout"); f("VT_Activity"); f(kProjectId); f(1);
    f(viewData({ { "task_code", "column_title|Activity ID|width|80" }, { "task_name", "column_title|Activity Name|width|280" },
                   { "target_drtn_hr_cnt", "column_title|Original Duration|width|70" }, { "start_date", "column_title|Start|width|95" },
                   { "end_date", "column_title|Finish|width|95" }, { "total_float_hr_cnt", "column_title|Total Float|width|70" } },
        wbsGroupAll, { "source_field|start_date|sort_type|ASC" }));
    end();
    row(); f(9002); f("Critical Path – Ærø Wing review"); f("VT_Activity"); f(kProjectId); f(1);
    f(viewData({ { "task_code", "column_title|Activity ID|width|90" }, { "task_name", "column_title|Activity Name|width|300" },
                   { "status_code", "column_title|Activity Status|width|90" }, { "total_float_hr_cnt", "column_title|Total Float|width|70" },
                   { "free_float_hr_cnt", "column_title|Free Float|width|70" }, { "wbs_short_name", "column_title|WBS|width|60" } },
        wbsGroupTwo, { "source_field|total_float_hr_cnt|sort_type|ASC", "source_field|task_code|sort_type|desc" }));
    end();
    row(); f(9003); f("Look-ahead (no grouping)"); f("VT_Activity"); f(kProjectId); f(1);
    f(viewData({ { "task_code", "column_title|Activity ID|width|80" }, { "task_name", "column_title|Activity Name|width|260" },
                   { "start_date", "column_title|Start|width|95" }, { "end_date", "column_title|Finish|width|95" },
                   { "act_start_date", "column_title|Actual Start|width|95" } },
        {}, { "source_field|start_date|sort_type|DESC" }));
    end();
    row(); f(9004); f("Blank view"); f("VT_Activity"); f(kProjectId); f(1); f(viewData({}, {}, {})); end();

    m_buffer += "%E\r\n";
}
