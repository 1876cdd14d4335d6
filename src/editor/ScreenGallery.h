#pragma once

#include "IniCache.h"
#include "ScreenCatalogue.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QScrollArea>
#include <QTimer>

#include <memory>
#include <vector>

class LayoutDocument;
class QToolButton;
class ScreenRenderer;
struct AppState;

// A thumbnail of each of the 48 screens of the skin, grouped by kind, with the
// screen's name under it; a click asks for that screen. Thumbnails are drawn
// by the windowless renderer from the skin's files, one per turn of the event
// loop and the visible ones first, so the window never waits for them. A
// thumbnail is drawn again when one of its screen's files changes on disk,
// through a save of the editor or anyone else.
class ScreenGallery : public QScrollArea
{
    Q_OBJECT

public:
    // As wide as two columns of pictures, and short: the dock may grow, but its
    // wish must not push the window beyond the display at the start.
    QSize sizeHint() const override { return {minimumWidth(), 160}; }
    // One thumbnail pixel is Scale × Scale device pixels.
    static constexpr int Scale = 3;

    // Follows the skin folder of state and marks the screen the document shows.
    ScreenGallery(const AppState& state, const LayoutDocument& document, QWidget* parent = nullptr);
    ~ScreenGallery() override;

    QToolButton* thumbnail(const QString& screen) const;
    // Whether the screen's thumbnail waits to be drawn (again).
    bool isWaiting(const QString& screen) const;

    // Draws one waiting thumbnail, a visible one first; false when none waits.
    bool drawNext();
    // Compares the skin's layout files with what the thumbnails were drawn
    // from; the screens of every changed file wait to be drawn again.
    void checkFiles();

signals:
    void screenChosen(const QString& screen);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Thumb
    {
        const ScreenEntry* screen;
        QToolButton* button;
        QStringList files; // lower case
        bool waiting = true;
    };

    void build();
    void followDocument();
    void openSkin(const QString& folder);
    // Reads which files each screen uses in the skin's family of shared files.
    void readFiles();
    QHash<QString, IniCache::Stamp> stamps() const;
    void watch();
    void schedule();
    bool isOnView(const QToolButton* button) const;

    const AppState& m_state;
    const LayoutDocument& m_document;
    std::unique_ptr<ScreenRenderer> m_renderer;
    QString m_folder; // ends with a separator; "" before a skin is chosen
    LayoutFiles m_fileSet;
    std::vector<Thumb> m_thumbs;
    QHash<QString, IniCache::Stamp> m_stamps; // what the thumbnails show, by lower-case file name
    QFileSystemWatcher m_watcher;
    QTimer m_tick;   // one thumbnail per tick
    bool m_painted = false; // the window shows first, then the gallery reads the skin
    QTimer m_settle; // one look at the files for a burst of reports
};
