#pragma once

#include "reports/csvimport.h"

#include <QAbstractTableModel>

namespace quillary {

// The rows of a file being imported as the import window lists them: the
// lines above the table (greyed, skipped), then every row of the table with
// what becomes of it and the file's own fields. A likely duplicate has a
// check box in its status cell: checked, it is imported all the same.
class ImportPreview final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColLine, ColStatus, ColKind, ColDate, ColAmount, ColDescription, ColParty,
                  kResultColumns };

    explicit ImportPreview(CsvImport& import, QObject* parent = nullptr);

    // Shows the import as it is now (after a change of its settings).
    void refresh();
    // The table row of the import for a row of the preview; -1 for a line
    // above the table.
    int importRow(int row) const;
    int previewRow(std::size_t importRow) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A likely duplicate was kept or skipped again.
    void keptChanged();

private:
    const CsvInputRow& sourceRow(int row) const;

    CsvImport& import_;
};

// What the status cell of a row says.
QString importStatusText(const ImportRow& row, bool kept);

} // namespace quillary
