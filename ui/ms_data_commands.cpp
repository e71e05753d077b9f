#include "ui/ms_data_commands.h"

#include <QFileInfo>

#include "core/errors.h"
#include "ui/command_context.h"
#include "ui/dialogs.h"

namespace orvelo::ui {

inline constexpr const char* kMzMLFilter = "mzML (*.mzML)|*.mzML|Все (*.*)|*.*";

std::optional<LoadedInput> ReadInputFile(const QString& path, FileDialogs& dialogs, int chosenScan) {
    const std::string name = path.toStdString();
    if (!IsMsDataFile(name)) return LoadedInput{ReadSpectrumFile(name), SpectrumSource{name, {}, 0, {}}, 0, {}};
    const MsDataFile file(name);
    int scan = file.DefaultScan();
    if (chosenScan > 0) {
        scan = chosenScan;  // LoadScan refuses a number the file does not have
    } else if (file.scans().size() > 1) {
        const std::optional<int> chosen = dialogs.chooseScan({QFileInfo(path).fileName(), file.scans(), scan});
        if (!chosen) return std::nullopt;
        scan = *chosen;
    }
    return LoadedInput{file.LoadScan(scan), file.SourceOf(scan), scan, file.warnings()};
}

void SaveAsMzML(CommandContext& c) {
    const PointList& spectrum = c.session.state().spectrum.Spectrum;
    if (spectrum.empty()) throw OrveloError("Спектр не загружен: сохранять нечего");
    const QString source = QString::fromStdString(c.session.state().source.path);
    const QString proposed = source.isEmpty() ? QStringLiteral("Спектр.mzML")
                                              : QFileInfo(source).completeBaseName() + QStringLiteral(".mzML");
    const auto name = c.files.saveFile({QStringLiteral("Сохранить спектр как mzML"), proposed,
                                        QString::fromStdString(c.flags.StartPapka), QString::fromUtf8(kMzMLFilter)});
    if (name)
        WriteMzMLFile(name->toStdString(), spectrum, c.session.state().source, c.session.state().appliedCalibration);
}

}  // namespace orvelo::ui
