#include "app/history_model.h"

#include "journal/history_line.h"

namespace nfp {

namespace {

const char* const kTitles[] = {"Data/Hora", "C.N.P.J.", "Operação", "Arquivo", "Protocolo", "Situação",
                               "Resultado"};

QString Text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The grid shows the first line; the memo below it the whole text.
QString FirstLine(const std::string& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    return Text(end == std::string::npos ? text : text.substr(0, end));
}

} // namespace

HistoryModel::HistoryModel(RegionalSettings regional, QObject* parent)
    : QAbstractTableModel(parent), regional_(std::move(regional))
{
}

void HistoryModel::setRows(std::vector<JournalRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(std::size(kTitles));
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const JournalEntry& e = rows_[static_cast<std::size_t>(index.row())].entry;
    switch (index.column()) {
    case 0: return Text(QuandoText(e.quando, regional_));
    case 1: return Text(e.cnpj);
    case 2: return Text(e.operacao);
    case 3: return Text(e.arquivo);
    case 4: return Text(e.protocolo);
    case 5: return Text(e.situacao);
    case 6: return FirstLine(e.resultado);
    default: return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    return QString::fromUtf8(kTitles[section]);
}

} // namespace nfp
