#include "alignedit/CAlignEditApp.h"

int main(int argc, char** argv) {
    CAlignEditApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return CAlignEditApp::exec();
}
