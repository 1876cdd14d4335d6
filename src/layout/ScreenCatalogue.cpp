#include "ScreenCatalogue.h"

#include "Paths.h"

#include <algorithm>

namespace {

const QString MapViewName = QStringLiteral("Kartenansicht");
const QString TmcMarkerFile = QStringLiteral("defaultltTMC.ini");

// Every screen the editor offers. Files name the last slot of each run; the map
// views take their sections from the map-view table below.
std::vector<ScreenEntry> buildScreens()
{
    using L = LoaderKind;
    std::vector<ScreenEntry> s = {
    {"Adresseingabe", L::Main, 15,
     {{9, "adressviewlt.ini"}, {15, DefaultLayoutFile}},
     {"citystatic", "city", "streetstatic", "street", "housenumber", "crossingstatic", "crossing",
      "showinmap", "save", "startnavi", "back", "mainmenu", "log", "tmc", "gps", "win"},
     {}},
    {"AdresseingabeEdit", L::ListBoxT9, 11,
     {{11, "editpopuplt.ini"}},
     {"listbox", "listboxt9", "listboxitem", "up", "down", "okbutton", "sipsize", "rename", "delete",
      "back", "sip", "t9"},
     {2, 5}},
    {"Autozoom", L::Main, 13,
     {{3, "automodepanelt.ini"}, {8, "preferencesviewlt.ini"}, {13, DefaultLayoutFile}},
     {"autozoomstatic", "autozoom", "northstatic", "north", "prev", "select", "next", "save", "cancel",
      "back", "log", "tmc", "gps", "win"},
     {}},
    {"Darstellung", L::Main, 14,
     {{4, "brightnesspanelt.ini"}, {9, "preferencesviewlt.ini"}, {14, DefaultLayoutFile}},
     {"skinstatic", "skin", "darkenstatic", "darken", "darkenwarningstatic", "prev", "select", "next",
      "save", "cancel", "back", "log", "tmc", "gps", "win"},
     {}},
    {"Developer", L::Main, 13,
     {{3, "developerpanelt.ini"}, {8, "preferencesviewlt.ini"}, {13, DefaultLayoutFile}},
     {"startsim", "stopsim", "simposition", "simspeed", "prev", "select", "next", "save", "cancel",
      "back", "log", "tmc", "gps", "win"},
     {}},
    {"DialogAufnahme", L::MsgBox, 3,
     {{3, "speechrecorddlglt.ini"}},
     {"size", "title", "yes", "no"},
     {}},
    {"DialogEdit", L::MsgBox, 5,
     {{5, EditDialogFile}},
     {"size", "title", "edit", "ok", "cancel", "speechtraining"},
     {}},
    {"DialogFortschritt", L::MsgBox, 4,
     {{4, "progressdlglt.ini"}},
     {"size", "title", "route_from", "curr_progress", "cancel"},
     {}},
    {"DialogFortschrittSimple", L::MsgBox, 2,
     {{2, "simpleprogressdlg.ini"}},
     {"size", "title", "curr_progress"},
     {}},
    {"DialogFortschrittTMC", L::MsgBox, 8,
     {{8, "tmcprogressdlg.ini"}},
     {"size", "title", "tmcbar_first", "tmcbar_second", "tmcbar_third", "message_first",
      "message_second", "message_third", "curr_progress"},
     {}},
    {"DialogGPS", L::MsgBox, 14,
     {{14, GpsDialogFile}},
     {"size", "title", "statustitle", "GMT", "long", "lat", "satellites", "hdop", "speed",
      "positiontitle", "street", "city", "country", "save", "close"},
     {}},
    {"DialogKeinEmpfang", L::MsgBox, 2,
     {{2, "hwkwizardlt.ini"}},
     {"size", "message", "cancel"},
     {}},
    {"DialogLoeschen", L::MsgBox, 3,
     {{3, "msgboxminlt.ini"}},
     {"size", "message_area", "first_button", "second_button"},
     {}},
    {"DialogMultifortschritt", L::MsgBox, 9,
     {{9, "multiprogressdlglt.ini"}},
     {"size", "title", "route_from", "title_to", "route_to", "curr_title", "curr_progress",
      "total_title", "total_progress", "cancel"},
     {}},
    {"DialogRoutenpunkt", L::MsgBox, 5,
     {{5, "mapcontextdlglt.ini"}},
     {"size", "adressstatic", "actionstatic", "action", "ok", "cancel"},
     {}},
    {"DialogTMC", L::MsgBox, 16,
     {{16, "tmcdlglt.ini"}},
     {"size", "prev_station", "frequenz", "station", "quality", "next_station", "options",
      "prev_message", "message_count", "collider_static", "next_message", "status_bar", "message",
      "StatusStatic", "StatusButton", "update", "close"},
     {}},
    {"DialogTMCRoute", L::MsgBox, 6,
     {{6, "tmconroutedlglt.ini"}},
     {"size", "title_static", "status_bar", "message_static", "recommend_static", "use_button",
      "ignore_button"},
     {}},
    {"DialogWarteAufGPS", L::MsgBox, 2,
     {{2, "waitforgpsdlglt.ini"}},
     {"size", "text_static", "cancel_button"},
     {}},
    {"EinfacheListe", L::ListBox, 5,
     {{5, "simplepopuplt.ini"}},
     {"listbox", "listboxitem", "up", "down", "okbutton", "back"},
     {1, 4}},
    {"Fahrtenbuch", L::Main, 11,
     {{1, "driverlogpanelt.ini"}, {6, "preferencesviewlt.ini"}, {11, DefaultLayoutFile}},
     {"autostartstatic", "autostart", "prev", "select", "next", "save", "cancel", "back", "log",
      "tmc", "gps", "win"},
     {}},
    {"FahrtenbuchStart", L::MsgBox, 9,
     {{9, "driverlogstartdlglt.ini"}},
     {"size", "title_static", "comment_static", "comment_edit", "milage_static", "milage_edit",
      "purpose_static", "purpose_button", "ok_button", "cancel_button"},
     {}},
    {"FahrtenbuchStop", L::MsgBox, 11,
     {{11, "driverlogstopdlglt.ini"}},
     {"size", "title_static", "comment_static", "comment_edit", "milage_static", "milage_edit",
      "purpose_static", "purpose_button", "action_static", "action_button", "ok_button",
      "cancel_button"},
     {}},
    {"Format", L::Main, 13,
     {{3, "formatpanelt.ini"}, {8, "preferencesviewlt.ini"}, {13, DefaultLayoutFile}},
     {"clockstatic", "clock", "distancestatic", "distance", "prev", "select", "next", "save",
      "cancel", "back", "log", "tmc", "gps", "win"},
     {}},
    {"Geschwindigkeitsprofil", L::Main, 11,
     {{1, "speedprofilepanelt.ini"}, {6, "preferencesviewlt.ini"}, {11, DefaultLayoutFile}},
     {"profilestatic", "profile", "prev", "select", "next", "save", "cancel", "back", "log", "tmc",
      "gps", "win"},
     {}},
    {"GPS", L::Main, 15,
     {{5, "gpspanelt.ini"}, {10, "preferencesviewlt.ini"}, {15, DefaultLayoutFile}},
     {"receiverstatic", "receiver", "comportstatic", "comport", "baudrate_static", "baudrate",
      "prev", "select", "next", "save", "cancel", "back", "log", "tmc", "gps", "win"},
     {}},
    {"Hauptmenu", L::Main, 11,
     {{7, MainMenuFile}, {11, DefaultLayoutFile}},
     {"home", "speech", "target", "route", "showmap", "selectmap", "config", "quit", "log", "tmc",
      "gps", "win"},
     {}},
    {"Heimatadresse", L::Main, 11,
     {{1, "homepanelt.ini"}, {6, "preferencesviewlt.ini"}, {11, DefaultLayoutFile}},
     {"homestatic", "sethome", "prev", "select", "next", "save", "cancel", "back", "log", "tmc",
      "gps", "win"},
     {}},
    {"Kartenansicht 1", L::MapView, 24,
     {{20, "mapviewlt.ini"}, {24, DefaultLayoutFile}},
     {},
     {}},
    {"Kartenansicht 2", L::MapView, 24,
     {{20, "mapviewlt.ini"}, {24, DefaultLayoutFile}},
     {},
     {}},
    {"Kartenansicht 3", L::MapView, 24,
     {{20, "mapviewlt.ini"}, {24, DefaultLayoutFile}},
     {},
     {}},
    {"Karteninfo", L::Main, 15,
     {{5, "mappanelt.ini"}, {10, "preferencesviewlt.ini"}, {15, DefaultLayoutFile}},
     {"gpstoolbarstatic", "gpstoolbar", "poisstatic", "pois", "streetnamesstatic", "streetnames",
      "prev", "select", "next", "save", "cancel", "back", "log", "tmc", "gps", "win"},
     {}},
    {"POIsAndere", L::Main, 15,
     {{9, "PoiOtherViewlt.ini"}, {15, DefaultLayoutFile}},
     {"stCity", "btnCity", "stCategory", "btnCategory", "btnSubCategory", "stPoi", "btnPoiSelect",
      "btnShowMap", "btnsave", "btnstartnavi", "back", "mainmenu", "log", "tmc", "gps", "win"},
     {}},
    {"POIsUmgebung", L::Main, 15,
     {{9, "PoiNearestViewlt.ini"}, {15, DefaultLayoutFile}},
     {"stRadius", "btnRadius", "stCategory", "btnCategory", "btnSubCategory", "stPoi",
      "btnPoiSelect", "btnShowMap", "btnsave", "btnstartnavi", "back", "mainmenu", "log", "tmc",
      "gps", "win"},
     {}},
    {"POIsUeberregional", L::Main, 11,
     {{6, "PoiNationalViewlt.ini"}, {11, DefaultLayoutFile}},
     {"stCategory", "btnCategory", "stPoi", "btnPoiSelect", "btnShowMap", "btnSave",
      "btnStartNavi", "back", "log", "tmc", "gps", "win"},
     {}},
    {"Produktinfo", L::Main, 10,
     {{0, "productinfopanelt.ini"}, {5, "preferencesviewlt.ini"}, {10, DefaultLayoutFile}},
     {"productinfostatic", "prev", "select", "next", "save", "cancel", "back", "log", "tmc", "gps",
      "win"},
     {}},
    {"Radiostummschaltung", L::Main, 11,
     {{1, "radiomutepanelt.ini"}, {6, "preferencesviewlt.ini"}, {11, DefaultLayoutFile}},
     {"radiomute_static", "radiomute_button", "prev", "select", "next", "save", "cancel", "back",
      "log", "tmc", "gps", "win"},
     {}},
    {"Routeinfo", L::Main, 21,
     {{11, "routeinfopanelt.ini"}, {16, "preferencesviewlt.ini"}, {21, DefaultLayoutFile}},
     {"compdistancestatic", "compdistance", "compdurationstatic", "compduration", "competastatic",
      "competa", "nextdistancestatic", "nextdistance", "nextdurationstatic", "nextduration",
      "nextetastatic", "nexteta", "prev", "select", "next", "save", "cancel", "back", "log", "tmc",
      "gps", "win"},
     {}},
    {"Routemanager", L::Main, 23,
     {{17, "routemanagerviewlt.ini"}, {23, DefaultLayoutFile}},
     {"dummy", "top2", "top1", "bottom2", "bottom1", "center", "scrollup", "moveup", "movedown",
      "scrolldown", "routesummarystatic", "newtarget", "deletetarget", "calcroute", "loadroute",
      "saveroute", "showmap", "startnavi", "mainmenu", "back", "log", "tmc", "gps", "win"},
     {}},
    {"Routenoptionen", L::Main, 14,
     {{8, "routeoptionsviewlt.ini"}, {14, DefaultLayoutFile}},
     {"stroutetype", "routetype", "sthighway", "highway", "stferry", "ferry", "sttoll", "toll",
      "startnavi", "log", "tmc", "gps", "win", "mainmenu", "back"},
     {}},
    {"Routenplanung", L::Main, 11,
     {{1, "routingpanelt.ini"}, {6, "preferencesviewlt.ini"}, {11, DefaultLayoutFile}},
     {"driveoverstatic", "driveover", "prev", "select", "next", "save", "cancel", "back", "log",
      "tmc", "gps", "win"},
     {}},
    {"Sonderziele", L::Main, 9,
     {{3, "PoiMainViewlt.ini"}, {9, DefaultLayoutFile}},
     {"poi", "nearest", "national", "other", "back", "mainmenu", "log", "tmc", "gps", "win"},
     {}},
    {"TagNacht", L::ListBox, 9,
     {{9, "MapPopupLt.ini"}},
     {"listbox", "listboxitem", "up", "down", "okbutton", "back", "day", "night", "mute", "unmute"},
     {1, 4}},
    {"Tasten", L::Main, 10,
     {{0, "hardwarekeyspanelt.ini"}, {5, "preferencesviewlt.ini"}, {10, DefaultLayoutFile}},
     {"setkeys", "prev", "select", "next", "save", "cancel", "back", "log", "tmc", "gps", "win"},
     {}},
    {"TMC", L::Main, 11,
     {{1, "tmcpanelt.ini"}, {6, "preferencesviewlt.ini"}, {11, DefaultLayoutFile}},
     {"tmcmodestatic", "tmcmodebutton", "prev", "select", "next", "save", "cancel", "back", "log",
      "tmc", "gps", "win"},
     {}},
    {"Volume", L::Main, 11,
     {{1, "volumepanelt.ini"}, {6, "preferencesviewlt.ini"}, {11, DefaultLayoutFile}},
     {"volumestatic", "volume", "prev", "select", "next", "save", "cancel", "back", "log", "tmc",
      "gps", "win"},
     {}},
    {"Wegeliste", L::ListBox, 5,
     {{5, "simplepopupmultilt.ini"}},
     {"listbox", "listboxitem", "up", "down", "okbutton", "back"},
     {1, 4}},
    {"Zieleingabe", L::Main, 13,
     {{7, "targetviewlt.ini"}, {13, DefaultLayoutFile}},
     {"incountry", "country", "adress", "frommap", "stored", "recent", "poi", "contact", "log",
      "tmc", "gps", "win", "mainmenu", "back"},
     {}},
    {"ZieleingabeEdit", L::ListBoxT9, 11,
     {{11, "targetpopuplt.ini"}},
     {"listbox", "listboxt9", "listboxitem", "up", "down", "okbutton", "sipsize", "rename",
      "delete", "back", "sip", "t9"},
     {2, 5}},
    };

    QStringList mapSections;
    for (const MapSlot& slot : ScreenCatalogue::mapView())
        mapSections << slot.section;
    for (ScreenEntry& entry : s) {
        if (entry.loader == L::MapView) {
            entry.sections = mapSections;
            entry.view = entry.displayName.back().digitValue() - 1; // "Kartenansicht 1..3"
        }
    }
    return s;
}

std::array<MapSlot, SlotCount> buildMapView()
{
    constexpr auto _ = MapShown::No;
    constexpr auto Y = MapShown::Yes;
    constexpr auto Infobar = MapShown::Infobar;
    constexpr auto Dummys = MapShown::Dummys;
    // section, file, view 1, view 2, view 3, infobar-dependent
    return {{
        {"zoomwin", "mapviewlt.ini", {_, Y, _}, false},
        {"infobar", "mapviewlt.ini", {Infobar, _, Infobar}, false},
        {"to", "mapviewlt.ini", {Y, _, _}, true},
        {"from", "mapviewlt.ini", {Y, _, Y}, true},
        {"routeinfo", "mapviewlt.ini", {Y, _, _}, true},
        {"nextinfo", "mapviewlt.ini", {Y, _, _}, true},
        {"distance", "mapviewlt.ini", {Y, _, _}, true},
        {"schematic2", "mapviewlt.ini", {Y, _, _}, true},
        {"schematic", "mapviewlt.ini", {Y, _, _}, true},
        {"birdview", "mapviewlt.ini", {_, Y, _}, false},
        {"zoomout", "mapviewlt.ini", {_, Y, _}, false},
        {"zoomin", "mapviewlt.ini", {_, Y, _}, false},
        {"auto", "mapviewlt.ini", {_, Y, _}, false},
        {"pan", "mapviewlt.ini", {_, Y, _}, false},
        {"center", "mapviewlt.ini", {_, Y, _}, false},
        {"north", "mapviewlt.ini", {_, Y, _}, false},
        {"route", "mapviewlt.ini", {_, Y, _}, false},
        {"info", "mapviewlt.ini", {Y, Y, Y}, false},
        {"Menu", "mapviewlt.ini", {Y, Y, Y}, false},
        {"largedummy", "mapviewlt.ini", {_, _, Dummys}, false},
        {"smalldummy", "mapviewlt.ini", {Dummys, _, _}, false},
        {"log", DefaultLayoutFile, {Y, Y, Y}, false},
        {"tmc", DefaultLayoutFile, {Y, Y, Y}, false},
        {"gps", DefaultLayoutFile, {Y, Y, Y}, false},
        {"win", DefaultLayoutFile, {Y, Y, Y}, false},
    }};
}

} // namespace

