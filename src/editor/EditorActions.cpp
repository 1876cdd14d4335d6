#include "EditorActions.h"

#include "Alignment.h"
#include "LayoutDocument.h"
#include "Prompter.h"
#include "ViewTransform.h"
#include "ZoomControl.h"
#include "frmTivaro.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

EditorActions::EditorActions(frmTivaro& window) : QObject(&window), m_window(window)
{
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(key))
            redoKeys << key;
    using K = QKeySequence;
    frmTivaro* w = &window;
    connect(make(Open, "Skin ö&ffnen…", "Einen Skin-Ordner wählen", K::keyBindings(K::Open)), &QAction::triggered, w,
            &frmTivaro::BTNLoad_Click);
    connect(make(Save, "&Speichern", "Das Layout des Bildschirms in die Skin-Dateien schreiben", K::keyBindings(K::Save)),
            &QAction::triggered, w, &frmTivaro::BTNSave_Click);
    connect(make(Check, "&Prüfen", "Den ganzen Skin prüfen; die Befunde stehen im Dock „Befunde“"), &QAction::triggered,
            w, &frmTivaro::BTNCheck_Click);
    connect(make(Quit, "&Beenden", "Tivaro beenden", {K(Qt::CTRL | Qt::Key_Q)}), &QAction::triggered, w,
            &QWidget::close);
    connect(make(Undo, "&Rückgängig", "Den letzten Schritt zurücknehmen", K::keyBindings(K::Undo)), &QAction::triggered,
            w, &frmTivaro::BTNUndo_Click);
    connect(make(Redo, "&Wiederholen", "Den zurückgenommenen Schritt wiederholen", redoKeys), &QAction::triggered, w,
            &frmTivaro::BTNRedo_Click);
    connect(make(SelectAll, "&Alles auswählen", "Alle sichtbaren Elemente des Bildschirms auswählen",
                 K::keyBindings(K::SelectAll)),
            &QAction::triggered, w, &frmTivaro::selectAll);
    connect(make(Lock, "S&perren", "Die ausgewählten Elemente gegen Verschieben sperren"), &QAction::triggered, w,
            [w] { w->setSelectionLocked(true); });
    connect(make(Unlock, "&Entsperren", "Die ausgewählten Elemente wieder freigeben"), &QAction::triggered, w,
            [w] { w->setSelectionLocked(false); });
    connect(make(ZoomIn, "Ver&größern", "Den Bildschirm größer zeigen",
                 K::keyBindings(K::ZoomIn) << K(Qt::CTRL | Qt::Key_Equal)),
            &QAction::triggered, w, [w] { w->zoom().step(1); });
    connect(make(ZoomOut, "Ver&kleinern", "Den Bildschirm kleiner zeigen", K::keyBindings(K::ZoomOut)),
            &QAction::triggered, w, [w] { w->zoom().step(-1); });
    connect(make(ZoomFit, "&Einpassen", "Den ganzen Bildschirm so groß wie möglich zeigen", {K(Qt::CTRL | Qt::Key_0)}),
            &QAction::triggered, w, [w] { w->zoom().zoomToFit(); });
    connect(make(ZoomOne, "&Originalgröße", "Ein Bildschirmpixel je PDA-Pixel", {K(Qt::CTRL | Qt::Key_1)}),
            &QAction::triggered, w, [w] { w->zoom().setZoom(1); });
    make(Snap, "Ein&rasten", "Beim Ziehen an Kanten und Mitten einrasten (Alt hält es an)")->setCheckable(true);
    make(Infobar, "&Infobar eingeschaltet", "Kartenansichten: die Infobar zeigen und die abhängigen Elemente verschieben")
        ->setCheckable(true);
    make(Dummys, "&Dummys sichtbar", "Kartenansichten: die Dummy-Elemente zeigen")->setCheckable(true);
    connect(make(SkinManager, "&Skins…", "Skins auf dem PDA verwalten"), &QAction::triggered, w,
            &frmTivaro::BTNSkinManager_Click);
    connect(make(Preferences, "&Geschwindigkeitsprofile…", "Die Geschwindigkeitsprofile von MN|4 berechnen"),
            &QAction::triggered, w, &frmTivaro::BTNMisc_Click);
    connect(make(ArrowColours, "&Pfeilfarben…", "Die Farben der Abbiegepfeile des gezeigten Skins bearbeiten"),
            &QAction::triggered, w, &frmTivaro::openArrowColours);
    connect(make(Deploy, "Auf den &PDA", "Den Skin auf den PDA bringen; nur Geändertes wird übertragen",
                 {K(Qt::CTRL | Qt::Key_T)}),
            &QAction::triggered, w, [w] { w->deploy(false); });
    connect(make(DeployDryRun, "&Was ginge auf den PDA?", "Zeigen, was „Auf den PDA“ übertragen würde"),
            &QAction::triggered, w, [w] { w->deploy(true); });
    connect(make(Shortcuts, "&Tastenkürzel", "Alle Befehle mit ihren Tastenkürzeln", K::keyBindings(K::HelpContents)),
            &QAction::triggered, w, &frmTivaro::showShortcuts);
    connect(make(About, "Ü&ber Tivaro", "Version, Lizenz und Qt-Version"), &QAction::triggered, w,
            &frmTivaro::showAbout);
    m_align = buildAlignMenu();
    buildMenus();
    buildToolBar();
    followHistory();
    enableSkinCommands(false, false, false);
}

