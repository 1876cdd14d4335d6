#pragma once

#include "Finding.h"

#include <QList>
#include <QString>

// Checks a skin folder the way the editor and the PDA will see it: every one of
// the 48 screens is bound and loaded by the editor's own code, in the family of
// shared files the folder holds, and the skin manager's upload and activation
// rules are applied to the folder. Needs no widgets.
namespace SkinChecker {

struct Result
{
    bool readable = false; // false: the folder could not be read and nothing was checked
    QList<Finding> findings;
};

Result check(const QString& folder);

} // namespace SkinChecker
