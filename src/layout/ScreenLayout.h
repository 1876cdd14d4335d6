#pragma once

#include "LayoutDocument.h"
#include "LayoutWrites.h"
#include "ScreenCatalogue.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class BindingView;
class Canvas;
class Elements;
class LayoutDocument;
struct AppState;

// The screen on the canvas: binds a chosen screen, loads its elements from the
// skin's layout files into the layout document and writes their rectangles
// back from it. The editor window owns one and hands it the screen name shown
// in its screen list.
class ScreenLayout
{
public:
    ScreenLayout(AppState& state, Canvas& canvas, Elements& elements, BindingView& view);

    // Offers to save pending changes, chooses the layout file family, binds the
    // screen called screenName and loads it. Returns false, having changed
    // nothing, when the user cancelled the question or the save failed.
    bool CheckForSave(const QString& screenName);

    // Asks "Soll die Datei gespeichert werden?" (Yes, No, Cancel) when the bound
    // screen has unsaved changes and saves on Yes; No gives the changes up.
    // Returns false when the user cancelled, or chose Yes and a file could not
    // be written: the caller must then stop, and the changes are still pending.
    bool offerSave();

    // Writes the rectangles of the elements changed since the screen was loaded
    // (or last saved) into its layout files, skipping every key that already
    // holds its value. Returns false, after telling the user which files
    // failed, when any file could not be written; the changes then stay pending.
    bool save();

    // Puts the bound screen on the canvas; its kind decides the loader.
    void SetTheControls(ScreenBinding binding);

    // The bound screen has edits that are not saved: its history is not at the saved step.
    bool LayoutChanged() const;

    // The screen that is bound now ("" before the first binding).
    QString currentScreen() const { return m_document.binding().screen; }

    // Called after every successful save with the names of the files it wrote.
    void setSavedNotice(std::function<void(const QStringList& files)> notice) { m_savedNotice = std::move(notice); }

private:
    struct SlotRule
    {
        int coSystem = -1; // slot whose frame x and y count from; -1: the screen frame
        Touch touch;
    };

    ScreenBinding bind(const QString& screenName) const;

    void SetMainControls(const ScreenBinding& b);
    void SetMsgBoxControls(const ScreenBinding& b);
    void SetListBoxControls(const ScreenBinding& b);
    void SetListBoxt9Controls(const ScreenBinding& b);
    void loadMapView(const ScreenBinding& b);

    // Adds the element of slot, placed from its values (device pixels, the
    // info-bar shift d taken off y) relative to the rule's coordinate frame.
    void loadSlot(const ScreenBinding& b, int slot, const SlotRule& rule, const FieldValues& values, double d = 0);
    FieldValues readRectangle(const ScreenBinding& b, int slot, const QString& xSection = {}) const;
    // The editing rules of the bound screen: its follow rules and list parts.
    ScreenRules rulesOf(const ScreenBinding& b) const;
    void finishLoad(ScreenBinding binding, int current);

    // What saving writes for slot: its frame relative to its coordinate frame, in device pixels.
    SlotValues savedValues(int slot, qint32 infoBarHeight) const;
    // Whether a save writes slot: it changed, or it follows a changed info bar.
    bool toWrite(int slot) const;
    void reportFailure(const QStringList& failed) const;
    QString layoutFile(const ScreenBinding& b, int slot) const;

    AppState& m_state;
    Canvas& m_canvas;
    Elements& m_elements;
    LayoutDocument& m_document;
    BindingView& m_view;
    std::vector<LayoutElement> m_loading; // the screen being loaded
    std::function<void(const QStringList&)> m_savedNotice;
};
