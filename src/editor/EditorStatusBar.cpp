#include "EditorStatusBar.h"

#include <QLabel>

EditorStatusBar::EditorStatusBar(QWidget* parent)
    : QStatusBar(parent)
    , LBLStatus(new QLabel(this))
    , LBLPointer(new QLabel(this))
    , m_zoom(new QLabel(this))
    , lbl_Version(new QLabel(this))
{
    setObjectName(QStringLiteral("StatusBar"));
    LBLStatus->setObjectName(QStringLiteral("LBLStatus"));
    LBLStatus->setAccessibleName(QStringLiteral("Status"));
    addWidget(LBLStatus, 1);
    LBLPointer->setObjectName(QStringLiteral("LBLPointer"));
    LBLPointer->setAccessibleName(QStringLiteral("Zeigerposition"));
    LBLPointer->setMinimumWidth(LBLPointer->fontMetrics().horizontalAdvance(QStringLiteral("Zeiger: 000, 000")));
    addPermanentWidget(LBLPointer);
    m_zoom->setObjectName(QStringLiteral("ZoomLabel"));
    m_zoom->setAccessibleName(QStringLiteral("Zoom"));
    addPermanentWidget(m_zoom);
    lbl_Version->setObjectName(QStringLiteral("lbl_Version"));
    lbl_Version->setEnabled(false);
    addPermanentWidget(lbl_Version);
}

void EditorStatusBar::showSaved(const QStringList& files)
{
    LBLStatus->setText(files.isEmpty() ? QStringLiteral("Keine Änderungen zu speichern.")
                                       : QStringLiteral("Gespeichert: ") + files.join(QStringLiteral(", ")));
}

void EditorStatusBar::showDone(const QString& text)
{
    LBLStatus->setText(text);
}

void EditorStatusBar::clearSaved()
{
    LBLStatus->clear();
}

void EditorStatusBar::showPointer(QPoint p)
{
    LBLPointer->setText(QStringLiteral("Zeiger: %1, %2").arg(p.x()).arg(p.y()));
}

void EditorStatusBar::clearPointer()
{
    LBLPointer->clear();
}

void EditorStatusBar::showZoom(int zoom)
{
    m_zoom->setText(QStringLiteral("Zoom %1×").arg(zoom));
}

void EditorStatusBar::showVersion(const QString& text)
{
    lbl_Version->setText(text);
}
