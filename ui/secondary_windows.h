#pragma once
// The three small windows beside the main window: the progress window Form5 shown during the
// final run, the column chooser Form3 of the HTML report and the About box.
#include <QDialog>
#include <QWidget>
#include <array>

#include "fitting/results_table.h"

class QCheckBox;
class QProgressBar;
class QPushButton;

namespace orvelo::ui {

// Form5: "Пожалуйста, подождите...", no title-bar buttons, a red bar showing "37%" and the
// button "Стоп". A dialog-type window of the main window, so it stays above it.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    // The protocol of a run: startCounting or startBusy, step after each counted step, finish.
    void startCounting(int steps);  // from 0 to steps (at least 1), "Стоп" on
    void startBusy();               // no percentage and no "Стоп": the run cannot be interrupted
    void step();
    void finish();  // hidden, ready for either start again

    QProgressBar* Gauge1;
    QPushButton* StopButton;

signals:
    void stopRequested();

protected:
    void showEvent(QShowEvent* event) override;  // FormShow: paints at once
};

// Form3: twelve boxes, box n captioned with the head of results-table column n, which it selects.
class ColumnChooser : public QDialog {
    Q_OBJECT
public:
    explicit ColumnChooser(QWidget* parent = nullptr);
    std::array<QCheckBox*, kResultColumns> boxes{};
    QPushButton* Button1;
    // Flags stored by the OK button; unchanged when the window is closed another way.
    std::array<bool, kResultColumns> choice() const;
};

// "О программе...": a picture, "Орвело" in red, the version, OK as the default button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

// The stylised spectrum drawn in the About box.
QPixmap AboutPicture(int width, int height);

}  // namespace orvelo::ui
