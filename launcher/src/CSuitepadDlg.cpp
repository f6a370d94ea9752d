#include "launcher/CSuitepadDlg.h"

#include "launcher/CAboutDlg.h"
#include "launcher/CIconButton.h"
#include "launcher/DialogScale.h"
#include "ui_CSuitepadDlg.h"

#include <QAction>
#include <QMessageBox>

namespace {

constexpr int kHoverLightening = 30;

void ShowStartError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, parent->windowTitle(), message);
}

} // namespace

// The icons live in a static library, so its resources must be registered by hand, once; outside
// any namespace, as the registration function is global.
static void LoadResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(suitepad);
        return true;
    }();
    Q_UNUSED(loaded);
}

CSuitepadDlg::CSuitepadDlg(ToolStarter starter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CSuitepadDlg>()), starter_(std::move(starter)),
      reportError_(ShowStartError) {
    LoadResources();
    ui_->setupUi(this);
    // A top-level window of its own (shown on the task bar) with a close button only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    ScaleToFont();
    AddAboutEntry();
    setWindowIcon(ApplicationIcon());
    setWindowTitle(tr("Drosk"));
    const Tool tools[] = {
        {ui_->dataExchangeButton, ":/suitepad/icons/data-exchange.svg", "stationlink"},
        {ui_->coordinateEditorButton, ":/suitepad/icons/coordinate-editor.svg", "coordbook"},
        {ui_->codebookButton, ":/suitepad/icons/codebook.svg", "codebook"},
        {ui_->roadLineEditorButton, ":/suitepad/icons/road-line-editor.svg", "routebook"},
        {ui_->gsiToDxfButton, ":/suitepad/icons/gsi-to-dxf.svg", "drawexport"},
        {ui_->usbCommunicationButton, ":/suitepad/icons/usb-communication.svg", "legacyxfer"},
    };
    for (const Tool& tool : tools) {
        SetUpButton(tool);
    }
}

CSuitepadDlg::~CSuitepadDlg() = default;

QIcon CSuitepadDlg::ApplicationIcon() {
    LoadResources();
    return QIcon(QStringLiteral(":/suitepad/icons/suitepad.svg"));
}

void CSuitepadDlg::SetErrorReporter(ErrorReporter reporter) {
    reportError_ = std::move(reporter);
}

void CSuitepadDlg::ShowAbout() {
    CAboutDlg about(windowIcon(), this);
    about.exec();
}

void CSuitepadDlg::SetUpButton(const Tool& tool) {
    tool.button->SetIcon(QIcon(QString::fromLatin1(tool.icon)));
    tool.button->OffsetColour(CIconButton::BackIn, kHoverLightening);
    tool.button->SetAlign(IconAlignment::Above);
    const char* program = tool.program;
    connect(tool.button, &QPushButton::clicked, this, [this, program] { StartTool(program); });
}

void CSuitepadDlg::ScaleToFont() {
    const DialogScale scale = DialogScale::ForFont(font());
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->setGeometry(scale.Map(child->geometry()));
    }
    setFixedSize(scale.Map(size()));
}

// Window managers offer no way to extend their window menu, so the About entry lives in the
// window's context menu (right click, or the menu key).
void CSuitepadDlg::AddAboutEntry() {
    auto* about = new QAction(tr("&About suitepad..."), this);
    connect(about, &QAction::triggered, this, &CSuitepadDlg::ShowAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CSuitepadDlg::StartTool(const char* program) {
    if (const auto failure = starter_.Start(QString::fromLatin1(program))) {
        reportError_(this, *failure);
    }
}
