#include "drawexport/PointTableModel.h"

#include "fielddata/FieldText.h"

#include <QFont>

namespace {

QString Coordinate(double value, int places) {
    return QString::number(value, 'f', places);
}

} // namespace

PointTableModel::PointTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PointTableModel::SetRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int PointTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PointTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() >= East && index.column() <= Height;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    const SurveyPoint& point = *row.point;
    if (role == Qt::FontRole && point.origin != SurveyPoint::Origin::Given) {
        QFont font;
        // Computed points in italics, station set-ups in bold.
        font.setItalic(point.Computed());
        font.setBold(!point.Computed());
        return font;
    }
    if (role == Qt::ToolTipRole && point.origin != SurveyPoint::Origin::Given) {
        return point.Computed() ? tr("Computed from an observation and its station set-up")
                                : tr("Station set-up");
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case File:
        return row.file;
    case Name:
        return QString::fromStdU16String(FieldText::ToUtf16(point.name));
    case East:
        return Coordinate(point.east, point.places);
    case North:
        return Coordinate(point.north, point.places);
    case Height:
        return point.height ? Coordinate(*point.height, point.places) : QString();
    default:
        return QString::fromStdU16String(FieldText::ToUtf16(point.code));
    }
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const char* titles[kColumns] = {"File", "Name", "Easting", "Northing", "Height", "Code"};
    return tr(titles[section]);
}
