#pragma once

#include "model/DataSet.h"

#include <memory>

// A second cursor over a table with display updates suspended for the length of a
// scope, so a check never moves the user's row or repaints a grid.
class QuietCursor {
public:
    explicit QuietCursor(const DataSet& source) : m_cursor(source.clone())
    {
        m_cursor->disableControls();
    }
    ~QuietCursor() { m_cursor->enableControls(); }
    QuietCursor(const QuietCursor&) = delete;
    QuietCursor& operator=(const QuietCursor&) = delete;

    DataSet* operator->() const { return m_cursor.get(); }
    DataSet& operator*() const { return *m_cursor; }

private:
    std::unique_ptr<DataSet> m_cursor;
};
