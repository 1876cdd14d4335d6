#include "DevicePathCheck.h"

#include "FolderDevice.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>

namespace {

// A sandbox: the device folder, a sibling folder it must never reach, and links
// from inside pointing out.
struct Sandbox
{
    QTemporaryDir dir;
    QString root() const { return dir.filePath(QStringLiteral("card")); }
    QString outside() const { return dir.filePath(QStringLiteral("outside")); }

    void reset()
    {
        QDir(root()).removeRecursively();
        QDir(outside()).removeRecursively();
        QDir().mkpath(root() + QStringLiteral("/MN4/Skins/Tag"));
        QDir().mkpath(outside() + QStringLiteral("/deep"));
        writeFile(outside() + QStringLiteral("/secret.ini"), "[Display]\r\nlastSkin= OUTSIDE\r\n");
        writeFile(root() + QStringLiteral("/MN4/prefs.ini"), "[Display]\r\nlastSkin= Tag\r\n");
        QFile::link(outside(), root() + QStringLiteral("/out"));
        QFile::link(outside() + QStringLiteral("/secret.ini"), root() + QStringLiteral("/MN4/secret.ini"));
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }

    // Everything outside the device folder, as it must stay.
    QStringList outsideState() const
    {
        QStringList state = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        for (const QString& name : QDir(outside()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
            state << QStringLiteral("outside/") + name;
        QFile f(outside() + QStringLiteral("/secret.ini"));
        if (f.open(QIODevice::ReadOnly))
            state << QString::fromLatin1(f.readAll().toHex());
        return state;
    }
};

Sandbox& sandbox()
{
    static Sandbox box;
    return box;
}

} // namespace

QString checkDevicePath(const uint8_t* data, size_t size)
{
    if (size < 1)
        return {};
    Sandbox& box = sandbox();
    box.reset();
    static const QStringList expected = box.outsideState();

    // First byte: the operation; the rest: one or two paths split at a newline.
    const int op = data[0] % 9;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), int(size - 1));
    const QString first = text.section(QLatin1Char('\n'), 0, 0);
    const QString second = text.section(QLatin1Char('\n'), 1);

    QString problem;
    FolderDevice device(box.root());
    CeRapiInit init;
    init.cbSize = 12;
    device.CeRapiInitEx(init);
    switch (op) {
    case 0: {
        const CeHandle h = device.CeCreateFile(first, CeFile::GenericWrite, 0, CeFile::CreateAlways,
                                               CeFile::AttributeNormal);
        quint32 written = 0;
        device.CeWriteFile(h, "x", 1, written);
        device.CeCloseHandle(h);
        break;
    }
    case 1: {
        const CeHandle h = device.CeCreateFile(first, CeFile::GenericRead, 0, CeFile::OpenExisting,
                                               CeFile::AttributeNormal);
        char buffer[64];
        quint32 read = 0;
        if (device.CeReadFile(h, buffer, sizeof buffer, read) && read > 0
            && QByteArray(buffer, int(read)).contains("OUTSIDE"))
            problem = QStringLiteral("a file outside the folder was read through ") + first;
        device.CeCloseHandle(h);
        break;
    }
    case 2: device.CeCreateDirectory(first); break;
    case 3: device.CeDeleteFile(first); break;
    case 4: device.CeRemoveDirectory(first); break;
    case 5: device.CeCopyFile(first, second, false); break;
    case 6: {
        CeFindData found;
        const CeHandle h = device.CeFindFirstFile(first, found);
        for (int i = 0; i < 64 && h != InvalidCeHandle; ++i) {
            if (found.cFileName == QLatin1String("deep"))
                problem = QStringLiteral("the outside folder was listed through ") + first;
            if (!device.CeFindNextFile(h, found))
                break;
        }
        device.CeFindClose(h);
        break;
    }
    case 7: {
        device.CeCopyFile(first, second, true);
        device.CeDeleteFile(second);
        break;
    }
    default: device.CeMoveFile(first, second); break;
    }
    device.CeRapiUninit();

    if (problem.isEmpty() && box.outsideState() != expected)
        problem = QStringLiteral("something outside the folder changed after operation %1 on ").arg(op) + text;
    return problem;
}
