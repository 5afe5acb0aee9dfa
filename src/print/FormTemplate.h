#pragma once

class SpreadsheetApp;

// Lays out the paper form "№ 2-аудит" with its markers on the first sheet of a new
// workbook and protects the sheet with the templates' password. The draft is the same
// form marked as a draft. The caller stores the workbook.
void BuildFormTemplate(SpreadsheetApp& app, bool draft);