QString ScreenEntry::fileOf(int slot, const LayoutFiles& fileSet) const
{
    if (slot < 0 || slot > lastSlot)
        return {};
    for (const SlotFiles& run : files) {
        if (slot <= run.lastSlot)
            return run.file.resolve(fileSet);
    }
    return {};
}

namespace ScreenCatalogue {

const std::vector<ScreenEntry>& screens()
{
    static const std::vector<ScreenEntry> all = buildScreens();
    return all;
}

const std::array<MapSlot, SlotCount>& mapView()
{
    static const std::array<MapSlot, SlotCount> mapSlots = buildMapView();
    return mapSlots;
}

const ScreenEntry* find(const QString& displayName)
{
    const auto& all = screens();
    const auto it = std::find_if(all.begin(), all.end(), [&](const ScreenEntry& e) {
        return e.displayName == displayName;
    });
    return it == all.end() ? nullptr : &*it;
}

QStringList sortedNames()
{
    QStringList names;
    for (const ScreenEntry& e : screens())
        names << e.displayName;
    // Letter case does not decide the order ("TagNacht", "Tasten", "TMC"); it only
    // breaks ties, so the order never depends on the user's locale.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString backgroundBitmap(bool mapView)
{
    return mapView ? QStringLiteral("pics/skinpic/cardbg.bmp")
                   : QStringLiteral("pics/skinpic/skinbg.bmp");
}

QString pictureFolder(const ScreenEntry& screen)
{
    return screen.loader == LoaderKind::MapView ? MapViewName : screen.displayName.trimmed();
}

QString elementBitmap(const QString& folder, const QString& section)
{
    return QStringLiteral("pics/") + folder + QLatin1Char('/') + section + QStringLiteral(".bmp");
}

} // namespace ScreenCatalogue

LayoutFiles PlainLayoutFiles()
{
    return {"defaultlt.ini", "mainmenult.ini", "editdlglt.ini", "gpsdlglt.ini"};
}

LayoutFiles TmcLayoutFiles()
{
    return {"defaultltTMC.ini", "mainmenultSR.ini", "editdlgltsr.ini", "startgpsdlglt.ini"};
}

void InitMyArr(ScreenBinding& binding)
{
    binding = ScreenBinding{};
}

bool getiniVersion(AppState& state)
{
    const LayoutFiles wanted = ExistsAnyCase(state.SkinFolder, TmcMarkerFile) ? TmcLayoutFiles()
                                                                             : PlainLayoutFiles();
    if (state.LayoutFileSet[DefaultLayoutFile] == wanted[DefaultLayoutFile])
        return false;
    state.LayoutFileSet = wanted;
    return true;
}

void InitKartenansicht(ScreenBinding& b, const LayoutFiles& fileSet, MapBoxes boxes)
{
    const auto& mapSlots = ScreenCatalogue::mapView();
    for (int slot = 0; slot < SlotCount; ++slot) {
        const MapSlot& m = mapSlots[slot];
        for (int v = 0; v < ViewCount; ++v) {
            switch (m.shown[v]) {
            case MapShown::No: b.ElementVisible[v][slot] = false; break;
            case MapShown::Yes: b.ElementVisible[v][slot] = true; break;
            case MapShown::Infobar: b.ElementVisible[v][slot] = boxes.infobar; break;
            case MapShown::Dummys: b.ElementVisible[v][slot] = boxes.dummys; break;
            }
        }
        b.ElementDepends[slot] = m.dependsOnInfobar;
        b.ElementFile[slot] = m.file.resolve(fileSet);
        b.ElementSection[slot] = m.section;
    }
}

ScreenBinding BindScreen(const ScreenEntry& screen, const LayoutFiles& fileSet, MapBoxes boxes)
{
    ScreenBinding b;
    InitMyArr(b);
    b.screen = screen.displayName;
    b.kind = screen.loader;
    b.lastSlot = screen.lastSlot;
    b.viewIndex = screen.view;
    b.infobar = boxes.infobar;
    b.pictureFolder = ScreenCatalogue::pictureFolder(screen);
    if (screen.loader == LoaderKind::MapView) {
        InitKartenansicht(b, fileSet, boxes);
        return b;
    }
    for (int slot = 0; slot <= screen.lastSlot; ++slot) {
        b.ElementVisible[0][slot] = true;
        b.ElementFile[slot] = screen.fileOf(slot, fileSet);
        b.ElementSection[slot] = screen.sections.value(slot);
    }
    for (const int slot : screen.lockedSlots) {
        b.NudgeFactor[slot][ScreenBinding::NudgeX] = 0.0;
        b.NudgeFactor[slot][ScreenBinding::NudgeY] = 0.0;
    }
    return b;
}