QAction* EditorActions::make(Command command, const char* text, const char* tip, QList<QKeySequence> keys)
{
    auto* action = new QAction(QString::fromUtf8(text), &m_window);
    action->setObjectName(QStringLiteral("action%1").arg(int(command)));
    action->setStatusTip(QString::fromUtf8(tip));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    m_window.addAction(action);
    m_actions[command] = action;
    return action;
}

QMenu* EditorActions::buildAlignMenu()
{
    auto* menu = new QMenu(QStringLiteral("A&usrichten"), &m_window);
    menu->setObjectName(QStringLiteral("AlignMenu"));
    menu->menuAction()->setStatusTip(QStringLiteral("Ausgewählte Elemente ausrichten, verteilen oder angleichen"));
    using A = Alignment::Action;
    const struct { A action; const char* text; bool separatorBefore; } arrangements[] = {
        {A::Left, "Links ausrichten", false},
        {A::HorizontalCentre, "Horizontal zentrieren", false},
        {A::Right, "Rechts ausrichten", false},
        {A::Top, "Oben ausrichten", true},
        {A::VerticalCentre, "Vertikal zentrieren", false},
        {A::Bottom, "Unten ausrichten", false},
        {A::DistributeHorizontally, "Horizontal gleich verteilen", true},
        {A::DistributeVertically, "Vertikal gleich verteilen", false},
        {A::SameWidth, "Gleiche Breite", true},
        {A::SameHeight, "Gleiche Höhe", false},
    };
    for (const auto& a : arrangements) {
        if (a.separatorBefore)
            menu->addSeparator();
        const QString text = QString::fromUtf8(a.text);
        QAction* action = menu->addAction(text);
        action->setStatusTip(text);
        const A what = a.action;
        connect(action, &QAction::triggered, &m_window, [this, what, text] { m_window.document().arrange(what, text); });
    }
    return menu;
}

