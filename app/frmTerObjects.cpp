// Placed objects on the main window (see frmTerObjects.h).

#include "app/frmTerObjects.h"

#include "app/AppState.h"
#include "terrain/OpenFileTypes.h"
#include "app/Pens.h"
#include "objects/dlgObjectsProperties.h"
#include "objects/frmOjektmaker.h"
#include "app/frmTer.h"
#include "app/frmTerView.h"
#include "runtime/Files.h"
#include "runtime/Numbers.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/TerrainGlobals.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

using mdlObjects::ObjectTransform;
using mdlObjects::PlacedObjects;

// One object picture over Picture1; reports its mouse events in picture pixels.
class ObjectPictureWidget : public QWidget {
public:
    ObjectPictureWidget(frmTerObjects& owner, int slot, QWidget* parent) : QWidget(parent), m_owner(owner), m_slot(slot)
    {
        setObjectName(QStringLiteral("PicTer%1").arg(slot));
        setMouseTracking(true);
        setCursor(Qt::SizeAllCursor);
    }
    int slot() const { return m_slot; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (PlacedObjects().exists(m_slot)) p.drawImage(rect(), PlacedObjects().picture(m_slot));
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        m_owner.PicTer_MouseDown(m_slot, e->button(), toPicture(e), e->globalPosition().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override { m_owner.PicTer_MouseMove(m_slot, e->buttons(), toPicture(e)); }
    void mouseReleaseEvent(QMouseEvent* e) override { m_owner.PicTer_MouseUp(m_slot, e->button(), toPicture(e)); }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) m_owner.PicTer_DblClick(m_slot);
    }

private:
    QPointF toPicture(QMouseEvent* e) const
    {
        const double k = m_owner.viewScale();
        return k > 0 ? e->position() / k : e->position();
    }
    frmTerObjects& m_owner;
    int m_slot;
};

namespace {
const QString kObjectsTitle = QStringLiteral("Objects");

QString temporaryPicturePath() { return rt::scratchFilePath(QStringLiteral("temppic.bmp")); }
} // namespace

frmTerObjects::frmTerObjects(frmTer& window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("frmTerObjects"));
    // A new main window starts without placed objects.
    PlacedObjects().releaseAll();
    buildMenu();
    buildPanelButtons();
    w.Picture1->installEventFilter(this);
}

frmTerObjects::~frmTerObjects()
{
    PlacedObjects().releaseAll();
}

// --- layout -----------------------------------------------------------------------

