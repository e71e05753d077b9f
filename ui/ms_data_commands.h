#pragma once
// The window's side of instrument files: reading the chosen file (a text spectrum, or one scan
// of an mzML/mzXML file chosen in the scan chooser) and "Сохранить как mzML...".
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "core/ms_data_file.h"
#include "core/spectrum_file.h"

namespace orvelo::ui {

class FileDialogs;
struct CommandContext;

struct LoadedInput {
    LoadedSpectrum spectrum;
    SpectrumSource source;
    int scan = 0;                       // the scan's number (from 1) in an mzML/mzXML file; 0 for a text spectrum
    std::vector<std::string> warnings;  // how the file had to be read (MsDataFile::warnings)
};

// A file with more than one spectrum asks for the scan unless `scan` names one; nothing when
// the operator cancels. Throws OrveloError for a file that cannot be read or a scan that cannot
// be processed.
std::optional<LoadedInput> ReadInputFile(const QString& path, FileDialogs& dialogs, int scan = 0);

// "Сохранить как mzML...": the loaded (after "Пересчитать данные", the corrected) spectrum as
// an mzML file of one profile spectrum, recording its source and calibration.
void SaveAsMzML(CommandContext& c);

}  // namespace orvelo::ui
