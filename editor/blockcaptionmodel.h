#pragma once

#include "commandblocks.h"

#include <QAbstractListModel>

struct BlockSplice;

// The drop-down's items: the captions of a block list owned elsewhere.
// The list is changed by its owner; the model is told which rows changed,
// so views update those rows instead of being refilled.
class BlockCaptionModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Longer captions are shown cut, with an ellipsis.
    static constexpr int MaxShownCaptionLength = 256;

    using QAbstractListModel::QAbstractListModel;

    // Shows blocks (or nothing for nullptr) from scratch.
    void resetBlocks(const QList<CommandBlock> *blocks);
    // The owner has just replaced `removed` rows at `first` by `added` rows.
    void spliceRows(const BlockSplice &splice);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    const QList<CommandBlock> *blocks = nullptr;
    int rows = 0; // rows the views know of; differs from blocks->size() only inside spliceRows
};