void EditorActions::buildMenus()
{
    QMenuBar* bar = m_window.menuBar();
    const auto menu = [bar](const char* title, const char* name) {
        QMenu* m = bar->addMenu(QString::fromUtf8(title));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    QMenu* file = menu("&Datei", "FileMenu");
    file->addAction(action(Open));
    m_recent = file->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    m_recent->setObjectName(QStringLiteral("RecentMenu"));
    // A folder can vanish while the program runs (a card pulled): it shows disabled.
    connect(m_recent, &QMenu::aboutToShow, this, [this] {
        for (QAction* entry : m_recent->actions()) {
            const bool there = QFileInfo(entry->data().toString()).isDir();
            entry->setEnabled(there);
            entry->setStatusTip(there ? QStringLiteral("Diesen Skin öffnen") : QStringLiteral("Der Ordner fehlt."));
        }
    });
    file->addAction(action(Save));
    file->addAction(action(Check));
    file->addSeparator();
    file->addAction(action(Quit));

    QMenu* edit = menu("&Bearbeiten", "EditMenu");
    edit->addActions({action(Undo), action(Redo)});
    edit->addSeparator();
    edit->addAction(action(SelectAll));
    edit->addMenu(m_align);
    edit->addSeparator();
    edit->addActions({action(Lock), action(Unlock)});

    m_view = menu("&Ansicht", "ViewMenu");
    m_view->addActions({action(ZoomIn), action(ZoomOut), action(ZoomFit), action(ZoomOne)});
    QMenu* steps = m_view->addMenu(QStringLiteral("&Zoom"));
    auto* group = new QActionGroup(this);
    for (int z : ViewTransform::Zooms) {
        QAction* step = steps->addAction(QStringLiteral("%1×").arg(z));
        step->setCheckable(true);
        step->setData(z);
        group->addAction(step);
        connect(step, &QAction::triggered, &m_window, [this, z] { m_window.zoom().setZoom(z); });
        m_zoomSteps << step;
    }
    connect(&m_window.zoom(), &ZoomControl::zoomChanged, this, [this](int zoom) {
        for (QAction* step : m_zoomSteps)
            step->setChecked(step->data().toInt() == zoom);
    });
    m_view->addSeparator();
    m_view->addActions({action(Snap), action(Infobar), action(Dummys)});
    m_docksStart = m_view->addSeparator();

    QMenu* extras = menu("E&xtras", "ToolsMenu");
    extras->addActions({action(SkinManager), action(Preferences), action(ArrowColours)});
    extras->addSeparator();
    extras->addActions({action(Deploy), action(DeployDryRun)});

    QMenu* help = menu("&Hilfe", "HelpMenu");
    help->addActions({action(Shortcuts), action(About)});
    for (QMenu* m : bar->findChildren<QMenu*>())
        m->setAccessibleName(m->title().remove(u'&'));
}

void EditorActions::buildToolBar()
{
    QToolBar* bar = m_window.addToolBar(QStringLiteral("Befehle"));
    bar->setObjectName(QStringLiteral("MainToolBar"));
    bar->setAccessibleName(QStringLiteral("Befehle"));
    const struct { const char* name; const char* caption; const char* tip; Command command; } buttons[] = {
        {"BTNLoad", "Laden", "Layout laden", Open},
        {"BTNSave", "Speichern", "Layout speichern", Save},
        {"BTNUndo", "Rückgängig", "Rückgängig", Undo},
        {"BTNRedo", "Wiederholen", "Wiederholen", Redo},
        {"BTNCheck", "Prüfen", "Skin prüfen", Check},
    };
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), bar);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromUtf8(b.tip));
        button->setFocusPolicy(Qt::TabFocus);
        bindButton(button, action(b.command));
        if (b.command == Undo || b.command == Redo) {
            QAction* a = action(b.command);
            connect(a, &QAction::changed, button, [button, a] { button->setToolTip(a->toolTip()); });
        }
        bar->addWidget(button);
    }
    bar->addAction(action(Deploy));
    bar->addSeparator();
    bar->addWidget(m_window.zoom().box());
    bar->addSeparator();
    auto* align = new QPushButton(QStringLiteral("Ausrichten"), bar);
    align->setObjectName(QStringLiteral("BTNAlign"));
    align->setAccessibleName(align->text());
    align->setToolTip(QStringLiteral("Ausgewählte Elemente ausrichten, verteilen oder angleichen"));
    align->setFocusPolicy(Qt::TabFocus);
    align->setMenu(m_align);
    bar->addWidget(align);
    const struct { const char* name; const char* caption; const char* tip; Command command; } tools[] = {
        {"BTNMisc", "Misc", "miscelangelous", Preferences},
        {"BTNSkinManager", "Skins", "PDA", SkinManager},
    };
    for (const auto& b : tools) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), bar);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromUtf8(b.tip));
        button->setFocusPolicy(Qt::TabFocus);
        bindButton(button, action(b.command));
        bar->addWidget(button);
    }
}

