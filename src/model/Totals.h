#pragma once

class DataSet;
class ReportTables;

// Recomputes every total of the section at `position` in `table` (sections 1 to 4;
// other positions are left alone). A pending edit of the table is posted first.
void CalcRazdel(int position, DataSet* table);
// CalcRazdel for every section of the report.
void CalcAllRazdels(ReportTables& tables);
