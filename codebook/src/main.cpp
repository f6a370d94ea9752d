// codebook: the "Codebook Manager", a window for feature code books, and
// --convert for scripts.

#include "codebook/CodeBookWindow.h"
#include "codebook/CommandLine.h"

#include "sharedwidgets/FileWindowStart.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!FileWindowStart::MeansWindow(args)) {
        return codebook::CommandLine().Run(args, std::cout, std::cerr);
    }
    return FileWindowStart::Run(argc, argv, QStringLiteral("codebook"),
                                QStringLiteral("Codebook Manager"), [](const QStringList& files) {
                                    auto window = std::make_unique<CodeBookWindow>();
                                    if (!files.isEmpty()) {
                                        window->OpenFile(files.front());
                                    }
                                    // Further books open in windows of their own.
                                    for (qsizetype i = 1; i < files.size(); ++i) {
                                        auto* other = new CodeBookWindow;
                                        other->setAttribute(Qt::WA_DeleteOnClose);
                                        other->OpenFile(files[i]);
                                        other->show();
                                    }
                                    return std::unique_ptr<QWidget>(std::move(window));
                                });
}
