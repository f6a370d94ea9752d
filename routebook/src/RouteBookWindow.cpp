#include "routebook/RouteBookWindow.h"

#include "routebook/AlignmentDocument.h"
#include "routebook/AlignmentFileIo.h"
#include "routebook/AlignmentTableModel.h"
#include "routebook/ChainageText.h"
#include "routebook/PlanCanvas.h"
#include "routebook/ProfileCanvas.h"
#include "routebook/StationWriter.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QIcon>
#include <QListWidget>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

// Outside any namespace: Q_INIT_RESOURCE declares the resource's function
// where it stands.
static QIcon ProgramIcon() {
    // The resources sit in a static library: they register on first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(routebook);
        return true;
    }();
    return registered ? QIcon(QStringLiteral(":/routebook/icons/routebook.svg")) : QIcon();
}

RouteBookWindow::RouteBookWindow(QWidget* parent)
    : QMainWindow(parent), document_(new AlignmentDocument(this)),
      halModel_(new AlignmentTableModel(document_, AlignmentTableModel::Part::Horizontal, this)),
      valModel_(new AlignmentTableModel(document_, AlignmentTableModel::Part::Vertical, this)),
      tabs_(new QTabWidget), halTable_(new QTableView), valTable_(new QTableView),
      issues_(new QListWidget), plan_(new PlanCanvas(document_)),
      profile_(new ProfileCanvas(document_)) {
    for (auto [table, model] : {std::pair{halTable_, halModel_}, std::pair{valTable_, valModel_}}) {
        table->setModel(model);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    tabs_->addTab(halTable_, tr("Horizontal"));
    tabs_->addTab(valTable_, tr("Vertical"));

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(tabs_, 3);
    leftLayout->addWidget(issues_, 1);

    auto* views = new QSplitter(Qt::Vertical);
    views->addWidget(plan_);
    views->addWidget(profile_);
    views->setStretchFactor(0, 3);
    views->setStretchFactor(1, 2);
    auto* main = new QSplitter(Qt::Horizontal);
    main->addWidget(left);
    main->addWidget(views);
    main->setStretchFactor(1, 1);
    main->setSizes({520, 580});
    setCentralWidget(main);

    // The cursor of either view shows in both and in the status bar.
    connect(plan_, &PlanCanvas::CursorMoved, this, [this](double chainage, double offset) {
        profile_->ShowCursor(chainage, offset);
        statusBar()->showMessage(ChainageText::Cursor(chainage, offset));
    });
    connect(profile_, &ProfileCanvas::CursorMoved, this, [this](double chainage, double offset) {
        plan_->ShowCursor(chainage, offset);
        statusBar()->showMessage(ChainageText::Cursor(chainage, offset));
    });
    connect(document_, &AlignmentDocument::Changed, this, &RouteBookWindow::Refresh);
    BuildMenus();
    setWindowIcon(ProgramIcon());
    resize(1100, 700);
    Refresh();
}

RouteBookWindow::~RouteBookWindow() = default;

void RouteBookWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open..."), QKeySequence::Open, this, &RouteBookWindow::OnOpen);
    file->addAction(tr("&Save"), QKeySequence::Save, this, &RouteBookWindow::Save);
    file->addSeparator();
    file->addAction(tr("Export &Stations..."), this, &RouteBookWindow::OnExportStations);
    file->addAction(tr("Export &LandXML..."), this, &RouteBookWindow::OnExportLandXml);
    file->addSeparator();
    file->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = document_->UndoStack()->createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = document_->UndoStack()->createRedoAction(this, tr("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(tr("&Insert Row"), this, [this] {
        auto* model = tabs_->currentIndex() == 0 ? halModel_ : valModel_;
        const int row = CurrentTable()->currentIndex().isValid()
                            ? CurrentTable()->currentIndex().row()
                            : model->rowCount() - 1;
        model->InsertAfter(row);
    });
    edit->addAction(tr("&Delete Row"), this, [this] {
        auto* model = tabs_->currentIndex() == 0 ? halModel_ : valModel_;
        model->Remove(CurrentTable()->currentIndex().row());
    });
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("&Fit Plan"), this, [this] { plan_->FitAll(); });
}

QTableView* RouteBookWindow::CurrentTable() const {
    return tabs_->currentIndex() == 0 ? halTable_ : valTable_;
}

void RouteBookWindow::Refresh() {
    issues_->clear();
    for (const AlignmentIssue& issue : document_->Issues()) {
        issues_->addItem(QString::fromStdString(issue.Text()));
    }
    if (issues_->count() == 0) {
        issues_->addItem(tr("No problems found"));
    }
    QStringList names;
    for (const QString& path : {document_->HalPath(), document_->ValPath()}) {
        if (!path.isEmpty()) {
            names << QFileInfo(path).fileName();
        }
    }
    setWindowTitle((names.isEmpty() ? tr("Untitled") : names.join(" + ")) + "[*] - " +
                   tr("Road Line Editor"));
    setWindowModified(document_->IsModified());
}

void RouteBookWindow::OpenFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        Open(path);
    }
}

bool RouteBookWindow::Open(const QString& path) {
    QString error;
    if (!document_->Open(path, error)) {
        Tell(error);
        return false;
    }
    plan_->FitAll();
    return true;
}

