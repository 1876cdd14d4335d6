#pragma once

#include <QByteArray>
#include <QString>

// Runs one fuzz input through the INI engine and checks what must always hold.
// The first three bytes choose the section, key and value to write; the rest
// is the file. Returns a description of the first broken rule, or "" when all
// hold.
QString checkIniRoundTrip(const QByteArray& input);
