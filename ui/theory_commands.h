#pragma once
// The pages "Теория CH" and "Теория CF": the hover marks of the measured points (Chart3MouseMove,
// Chart4MouseMove, Series10GetMarkText, Series13GetMarkText) and the CH files: the two saw
// files ("Теория CH" > "TXT"), the list for a spreadsheet and the list as an HTML page
// ("Список CH" > "TXT (для Excel)", "HTML"). The series themselves are filled by the final run.
#include <QObject>

#include "ui/command_context.h"

namespace orvelo::ui {

class PageTheory;

class TheoryCommands : public QObject {
    Q_OBJECT
public:
    explicit TheoryCommands(CommandContext& context);

    void Chart3MouseMove();
    void Chart4MouseMove();
    void TXT1Click();   // PilaCHToFile
    void XLS1Click();   // WriteCHList
    void HTML3Click();  // the CH list as an HTML page
    // After the final run has filled the series: headroom for the marks at the top.
    void makeRoomForMarks();

private:
    void hover(const PageTheory& page);
    void PilaCHToFile();
    void WriteCHList();
    void writeCHListHtml();

    CommandContext& c_;
};

}  // namespace orvelo::ui
