#pragma once

#include "model/DataSet.h"

#include <memory>

// The tables of the report with their fields and built-in rows, open and with an
// empty change log. Positions as in Razdels(); nullptr for any other position.
std::unique_ptr<DataSet> createRazdelTable(int position);
// The regions list, sorted by KodGai, with the calculated Kod_Name.
std::unique_ptr<DataSet> createTerrTable();
// The error list, empty, sorted by "RazdelKod; ErrorNum".
std::unique_ptr<DataSet> createErrTable();
