#pragma once

#include "model/UserError.h"

// A failed call into the spreadsheet application; the text is shown to the user.
class SpreadsheetError : public UserError {
public:
    using UserError::UserError;
};

// The application could not be created: not installed, not starting or not answering.
class SpreadsheetStartError : public SpreadsheetError {
public:
    using SpreadsheetError::SpreadsheetError;
};

// The user gave up waiting for the application; the command ends without a message.
class SpreadsheetCancelled : public SpreadsheetError {
public:
    using SpreadsheetError::SpreadsheetError;
};
