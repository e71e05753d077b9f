#pragma once
// The window's own flags, beside the processing session (session/): what only the window
// knows or shows. No Qt here.
#include <array>
#include <string>

#include "fitting/results_table.h"

namespace orvelo::ui {

struct WindowState {
    bool Podskazka = true;   // guidance messages after the main steps
    bool HintyCHCF = true;   // hover marks on the CH and CF theory charts
    std::string StartPapka;  // start folder of the spectrum dialogs; empty before first use
    std::array<bool, kResultColumns> VyborStolbtsov{};  // columns of the HTML report
    int HoverIndex = -1;     // the measured point under the mouse on a theory chart

    std::string ImyaKompyutera;  // computer name, at most 15 characters
    bool NaServere1 = false;
    bool NaServere2 = false;
};

}  // namespace orvelo::ui
