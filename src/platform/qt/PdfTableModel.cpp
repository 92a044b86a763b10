#include "platform/qt/PdfTableModel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStyle>
#include <algorithm>
#include <climits>

#include "platform/desktop/TableDataSource.h"

namespace tomefuse {

namespace {

struct ColumnInfo {
    std::string_view identifier;
    const char* title;
    bool numeric;
};

constexpr ColumnInfo columns[PdfTableModel::ColumnCount] = {
    {EntryKey::filename, QT_TRANSLATE_NOOP("tomefuse::PdfTableModel", "Name"), false},
    {EntryKey::pagecount, QT_TRANSLATE_NOOP("tomefuse::PdfTableModel", "Pages"), true},
    {EntryKey::outlinecount, QT_TRANSLATE_NOOP("tomefuse::PdfTableModel", "Bookmarks"), true},
    {EntryKey::path, QT_TRANSLATE_NOOP("tomefuse::PdfTableModel", "Location"), false},
};

bool validColumn(int column) { return column >= 0 && column < PdfTableModel::ColumnCount; }

QVariant toVariant(const CellValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return QString::fromStdString(*text);
    }
    if (const auto* number = std::get_if<uint64_t>(&value)) {
        return QVariant::fromValue<qulonglong>(*number);
    }
    return {};
}

}  // namespace

namespace {

int rowsOf(const TableDataSource& source) {
    const int64_t rows = source.numberOfRowsInTableView();
    return rows < 0 ? 0 : static_cast<int>(std::min<int64_t>(rows, INT_MAX));
}

}  // namespace

PdfTableModel::PdfTableModel(TableDataSource& source, QObject* parent)
    : QAbstractTableModel(parent), source_(source), rows_(rowsOf(source)) {}

std::string PdfTableModel::identifier(int column) {
    return validColumn(column) ? std::string(columns[column].identifier) : std::string();
}

int PdfTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int PdfTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PdfTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    auto value = [&](std::string_view key) { return source_.objectValueForTableColumn(std::string(key), index.row()); };
    // Why the file cannot be read; empty when it can. Asked only by the roles that show it: the
    // view asks for many roles of every cell it paints.
    auto problem = [&] {
        const CellValue problemValue = value(EntryKey::problem);
        const auto* text = std::get_if<std::string>(&problemValue);
        return text ? *text : std::string();
    };
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == PagesColumn) {
                return pagesText(index.row());
            }
            if (index.column() == LocationColumn) {
                // The name is in the Name column already; the whole path is the tooltip.
                const QString path = toVariant(value(EntryKey::path)).toString();
                return QDir::toNativeSeparators(QFileInfo(path).path());
            }
            return toVariant(value(identifier(index.column())));
        case ShorterTextsRole:
            if (index.column() == PagesColumn) {
                // "108 of 113" cut in the middle reads as a range, and at its end as another count.
                const CellValue chosen = value(EntryKey::pages);
                if (const auto* text = std::get_if<std::string>(&chosen); text && *text != "all") {
                    const qulonglong taken = toVariant(value(EntryKey::pagesTaken)).toULongLong();
                    const qulonglong count = toVariant(value(EntryKey::pagecount)).toULongLong();
                    return QStringList{tr("%1/%2").arg(taken).arg(count), tr("%1…").arg(taken)};
                }
            }
            return {};
        case Qt::EditRole:
            // The pages cell edits which pages are taken: "all", "1-3, 7", "10-z".
            return toVariant(value(index.column() == PagesColumn ? EntryKey::pages : identifier(index.column())));
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole: {
            // The full path, wherever the pointer rests: names and counts do not tell two copies
            // apart; and why a file cannot be read.
            const QString path = toVariant(value(EntryKey::path)).toString();
            const std::string why = problem();
            QString tip = !why.empty() ? tr("Cannot be read: %1\n%2").arg(QString::fromStdString(why), path) : path;
            if (const QString partner = toVariant(value(EntryKey::partner)).toString(); !partner.isEmpty()) {
                tip += QLatin1Char('\n') + tr("Interleaved with %1").arg(partner);
            }
            return tip;
        }
        case Qt::TextAlignmentRole:
            if (columns[index.column()].numeric) {
                return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            }
            return {};
        case Qt::DecorationRole:
            if (index.column() != NameColumn) {
                return {};
            }
            if (!problem().empty()) {
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            }
            return rowIcon_ ? rowIcon_(index.row()) : QVariant();
        default:
            return {};
    }
}

// Pages taken of pages there are, when not all are taken, and how they are turned.
QVariant PdfTableModel::pagesText(int row) const {
    auto value = [&](std::string_view key) {
        return toVariant(source_.objectValueForTableColumn(std::string(key), row));
    };
    const QString chosen = value(EntryKey::pages).toString();
    const qulonglong count = value(EntryKey::pagecount).toULongLong();
    QString text = chosen.isEmpty() || chosen == QLatin1String("all")
                       ? QLocale().toString(count)
                       : tr("%1 of %2").arg(value(EntryKey::pagesTaken).toULongLong()).arg(count);
    const QString turned = value(EntryKey::turned).toString();
    if (turned == QLatin1String("some")) {
        return tr("%1, some turned").arg(text);
    }
    if (!turned.isEmpty()) {
        return tr("%1, turned %2°").arg(text, turned);
    }
    // A plain count stays a number, as the other numeric cells are.
    return chosen.isEmpty() || chosen == QLatin1String("all") ? QVariant::fromValue(count) : QVariant(text);
}

QVariant PdfTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !validColumn(section)) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (role) {
        case Qt::DisplayRole:
            return tr(columns[section].title);
        case IdentifierRole:
            return QString::fromStdString(identifier(section));
        case Qt::ToolTipRole:
            if (section == PagesColumn) {
                return tr(
                    "The pages taken from each file. Double-click a count to choose them: “all”, or "
                    "pages and ranges such as 1-3, 7, 10-z.");
            }
            return {};
        case Qt::TextAlignmentRole:
            if (columns[section].numeric) {
                return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            }
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

Qt::ItemFlags PdfTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        // Drops land between rows, handed to the data source by the view.
        return Qt::ItemIsDropEnabled;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (source_.shouldEditTableColumn(identifier(index.column()), index.row())) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool PdfTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    // The data source stores the new value and reloads the table, which resets this model.
    const int row = index.row();
    const int column = index.column();
    source_.setObjectValue(value.toString().toStdString(), identifier(column), row);
    // Without a table the data source has no one to tell.
    if (source_.tableView() == nullptr) {
        reload();
    }
    return true;
}

Qt::DropActions PdfTableModel::supportedDragActions() const { return Qt::MoveAction; }

Qt::DropActions PdfTableModel::supportedDropActions() const { return Qt::CopyAction | Qt::MoveAction; }

void PdfTableModel::rowIconChanged(int row) {
    if (row >= 0 && row < rows_) {
        emit dataChanged(index(row, NameColumn), index(row, NameColumn), {Qt::DecorationRole});
    }
}

bool PdfTableModel::reload() {
    const int rows = rowsOf(source_);
    if (rows == rows_) {
        if (rows > 0) {
            emit dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1));
        }
        return false;
    }
    beginResetModel();
    rows_ = rows;
    endResetModel();
    return true;
}

}  // namespace tomefuse
