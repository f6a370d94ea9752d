#include "routebook/AlignmentTableModel.h"

#include "routebook/AlignmentDocument.h"
#include "routebook/DmsAngle.h"
#include "routebook/FieldNumbers.h"
#include "routebook/HorizontalAlignment.h"

#include <cmath>

namespace {

enum HalColumn { kKind, kChainage, kLength, kRadius, kEast, kNorth, kBearing, kHalColumns };
enum ValColumn { kValChainage, kHeight, kCurve, kValColumns };

const char* const kHalTitles[] = {"Element", "Chainage", "Length", "Radius",
                                  "Easting", "Northing", "Bearing"};
const char* const kValTitles[] = {"Chainage", "Height", "Curve length"};

bool Has(const HalElement& e, int column) {
    const bool start = e.kind == HalElement::Kind::Start;
    switch (column) {
    case kKind:
        return true;
    case kChainage:
        return start;
    case kLength:
        return !start;
    case kRadius:
        return e.kind == HalElement::Kind::Arc || e.kind == HalElement::Kind::Spiral;
    default:
        return start;
    }
}

} // namespace

AlignmentTableModel::AlignmentTableModel(AlignmentDocument* document, Part part, QObject* parent)
    : QAbstractTableModel(parent), document_(document), part_(part) {
    connect(document, &AlignmentDocument::Changed, this, [this] {
        beginResetModel();
        Recompute();
        endResetModel();
    });
    Recompute();
}

void AlignmentTableModel::Recompute() {
    const auto& elements = document_->Hal().Records();
    startChainages_.assign(elements.size(), std::nan(""));
    const HorizontalAlignment line(elements);
    for (const auto& piece : line.Pieces()) {
        startChainages_[piece.element] = piece.chainage;
    }
}

int AlignmentTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(part_ == Part::Horizontal ? document_->Hal().Records().size()
                                                      : document_->Val().Records().size());
}

int AlignmentTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (part_ == Part::Horizontal ? int(kHalColumns) : int(kValColumns));
}

QVariant AlignmentTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    return QString(part_ == Part::Horizontal ? kHalTitles[section] : kValTitles[section]);
}

QString AlignmentTableModel::Text(int row, int column) const {
    const auto number = [](double v) { return QString::fromStdString(FieldNumbers::Format(v)); };
    if (part_ == Part::Vertical) {
        const VerticalPoint& p = document_->Val().Records()[static_cast<std::size_t>(row)];
        return number(column == kValChainage ? p.chainage
                      : column == kHeight    ? p.height
                                             : p.curveLength);
    }
    const auto& elements = document_->Hal().Records();
    const HalElement& e = elements[static_cast<std::size_t>(row)];
    if (column == kChainage && e.kind != HalElement::Kind::Start) {
        // Where the element begins, shown but not stored in the file.
        const double chainage = startChainages_[static_cast<std::size_t>(row)];
        return std::isnan(chainage) ? QString() : number(chainage);
    }
    if (!Has(e, column)) {
        return {};
    }
    switch (column) {
    case kKind:
        return HalElement::KindName(e.kind);
    case kChainage:
        return number(e.chainage);
    case kLength:
        return number(e.length);
    case kRadius:
        return number(e.radius);
    case kEast:
        return number(e.east);
    case kNorth:
        return number(e.north);
    default:
        return QString::fromStdString(DmsAngle::Format(e.bearing));
    }
}

QVariant AlignmentTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        if (role == Qt::TextAlignmentRole && index.column() != kKind) {
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    }
    return Text(index.row(), index.column());
}

Qt::ItemFlags AlignmentTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (part_ == Part::Vertical ||
        Has(document_->Hal().Records()[static_cast<std::size_t>(index.row())], index.column())) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool AlignmentTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) {
        return false;
    }
    const std::size_t row = static_cast<std::size_t>(index.row());
    const std::string text = value.toString().trimmed().toUpper().toStdString();
    const auto number = FieldNumbers::Parse(text);
    HalFile hal = document_->Hal();
    ValFile val = document_->Val();
    if (part_ == Part::Vertical) {
        if (!number) {
            return false;
        }
        VerticalPoint p = val.Records()[row];
        (index.column() == kValChainage ? p.chainage
         : index.column() == kHeight    ? p.height
                                        : p.curveLength) = *number;
        val.Replace(row, p);
    } else {
        HalElement e = hal.Records()[row];
        if (index.column() == kKind) {
            // The type is typed by name; the element keeps the values both
            // kinds have.
            const auto kind = HalElement::KindFromName(text);
            if (!kind) {
                return false;
            }
            e.kind = *kind;
        } else if (index.column() == kBearing) {
            const auto angle = number ? DmsAngle::ToRadians(*number) : std::nullopt;
            if (!angle) {
                return false;
            }
            e.bearing = *angle;
        } else {
            if (!number) {
                return false;
            }
            double* fields[] = {nullptr, &e.chainage, &e.length, &e.radius, &e.east, &e.north};
            *fields[index.column()] = *number;
        }
        hal.Replace(row, e);
    }
    document_->Change(
        hal, val,
        tr("Edit %1").arg(headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString()));
    return true;
}

void AlignmentTableModel::InsertAfter(int row) {
    HalFile hal = document_->Hal();
    ValFile val = document_->Val();
    const std::size_t at = static_cast<std::size_t>(row + 1);
    if (part_ == Part::Horizontal) {
        HalElement e;
        e.kind = hal.Records().empty() ? HalElement::Kind::Start : HalElement::Kind::Straight;
        e.length = 100;
        if (row >= 0 &&
            hal.Records()[static_cast<std::size_t>(row)].kind != HalElement::Kind::Start) {
            e = hal.Records()[static_cast<std::size_t>(row)];
        }
        hal.Insert(std::min(at, hal.Records().size()), e);
    } else {
        VerticalPoint p;
        if (row >= 0) {
            p = val.Records()[static_cast<std::size_t>(row)];
            p.chainage += 100;
            p.curveLength = 0;
        }
        val.Insert(std::min(at, val.Records().size()), p);
    }
    document_->Change(hal, val, tr("Insert"));
}

void AlignmentTableModel::Remove(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    HalFile hal = document_->Hal();
    ValFile val = document_->Val();
    if (part_ == Part::Horizontal) {
        hal.Remove(static_cast<std::size_t>(row));
    } else {
        val.Remove(static_cast<std::size_t>(row));
    }
    document_->Change(hal, val, tr("Delete"));
}
