#pragma once

#include <QString>

class QAction;
class QMainWindow;
class ZoomControl;

// How the editor window was left, in "View" of Tivaro.ini: its place and size,
// the zoom, Einrasten and where its docks and tool bars are.
class ViewMemory
{
public:
    ViewMemory(QMainWindow& window, ZoomControl& zoom, QAction& snap, QString settingsFile);

    // Puts the window as it was left; on the first start, the largest zoom whose
    // window fits the display.
    void restore();
    void store() const;

private:
    QMainWindow& m_window;
    ZoomControl& m_zoom;
    QAction& m_snap;
    QString m_settingsFile;
};
