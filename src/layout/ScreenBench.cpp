#include "ScreenBench.h"

#include "ScreenCatalogue.h"

#include <QDir>
#include <QFileInfo>

ScreenBench::ScreenBench(const QString& programFolder, const QLocale& locale)
    : m_elements(m_document, m_canvas, locale)
    , m_layout(m_state, m_canvas, m_elements, m_view)
{
    m_state.AppPath = programFolder;
}

bool ScreenBench::open(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    m_state.SkinFolder = QDir::toNativeSeparators(info.absoluteFilePath()) + QDir::separator();
    m_state.LayoutLoaded = true;
    return true;
}

bool ScreenBench::load(const QString& screenName)
{
    return ScreenCatalogue::find(screenName) && m_layout.CheckForSave(screenName);
}
