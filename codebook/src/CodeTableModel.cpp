#include "codebook/CodeTableModel.h"

#include "codebook/CodeEditCommand.h"
#include "codebook/MoveCodeCommand.h"
#include "codebook/SymbolPreview.h"

#include <QColor>
#include <QDataStream>
#include <QMimeData>
#include <QUndoStack>

#include <array>

namespace {

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The text fields in column order, up to kSymbol; the line and attribute
// columns are not text.
constexpr std::array<std::string FeatureCode::*, CodeTableModel::kSymbol + 1> kTextFields = {
    &FeatureCode::code,  &FeatureCode::description, &FeatureCode::group,
    &FeatureCode::layer, &FeatureCode::colour,      &FeatureCode::symbol};

// The text of a column (const or not); nullptr for the line and attribute columns.
template <typename Code>
auto* TextField(Code& code, int column) {
    using Text = decltype(&code.code);
    if (column < 0 || column >= static_cast<int>(kTextFields.size())) {
        return static_cast<Text>(nullptr);
    }
    return &(code.*kTextFields[static_cast<std::size_t>(column)]);
}

QString Attributes(const FeatureCode& code) {
    QStringList parts;
    for (const CodeAttribute& attribute : code.attributes) {
        parts << Qs(attribute.name) + QLatin1Char('=') + Qs(attribute.value);
    }
    return parts.join(QStringLiteral("; "));
}

} // namespace

CodeTableModel::CodeTableModel(QUndoStack& undo, QObject* parent)
    : QAbstractTableModel(parent), undo_(undo) {}

void CodeTableModel::Reset(CodeBook book) {
    beginResetModel();
    book_ = std::move(book);
    endResetModel();
    undo_.clear();
}

void CodeTableModel::Edit(int row, const FeatureCode& code, const QString& what) {
    if (book_.codes[row] != code) {
        undo_.push(new CodeEditCommand(*this, row, book_.codes[row], code, what));
    }
}

void CodeTableModel::Insert(int row, const FeatureCode& code) {
    undo_.push(new CodeEditCommand(*this, row, std::nullopt, code, tr("Add Code")));
}

void CodeTableModel::Remove(int row) {
    undo_.push(new CodeEditCommand(*this, row, book_.codes[row], std::nullopt, tr("Remove Code")));
}

void CodeTableModel::Move(int from, int to) {
    if (from != to) {
        undo_.push(new MoveCodeCommand(*this, from, to));
    }
}

void CodeTableModel::ApplyReplace(int row, const FeatureCode& code) {
    book_.codes[row] = code;
    emit dataChanged(index(row, 0), index(row, kColumns - 1));
}

void CodeTableModel::ApplyInsert(int row, const FeatureCode& code) {
    beginInsertRows({}, row, row);
    book_.codes.insert(book_.codes.begin() + row, code);
    endInsertRows();
}

void CodeTableModel::ApplyRemove(int row) {
    beginRemoveRows({}, row, row);
    book_.codes.erase(book_.codes.begin() + row);
    endRemoveRows();
}

void CodeTableModel::ApplyMove(int from, int to) {
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    FeatureCode code = std::move(book_.codes[from]);
    book_.codes.erase(book_.codes.begin() + from);
    book_.codes.insert(book_.codes.begin() + to, std::move(code));
    endMoveRows();
}

int CodeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(book_.codes.size());
}

int CodeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant CodeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const FeatureCode& code = book_.codes[index.row()];
    const int column = index.column();
    if (column == kLine) {
        return role == Qt::CheckStateRole ? QVariant(code.line ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    }
    if (role == Qt::DecorationRole && column == kColour && !code.colour.empty()) {
        return QColor(Qs(code.colour));
    }
    if (role == Qt::DecorationRole && column == kSymbol && !code.symbol.empty()) {
        return SymbolPreview::Icon(Qs(code.symbol), QColor(Qs(code.colour)));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    if (column == kAttributes) {
        return Attributes(code);
    }
    return Qs(*TextField(code, column));
}

QVariant CodeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    static const char* const kTitles[] = {"Code",   "Description", "Group", "Layer",
                                          "Colour", "Symbol",      "Line",  "Attributes"};
    return tr(kTitles[section]);
}

Qt::ItemFlags CodeTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index) | Qt::ItemIsDropEnabled;
    if (!index.isValid()) {
        return flags;
    }
    flags |= Qt::ItemIsDragEnabled;
    if (index.column() == kLine) {
        return flags | Qt::ItemIsUserCheckable;
    }
    return index.column() == kAttributes ? flags : flags | Qt::ItemIsEditable;
}

bool CodeTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) {
        return false;
    }
    FeatureCode code = book_.codes[index.row()];
    if (index.column() == kLine && role == Qt::CheckStateRole) {
        code.line = value.value<Qt::CheckState>() == Qt::Checked;
    } else if (std::string* field = TextField(code, index.column());
               field && role == Qt::EditRole) {
        *field = value.toString().toStdString();
    } else {
        return false;
    }
    Edit(index.row(), code,
         tr("Edit %1").arg(headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString()));
    return true;
}

Qt::DropActions CodeTableModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList CodeTableModel::mimeTypes() const {
    return {QString::fromLatin1(kRowMime)};
}

QMimeData* CodeTableModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) {
        return nullptr;
    }
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kRowMime), QByteArray::number(indexes.first().row()));
    return mime;
}

bool CodeTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                  const QModelIndex& parent) {
    if (action != Qt::MoveAction || !data->hasFormat(QString::fromLatin1(kRowMime))) {
        return false;
    }
    bool ok = false;
    const int from = data->data(QString::fromLatin1(kRowMime)).toInt(&ok);
    if (!ok || from < 0 || from >= rowCount()) {
        return false;
    }
    // Dropped on a row: before it; between rows: there; below the last: at the end.
    int before = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
    Move(from, before > from ? before - 1 : before);
    // The move is done here; the view must not remove the dragged row again.
    return false;
}
