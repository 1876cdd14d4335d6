#pragma once

// What binding a screen asks of the editor window: the two map-view check
// boxes, shown only for a map view, and whether they are ticked. The editor
// window implements it; the command-line modes use the boxes as the editor starts.
class BindingView
{
public:
    virtual ~BindingView() = default;

    // Shows or hides the check boxes ChkDummys and ChkInfobar.
    virtual void setMapBoxesVisible(bool visible) = 0;
    // Whether ChkInfobar ("Infobar eingeschaltet") is ticked.
    virtual bool infobarTicked() const = 0;
    // Whether ChkDummys ("Dummys sichtbar") is ticked.
    virtual bool dummysTicked() const = 0;
};

// The boxes as the editor starts: info bar shown, dummies hidden, nothing to show.
class StartView : public BindingView
{
public:
    void setMapBoxesVisible(bool) override {}
    bool infobarTicked() const override { return true; }
    bool dummysTicked() const override { return false; }
};
