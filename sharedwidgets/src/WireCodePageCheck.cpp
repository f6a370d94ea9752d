#include "sharedwidgets/WireCodePageCheck.h"

#include "platform/CodePage.h"

#include <QApplication>
#include <QMessageBox>

#include <iostream>

bool WireCodePageCheck::Passes() {
    const std::string problem = CodePage::WireProblem();
    if (problem.empty()) {
        return true;
    }
    // Started from a terminal, the reason is there too.
    std::cerr << QApplication::applicationName().toStdString() << ": " << problem << "\n";
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                          QString::fromStdString(problem + "."));
    return false;
}
