#pragma once

#include <QtGlobal>

#include <functional>

// Runs work in a child process whose files cannot grow past maxBytes, as on a
// full disk: a write beyond it fails with EFBIG. Returns what work returned,
// or -1 when the child did not end normally. The child's checks report
// through that number, since its test failures would not reach the parent.
int runWithFileSizeLimit(qint64 maxBytes, const std::function<int()>& work);