void EditorActions::bindButton(QPushButton* button, QAction* action)
{
    button->setAccessibleName(button->text());
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    button->setEnabled(action->isEnabled());
    connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
}

void EditorActions::bindCheckBox(Command command, QCheckBox* box, std::function<void()> handler)
{
    QAction* a = action(command);
    a->setChecked(box->isChecked());
    box->setStatusTip(a->statusTip());
    box->setAccessibleName(box->text());
    connect(box, &QCheckBox::toggled, a, &QAction::setChecked);
    if (handler) {
        connect(box, &QCheckBox::clicked, &m_window, [handler] { handler(); });
        connect(a, &QAction::triggered, &m_window, [box, handler](bool checked) {
            box->setChecked(checked);
            handler();
        });
    } else {
        connect(a, &QAction::toggled, box, &QCheckBox::setChecked);
    }
}

void EditorActions::addDockToggle(QDockWidget* dock)
{
    QAction* toggle = dock->toggleViewAction();
    toggle->setStatusTip(QStringLiteral("Das Dock „%1“ zeigen oder verbergen").arg(dock->windowTitle()));
    m_view->addAction(toggle);
}

void EditorActions::showRecentFolders(const QStringList& folders)
{
    m_recent->clear();
    for (int i = 0; i < folders.size(); ++i) {
        const QString& folder = folders[i];
        QAction* entry = m_recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(folder)));
        entry->setData(folder);
        connect(entry, &QAction::triggered, &m_window, [this, folder] { m_window.openRecentFolder(folder); });
    }
    m_recent->setEnabled(!folders.isEmpty());
}

void EditorActions::enableSkinCommands(bool loaded, bool arrowColours, bool deploy)
{
    action(ArrowColours)->setEnabled(loaded && arrowColours);
    action(Deploy)->setEnabled(loaded && deploy);
    action(DeployDryRun)->setEnabled(loaded && deploy);
}

void EditorActions::followHistory()
{
    QUndoStack& history = m_window.document().undoStack();
    // The buttons and entries say which step they take back or do again.
    for (Command c : {Undo, Redo}) {
        QAction* a = action(c);
        const QString caption = a->text().remove(u'&');
        const auto follow = [a, caption](const QString& step) {
            a->setToolTip(step.isEmpty() ? caption : caption + QStringLiteral(": ") + step);
        };
        follow({});
        connect(&history, c == Undo ? &QUndoStack::undoTextChanged : &QUndoStack::redoTextChanged, a, follow);
        connect(&history, c == Undo ? &QUndoStack::canUndoChanged : &QUndoStack::canRedoChanged, a,
                &QAction::setEnabled);
        a->setEnabled(false);
    }
}

QAction* EditorActions::takenFromFields(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (Command c : {Undo, Redo, Save})
        if (action(c)->shortcuts().contains(pressed))
            return action(c);
    return nullptr;
}

QList<QStringList> EditorActions::shortcutRows() const
{
    QList<QStringList> rows;
    for (QAction* a : m_actions) {
        QStringList keys;
        for (const QKeySequence& key : a->shortcuts())
            keys << key.toString(QKeySequence::NativeText);
        if (!keys.isEmpty())
            rows.append({a->text().remove(u'&'), keys.join(QStringLiteral(", ")), a->statusTip()});
    }
    return rows;
}

void EditorActions::showShortcuts(Prompter& prompter) const
{
    QDialog dialog(&m_window);
    dialog.setObjectName(QStringLiteral("ShortcutDialog"));
    dialog.setWindowTitle(QStringLiteral("Tastenkürzel"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QTreeWidget(&dialog);
    list->setObjectName(QStringLiteral("ShortcutList"));
    list->setAccessibleName(QStringLiteral("Tastenkürzel"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Befehl"), QStringLiteral("Tasten"), QStringLiteral("Wirkung")});
    for (const QStringList& row : shortcutRows())
        new QTreeWidgetItem(list, row);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(720, 480);
    prompter.runDialog(dialog);
}
