#include "ui/theory_commands.h"

#include "calibration/ion_masses.h"
#include "calibration/theory_series.h"
#include "core/text_file.h"
#include "export/ch_list_html.h"
#include "export/html_report.h"
#include "ui/chart_surface.h"
#include "ui/dialogs.h"
#include "ui/page_theory.h"

namespace orvelo::ui {
TheoryCommands::TheoryCommands(CommandContext& context, PageTheory& ch, PageTheory& cf)
    : c_(context), ch_(ch), cf_(cf) {
    // Series10GetMarkText and Series13GetMarkText: the hovered point's peak, while hints are on.
    ch.setHoverText([this](int v) {
        const SessionState& s = c_.session.state();
        return QString::fromStdString(
            HoverMarkText(s.calibration.practiceCH, s.run.peaks, v, c_.flags.HoverIndex, c_.flags.HintyCHCF));
    });
    cf.setHoverText([this](int v) {
        const SessionState& s = c_.session.state();
        return QString::fromStdString(
            HoverMarkText(s.calibration.practiceCF, s.run.peaks, v, c_.flags.HoverIndex, c_.flags.HintyCHCF));
    });
}

void TheoryCommands::showSaws(const MassAssignment& assigned) {
    ch_.showSaws(assigned.ch.theory, assigned.ch.practice.points);
    cf_.showSaws(assigned.cf.theory, assigned.cf.practice.points);
}

void TheoryCommands::makeRoomForMarks() {
    ch_.makeRoomForMarks();
    cf_.makeRoomForMarks();
}

void TheoryCommands::Chart3MouseMove() { hover(ch_); }
void TheoryCommands::Chart4MouseMove() { hover(cf_); }

// HoverIndex is shared by both charts. Both are redrawn when it changes, so a mark goes away
// as soon as the cursor leaves its point rather than at some later redraw.
void TheoryCommands::hover(const PageTheory& page) {
    int& hoverIndex = c_.flags.HoverIndex;
    const int index = page.pointUnderMouse();
    if (index == hoverIndex) return;
    hoverIndex = index;
    ch_.chart().requestRedraw();
    cf_.chart().requestRedraw();
}

void TheoryCommands::TXT1Click() {
    c_.run([this] { PilaCHToFile(); });
}
void TheoryCommands::XLS1Click() {
    c_.run([this] { WriteCHList(); });
}
void TheoryCommands::HTML3Click() {
    c_.run([this] { writeCHListHtml(); });
}

// Two files, each after its own dialog; cancelling the first still asks for the second. The
// second dialog starts where the first one was left.
void TheoryCommands::PilaCHToFile() {
    const QString filter = QString::fromUtf8(kPilaFilter);
    const auto theory =
        c_.files.saveFile({QString::fromUtf8(kPilaTheoryDialogTitle), QString::fromUtf8(kPilaTheoryFileName),
                           QString::fromStdString(c_.flags.StartPapka), filter});
    if (theory)
        WriteTextFile(theory->toStdString(), PilaCHTheoryLines(ch_.theoryPoints(), c_.session.state().ReferenceMasses));
    const auto practice = c_.files.saveFile(
        {QString::fromUtf8(kPilaPracticeDialogTitle), QString::fromUtf8(kPilaPracticeFileName), QString(), filter});
    if (practice) WriteTextFile(practice->toStdString(), PilaCHPracticeLines(ch_.practicePoints()));
}

void TheoryCommands::WriteCHList() {
    const auto name = c_.files.saveFile({QString::fromUtf8(kCHListDialogTitle), QString::fromUtf8(kCHListFileName),
                                         CommandContext::programFolder(), QString::fromUtf8(kCHListFilter)});
    if (name)
        WriteTextFile(name->toStdString(), NotedMassLines(CHListLines(c_.session.state().tables.CHList),
                                                          c_.session.state().ReferenceMasses));
}

void TheoryCommands::writeCHListHtml() {
    const auto name =
        c_.files.saveFile({QString::fromUtf8(kCHListHtmlDialogTitle), QString::fromUtf8(kCHListHtmlFileName),
                           CommandContext::programFolder(), QString::fromUtf8(kHtmlFilter)});
    if (name)
        WriteTextFile(name->toStdString(),
                      CHListHtml(c_.session.state().tables.CHList, c_.session.state().ReferenceMasses));
}

}  // namespace orvelo::ui
