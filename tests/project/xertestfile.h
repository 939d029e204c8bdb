#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

// Builds small XER files for the loader tests: a header line and tables of
// "%T", "%F" and "%R" lines, joined with the line end asked for.
struct XerTestTable
{
    QString name;
    QStringList fields;
    QList<QStringList> records;
};

inline QByteArray xerText(const QList<XerTestTable> &tables, const QByteArray &lineEnd = "\r\n")
{
    QByteArray text = "ERMHDR\t19.12\t2024-01-15\tProject\tadmin\tAdmin\tdbxDatabaseNoName\tProject Management\tUSD"
        + lineEnd;
    for (const XerTestTable &table : tables) {
        text += "%T\t" + table.name.toUtf8() + lineEnd;
        text += "%F\t" + table.fields.join(QLatin1Char('\t')).toUtf8() + lineEnd;
        for (const QStringList &record : table.records)
            text += "%R\t" + record.join(QLatin1Char('\t')).toUtf8() + lineEnd;
    }
    text += "%E" + lineEnd;
    return text;
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// A small project that touches every catalogued table: two WBS nodes, six
// activities of every type and status, relationships of all four kinds
// (one from an activity of another project), two resources, two code types,
// user fields of activities and of a resource, and two stored views.
inline QList<XerTestTable> smallProjectTables()
{
    return {
        {"PROJWBS",
         {"wbs_id", "proj_id", "seq_num", "wbs_short_name", "wbs_name", "parent_wbs_id", "guid"},
         {{"100", "1", "1", "W1", "Civil", "", "{a}"}, {"101", "1", "2", "W2", "Façade", "100", "{b}"}}},
        {"TASK",
         {"task_id", "proj_id", "wbs_id", "task_code", "task_name", "task_type", "status_code", "cstr_type",
          "cstr_date", "act_start_date", "act_end_date", "target_start_date", "target_end_date",
          "target_drtn_hr_cnt", "cstr_date2", "guid"},
         {{"1", "1", "100", "A1000", "Start", "TT_Mile", "TK_Complete", "", "", "2019-03-04 08:00",
           "2019-03-04 08:00", "2019-03-04 08:00", "2019-03-04 08:00", "0", "", "{1}"},
          {"2", "1", "100", "A1010", "Excavate", "TT_Task", "TK_Active", "CS_MSO", "2019-03-10 08:00",
           "2019-03-05 08:00", "", "2019-03-05 08:00", "2019-03-20 17:00", "80", "", "{2}"},
          {"3", "1", "101", "A1020", "Façade panels", "TT_Task", "TK_NotStart", "CS_MEOB", "2019-05-01 17:00", "",
           "", "2019-04-01 08:00", "2019-04-20 17:00", "120", "", "{3}"},
          {"4", "1", "101", "", "Supervision", "TT_LOE", "TK_NotStart", "CS_MSO", "2019-03-15 08:00", "", "",
           "2019-03-04 08:00", "2019-05-01 17:00", "430.5", "04.03.2019", "{4}"},
          {"5", "1", "101", "A1040", "Finish", "TT_FinMile", "TK_NotStart", "", "", "", "", "2019-05-02 08:00",
           "2019-05-02 08:00", "0", "", "{5}"},
          {"6", "1", "100", "A1050", "Crane hire", "TT_Rsrc", "TK_NotStart", "CS_MANDSTART", "2019-03-11 08:00",
           "", "", "2019-03-12 08:00", "2019-03-18 17:00", "40", "", "{6}"}}},
        {"TASKPRED",
         {"task_pred_id", "task_id", "pred_task_id", "proj_id", "pred_proj_id", "pred_type", "lag_hr_cnt"},
         {{"900", "2", "1", "1", "1", "PR_FS", "8"},
          {"901", "3", "2", "1", "1", "PR_SS", "-4"},
          {"902", "3", "1", "1", "1", "PR_SF", "0"},
          {"903", "5", "3", "1", "1", "PR_FF", "7.5"},
          {"904", "5", "999", "1", "2", "PR_FS", "0"}}},
        {"RSRC",
         {"rsrc_id", "parent_rsrc_id", "rsrc_short_name", "rsrc_name", "rsrc_type"},
         {{"50", "", "ENG", "Engineer", "RT_Labor"}, {"51", "", "CRANE", "Crane", "RT_Equip"}}},
        {"TASKRSRC",
         {"taskrsrc_id", "task_id", "proj_id", "rsrc_id", "target_qty", "act_start_date"},
         {{"300", "2", "1", "50", "80", "2019-03-05 08:00"}, {"301", "3", "1", "51", "40", ""}}},
        {"ACTVTYPE",
         {"actv_code_type_id", "actv_code_type", "actv_code_type_scope", "seq_num"},
         {{"10", "Phase", "AS_Project", "1"}, {"11", "Area", "AS_Global", "2"}}},
        {"ACTVCODE",
         {"actv_code_id", "actv_code_type_id", "short_name", "actv_code_name", "parent_actv_code_id"},
         {{"200", "10", "P1", "Design", ""}, {"201", "10", "P2", "Build", ""}, {"210", "11", "N", "North", ""}}},
        {"TASKACTV",
         {"task_id", "actv_code_type_id", "actv_code_id", "proj_id"},
         {{"1", "10", "200", "1"}, {"2", "10", "201", "1"}, {"2", "11", "210", "1"}, {"3", "10", "201", "1"}}},
        {"UDFTYPE",
         {"udf_type_id", "table_name", "udf_type_name", "udf_type_label", "logical_data_type"},
         {{"70", "TASK", "user_field_70", "Comments", "FT_TEXT"},
          {"71", "TASK", "user_field_71", "Due", "FT_START_DATE"},
          {"72", "RSRC", "user_field_72", "Rate class", "FT_TEXT"},
          {"73", "TASK", "user_field_73", "Weight", "FT_FLOAT_2_DECIMALS"}}},
        {"UDFVALUE",
         {"udf_type_id", "fk_id", "proj_id", "udf_date", "udf_number", "udf_text"},
         {{"70", "1", "1", "", "", "Kick-off"},
          {"71", "2", "1", "2019-03-31 17:00", "", ""},
          {"72", "3", "1", "", "", "Class A"},
          {"73", "3", "1", "", "12.5", ""}}},
        {"VIEWPROP",
         {"view_id", "view_name", "user_id", "data_pos"},
         {{"1", "Default", "1", "[View]Columns=task_code"}, {"2", "Critical", "1", "[View]Filter=critical"}}},
    };
}
