#pragma once

#include "ScreenCatalogue.h"

#include <QRectF>
#include <QString>
#include <QStringList>

#include <array>

class BindingView;
class Canvas;
class CanvasShape;
class Elements;
struct AppState;

// The screen on the canvas: binds a chosen screen, loads its elements from the
// skin's layout files and writes their rectangles back. The editor window owns
// one and hands it the screen name shown in its screen list.
class ScreenLayout
{
public:
    ScreenLayout(AppState& state, Canvas& canvas, Elements& elements, BindingView& view);

    // Offers to save pending changes, chooses the layout file family, binds the
    // screen called screenName when needed and loads it. Returns false, having
    // changed nothing, when the user cancelled the question or the save failed.
    bool CheckForSave(const QString& screenName);

    // Asks "Soll die Datei gespeichert werden?" (Yes, No, Cancel) when the bound
    // screen has unsaved changes and saves on Yes. Returns false when the user
    // cancelled, or chose Yes and a file could not be written: the caller must
    // then stop, and the changes are still pending.
    bool offerSave();

    // Writes the rectangles of the elements changed since the screen was loaded
    // (or last saved) into its layout files, skipping every key that already
    // holds its value. Returns false, after telling the user which files
    // failed, when any file could not be written; the changes then stay pending.
    bool BTNSave_Click();

    // Puts the bound screen on the canvas; screenName decides the loader.
    void SetTheControls(const QString& screenName);

    // The screen that is bound now ("" before the first binding).
    QString currentScreen() const { return m_currentName; }

private:
    struct SlotRule
    {
        CanvasShape* coSystem = nullptr;
        bool touchX = true, touchY = true, touchCX = true, touchCY = true;
    };

    void SetMainControls(const QString& screenName);
    void SetMsgBoxControls(const QString& screenName);
    void SetListBoxControls(const QString& screenName);
    void SetListBoxt9Controls(const QString& screenName);
    void loadMapView(const QString& screenName);

    void loadList(const QString& screenName, int listSlot, bool t9);
    void startLoad(bool mapView);
    void loadSlot(int slot, const QString& bitmapFolder, bool hasDepts, const SlotRule& rule, qint32 infoBarHeight,
                  bool isListbox = false, bool isListboxt9 = false);
    void readRectangle(int slot, const QString& xSection = {});
    void finishSlot(int slot, const SlotRule& rule);
    void listPostPass(int listSlot);
    QString layoutFile(int slot) const;
    // Whether the slot's rectangle differs from the one it had when the screen
    // was loaded or last saved.
    bool changedSinceLoad(int slot) const;
    void rememberLoaded();

    AppState& m_state;
    Canvas& m_canvas;
    Elements& m_elements;
    BindingView& m_view;
    QString m_previousName;
    QString m_currentName;
    std::array<QRectF, SlotCount> m_loaded; // bitmap rectangles as loaded or saved
};
