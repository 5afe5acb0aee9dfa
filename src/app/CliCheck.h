#pragma once

#include <QString>

class DataSet;

// Prints the error list, one TAB-separated line per record (see ErrorListLines).
void printErrorList(DataSet& err);
// Prints "Ошибок: N, предупреждений: M".
void printErrorSummary(int errors, int warnings);