void frmTerObjects::buildMenu()
{
    mnuObject = new QMenu(QStringLiteral("Object"), &w);
    mnuObject->setObjectName(QStringLiteral("mnuObject"));
    auto add = [](QMenu* m, const char* name, const QString& caption, auto slot) {
        QAction* a = m->addAction(caption);
        a->setObjectName(QLatin1String(name));
        QObject::connect(a, &QAction::triggered, slot);
        return a;
    };
    add(mnuObject, "mnuObjProperties", QStringLiteral("Properties"), [this] { mnuObjProperties_Click(); });
    mnuObject->addSeparator();
    QMenu* orient = mnuObject->addMenu(QStringLiteral("Orientation"));
    orient->menuAction()->setObjectName(QStringLiteral("mnuObjOrientation"));
    const std::array<std::pair<const char*, std::pair<QString, ObjectTransform>>, 5> turns = {{
        {"mnuObjRotateRight", {QStringLiteral("Rotate right"), ObjectTransform::RotateRight}},
        {"mnuObjRotateLeft", {QStringLiteral("Rotate left"), ObjectTransform::RotateLeft}},
        {"mnuObjReflectHorizont", {QStringLiteral("Reflect horizontally"), ObjectTransform::ReflectHorizontal}},
        {"mnuObjReflectVertical", {QStringLiteral("Reflect vertically"), ObjectTransform::ReflectVertical}},
        {"mnuObjReflectDiagonal", {QStringLiteral("Reflect diagonal \\"), ObjectTransform::ReflectDiagonal}},
    }};
    for (const auto& [name, t] : turns) {
        const ObjectTransform how = t.second;
        add(orient, name, t.first, [this, how] { transformSelected(how); });
    }
    mnuObject->addSeparator();
    QMenu* filters = mnuObject->addMenu(QStringLiteral("Filter"));
    filters->menuAction()->setObjectName(QStringLiteral("mnuObjFilter"));
    struct F {
        const char* name;
        const char* caption;
        mdlObjects::ObjectFilter filter;
    };
    const std::array<F, 9> list = {{
        {"mnuObjFilterSmooth", "Smooth", {5, 3}},
        {"mnuObjFilterDiffuse", "Diffuse", {4, 10}},
        {"mnuObjFilterAqua", "Aqua", {24, 2}},
        {"mnuObjFilterSharpen", "Sharpen", {1, 5}},
        {"mnuObjFilterErode", "Erode", {26, 3}},
        {"mnuObjFilterNoise", "add Noise", {29, 13}},
        {"mnuObjFilterDilate", "Dilate", {25, 3}},
        {"mnuObjFilterStretch", "Conture", {7, 5}},
        {"mnuObjFilterGamma", "Gamma", {17, 100}},
    }};
    for (const F& f : list) {
        const mdlObjects::ObjectFilter filter = f.filter;
        add(filters, f.name, QString::fromLatin1(f.caption), [this, filter] { filterSelected(filter); });
    }
    mnuObject->addSeparator();
    add(mnuObject, "mnuObjCopy", QStringLiteral("copy"), [this] { mnuObjCopy_Click(); });
    add(mnuObject, "mnuObjToFront", QStringLiteral("to front"), [this] { mnuObjToFront_Click(); });
    add(mnuObject, "mnuObjToBack", QStringLiteral("to back"), [this] { mnuObjToBack_Click(); });
    mnuObject->addSeparator();
    add(mnuObject, "mnuObjMerge", QStringLiteral("Merge"), [this] { mnuObjMerge_Click(); });
    add(mnuObject, "mnuObjMergeAll", QStringLiteral("Merge all"), [this] { mnuObjMergeAll_Click(); });
    mnuObject->addSeparator();
    add(mnuObject, "mnuObjDelete", QStringLiteral("Delete"), [this] { mnuObjDelete_Click(); });
    add(mnuObject, "mnuObjDeleteAll", QStringLiteral("Delete all"), [this] { mnuObjDeleteAll_Click(); });
    mnuObject->addSeparator();
    add(mnuObject, "mnuObjSaveObject", QStringLiteral("Save Object"), [this] { mnuObjSaveObject_Click(); });
    add(mnuObject, "mnuObjSaveMask", QStringLiteral("Save as Mask"), [this] { mnuObjSaveMask_Click(); });
}

void frmTerObjects::buildPanelButtons()
{
    auto* frame = w.findChild<QGroupBox*>(QStringLiteral("fraObjects"));
    if (!frame || !frame->layout()) return;
    auto* box = qobject_cast<QBoxLayout*>(frame->layout());
    auto make = [frame](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, frame);
        b->setObjectName(QLatin1String(name));
        if (!tip.isEmpty()) b->setToolTip(tip);
        return b;
    };
    cmdObjLoad = make("cmdObjLoad", QStringLiteral("&Add Objects"), QStringLiteral("Load Overlay Graphic File"));
    cmdObjMergeAll = make("cmdObjMergeAll", QStringLiteral("Merge all"), QStringLiteral("merge all objects"));
    cmdObjDeleteAll = make("cmdObjDeleteAll", QStringLiteral("Delete all"), QStringLiteral("delete all objects"));
    auto* hint = new QLabel(QStringLiteral("Adjusting properties of an object, click with the right mouse button on the "
                                           "object. Moving the object with the left mouse button. Pictures must be "
                                           "square!"),
                            frame);
    hint->setObjectName(QStringLiteral("lblObjectsHint"));
    hint->setWordWrap(true);
    if (box) {
        box->insertWidget(0, cmdObjLoad);
        box->insertWidget(1, cmdObjMergeAll);
        box->insertWidget(2, cmdObjDeleteAll);
    }
    if (auto* outer = frame->parentWidget(); outer && outer->layout()) outer->layout()->addWidget(hint);
    connect(cmdObjLoad, &QPushButton::clicked, this, [this] { cmdObjLoad_Click(); });
    connect(cmdObjMergeAll, &QPushButton::clicked, this, [this] { mnuObjMergeAll_Click(); });
    connect(cmdObjDeleteAll, &QPushButton::clicked, this, [this] { mnuObjDeleteAll_Click(); });
}

