#pragma once
// Page "Тестирование" (TabSheet9): the counters of the last final run and the diagnostic lists
// (problem peaks, the zones fitted).
#include <QWidget>
#include <cstddef>
#include <string>
#include <vector>

#include "ui/pages.h"
#include "ui/layout_rule.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace orvelo::ui {

class PageTesting : public QWidget {
    Q_OBJECT
public:
    explicit PageTesting(QWidget* parent = nullptr);

    // Both lists, and "-" for the problem count and the run time.
    void clear();
    // The lines of the fitted zones ("Массив пиков") and of the problem peaks.
    void addZoneLines(const std::vector<std::string>& lines, const std::vector<std::string>& problemLines);
    void clearLines();
    // The counters of a finished run.
    void showCounters(long long elapsedMs, std::size_t peaks, int problems);

    // The layout rule's boxes of this page's controls (LayoutBoxes), read and placed again.
    void readLayout(LayoutBoxes& boxes) const;
    void applyLayout(const LayoutBoxes& boxes);

signals:
    // The determinant self-tests of the hidden buttons "Op44" and "Dopolnenie".
    void op44Requested();
    void dopolnenieRequested();

private:
    void setCounter(QLabel* label, const QString& text);

    QLabel* Label10;
    QLabel* Label11;  // peaks fitted
    QLabel* Label3;
    QLabel* Label4;  // problem peaks
    QLabel* Label1;
    QLabel* Label2;  // run time, ms
    QLabel* Label8;
    QListWidget* ListBox3;
    QLabel* Label16;
    QListWidget* ListBox4;
    QPushButton* Button7;   // "Op44", never shown
    QPushButton* Button10;  // "Dopolnenie", never shown
};

}  // namespace orvelo::ui
