#include "blockcaptionmodel.h"

#include "commandblockindex.h"

void BlockCaptionModel::resetBlocks(const QList<CommandBlock> *newBlocks)
{
    beginResetModel();
    blocks = newBlocks;
    rows = blocks ? int(blocks->size()) : 0;
    endResetModel();
}

void BlockCaptionModel::spliceRows(const BlockSplice &splice)
{
    const int first = int(splice.first);
    const int removed = int(splice.removed);
    const int added = int(splice.added);
    const int common = std::min(removed, added);
    if (removed > added) {
        beginRemoveRows({}, first + added, first + removed - 1);
        rows -= removed - added;
        endRemoveRows();
    } else if (added > removed) {
        beginInsertRows({}, first + removed, first + added - 1);
        rows += added - removed;
        endInsertRows();
    }
    if (common > 0)
        emit dataChanged(index(first), index(first + common - 1), {Qt::DisplayRole});
}

int BlockCaptionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows;
}

QVariant BlockCaptionModel::data(const QModelIndex &index, int role) const
{
    if (!blocks || !index.isValid() || index.row() >= blocks->size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    // A caption is a whole line, which in a broken file can run to megabytes;
    // the drop-down shows its start, and lays out no more than that.
    const QString &caption = blocks->at(index.row()).caption;
    if (caption.size() <= MaxShownCaptionLength)
        return caption;
    return QStringView(caption).first(MaxShownCaptionLength).toString() + QChar(0x2026);
}
