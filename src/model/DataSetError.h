#pragma once

#include "model/UserError.h"

#include <exception>

// A failure of a table operation: unknown field, bad conversion, forbidden state, file I/O.
// The message is Russian and meant for the user.
class DataSetError : public UserError {
public:
    using UserError::UserError;
};
