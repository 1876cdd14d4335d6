#pragma once

#include "Finding.h"

#include <QList>
#include <QString>
#include <QStringView>

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

// A layout value as MN4 reads it: leading blanks, an optional sign, digits;
// the rest is ignored and no digits read as 0. exact tells whether the text
// was nothing but that number.
struct Mn4Number
{
    qint64 value = 0;
    bool exact = false;
};
Mn4Number readMn4Number(QStringView text);

} // namespace SkinChecker
