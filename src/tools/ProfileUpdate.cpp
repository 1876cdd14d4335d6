#include "ProfileUpdate.h"

#include "Ini.h"
#include "Settings.h"

namespace ProfileUpdate {

const QString& deviceSuffix()
{
    static const QString suffix = QStringLiteral("|1.0|1.0|1.0");
    return suffix;
}

const QString& pcSuffix()
{
    static const QString suffix = QStringLiteral("|1.0,|1.0,|1.0");
    return suffix;
}

const std::array<Target, TargetCount>& targets()
{
    static const QString prefs = QStringLiteral("prefs.ini");
    static const QString navLib = QStringLiteral("NavLib.ini");
    static const QString profiles = QStringLiteral("speedprofiles.ini");
    static const QString speed = QStringLiteral("speedprofile");
    static const QString fast = QStringLiteral("fast");
    static const QString standard = QStringLiteral("standard");
    static const std::array<Target, TargetCount> rows = {{
        {prefs, Place::Device, speed, fast, QStringLiteral("preference"), fast, deviceSuffix(), false},
        {prefs, Place::Device, speed, standard, QStringLiteral("preference"), standard, deviceSuffix(), false},
        {navLib, Place::Device, QString(), QString(), QStringLiteral("routing"), QStringLiteral("factors"),
         deviceSuffix(), true},
        {profiles, Place::Pc, speed, fast, QStringLiteral("factors"), fast, pcSuffix(), false},
        {profiles, Place::Pc, speed, standard, QStringLiteral("factors"), standard, pcSuffix(), false},
    }};
    return rows;
}

QString baseName(const Target& target)
{
    return target.fileName.left(target.fileName.lastIndexOf(u'.'));
}

std::optional<QString> splice(const QString& oldValue, const QString& fields, const QString& suffix,
                              bool fillDecimals)
{
    const qsizetype bar = oldValue.indexOf(u'|');
    if (bar < 0)
        return std::nullopt;
    const QString value = oldValue.left(bar) + fields + suffix;
    // Filling starts at the head's "|", so a point inside the head stays as it is.
    return fillDecimals ? MNFormatStr(value, 3, QStringLiteral("0"), qint16(std::min<qsizetype>(bar + 1, 32767)))
                        : value;
}

bool spliceFile(const QString& file, const Target& target, const QString& speedLine,
                const QString& preferenceLine)
{
    IniBatch batch(file);
    bool any = false;
    if (!target.speedSection.isEmpty()) {
        const auto value = splice(ReadIni(file, target.speedSection, target.speedKey, QString()),
                                  speedLine, QString(), false);
        if (value) {
            batch.write(target.speedSection, target.speedKey, *value);
            any = true;
        }
    }
    const auto value = splice(ReadIni(file, target.preferenceSection, target.preferenceKey, QString()),
                              preferenceLine, target.suffix, target.fillDecimals);
    if (value) {
        batch.write(target.preferenceSection, target.preferenceKey, *value);
        any = true;
    }
    return !any || batch.commit();
}

QString mapExportFolder(const QString& settingsFile)
{
    QString folder = ReadIni(settingsFile, Settings::Directory, Settings::MapExportDir,
                             Settings::defaultMapExportDir());
    while (folder.size() > 1 && (folder.endsWith(u'\\') || folder.endsWith(u'/')))
        folder.chop(1);
    return folder;
}

} // namespace ProfileUpdate

QString MNFormatStr(const QString& line, qint16 decimals, const QString& fill, qint16 startPos)
{
    QString text = line;
    // An empty filler could never make up the missing decimals.
    if (fill.isEmpty())
        return text;
    qsizetype from = std::max<qsizetype>(startPos, 1) - 1;
    for (;;) {
        const qsizetype point = text.indexOf(u'.', from);
        if (point < 0)
            return text;
        qsizetype bar = text.indexOf(u'|', point + 1);
        if (bar < 0)
            bar = text.size();
        while (bar - point - 1 < decimals) {
            text.insert(bar, fill);
            bar += fill.size();
        }
        from = bar;
    }
}
