#pragma once
// What the file and terrain commands need from the main window. frmTer
// implements it; tests use a fake. New members get a default body so that
// every implementation keeps compiling.

#include <QString>

class MainView {
public:
    virtual ~MainView() = default;

    // Refresh caption, parameter panel and toolbar states.
    virtual void ActualScreen() {}
    // Redraw the top view from the current terrain.
    virtual void redrawTerrain() {}
    // Fit the height-map view to the terrain's size and the zoom.
    virtual void ResizePic() {}
    // Stamps every placed object into the terrain and removes their pictures
    // (Clear answered Yes).
    virtual void mergePlacedObjects() {}
};