QWidget* frmTerObjects::PicTer(int slot) const
{
    if (slot < mdlObjects::FirstObjectSlot || slot > mdlObjects::LastObjectSlot) return nullptr;
    return m_pictures[size_t(slot)];
}

double frmTerObjects::viewScale() const
{
    const int size = w.Picture1->terrainSize();
    return size > 0 ? double(w.Picture1->width()) / double(size) : 1.0;
}

void frmTerObjects::placePicture(int slot)
{
    QWidget* pic = PicTer(slot);
    if (!pic || !PlacedObjects().exists(slot)) return;
    const double k = viewScale();
    const ObjectRecord& r = PlacedObjects().record(slot);
    const QImage& img = PlacedObjects().picture(slot);
    pic->setGeometry(int(std::lround(r.X * k)), int(std::lround(r.Y * k)), std::max(1, int(std::lround(img.width() * k))),
                     std::max(1, int(std::lround(img.height() * k))));
    pic->update();
}

void frmTerObjects::placePictures()
{
    for (int slot : PlacedObjects().usedSlots()) placePicture(slot);
}

bool frmTerObjects::eventFilter(QObject* watched, QEvent* event)
{
    // The view changes size with the terrain and the window: objects follow.
    if (watched == w.Picture1 && event->type() == QEvent::Resize) placePictures();
    return QObject::eventFilter(watched, event);
}

// --- loading ------------------------------------------------------------------------

void frmTerObjects::showObject(int slot)
{
    // A widget left over in this slot belongs to an object that is gone.
    if (QWidget* stale = PicTer(slot)) stale->deleteLater();
    auto* pic = new ObjectPictureWidget(*this, slot, w.Picture1);
    m_pictures[size_t(slot)] = pic;
    placePicture(slot);
    pic->show();
    pic->raise();
    ObjectsPresent = true;
    w.ActualScreen();
}

void frmTerObjects::unloadObject(int slot)
{
    PlacedObjects().release(slot);
    if (QWidget* pic = PicTer(slot)) {
        m_pictures[size_t(slot)] = nullptr;
        pic->hide();
        pic->deleteLater();
    }
}

void frmTerObjects::afterLastObjectGone()
{
    // Zoom comes back once no object depends on the view's scale.
    if (PlacedObjects().count() == 0) ObjectsPresent = false;
    w.ActualScreen();
}

std::optional<int> frmTerObjects::loadObjectMaker(const QString& fileName)
{
    w.Picture1->update();
    w.ActualScreen();
    w.OptXYView_Click();
    return placeObject(fileName);
}

std::optional<int> frmTerObjects::placeObject(const QString& fileName)
{
    const std::optional<int> slot = mdlObjects::loadObjectMaker(fileName);
    if (slot) showObject(*slot);
    return slot;
}

