#pragma once

#include <QString>
#include <random>

class ReportTables;

// Fills a report with random values of every kind a user can type: texts in the code page
// with "|", "=", spaces at the edges and line breaks (CR LF, lone CR, lone LF), numbers
// with and without decimals, empty cells, membership records of every code. The same seed
// gives the same report. Continuation lines never start like a key or a record, so that
// the export text can be read back unambiguously.
struct RandomReportOptions {
    bool lineBreaks = true; // texts may hold line breaks
    bool totals = true;     // totals recomputed, as the window keeps them
};
void fillRandomReport(ReportTables& tables, std::mt19937& rng, const RandomReportOptions& = {});
