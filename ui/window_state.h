#pragma once
// The window's own flags, beside the processing session (session/): what only the window
// knows or shows. No Qt here.
#include <array>
#include <string>

#include "fitting/results_table.h"

namespace orvelo::ui {

// The steps of the work flow that the session's state does not tell, for the availability
// table (availability.h): the session keeps the stages of an earlier spectrum after a load, and
// several buttons stay on until their own click. Each group records its own step here, right
// after the session's operation of that step; the steps that invalidate the results (a load, a
// preliminary or final run begun, a recalculation) also forget the marks of the results.
class WorkflowMarks {
public:
    // Session::Load.
    // The zones of an earlier spectrum are not this one's: "Последняя" and ">>" wait for its own
    // preliminary run.
    void markLoaded() {
        spectrum_ = SpectrumStep::Loaded;
        forgetResults();
    }
    // Session::BeginPreliminary passed.
    void markPreliminaryBegun() { forgetResults(); }
    // The zones of a preliminary run are listed.
    void markPreliminaryDone() { spectrum_ = SpectrumStep::ZonesListed; }
    // Session::BeginFinalRun took the height (also when the threshold step then failed).
    void markFinalRunBegun() { forgetResults(); }
    // Session::AdoptFinalRun: the results are shown.
    void markFinalRunAdopted() {
        if (spectrum_ == SpectrumStep::ZonesListed) spectrum_ = SpectrumStep::ResultsAdopted;
        resultsShown_ = true;
        listOpen_ = true;
        peak_ = PeakStep::None;
    }
    // "Очистить список": the list takes lines again and the mass lists are refilled.
    void markListCleared() {
        listOpen_ = true;
        if (peak_ == PeakStep::Fitted) peak_ = PeakStep::None;
    }
    // Session::CreatePoints succeeded: the list is complete.
    void markPointsCreated() {
        listOpen_ = false;
        curveDue_ = true;
    }
    // Session::FitCurve succeeded.
    void markCurveFitted() {
        curveDue_ = false;
        curveUnapplied_ = true;
    }
    // Session::Recalculate succeeded.
    void markRecalculated() { forgetResults(); }
    // A peak of "Отдельный пик" chosen, and fitted by "Обработать".
    void markPeakChosen() { peak_ = PeakStep::Chosen; }
    void markPeakFitted() { peak_ = PeakStep::Fitted; }

    // loaded, its preliminary run not done yet
    bool preliminaryDue() const { return spectrum_ == SpectrumStep::Loaded; }
    // the loaded spectrum's zones are listed
    bool zonesListed() const { return spectrum_ >= SpectrumStep::ZonesListed; }
    // zones listed, no final run adopted since
    bool finalRunDue() const { return spectrum_ == SpectrumStep::ZonesListed; }
    bool resultsShown() const { return resultsShown_; }            // some final run was adopted
    bool listOpen() const { return listOpen_; }                    // the calibration list takes lines
    bool curveDue() const { return curveDue_; }                    // points created, no curve fitted to them
    bool curveUnapplied() const { return curveUnapplied_; }        // a curve fitted to these results, not applied
    bool peakChosen() const { return peak_ == PeakStep::Chosen; }  // chosen since the last "Обработать"
    bool peakFitted() const { return peak_ == PeakStep::Fitted; }  // "Обработать" since the last choice or refill

private:
    // The loaded spectrum's way to its results; a load starts it again.
    enum class SpectrumStep { None, Loaded, ZonesListed, ResultsAdopted };
    // The peak of "Отдельный пик": neither, chosen since the last "Обработать", or fitted since
    // the last choice.
    enum class PeakStep { None, Chosen, Fitted };

    void forgetResults() {
        curveUnapplied_ = false;
        peak_ = PeakStep::None;
    }

    SpectrumStep spectrum_ = SpectrumStep::None;
    PeakStep peak_ = PeakStep::None;
    bool resultsShown_ = false;
    bool listOpen_ = false;
    bool curveDue_ = false;
    bool curveUnapplied_ = false;
};

struct WindowState {
    bool Podskazka = true;                              // guidance messages after the main steps
    bool HintyCHCF = true;                              // hover marks on the CH and CF theory charts
    std::string StartPapka;                             // start folder of the spectrum dialogs; empty before first use
    std::array<bool, kResultColumns> VyborStolbtsov{};  // columns of the HTML report
    int HoverIndex = -1;                                // the measured point under the mouse on a theory chart
    WorkflowMarks workflow;                             // read by the availability table

    std::string ImyaKompyutera;  // computer name, at most 15 characters
    bool NaServere1 = false;
    bool NaServere2 = false;
};

}  // namespace orvelo::ui
