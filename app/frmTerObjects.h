#pragma once
// The placed objects on the main window: their pictures as children of the
// height-map view, the object menu, the Objects panel's buttons, and the mouse
// handling that moves and resizes them. The objects' data and pictures live in
// mdlObjects::PlacedObjects().

#include "objects/mdlObjects.h"

#include <QObject>
#include <QPointF>

#include <array>
#include <optional>

class frmTer;
class QMenu;
class QPushButton;
class QWidget;
class ObjectPictureWidget;

class frmTerObjects : public QObject {
public:
    explicit frmTerObjects(frmTer& window);
    ~frmTerObjects() override;

    // Loader and Objects panel.
    std::optional<int> loadObjectMaker(const QString& fileName);
    // Loads the file as a placed object and shows it, leaving the view as it is.
    std::optional<int> placeObject(const QString& fileName);
    void cmdObjLoad_Click();
    // Merging.
    void mnuObjMerge_Click();
    void mnuObjMergeAll_Click();
    // Clear: every object stamped into the terrain and removed, no rescale.
    void mergeForClear();
    // Orientation submenu.
    void transformSelected(mdlObjects::ObjectTransform transform);
    // Object menu.
    void mnuObjProperties_Click();
    void mnuObjCopy_Click();
    void mnuObjToFront_Click();
    void mnuObjToBack_Click();
    void filterSelected(mdlObjects::ObjectFilter filter);
    void mnuObjDelete_Click();
    void mnuObjDeleteAll_Click();
    void mnuObjSaveObject_Click();
    void mnuObjSaveMask_Click();

    // Mouse events of the object pictures; positions in picture pixels.
    void PicTer_MouseDown(int index, Qt::MouseButton button, QPointF at, QPoint globalAt);
    void PicTer_MouseMove(int index, Qt::MouseButtons buttons, QPointF at);
    void PicTer_MouseUp(int index, Qt::MouseButton button, QPointF at);
    void PicTer_DblClick(int index);

    // The picture widget of a slot, nullptr when the slot is free.
    QWidget* PicTer(int slot) const;
    // View pixels per terrain point.
    double viewScale() const;
    // Puts every object picture at its record's place and size.
    void placePictures();

    int SelectedObject = 0;
    std::array<double, 100> ObjectDragX = {};
    std::array<int16_t, 100> ObjectDragY = {};
    bool ObjectResizing = false;

    QMenu* mnuObject = nullptr;
    QPushButton* cmdObjLoad = nullptr;
    QPushButton* cmdObjMergeAll = nullptr;
    QPushButton* cmdObjDeleteAll = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildPanelButtons();
    void showObject(int slot);
    void unloadObject(int slot);
    void afterLastObjectGone();
    bool hasSelection() const;
    void placePicture(int slot);

    frmTer& w;
    std::array<ObjectPictureWidget*, mdlObjects::LastObjectSlot + 1> m_pictures = {};
};