void frmTerObjects::cmdObjLoad_Click()
{
    w.OptXYView_Click();
    rt::FileDialogRequest req;
    req.title = QStringLiteral("Object load ...");
    req.filter = OpenFileTypes::filter(OpenFileTypes::Dialog::ObjectLoad);
    req.filterIndex = 1;
    req.defaultExt = QStringLiteral("bmp");
    req.initDir = ObjectDirectory;
    const rt::FileDialogResult chosen = rt::ui().openFileDialog(req);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return;
    if (!PlacedObjects().freeSlot()) {
        rt::MsgBox(QStringLiteral("to many objects"), rt::vbOKOnly, QStringLiteral("Load Object"));
        return;
    }
    QString file = chosen.fileName;
    // A terrain is drawn into a grey bitmap first; ".ter" counts whatever filter was chosen.
    const auto reader = OpenFileTypes::readerOf(OpenFileTypes::Dialog::ObjectLoad, chosen.filterIndex);
    if (reader == OpenFileTypes::Reader::Ter || OpenFileTypes::readerByName(file) == OpenFileTypes::Reader::Ter) {
        w.PicLeer = QImage();
        if (!mdlObjects::LoadTer2Picture(file, temporaryPicturePath(), w.PicLeer, *CurrentTerrain)) return;
        loadObjectMaker(temporaryPicturePath());
        QFile::remove(temporaryPicturePath());
        return;
    }
    loadObjectMaker(file);
}

// --- merging --------------------------------------------------------------------------

void frmTerObjects::mnuObjMerge_Click()
{
    if (!hasSelection()) return;
    w.runTerrainCommand(QString(), [this] {
        rt::DoEvents();
        mdlObjects::MergeObject(*CurrentTerrain, PlacedObjects().picture(SelectedObject),
                                PlacedObjects().record(SelectedObject));
        unloadObject(SelectedObject);
        RunScaleTerrain(*CurrentTerrain);
        return frmTer::TerrainChange::Grid;
    });
    afterLastObjectGone();
}

void frmTerObjects::mnuObjMergeAll_Click()
{
    w.runTerrainCommand(QString(), [this] {
        const std::vector<int> used = PlacedObjects().usedSlots();
        rt::ui().setStatusText(QStringLiteral("merge object.."));
        rt::DoEvents();
        int done = 0;
        // Slot order, not stacking order: a later slot wins where objects overlap.
        for (int slot : used) {
            mdlObjects::MergeObject(*CurrentTerrain, PlacedObjects().picture(slot), PlacedObjects().record(slot));
            unloadObject(slot);
            ++done;
            CurrentTerrain->pProgress = int32_t(double(done) / double(used.size()) * 100.0);
            rt::DoEvents();
        }
        RunScaleTerrain(*CurrentTerrain);
        return used.empty() ? frmTer::TerrainChange::View : frmTer::TerrainChange::Grid;
    });
    ObjectsPresent = false;
    w.ActualScreen();
}

void frmTerObjects::mergeForClear()
{
    const std::vector<int> used = PlacedObjects().usedSlots();
    if (used.empty()) return;
    {
        rt::BusyGuard busy;
        for (int slot : used) {
            mdlObjects::MergeObject(*CurrentTerrain, PlacedObjects().picture(slot), PlacedObjects().record(slot));
            unloadObject(slot);
        }
        markTerrainChanged();
        w.redrawTerrain();
    }
    afterLastObjectGone();
}

void frmTer::mergePlacedObjects()
{
    if (Objects) Objects->mergeForClear();
}

// --- mouse ------------------------------------------------------------------------------

