#pragma once
// Page "Отдельный пик" (TabSheet8): re-fit one peak of the last final run with its iteration
// log, and save its samples.
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace orvelo::ui {

class PageSinglePeak : public QWidget {
    Q_OBJECT
public:
    explicit PageSinglePeak(QWidget* parent = nullptr);

    QPushButton* Button16;
    QPushButton* Button17;
    QLabel* Label14;
    QListWidget* ListBox8;
    QLabel* Label15;
    QListWidget* ListBox9;
};

}  // namespace orvelo::ui
