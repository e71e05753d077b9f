#pragma once
// The panel beside the results table of "Информация": the ranked elemental formulas of the peak
// whose row is selected, and the settings of the search (element ranges, tolerance in ppm,
// charge), remembered between sessions. One peak is searched at a time, on selection, through
// Session::FindFormulas; a refused setting shows its message in the panel and changes nothing
// remembered. Double-clicking a candidate copies its formula to the clipboard.
#include <QString>
#include <QWidget>

#include "composition/candidates.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace orvelo {
class Session;
}

namespace orvelo::ui {

class SettingsStore;

// Column heads of the candidate table, in order.
inline constexpr const char* kCandidateHeads[] = {"Формула", "Δ, mmu", "Δ, ppm", "Δ/σ", "RDBE", "Изотопы", "Оценка"};
inline constexpr int kCandidateColumns = kCandidateTextCount;  // the texts of CandidateTexts
// The panel's width at first; the table of "Информация" keeps the rest of the page (at the
// window's default size enough for the twelve columns of a spectrum of light ions).
inline constexpr int kCompositionPanelWidth = 425;

class CompositionPanel : public QWidget {
    Q_OBJECT
public:
    CompositionPanel(Session& session, SettingsStore& settings, QWidget* parent = nullptr);

    // The candidates of result peak `peak` (the table's data row - 1); -1: no row selected.
    void showPeak(int peak);
    int peak() const { return peak_; }

    // The settings as the fields now give them (the remembered ones at start).
    CompositionSettings settings() const;
    QString message() const;        // a refusal, or why the peak has no candidate
    QString referenceLine() const;  // "C4H9+ — опорный ион CH калибровки", or empty
    int candidateCount() const;
    QString candidateCell(int row, int column) const;

private:
    void acceptSettings();
    void refresh();
    void showLines();
    void copyFormula(int row);

    Session& session_;
    SettingsStore& store_;
    int peak_ = -1;
    QLineEdit* ranges_;
    QLineEdit* ppm_;
    QComboBox* charge_;
    QLabel* peakLine_;
    QLabel* message_;
    QLabel* reference_;
    QTableWidget* candidates_;
    QLabel* hint_;
};

}  // namespace orvelo::ui
