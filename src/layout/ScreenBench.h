#pragma once

#include "AppState.h"
#include "BindingView.h"
#include "Canvas.h"
#include "Elements.h"
#include "LayoutDocument.h"
#include "ScreenLayout.h"

#include <QLocale>
#include <QString>

// The screens of a skin bound and loaded without any window, as the editor
// does at its start (info bar shown, dummies hidden): the workbench of the
// skin checker and of the renderer. It reads the skin and the program bitmaps
// below programFolder, and writes nothing.
class ScreenBench
{
public:
    // programFolder ends with a separator; locale is that of the shown values.
    ScreenBench(const QString& programFolder, const QLocale& locale);

    // Chooses a skin folder as the editor does on "Laden"; false when it is no folder.
    bool open(const QString& folder);
    // Binds and loads screenName; false for a name the catalogue lacks.
    bool load(const QString& screenName);

    const AppState& state() const { return m_state; }
    const LayoutDocument& document() const { return m_document; }
    Canvas& canvas() { return m_canvas; }
    const Elements& elements() const { return m_elements; }

private:
    AppState m_state;
    LayoutDocument m_document;
    Canvas m_canvas;
    Elements m_elements;
    StartView m_view;
    ScreenLayout m_layout;
};
