#pragma once

// What binding a screen does to the editor window: it hides or shows the
// element bitmaps with their frames and the two map-view check boxes, and it
// reads the check boxes. The editor window implements it; tests use a fake.
class BindingView
{
public:
    virtual ~BindingView() = default;

    // Shows or hides the bitmap myImage<slot+1> together with its frame ImShape<slot+1>.
    virtual void setSlotVisible(int slot, bool visible) = 0;
    // Shows or hides the check boxes ChkDummys and ChkInfobar.
    virtual void setMapBoxesVisible(bool visible) = 0;
    // Whether ChkInfobar ("Infobar eingeschaltet") is ticked.
    virtual bool infobarTicked() const = 0;
    // Whether ChkDummys ("Dummys sichtbar") is ticked.
    virtual bool dummysTicked() const = 0;
};
