#include "workbench/CKestaTDApp.h"
#include "workbench/CLeftView.h"
#include "workbench/CRightView.h"

int main(int argc, char** argv) {
    PaneFactories panes;
    panes.instrumentTree = [](QWidget* parent) { return new CLeftView(parent); };
    panes.pcTree = [](QWidget* parent) { return new CRightView(parent); };
    CKestaTDApp app(argc, argv, panes);
    if (!app.InitInstance()) {
        return 1;
    }
    return CKestaTDApp::exec();
}
