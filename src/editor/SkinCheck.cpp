#include "SkinCheck.h"

#include "AppState.h"
#include "CanvasView.h"
#include "ElementList.h"
#include "FindingsDock.h"
#include "LayoutDocument.h"
#include "Prompter.h"
#include "ScreenLayout.h"
#include "SkinChecker.h"

SkinCheck::SkinCheck(AppState& state, ScreenLayout& layout, LayoutDocument& document, ElementList& list,
                     FindingsDock& dock, CanvasView& view)
    : QObject(&dock)
    , m_state(state)
    , m_layout(layout)
    , m_document(document)
    , m_list(list)
    , m_dock(dock)
    , m_view(view)
{
}

void SkinCheck::run()
{
    const QString title = QStringLiteral("Hinweis:");
    if (!m_state.LayoutLoaded) {
        m_state.prompter->note(title, QStringLiteral("Bitte erst mit „Laden“ einen Skin wählen."));
        return;
    }
    if (!m_layout.offerSave())
        return;
    const SkinChecker::Result result = SkinChecker::check(m_state.SkinFolder);
    show(result.findings);
    if (!result.readable || result.findings.isEmpty()) {
        m_state.prompter->note(title, result.readable ? QStringLiteral("Keine Befunde: der Skin ist in Ordnung.")
                                                      : QStringLiteral("Der Skin-Ordner lässt sich nicht lesen."));
        return;
    }
    m_dock.show();
    m_dock.raise();
}

void SkinCheck::show(const QList<Finding>& findings)
{
    m_list.setFindings(findings);
    m_dock.setFindings(findings);
    m_view.setFindings(findings);
}

void SkinCheck::saved(const QStringList& files)
{
    if (!files.isEmpty() && m_view.showsFindings())
        show(SkinChecker::check(m_state.SkinFolder).findings);
}

void SkinCheck::selectElement(const Finding& finding)
{
    for (int slot = 0; slot < m_document.count(); ++slot) {
        if (FindingConcerns(finding, m_document.file(slot), m_document.section(slot))) {
            m_document.select(slot);
            return;
        }
    }
}
