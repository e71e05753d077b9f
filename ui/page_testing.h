#pragma once
// Page "Тестирование" (TabSheet9): the counters of the last final run and the diagnostic lists
// (problem peaks, the zones fitted).
#include <QWidget>

#include "ui/pages.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace orvelo::ui {

class PageTesting : public QWidget {
    Q_OBJECT
public:
    explicit PageTesting(QWidget* parent = nullptr);

    QLabel* Label10;
    QLabel* Label11;  // peaks fitted
    QLabel* Label3;
    QLabel* Label4;   // problem peaks
    QLabel* Label1;
    QLabel* Label2;   // run time, ms
    QLabel* Label8;
    QListWidget* ListBox3;
    QLabel* Label16;
    QListWidget* ListBox4;
    QPushButton* Button7;   // "Op44", never shown
    QPushButton* Button10;  // "Dopolnenie", never shown

    void setCounter(QLabel* label, const QString& text);
    // Both lists, and "-" for the problem count and the run time.
    void clear();
};

}  // namespace orvelo::ui
