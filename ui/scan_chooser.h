#pragma once
// The scan chooser: one row per spectrum of an instrument file (number, id, MS level, time,
// points, representation, m/z range, total ion current), sortable by any column, the first MS1
// profile spectrum preselected. Centroided rows are greyed: they cannot be fitted.
#include <QDialog>

#include "ui/dialogs.h"

class QTableWidget;

namespace orvelo::ui {

class ScanChooser : public QDialog {
    Q_OBJECT
public:
    ScanChooser(const ScanRequest& request, QWidget* parent);
    // The scan number of the chosen row (0 when no row is chosen).
    int chosenScan() const;
    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_;
};

}  // namespace orvelo::ui
