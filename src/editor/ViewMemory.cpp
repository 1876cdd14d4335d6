#include "ViewMemory.h"

#include "Canvas.h"
#include "CanvasView.h"
#include "Settings.h"
#include "ViewTransform.h"
#include "ZoomControl.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

ViewMemory::ViewMemory(QMainWindow& window, ZoomControl& zoom, QAction& snap, QString settingsFile)
    : m_window(window), m_zoom(zoom), m_snap(snap), m_settingsFile(std::move(settingsFile))
{
}

void ViewMemory::restore()
{
    const Settings::ViewState stored = Settings::readViewState(m_settingsFile);
    if (!stored.docks.isEmpty())
        m_window.restoreState(stored.docks);
    // Everything of the window but the canvas, measured at 1×.
    m_zoom.setZoom(1);
    const QSize chrome = m_window.sizeHint() - CanvasView::sizeAt(1);
    const QSizeF screen(Canvas::ScreenWidth + 2.0 * CanvasView::Margin, Canvas::ScreenHeight + 2.0 * CanvasView::Margin);
    int zoom = stored.zoom > 0 ? ViewTransform::stepZoom(stored.zoom, 0) : 0;
    if (!stored.window.isNull()) {
        m_window.setGeometry(stored.window);
        if (zoom == 0)
            zoom = ViewTransform::fitZoom(stored.window.size() - chrome, screen);
    } else {
        const QScreen* display = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
        // Room for the window's own frame and title.
        const QSize room = display ? display->availableGeometry().size() - QSize(16, 48) : QSize(1024, 720);
        if (zoom == 0)
            zoom = std::max(1, ViewTransform::fitZoom(room - chrome, screen));
        const QSize wanted = chrome + CanvasView::sizeAt(zoom);
        m_window.resize(wanted.boundedTo(room).expandedTo((chrome + CanvasView::sizeAt(1)).boundedTo(room)));
    }
    if (stored.maximized)
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
    m_snap.setChecked(stored.snap);
    m_zoom.setZoom(zoom);
}

void ViewMemory::store() const
{
    Settings::ViewState view;
    view.zoom = m_zoom.zoom();
    view.window = m_window.normalGeometry();
    view.maximized = m_window.isMaximized();
    view.snap = m_snap.isChecked();
    view.docks = m_window.saveState();
    // The view is a comfort: a settings file that cannot be written costs nothing else.
    Settings::writeViewState(m_settingsFile, view);
}
