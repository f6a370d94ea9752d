#include "workbench/CKestaTDApp.h"

int main(int argc, char** argv) {
    CKestaTDApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return CKestaTDApp::exec();
}
