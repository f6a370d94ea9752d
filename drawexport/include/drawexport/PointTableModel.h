#pragma once

#include "fielddata/SurveyPoint.h"

#include <QAbstractTableModel>

#include <vector>

// The points of the open files as a table: file, name, easting, northing,
// height and code, coordinates with the decimals their file gave them.
class PointTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { File, Name, East, North, Height, Code, kColumns };

    struct Row {
        const SurveyPoint* point;
        QString file;
    };

    explicit PointTableModel(QObject* parent = nullptr);

    // The points stay the caller's, as for the plan view.
    void SetRows(std::vector<Row> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> rows_;
};
