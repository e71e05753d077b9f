#pragma once
// The pages "Теория CH" and "Теория CF": the hover marks of the measured points (Chart3MouseMove,
// Chart4MouseMove, Series10GetMarkText, Series13GetMarkText) and the CH files: the two saw
// files ("Теория CH" > "TXT"), the list for a spreadsheet and the list as an HTML page
// ("Список CH" > "TXT (для Excel)", "HTML"). The series are filled from the masses assigned to the peaks of the final
// run.
#include <QObject>

#include "calibration/after_final_run.h"
#include "ui/command_context.h"

namespace orvelo::ui {

class PageTheory;

class TheoryCommands : public QObject {
    Q_OBJECT
public:
    TheoryCommands(CommandContext& context, PageTheory& ch, PageTheory& cf);

    void Chart3MouseMove();
    void Chart4MouseMove();
    void TXT1Click();   // PilaCHToFile
    void XLS1Click();   // WriteCHList
    void HTML3Click();  // the CH list as an HTML page
    // The saws of a mass assignment (the end of a run, another choice of ion masses).
    void showSaws(const MassAssignment& assigned);
    // After the final run has filled the series: headroom for the marks at the top.
    void makeRoomForMarks();

private:
    void hover(const PageTheory& page);
    void PilaCHToFile();
    void WriteCHList();
    void writeCHListHtml();

    CommandContext& c_;
    PageTheory& ch_;
    PageTheory& cf_;
};

}  // namespace orvelo::ui
