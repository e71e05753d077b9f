// The heads of the results table explain themselves: each has a tooltip with the column's
// meaning and unit, from the first start and after a final run has filled the table again.
#include <QApplication>
#include <QHeaderView>
#include <QTabWidget>
#include <QToolTip>
#include <QTableWidget>
#include <QTest>

#include "fitting/results_column_tips.h"
#include "ui/page_info.h"
#include "ui/support/ch_spectrum.h"

using namespace orvelo;
using namespace orvelo::ui;
using namespace orvelo::ui::testing;

class ResultsTipsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }

    void everyHeadNamesItsMeaningAndUnit() {
        WindowFixture w;
        const auto headTips = [&] {
            QStringList tips;
            QTableWidget* grid = w.find<QTableWidget>("StringGrid1");
            for (int c = 0; c < kResultColumns; ++c)
                tips << grid->model()->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString();
            return tips;
        };
        const QStringList atStart = headTips();
        QCOMPARE(atStart[5], QStringLiteral("R: разрешающая способность, M/ΔM на полувысоте"));
        QCOMPARE(atStart[2], QStringLiteral("Ошибка: стандартная ошибка массы, u"));
        for (int c = 0; c < kResultColumns; ++c)  // each tip starts with its head's own text
            QVERIFY(atStart[c].startsWith(w.window->pages().info->cell(c, 0) + QStringLiteral(": ")));
        LoadAndProcess(w, WriteCHSpectrum(w.dir.filePath("ch.txt")));
        QCOMPARE(w.window->pages().info->rowCount(), 6);
        QCOMPARE(headTips(), atStart);

        // With ORVELO_SCREENSHOT_DIR set, the table with the tip of "R" is saved for a look.
        if (!ScreenshotsWanted()) return;
        w.window->pageControl()->setCurrentWidget(w.window->pages().info);
        QTableWidget* grid = w.find<QTableWidget>("StringGrid1");
        QHeaderView* head = grid->horizontalHeader();
        QToolTip::showText(head->mapToGlobal(QPoint(head->sectionViewportPosition(5) + 10, 10)), atStart[5], head);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->inherits("QTipLabel") && top->isVisible()) SaveScreenshot(*top, QStringLiteral("results_tip.png"));
        SaveScreenshot(*grid, QStringLiteral("results_table.png"));
    }
};

QTEST_MAIN(ResultsTipsTest)
#include "test_results_tips.moc"
