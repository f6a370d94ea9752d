#pragma once

#include "codebook/FeatureCode.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTableWidget;
class SymbolPreview;

// The selected code's drawing (colour, symbol with its preview, line) and
// its eight attributes. It shows a copy; every change is handed on as the
// whole changed code, for the window to push as one undoable edit.
class CodeDetails : public QWidget {
    Q_OBJECT
public:
    explicit CodeDetails(QWidget* parent = nullptr);

    // nullptr: nothing selected.
    void Show(const FeatureCode* code);
    // The colour picker asks here, so tests can answer without a dialog.
    std::function<QColor(const QColor&)> pickColour;

    QTableWidget* AttributeTable() const { return attributes_; }
    QComboBox* SymbolBox() const { return symbol_; }
    QPushButton* ColourButton() const { return colour_; }
    SymbolPreview* Preview() const { return preview_; }

signals:
    void Changed(const FeatureCode& code, const QString& what);

private:
    void AttributeEdited();
    void Refresh();

    FeatureCode code_;
    bool shown_ = false;
    bool filling_ = false;
    QPushButton* colour_;
    QComboBox* symbol_;
    QCheckBox* line_;
    SymbolPreview* preview_;
    QTableWidget* attributes_;
};
