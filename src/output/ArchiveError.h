#pragma once

#include "model/UserError.h"

// A submission archive or checksummed file that cannot be written, found or read: the
// message names the file and the reason.
class ArchiveError : public UserError {
public:
    using UserError::UserError;
};
