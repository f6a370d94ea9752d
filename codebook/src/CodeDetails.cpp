#include "codebook/CodeDetails.h"

#include "codebook/CodeSymbol.h"
#include "codebook/SymbolPreview.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CodeDetails::CodeDetails(QWidget* parent)
    : QWidget(parent), colour_(new QPushButton(this)), symbol_(new QComboBox(this)),
      line_(new QCheckBox(tr("Join points into a line"), this)), preview_(new SymbolPreview(this)),
      attributes_(new QTableWidget(static_cast<int>(FeatureCode::kMaxAttributes), 2, this)) {
    pickColour = [this](const QColor& start) {
        return QColorDialog::getColor(start, this, tr("Code Colour"));
    };
    auto* form = new QFormLayout;
    form->addRow(tr("Colour:"), colour_);
    symbol_->addItem(tr("(none)"), QString());
    for (const std::string& name : CodeSymbol::Names()) {
        symbol_->addItem(SymbolPreview::Icon(Qs(name), Qt::black), Qs(name), Qs(name));
    }
    form->addRow(tr("Symbol:"), symbol_);
    form->addRow(tr("Preview:"), preview_);
    form->addRow(line_);
    attributes_->setHorizontalHeaderLabels({tr("Attribute"), tr("Default value")});
    attributes_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(attributes_, 1);

    connect(colour_, &QPushButton::clicked, this, [this] {
        const QColor chosen = pickColour(QColor(Qs(code_.colour)));
        if (chosen.isValid() && shown_) {
            FeatureCode changed = code_;
            changed.colour = chosen.name().toStdString();
            emit Changed(changed, tr("Change Colour"));
        }
    });
    connect(symbol_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && shown_) {
            FeatureCode changed = code_;
            changed.symbol = symbol_->currentData().toString().toStdString();
            emit Changed(changed, tr("Change Symbol"));
        }
    });
    connect(line_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && shown_) {
            FeatureCode changed = code_;
            changed.line = on;
            emit Changed(changed, tr("Change Line"));
        }
    });
    connect(attributes_, &QTableWidget::itemChanged, this, &CodeDetails::AttributeEdited);
    Show(nullptr);
}

void CodeDetails::Show(const FeatureCode* code) {
    shown_ = code != nullptr;
    code_ = code ? *code : FeatureCode();
    setEnabled(shown_);
    Refresh();
}

void CodeDetails::Refresh() {
    filling_ = true;
    const QColor colour(Qs(code_.colour));
    colour_->setText(code_.colour.empty() ? tr("By layer") : Qs(code_.colour));
    QPixmap swatch(16, 16);
    swatch.fill(colour.isValid() ? colour : QColor(Qt::transparent));
    colour_->setIcon(QIcon(swatch));
    symbol_->setCurrentIndex(std::max(0, symbol_->findData(Qs(code_.symbol))));
    line_->setChecked(code_.line);
    preview_->Show(Qs(code_.symbol), colour);
    const QSignalBlocker quiet(attributes_);
    for (int row = 0; row < attributes_->rowCount(); ++row) {
        const bool used = row < static_cast<int>(code_.attributes.size());
        attributes_->setItem(
            row, 0, new QTableWidgetItem(used ? Qs(code_.attributes[row].name) : QString()));
        attributes_->setItem(
            row, 1, new QTableWidgetItem(used ? Qs(code_.attributes[row].value) : QString()));
    }
    filling_ = false;
}

void CodeDetails::AttributeEdited() {
    if (filling_ || !shown_) {
        return;
    }
    // Rows up to the last one filled in are the attributes: info words keep their places.
    FeatureCode changed = code_;
    changed.attributes.clear();
    int last = -1;
    for (int row = 0; row < attributes_->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem* item = attributes_->item(row, column);
            return item ? item->text().toStdString() : std::string();
        };
        changed.attributes.push_back({text(0), text(1)});
        if (!changed.attributes.back().name.empty() || !changed.attributes.back().value.empty()) {
            last = row;
        }
    }
    changed.attributes.resize(static_cast<std::size_t>(last + 1));
    emit Changed(changed, tr("Edit Attributes"));
}
