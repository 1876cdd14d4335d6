#pragma once

#include "Finding.h"

#include <QList>
#include <QObject>
#include <QStringList>

class CanvasView;
class ElementList;
class FindingsDock;
class LayoutDocument;
class ScreenLayout;
struct AppState;

// Prüfen in the editor: checks the saved skin and shows the findings in the
// element list, the Befunde dock and on the canvas, and finds the element of
// a finding on the screen on show.
class SkinCheck : public QObject
{
    Q_OBJECT

public:
    SkinCheck(AppState& state, ScreenLayout& layout, LayoutDocument& document, ElementList& list,
              FindingsDock& dock, CanvasView& view);

    // Offers pending edits for saving first, since the checker reads the files.
    void run();
    void show(const QList<Finding>& findings);
    // After a save: a fixed element loses its outline at once.
    void saved(const QStringList& files);
    // Selects the element of the screen on show that the finding concerns.
    void selectElement(const Finding& finding);

private:
    AppState& m_state;
    ScreenLayout& m_layout;
    LayoutDocument& m_document;
    ElementList& m_list;
    FindingsDock& m_dock;
    CanvasView& m_view;
};
