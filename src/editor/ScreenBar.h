#pragma once

#include <QToolBar>

class QCheckBox;
class QComboBox;

// The tool bar row of the screen on show: the screen list ComboAnsicht, the
// map-view boxes ChkInfobar and ChkDummys, and ChkSnap. The window connects
// their handlers.
class ScreenBar : public QToolBar
{
    Q_OBJECT

public:
    explicit ScreenBar(QWidget* parent = nullptr);

    QComboBox* screens() const { return ComboAnsicht; }
    QCheckBox* infobar() const { return ChkInfobar; }
    QCheckBox* dummys() const { return ChkDummys; }
    QCheckBox* snap() const { return ChkSnap; }
    // The map-view boxes come and go together; the row keeps their room.
    void setMapBoxesVisible(bool visible);

private:
    QComboBox* ComboAnsicht;
    QCheckBox* ChkInfobar;
    QCheckBox* ChkDummys;
    QCheckBox* ChkSnap;
};
