#pragma once

#include <exception>

// Ends the operation in progress without any message (a hook refusing an edit or post).
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "aborted"; }
};
