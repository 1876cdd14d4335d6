#pragma once

#include <QStatusBar>
#include <QStringList>

class QLabel;

// The editor's status bar: what the last save wrote (LBLStatus), the pointer's
// position in device pixels (LBLPointer), the zoom and the version (lbl_Version).
class EditorStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit EditorStatusBar(QWidget* parent = nullptr);

    void showSaved(const QStringList& files);
    void clearSaved();
    // What a command that wrote no layout files did, such as "3 Dateien übertragen, …".
    void showDone(const QString& text);
    void showPointer(QPoint devicePixel);
    void clearPointer();
    void showZoom(int zoom);
    void showVersion(const QString& text);

private:
    QLabel* LBLStatus;
    QLabel* LBLPointer;
    QLabel* m_zoom;
    QLabel* lbl_Version;
};
