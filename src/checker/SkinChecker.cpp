#include "SkinChecker.h"

#include "IniDocument.h"
#include "NumberText.h"
#include "Paths.h"
#include "ScreenBench.h"
#include "ScreenCatalogue.h"
#include "SkinDelivery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <array>
#include <memory>
#include <optional>

namespace {

using Severity = Finding::Severity;

enum Key { X, Y, CX, CY, KeyCount };
const std::array<QString, KeyCount> KeyNames = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("cx"),
                                                 QStringLiteral("cy")};
using KeySet = std::array<bool, KeyCount>;
constexpr KeySet AllKeys = {true, true, true, true};
constexpr KeySet SizeOnly = {false, false, true, true};
constexpr KeySet NoKeys = {false, false, false, false};
constexpr KeySet NoX = {false, true, true, true};
// Values beyond this many pixels are reported without placing the element.
constexpr double FarAway = 100000;

QString quoted(const QString& text)
{
    return QStringLiteral("„") + text + QStringLiteral("“");
}

QString rectText(const QRectF& r)
{
    return QStringLiteral("x %1, y %2, cx %3, cy %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// One layout file of the skin, read once per check.
struct LayoutFile
{
    std::optional<IniDocument> doc;
    QHash<QString, int> sectionCount; // by case-folded name
};

class Run
{
public:
    explicit Run(const QString& folder)
        : m_folder(QDir::toNativeSeparators(QDir(folder).absolutePath()) + QDir::separator())
        // Pictures mean nothing to the checker; looking for them in the skin finds none quickly.
        , m_bench(m_folder, QLocale::c())
    {
        m_bench.open(m_folder);
    }

    QList<Finding> findings()
    {
        for (const QString& name : ScreenCatalogue::sortedNames())
            checkScreen(name);
        checkUpload();
        return m_findings;
    }

private:
    struct Slot
    {
        std::array<double, KeyCount> value{};
        bool usable = false; // every value it needs is there and places the element
    };

    void add(Severity severity, const QString& screen, const QString& file, const QString& section,
             const QString& message)
    {
        const QString key = QString::number(int(severity)) + u'\n' + file + u'\n' + section + u'\n' + message;
        const auto known = m_seen.constFind(key);
        if (known == m_seen.constEnd()) {
            m_seen.insert(key, int(m_findings.size()));
            m_screensOf.append({screen});
            m_findings.append({severity, screen, 0, file, section, message});
            return;
        }
        QSet<QString>& screens = m_screensOf[*known];
        if (!screens.contains(screen)) {
            screens.insert(screen);
            ++m_findings[*known].moreScreens;
        }
    }

    const LayoutFile& layoutFile(const QString& name)
    {
        const QString folded = name.toCaseFolded();
        auto it = m_files.find(folded);
        if (it != m_files.end())
            return *it;
        LayoutFile file;
        QFile in(FindAnyCase(m_folder, name));
        if (in.open(QIODevice::ReadOnly)) {
            file.doc = IniDocument::fromBytes(in.readAll());
            for (const QString& section : file.doc->sectionNames())
                ++file.sectionCount[section.trimmed().toCaseFolded()];
        }
        return *m_files.insert(folded, file);
    }

    void checkScreen(const QString& name)
    {
        m_bench.load(name);
        const ScreenBinding& b = m_bench.document().binding();
        const int last = std::min<int>(b.lastSlot, m_bench.elements().size() - 1);
        const ListParts list = b.listParts();

        std::array<Slot, SlotCount> values{};
        for (int slot = 0; slot <= last; ++slot) {
            const KeySet keys = keysOf(b, slot);
            values[slot] = keys == NoKeys ? Slot{{}, true} : readSlot(name, slot, keys);
        }

        // "up" and "down" get what the item column and the OK button leave of the list.
        bool listRoom = true;
        if (list.list >= 0 && list.ok() <= last) {
            const Slot &box = values[list.list], &i = values[list.item()], &k = values[list.ok()];
            if (box.usable && i.usable && i.value[CX] >= box.value[CX])
                listRoom = noRoom(name, list.item(), list.list, QStringLiteral("so breit wie %1 oder breiter"));
            if (box.usable && k.usable && k.value[CY] >= box.value[CY])
                listRoom = noRoom(name, list.ok(), list.list, QStringLiteral("so hoch wie %1 oder höher"));
        }

        // An element placed from other elements is only as sound as they are.
        std::array<bool, SlotCount> usable{};
        for (int slot = 0; slot <= last; ++slot) {
            usable[slot] = values[slot].usable;
            for (const int other : placedFrom(b, slot))
                usable[slot] = usable[slot] && other <= last && values[other].usable;
        }
        if (!listRoom)
            for (int part = list.item(); part <= list.ok(); ++part)
                usable[part] = false;

        std::array<std::optional<QRectF>, SlotCount> placed{};
        const QRectF screen = m_bench.canvas().screen()->rect();
        const double tppX = m_bench.state().TwipsPerPixelX, tppY = m_bench.state().TwipsPerPixelY;
        for (int slot = 0; slot <= last; ++slot) {
            if (!usable[slot] || !m_bench.document().visible(slot))
                continue;
            const QRect e = m_bench.document().frame(slot);
            const QRectF r((e.left() - screen.left()) / tppX, (e.top() - screen.top()) / tppY, e.width() / tppX,
                           e.height() / tppY);
            placed[slot] = r;
            const QRectF device(0, 0, Canvas::ScreenWidth, Canvas::ScreenHeight);
            if (!device.contains(r)) {
                const bool inside = r.intersected(device).width() > 0 && r.intersected(device).height() > 0;
                add(Severity::Error, name, b.ElementFile[slot], b.ElementSection[slot],
                    (inside ? QStringLiteral("ragt aus dem Bildschirm (240 × 320) heraus; ")
                            : QStringLiteral("liegt ganz außerhalb des Bildschirms (240 × 320); "))
                        + QStringLiteral("auf dem Bildschirm ") + rectText(r));
            }
        }

        for (int upper = 0; upper <= last; ++upper) {
            for (int lower = 0; lower < upper; ++lower) {
                if (!placed[upper] || !placed[lower] || nested(b, lower, upper))
                    continue;
                const QRectF both = placed[upper]->intersected(*placed[lower]);
                if (both.width() > 0 && both.height() > 0)
                    add(Severity::Warning, name, b.ElementFile[upper], b.ElementSection[upper],
                        QStringLiteral("überdeckt ") + quoted(b.ElementSection[lower]) + QStringLiteral(" in ")
                            + b.ElementFile[lower]);
            }
        }
    }

    // Reports a list part that leaves "up" and "down" no room; always false.
    bool noRoom(const QString& screen, int slot, int list, const QString& what)
    {
        const ScreenBinding& b = m_bench.document().binding();
        add(Severity::Error, screen, b.ElementFile[slot], b.ElementSection[slot],
            QStringLiteral("ist ") + what.arg(quoted(b.ElementSection[list]))
                + QStringLiteral("; für „up“ und „down“ bleibt kein Platz"));
        return false;
    }

    // The values a slot's element is placed from.
    static KeySet keysOf(const ScreenBinding& b, int slot)
    {
        const ListParts list = b.listParts();
        if (list.isScroll(slot))
            return NoKeys; // "up" and "down" fill the room the list leaves
        if (list.isSizeOnly(slot))
            return SizeOnly;
        if (b.isMapView() && slot == MapSlots::From)
            return NoX; // its left edge is that of a dummy
        return AllKeys;
    }

    // The slots whose values decide where a slot's element goes, besides its own.
    static QList<int> placedFrom(const ScreenBinding& b, int slot)
    {
        const ListParts list = b.listParts();
        if (b.kind == LoaderKind::MsgBox && slot > 0)
            return {0};
        if (list.contains(slot))
            return {list.list, list.item(), list.ok()};
        if (b.isMapView()) {
            QList<int> from;
            if (b.ElementDepends[slot])
                from << MapSlots::Infobar;
            if (slot == MapSlots::From)
                from << (b.viewIndex == 0 ? MapSlots::SmallDummy : MapSlots::LargeDummy);
            return from;
        }
        return {};
    }

    // Elements the screen's own rules put on top of each other.
    static bool nested(const ScreenBinding& b, int lower, int upper)
    {
        const ListParts list = b.listParts();
        if (b.kind == LoaderKind::MsgBox)
            return lower == 0; // the dialog box holds every other element
        if (list.list >= 0)
            return lower >= list.list && upper <= list.ok();
        if (b.isMapView()) // the info bar carries the status buttons; "from" starts at its dummy
            return lower == MapSlots::Infobar || upper == MapSlots::Infobar
                   || (lower == MapSlots::From && (upper == MapSlots::SmallDummy || upper == MapSlots::LargeDummy));
        return false;
    }

    Slot readSlot(const QString& screen, int slot, const KeySet& keys)
    {
        const ScreenBinding& b = m_bench.document().binding();
        const QString& fileName = b.ElementFile[slot];
        const QString& section = b.ElementSection[slot];
        Slot result;
        const LayoutFile& file = layoutFile(fileName);
        if (!file.doc) {
            const bool inLayout = QFileInfo(FindAnyCase(FindAnyCase(m_folder, QStringLiteral("Layout")), fileName)).isFile();
            add(Severity::Warning, screen, fileName, QString(),
                inLayout ? QStringLiteral("fehlt im Hauptordner und liegt nur in Layout; der Editor liest und "
                                          "schreibt den Hauptordner")
                         : QStringLiteral("Datei fehlt; MN4 nimmt für ihre Elemente seine eigene Vorgabe"));
            return result;
        }
        const int count = file.sectionCount.value(section.toCaseFolded());
        if (count == 0) {
            add(Severity::Warning, screen, fileName, section,
                QStringLiteral("Abschnitt fehlt; MN4 nimmt seine eigene Vorgabe"));
            return result;
        }
        if (count > 1)
            add(Severity::Warning, screen, fileName, section,
                QStringLiteral("Abschnitt steht %1-mal in der Datei; MN4 und der Editor lesen nur den ersten")
                    .arg(count));
        result.usable = true;
        for (int k = 0; k < KeyCount; ++k) {
            if (!keys[k])
                continue;
            const auto text = file.doc->value(section, KeyNames[k]);
            if (!text) {
                add(Severity::Warning, screen, fileName, section,
                    quoted(KeyNames[k]) + QStringLiteral(" fehlt; MN4 nimmt seine eigene Vorgabe"));
                result.usable = false;
                continue;
            }
            // MN4 knows no locale; what it reads of other text is where it draws the element.
            result.value[k] = LayoutNumber(*text, QLocale::c());
            if (!ParseNumberOrPoint(*text, QLocale::c()))
                add(Severity::Error, screen, fileName, section,
                    quoted(KeyNames[k] + QStringLiteral("= ") + *text) + QStringLiteral(" ist keine Zahl; MN4 liest ")
                        + QString::number(result.value[k]));
        }
        for (int k = 0; k < KeyCount; ++k) {
            // Beyond what the canvas places; such an element is far off the screen anyway.
            if (result.usable && keys[k] && std::abs(result.value[k]) > FarAway) {
                add(Severity::Error, screen, fileName, section,
                    quoted(KeyNames[k] + QStringLiteral("= ") + QString::number(result.value[k]))
                        + QStringLiteral(" liegt weit außerhalb des Bildschirms (240 × 320)"));
                result.usable = false;
            }
        }
        for (const Key k : {CX, CY}) {
            if (result.usable && keys[k] && result.value[k] <= 0) {
                add(Severity::Error, screen, fileName, section,
                    QStringLiteral("Breite oder Höhe ist null oder negativ (cx %1, cy %2)")
                        .arg(result.value[CX])
                        .arg(result.value[CY]));
                result.usable = false;
            }
        }
        return result;
    }

    void checkUpload()
    {
        const QString skinName = QDir(m_folder).dirName();
        const QString marker = skinName + QStringLiteral(".ini");
        if (!QFileInfo(FindAnyCase(m_folder, marker)).isFile())
            add(Severity::Error, QString(), marker, QString(),
                QStringLiteral("Markerdatei fehlt; ohne sie lädt der Skin-Manager den Skin nicht auf den PDA"));

        const QString defaultFile = m_bench.state().LayoutFileSet[DefaultLayoutFile];
        const QString mapView = QStringLiteral("mapviewlt.ini");
        for (const auto& root : SkinDelivery::undeliveredRootFiles(m_folder, skinName, defaultFile)) {
            using Copy = SkinDelivery::RootFile::LayoutCopy;
            if (root.copy == Copy::Same)
                continue;
            if (root.copy == Copy::Differs) {
                add(Severity::Error, QString(), QStringLiteral("Layout/") + root.name, QString(),
                    QStringLiteral("weicht von ") + root.name
                        + QStringLiteral(" im Hauptordner ab; auf den PDA kommt die Fassung aus Layout, der "
                                         "Editor bearbeitet die im Hauptordner"));
                continue;
            }
            QString message = QStringLiteral("kommt beim Aktivieren nicht auf den PDA: aus dem Hauptordner gehen nur "
                                             "NavLib.ini, ")
                              + defaultFile + QStringLiteral(" und ") + mapView
                              + QStringLiteral(" dorthin; eine Kopie gehört nach Layout");
            for (const QString& exact : {defaultFile, mapView})
                if (root.name.compare(exact, Qt::CaseInsensitive) == 0)
                    message += QStringLiteral(" (oder genau die Schreibweise ") + quoted(exact) + u')';
            add(Severity::Error, QString(), root.name, QString(), message);
        }
        for (const QString& name : QDir(m_folder).entryList(QDir::Files, QDir::Name))
            if (SkinDelivery::isMisspelledNavLib(name))
                add(Severity::Error, QString(), name, QString(),
                    QStringLiteral("kommt beim Aktivieren nicht auf den PDA; MN4 bekommt nur „NavLib.ini“ in "
                                   "genau dieser Schreibweise"));
    }

    QString m_folder;
    ScreenBench m_bench;
    QHash<QString, LayoutFile> m_files;
    QList<Finding> m_findings;
    QHash<QString, int> m_seen;
    QList<QSet<QString>> m_screensOf;
};

} // namespace

namespace SkinChecker {

Result check(const QString& folder)
{
    Result result;
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !QDir(folder).isReadable())
        return result;
    result.readable = true;
    result.findings = Run(folder).findings();
    return result;
}

} // namespace SkinChecker
