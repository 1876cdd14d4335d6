#include "ProgramVersion.h"

QString VersionLabelText()
{
    return QStringLiteral("Tivaro v") + QStringLiteral(TIVARO_VERSION);
}