void RouteBookWindow::OnOpen() {
    if (document_->IsModified() && AskSaveChanges() != QMessageBox::Discard) {
        return;
    }
    const QString path = AskOpenPath();
    if (!path.isEmpty()) {
        Open(path);
    }
}

bool RouteBookWindow::Save() {
    const auto issues = document_->Issues();
    if (!issues.empty()) {
        QStringList lines;
        for (const AlignmentIssue& issue : issues) {
            lines << QString::fromStdString(issue.Text());
        }
        if (!AskSaveDespite(lines.join('\n'))) {
            return false;
        }
    }
    QString error;
    if (document_->HalNeedsPath()) {
        const QString path = AskSavePath(tr("Save horizontal alignment"), tr("hal file (*.hal)"));
        if (path.isEmpty() || !document_->SaveHalAs(path, error)) {
            Tell(error);
            return false;
        }
    }
    if (document_->ValNeedsPath()) {
        const QString path = AskSavePath(tr("Save vertical alignment"), tr("val file (*.val)"));
        if (path.isEmpty() || !document_->SaveValAs(path, error)) {
            Tell(error);
            return false;
        }
    }
    if (!document_->Save(error)) {
        Tell(error);
        return false;
    }
    return true;
}

bool RouteBookWindow::ExportStations(const QString& path, const StationOptions& options) {
    const HorizontalAlignment line(document_->Hal().Records());
    if (StationTable::IntervalCount(line, options.interval) > StationTable::kMaxStations) {
        Tell(tr("An interval of %1 m gives too many stations.").arg(options.interval));
        return false;
    }
    const VerticalProfile profile(document_->Val().Records());
    const auto stations = StationTable::Build(line, profile.Empty() ? nullptr : &profile,
                                              options.interval, options.left, options.right);
    std::string bytes, error;
    if (AlignmentFileIo::KindOf(path.toStdString()) == AlignmentFileIo::Kind::Gsi) {
        const auto gsi = StationWriter::Gsi16(stations, error);
        bytes = gsi.value_or("");
    } else {
        bytes = StationWriter::Csv(stations);
    }
    if (error.empty()) {
        error = AlignmentFileIo::Write(path.toStdString(), bytes, true);
    }
    if (!error.empty()) {
        Tell(QString::fromStdString(error));
        return false;
    }
    statusBar()->showMessage(tr("%1: %2 stations written").arg(path).arg(stations.size()));
    return true;
}

void RouteBookWindow::OnExportStations() {
    if (!document_->Issues().empty()) {
        Tell(tr("The alignment has problems (listed under the tables); mend them first."));
        return;
    }
    const auto options = AskStationOptions();
    if (!options) {
        return;
    }
    const QString path =
        AskSavePath(tr("Export stations"), tr("CSV (*.csv);;GSI-16 coordinate job (*.gsi)"));
    if (!path.isEmpty()) {
        ExportStations(path, *options);
    }
}

void RouteBookWindow::OnExportLandXml() {
    const QString path = AskSavePath(tr("Export LandXML"), tr("LandXML (*.xml)"));
    QString error;
    if (!path.isEmpty() && !document_->ExportLandXml(path, error)) {
        Tell(error);
    }
}

void RouteBookWindow::closeEvent(QCloseEvent* event) {
    if (document_->IsModified()) {
        const auto answer = AskSaveChanges();
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !Save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

QString RouteBookWindow::AskOpenPath() {
    return QFileDialog::getOpenFileName(
        this, tr("Open"), {},
        tr("Alignments (*.hal *.val *.xml *.HAL *.VAL *.XML);;All files (*)"));
}

QString RouteBookWindow::AskSavePath(const QString& title, const QString& filter) {
    // The dialog asks before replacing a file.
    return QFileDialog::getSaveFileName(this, title, {}, filter);
}

QMessageBox::StandardButton RouteBookWindow::AskSaveChanges() {
    return QMessageBox::question(
        this, tr("Road Line Editor"), tr("The alignment has changed. Save the changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

bool RouteBookWindow::AskSaveDespite(const QString& issues) {
    return QMessageBox::warning(
               this, tr("Road Line Editor"),
               tr("The alignment has problems:\n%1\n\nSave it anyway?").arg(issues),
               QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Save;
}

std::optional<RouteBookWindow::StationOptions> RouteBookWindow::AskStationOptions() {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Export Stations"));
    auto* form = new QFormLayout(&dialog);
    const auto spin = [&](const QString& label, double value, double min) {
        auto* box = new QDoubleSpinBox;
        box->setRange(min, 100000);
        box->setDecimals(3);
        box->setValue(value);
        form->addRow(label, box);
        return box;
    };
    QDoubleSpinBox* interval = spin(tr("Interval (m):"), 20, 0.001);
    QDoubleSpinBox* left = spin(tr("Offset left (m):"), 0, 0);
    QDoubleSpinBox* right = spin(tr("Offset right (m):"), 0, 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return StationOptions{interval->value(), left->value(), right->value()};
}

void RouteBookWindow::Tell(const QString& message) {
    if (!message.isEmpty()) {
        QMessageBox::warning(this, tr("Road Line Editor"), message);
    }
}
