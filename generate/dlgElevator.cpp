#include "generate/dlgElevator.h"

#include "generate/Elevator.h"
#include "runtime/FormControls.h"
#include "runtime/Ui.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cmath>

std::function<std::optional<QString>(const QString&, const QString&)> frmElevator::InputBox =
    [](const QString& prompt, const QString& title) -> std::optional<QString> {
    bool ok = false;
    const QString text = QInputDialog::getText(nullptr, title, prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return text;
};

namespace {

const QString kTitle = QStringLiteral("Elevator shift");

void showError(const QString& error)
{
    if (!error.isEmpty()) rt::MsgBox(error, rt::vbExclamation, kTitle);
}

} // namespace

// --- the drawing box -----------------------------------------------------------------

ElevatorBox::ElevatorBox(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PicElevator"));
    setMinimumSize(257, 257);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

QPoint ElevatorBox::gridPoint(QPointF pos) const
{
    const int32_t N = ElevatorGridSize;
    const double w = std::max(width() - 1, 1);
    const double h = std::max(height() - 1, 1);
    const auto toGrid = [N](double v, double span) {
        return int(std::clamp<double>(std::nearbyint(v * N / span), 0, N));
    };
    return {toGrid(pos.x(), w), toGrid(pos.y(), h)};
}

void ElevatorBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int32_t N = std::max(ElevatorGridSize, 1);
    const double sx = double(std::max(width() - 1, 1)) / N;
    const double sy = double(std::max(height() - 1, 1)) / N;
    p.setPen(QPen(Qt::black, 1));
    const std::vector<QPoint> points = elevatorCurvePoints();
    for (size_t i = 1; i < points.size(); ++i)
        p.drawLine(QPointF(points[i - 1].x() * sx, points[i - 1].y() * sy),
                   QPointF(points[i].x() * sx, points[i].y() * sy));
}

void ElevatorBox::mousePressEvent(QMouseEvent* event)
{
    if (mouseDown) mouseDown(event->button(), gridPoint(event->position()));
}

void ElevatorBox::mouseMoveEvent(QMouseEvent* event)
{
    if (mouseMove) mouseMove(event->buttons(), gridPoint(event->position()));
}

// --- the window ----------------------------------------------------------------------

frmElevator::frmElevator(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmElevator"));
    setWindowTitle(kTitle);
    setModal(true);
    PicElevator = new ElevatorBox(this);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    cmdAddElevatorSet = rt::plainButton(this, "cmdAddElevatorSet", QStringLiteral("Add set"));
    cmdElevatorSave = rt::plainButton(this, "cmdElevatorSave", QStringLiteral("Save set"));
    cmdReset = rt::plainButton(this, "cmdReset", QStringLiteral("Reset"));
    auto* closing = rt::okCancelRow(this, OKButton, QStringLiteral("OK"), CancelButton, QStringLiteral("Cancel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(PicElevator, 0, 0, 5, 1);
    grid->addWidget(List1, 0, 1);
    grid->addWidget(cmdAddElevatorSet, 1, 1);
    grid->addWidget(cmdElevatorSave, 2, 1);
    grid->addWidget(cmdReset, 3, 1);
    grid->addLayout(closing, 4, 1);
    grid->setColumnStretch(0, 1);

    PicElevator->mouseDown = [this](Qt::MouseButton b, QPoint p) { PicElevator_MouseDown(b, p); };
    PicElevator->mouseMove = [this](Qt::MouseButtons b, QPoint p) { PicElevator_MouseMove(b, p); };
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(cmdAddElevatorSet, &QPushButton::clicked, this, &frmElevator::cmdAddElevatorSet_Click);
    connect(cmdElevatorSave, &QPushButton::clicked, this, &frmElevator::cmdElevatorSave_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmElevator::cmdReset_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmElevator::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmElevator::CancelButton_Click);
    Form_Load();
}

void frmElevator::loadSet(int n)
{
    // A number the list does not hold (no file yet) is the straight curve.
    if (n < 0 || n >= List1->count()) {
        resetElevatorGrid();
        return;
    }
    QString error;
    ReadElevatorRecord(n, &error);
    showError(error);
}

void frmElevator::Form_Load()
{
    // Every whole set of the file, then the current one into the grid.
    QString error;
    List1->addItems(ElevatorSetNames(&error));
    showError(error);
    loadSet(CurrentElevatorSet);
    if (CurrentElevatorSet < List1->count()) List1->setCurrentRow(CurrentElevatorSet);
    elevatorCell(0, 0) = 0;
    RedrawLine();
}

void frmElevator::RedrawLine()
{
    PicElevator->update();
}

void frmElevator::PicElevator_MouseDown(Qt::MouseButton button, QPoint p)
{
    if (button != Qt::LeftButton) return;
    drawElevatorPoint(p.x(), p.y());
    RedrawLine();
}

void frmElevator::PicElevator_MouseMove(Qt::MouseButtons buttons, QPoint p)
{
    if (!(buttons & Qt::LeftButton)) return;
    drawElevatorPoint(p.x(), p.y());
    RedrawLine();
}

void frmElevator::List1_Click()
{
    const int n = List1->currentRow();
    if (n < 0) return;
    loadSet(n);
    CurrentElevatorSet = n;
    RedrawLine();
}

void frmElevator::cmdAddElevatorSet_Click()
{
    const auto name = InputBox(QStringLiteral("Setname"), QStringLiteral("New Set"));
    if (!name || name->isEmpty()) return;
    QString error;
    if (!WriteElevatorRecord(*name, List1->count(), &error)) {
        showError(error);
        return;
    }
    // The list shows names as the file holds them.
    List1->addItem(name->left(ElevatorNameLength).leftJustified(ElevatorNameLength, QLatin1Char(' ')));
}

void frmElevator::cmdElevatorSave_Click()
{
    const int n = List1->currentRow();
    if (n < 0) {
        rt::MsgBox(QStringLiteral("Choose the set to save in the list first."), rt::vbExclamation, kTitle);
        return;
    }
    QString error;
    if (!WriteElevatorRecord(List1->item(n)->text(), n, &error)) showError(error);
}

void frmElevator::cmdReset_Click()
{
    loadSet(CurrentElevatorSet);
    RedrawLine();
}

void frmElevator::OKButton_Click()
{
    elevatorCell(0, 0) = 1;
    accept();
}

void frmElevator::CancelButton_Click()
{
    reject();
}

void installElevatorDialog(QWidget* mainWindow, QPushButton* cmdElevatorPar)
{
    if (!cmdElevatorPar) return;
    QObject::connect(cmdElevatorPar, &QPushButton::clicked, mainWindow, [mainWindow] {
        frmElevator dlg(mainWindow);
        dlg.exec();
    });
}
