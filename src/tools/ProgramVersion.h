#pragma once

#include <QString>

// What the version labels show: product name, " v" and major.minor.revision.
QString VersionLabelText();
