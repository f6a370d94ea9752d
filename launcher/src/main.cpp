#include "launcher/CSuitepadApp.h"

int main(int argc, char* argv[]) {
    CSuitepadApp app(argc, argv);
    return app.Run();
}
