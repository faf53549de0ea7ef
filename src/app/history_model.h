#pragma once
// The history window's grid over journal rows: Data/Hora, C.N.P.J.,
// Operação, Arquivo, Protocolo, Situação and the first line of Resultado.
// Texts are made when a cell is drawn, so a large journal loads fast.
#include "journal/journal_entry.h"
#include "util/regional_settings.h"

#include <QAbstractTableModel>

#include <vector>

namespace nfp {

class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    HistoryModel(RegionalSettings regional, QObject* parent);

    void setRows(std::vector<JournalRow> rows);
    const std::vector<JournalRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RegionalSettings regional_;
    std::vector<JournalRow> rows_;
};

} // namespace nfp
