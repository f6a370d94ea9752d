#pragma once

#include <QString>

// Names of new documents: AlignEd1, AlignEd2, ... A number is never given
// twice in one run, even after its document has closed.
class UntitledNames {
public:
    QString Next();

private:
    int count_ = 0;
};
