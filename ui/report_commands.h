#pragma once
// Reports and pictures: the information report as HTML in its two looks (column chooser Form3,
// then the save dialog), the four charts as BMP files, the spectrum chart on the printer, and
// the results-table popup entries "Копировать в Excel" (clipboard) and "Копировать в TXT-файл".
#include <QObject>
#include <functional>
#include <memory>

#include "ui/command_context.h"

class QPrinter;
class QWidget;

namespace orvelo::ui {

class ChartSurface;
class PageInfo;

// What the reports read: the results table and the four charts saved as BMP.
struct ReportPages {
    PageInfo& info;
    ChartSurface& spectrum;  // Chart1, also printed
    ChartSurface& curve;     // Chart2
    ChartSurface& ch;        // Chart3
    ChartSurface& cf;        // Chart4
};

inline constexpr const char* kBmpFilter = "BMP (*.bmp)|*.BMP|Все (*.*)|*.*";
inline constexpr const char* kSpectrumBmpTitle = "Сохранить график спектра";
inline constexpr const char* kSpectrumBmpName = "График.bmp";
inline constexpr const char* kPilaCHBmpTitle = "Сохранить теорию CH (пилу)";
inline constexpr const char* kPilaCHBmpName = "Пила CH.bmp";
inline constexpr const char* kCurveBmpTitle = "Сохранить калибровочную кривую";
inline constexpr const char* kCurveBmpName = "Кривая.bmp";
inline constexpr const char* kPilaCFBmpTitle = "Сохранить теорию CF (пилу)";
inline constexpr const char* kPilaCFBmpName = "Пила CF.bmp";

inline constexpr const char* kTableTxtTitle = "Сохранить таблицу";
inline constexpr const char* kTableTxtName = "Информация.txt";

inline constexpr const char* kNoDefaultPrinterMessage = "Принтер по умолчанию не найден: печать невозможна";

// The printer a print job goes to. The default one refuses (throws OrveloError) when the
// computer has no default printer; tests hand in a PDF printer.
using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;
std::unique_ptr<QPrinter> DefaultPrinter();

// A page that is not shown keeps the size it had when it was last shown (or none), and its
// layout waits until it is shown. For a picture "as on screen" the chart is laid out now at the
// size of the page that is shown, which is the size it will have.
void LayOutLikeShown(QWidget& chart);

class ReportCommands : public QObject {
    Q_OBJECT
public:
    ReportCommands(CommandContext& context, ReportPages pages);
    ~ReportCommands() override;
    void setPrinterFactory(PrinterFactory factory) { printer_ = std::move(factory); }

    void HTML1Click() { HTMLOut(false); }
    void HTML2Click() { HTMLOut(true); }
    void BMP1Click();  // Chart1
    void BMP2Click();  // Chart3
    void BMP3Click();  // Chart2
    void BMP4Click();  // Chart4
    void N35Click();   // print Chart1
    void N4Click();    // "Копировать в Excel"
    void TXT2Click();  // "Копировать в TXT-файл"

private:
    void HTMLOut(bool Usovershen);
    void saveChart(ChartSurface& chart, const char* title, const char* proposedName);
    void printSpectrum();
    void copyTableToFile();
    std::vector<std::string> tableText() const;

    CommandContext& c_;
    ReportPages pages_;
    PrinterFactory printer_;
};

}  // namespace orvelo::ui