void frmTerObjects::PicTer_MouseDown(int index, Qt::MouseButton button, QPointF at, QPoint globalAt)
{
    // Select the object; a press on the band along its right and bottom edges resizes it.
    SelectedObject = index;
    QWidget* pic = PicTer(index);
    if (!pic) return;
    pic->raise();
    const double side = double(pic->width()) / viewScale();
    ObjectResizing = at.x() > side - 10 || at.y() > side - 10;
    pic->setCursor(ObjectResizing ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
    // Resizing: nothing more.
    if (ObjectResizing) return;
    // Left: the drag starts; right: the object menu.
    if (button == Qt::LeftButton) {
        ObjectDragX[size_t(index)] = at.x();
        ObjectDragY[size_t(index)] = rt::CInt(at.y());
    } else if (button == Qt::RightButton) {
        mnuObject->popup(globalAt);
    }
}

void frmTerObjects::PicTer_MouseMove(int index, Qt::MouseButtons buttons, QPointF at)
{
    QWidget* pic = PicTer(index);
    if (!pic || !PlacedObjects().exists(index)) return;
    const double k = viewScale();
    const double side = double(pic->width()) / k;
    // Cursor, and the square following the pointer while resizing.
    const bool onBand = at.x() > side - 10 || at.y() > side - 10;
    if (buttons == Qt::NoButton) pic->setCursor(onBand ? Qt::SizeFDiagCursor : Qt::SizeAllCursor);
    if ((buttons & Qt::LeftButton) && ObjectResizing) {
        const double x = at.x() < 0 ? 10 : at.x();
        const int px = std::max(1, int(std::lround(x * k)));
        pic->resize(px, px);
        return;
    }
    if (!(buttons & Qt::LeftButton) || ObjectResizing) return;
    // Moving, kept within the view (4 from the right and bottom edges); the
    // top-left limit of 1 wins, also for an object wider than the view less 5.
    ObjectRecord& r = PlacedObjects().record(index);
    const QImage& img = PlacedObjects().picture(index);
    const double viewSide = double(w.Picture1->terrainSize());
    double left = r.X + at.x() - ObjectDragX[size_t(index)];
    if (left + img.width() > viewSide) left = viewSide - img.width() - 4;
    if (left < 1) left = 1;
    double top = r.Y + at.y() - ObjectDragY[size_t(index)];
    if (top + img.height() > viewSide) top = viewSide - img.height() - 4;
    if (top < 1) top = 1;
    r.X = left;
    r.Y = top;
    placePicture(index);
    // The terrain under the object's centre.
    const double cx = std::max(0.0, left + img.width() / 2.0);
    const double cy = std::max(0.0, top + img.height() / 2.0);
    if (const auto texts = Pens::readout(*CurrentTerrain, QPointF(cx, cy)))
        for (size_t i = 0; i < texts->size(); ++i) w.sBarPanels[i + 1]->setText((*texts)[i]);
}

void frmTerObjects::PicTer_MouseUp(int index, Qt::MouseButton, QPointF)
{
    if (!ObjectResizing) return;
    ObjectResizing = false;
    QWidget* pic = PicTer(index);
    if (!pic || !PlacedObjects().exists(index)) return;
    pic->setCursor(Qt::ArrowCursor);
    // A press on the band without a drag keeps the picture: with less than a
    // view pixel per point, its side read back from the view may be one off.
    const double k = viewScale();
    QImage& img = PlacedObjects().picture(index);
    const bool dragged = pic->width() != std::max(1, int(std::lround(img.width() * k)));
    // The old picture stretched to the new side; the extents follow it.
    const int limit = std::max(1, int(CurrentTerrain->Size()));
    const int side = dragged ? std::clamp(int(std::lround(pic->width() / k)), 1, limit) : img.width();
    if (dragged)
        img = img.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
    ObjectRecord& r = PlacedObjects().record(index);
    r.YSpread = side;
    r.XSpread = side;
    placePicture(index);
}

void frmTerObjects::PicTer_DblClick(int index)
{
    SelectedObject = index;
    mnuObjProperties_Click();
}

// --- object menu ---------------------------------------------------------------------------

bool frmTerObjects::hasSelection() const { return PlacedObjects().exists(SelectedObject); }

void frmTerObjects::transformSelected(ObjectTransform transform)
{
    if (!hasSelection()) return;
    rt::BusyGuard busy;
    QImage& img = PlacedObjects().picture(SelectedObject);
    img = mdlObjects::transformObject(img, transform);
    if (QWidget* pic = PicTer(SelectedObject)) pic->update();
}

void frmTerObjects::filterSelected(mdlObjects::ObjectFilter filter)
{
    if (!hasSelection()) return;
    rt::BusyGuard busy;
    mdlObjects::filterObject(PlacedObjects().picture(SelectedObject), filter);
    if (QWidget* pic = PicTer(SelectedObject)) pic->update();
}

void frmTerObjects::mnuObjProperties_Click()
{
    if (!hasSelection()) return;
    dlgObjectsProperties dlg(PlacedObjects().record(SelectedObject), *CurrentTerrain, &w);
    dlg.exec();
    placePicture(SelectedObject);
}

void frmTerObjects::mnuObjCopy_Click()
{
    if (!hasSelection()) return;
    const QString path = temporaryPicturePath();
    QString error;
    if (!rt::SavePicture(PlacedObjects().picture(SelectedObject), path, &error)) {
        rt::MsgBox(QStringLiteral("The object cannot be copied:\n%1").arg(error), rt::vbCritical, kObjectsTitle);
        return;
    }
    loadObjectMaker(path);
    QFile::remove(path);
}

void frmTerObjects::mnuObjToFront_Click()
{
    if (QWidget* pic = PicTer(SelectedObject)) pic->raise();
}

void frmTerObjects::mnuObjToBack_Click()
{
    // The view's only children are the objects: lowest is behind them all.
    if (QWidget* pic = PicTer(SelectedObject)) pic->lower();
}

void frmTerObjects::mnuObjDelete_Click()
{
    if (!hasSelection()) return;
    const QString text =
        QStringLiteral("Delete Object :") + PlacedObjects().record(SelectedObject).Name + QStringLiteral(" ?");
    if (rt::MsgBox(text, rt::vbYesNo + rt::vbCritical, kObjectsTitle) != rt::vbYes) return;
    unloadObject(SelectedObject);
    afterLastObjectGone();
}

void frmTerObjects::mnuObjDeleteAll_Click()
{
    if (rt::MsgBox(QStringLiteral("Delete all Objects  ?"), rt::vbYesNo + rt::vbCritical, kObjectsTitle) != rt::vbYes)
        return;
    for (int slot : PlacedObjects().usedSlots()) unloadObject(slot);
    ObjectsPresent = false;
    w.ActualScreen();
}

void frmTerObjects::mnuObjSaveObject_Click()
{
    if (!hasSelection()) return;
    rt::FileDialogRequest req;
    req.title = QStringLiteral("Object save ...");
    req.filter = QStringLiteral("BMP-Files|*.bmp");
    req.defaultExt = QStringLiteral("bmp");
    req.initDir = ObjectDirectory;
    req.fileName = PlacedObjects().record(SelectedObject).Name;
    const rt::FileDialogResult chosen = rt::ui().saveFileDialog(req);
    if (!chosen.accepted) return;
    const std::optional<QString> name = mdlObjects::objectBitmapName(chosen.fileName);
    QString error = QStringLiteral("The file name must end in \".bmp\".");
    if (!name || !mdlObjects::saveObjectBitmap(PlacedObjects().picture(SelectedObject), *name, &error))
        rt::MsgBox(QStringLiteral("The object was not saved:\n%1").arg(error), rt::vbCritical, req.title);
}

void frmTerObjects::mnuObjSaveMask_Click()
{
    if (!hasSelection()) return;
    rt::FileDialogRequest req;
    req.title = QStringLiteral("Mask save ...");
    req.filter = QStringLiteral("BMP-Files|*.bmp");
    req.defaultExt = QStringLiteral("bmp");
    const QString coordinates = mdlObjects::maskCoordinateText(PlacedObjects().record(SelectedObject));
    const rt::FileDialogResult chosen = rt::ui().saveFileDialog(req);
    if (!chosen.accepted) return;
    const std::optional<QString> name = mdlObjects::objectBitmapName(chosen.fileName, "_" + coordinates);
    QString error = QStringLiteral("The file name must end in \".bmp\".");
    if (!name || !mdlObjects::saveObjectMask(PlacedObjects().picture(SelectedObject), *name, &error))
        rt::MsgBox(QStringLiteral("The mask was not saved:\n%1").arg(error), rt::vbCritical, req.title);
}

void frmTer::connectObjects()
{
    Objects = new frmTerObjects(*this);
    installObjektmakerButton(this, cmdObjektmaker, [this](const QString& path) { return Objects->loadObjectMaker(path); });
}
