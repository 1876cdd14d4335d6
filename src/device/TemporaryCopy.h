#pragma once

#include <QString>

// Where a device file is fetched to for editing: baseName followed by the
// smallest whole number n >= 0 for which no such file exists, and ".ini", in
// folder (which ends with a separator).
QString TemporaryCopyPath(const QString& folder, const QString& baseName);
