#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QSysInfo>
#include <QTabWidget>

#include "fitting/self_test.h"
#include "ui/auto_calibration_commands.h"
#include "ui/availability.h"
#include "ui/calibration_commands.h"
#include "ui/chart_export.h"
#include "ui/chart_readout.h"
#include "ui/chart_surface.h"
#include "ui/composition_panel.h"
#include "ui/peak_labels.h"
#include "ui/dialogs.h"
#include "ui/final_run.h"
#include "ui/ion_masses_choice.h"
#include "ui/layout_rule.h"
#include "ui/main_menu.h"
#include "ui/ms_data_commands.h"
#include "ui/page_calibration_curve.h"
#include "ui/page_calibration_masses.h"
#include "ui/page_info.h"
#include "ui/page_settings.h"
#include "ui/page_single_peak.h"
#include "ui/page_spectrum.h"
#include "ui/page_testing.h"
#include "ui/page_theory.h"
#include "ui/preset_folders.h"
#include "ui/recent_files.h"
#include "ui/remembered_settings.h"
#include "ui/report_commands.h"
#include "ui/secondary_windows.h"
#include "ui/settings_store.h"
#include "ui/single_peak_commands.h"
#include "ui/spectrum_commands.h"
#include "ui/theory_commands.h"

namespace orvelo::ui {

MainWindow::MainWindow(std::unique_ptr<FileDialogs> files, std::unique_ptr<MessageBoxes> messages,
                       std::unique_ptr<SettingsStore> settings)
    : files_(files ? std::move(files) : std::make_unique<QtFileDialogs>(this)),
      messages_(messages ? std::move(messages) : std::make_unique<QtMessageBoxes>(this)),
      settings_(settings ? std::move(settings) : std::make_unique<SettingsStore>()) {
    files_ = std::make_unique<RememberingFileDialogs>(std::move(files_), *settings_);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Орвело"));
    resize(1288, 1004);
    QFont font = QApplication::font();
    font.setPixelSize(12);
    setFont(font);
    createPages();
    menu_ = new MainMenu(menuBar());
    form5_ = new ProgressWindow(this);
    readerWarnings_ = new QLabel(statusBar());
    readerWarnings_->setObjectName(QStringLiteral("ReaderWarnings"));
    readerWarnings_->hide();
    statusBar()->addPermanentWidget(readerWarnings_);
    context_.reset(new CommandContext{this, session_, flags_, *files_, *messages_,
                                      [this](ClearMode mode) { ClearAll(mode); }, [this] { showAvailability(); }});
    createGroups();
    connectGroups();
    connectMenu();
    connectViewToggles();
    FormCreate();
    remembered_ = std::make_unique<RememberedSettings>(*context_, *pages_.settings, *menu_, *settings_);
    composition_ = new CompositionPanel(session_, *settings_);
    pages_.info->setSidePanel(composition_, kCompositionPanelWidth);
    connect(pages_.info, &PageInfo::peakSelected, composition_, &CompositionPanel::showPeak);
    connectPages();
}

MainWindow::~MainWindow() { finalRun_->stopAndWait(); }

void MainWindow::createGroups() {
    CommandContext& c = *context_;
    Pages& p = pages_;
    LayerViews views = [this](SpectrumLayer layer) { return ViewOf(*menu_, layer); };
    spectrum_ = std::make_unique<SpectrumCommands>(c, *p.spectrum, *p.settings, views, *form5_);
    finalRun_ = std::make_unique<FinalRunCommands>(c, FinalRunPages{*p.settings, *p.spectrum, *p.info, *p.testing},
                                                   views, *form5_);
    singlePeak_ = std::make_unique<SinglePeakCommands>(c, *p.singlePeak);
    calibration_ = std::make_unique<CalibrationCommands>(c, *p.calibrationMasses, *p.calibrationCurve);
    theory_ = std::make_unique<TheoryCommands>(c, *p.theoryCH, *p.theoryCF);
    reports_ =
        std::make_unique<ReportCommands>(c, ReportPages{*p.info, p.spectrum->chart(), p.calibrationCurve->chart(),
                                                        p.theoryCH->chart(), p.theoryCF->chart()});
    images_ = new ChartImageCommands(c);
    autoCalibration_ = std::make_unique<AutoCalibrationCommands>(c, *p.calibrationMasses, *settings_);
    ionMasses_ = std::make_unique<IonMassesChoice>(c, *p.calibrationMasses, *settings_);
    recent_ = std::make_unique<RecentFiles>(*menu_, *spectrum_, *settings_);
}

// What one group's step shows on the pages of the others.
void MainWindow::connectGroups() {
    connect(menu_->PeakMassLabels, &QAction::toggled, pages_.spectrum, &PageSpectrum::setPeakLabelsShown);
    WatchCharts(*new ChartReadout(statusBar()), pages_, session_.state().run.peaks);
    AcceptSpectrumDrops(*this, *spectrum_, *menu_);
    connect(finalRun_.get(), &FinalRunCommands::runEnded, this, [this] {
        if (closePending_) close();
    });
    connect(spectrum_.get(), &SpectrumCommands::preliminaryEnded, this, [this] {
        if (closePending_) close();
    });
    connect(spectrum_.get(), &SpectrumCommands::readerWarnings, this, &MainWindow::showReaderWarnings);
    connect(finalRun_.get(), &FinalRunCommands::massesAssigned, this, [this](const MassAssignment& assigned) {
        calibration_->showAssignment(assigned);
        singlePeak_->showPeaks(assigned.massLines);
        theory_->showSaws(assigned);
    });
    connect(finalRun_.get(), &FinalRunCommands::runEnded, calibration_.get(), &CalibrationCommands::ReFill);
    connect(finalRun_.get(), &FinalRunCommands::runEnded, theory_.get(), &TheoryCommands::makeRoomForMarks);
    connect(singlePeak_.get(), &SinglePeakCommands::problemLines, pages_.testing,
            [this](const std::vector<std::string>& lines) { pages_.testing->addZoneLines({}, lines); });
    connect(calibration_.get(), &CalibrationCommands::massListsRefilled, singlePeak_.get(),
            &SinglePeakCommands::showPeaks);
    connect(calibration_.get(), &CalibrationCommands::recalculated, spectrum_.get(),
            &SpectrumCommands::showRecalculated);
    connect(ionMasses_.get(), &IonMassesChoice::massesReassigned, theory_.get(), &TheoryCommands::showSaws);
    connect(ionMasses_.get(), &IonMassesChoice::chosen, calibration_.get(), &CalibrationCommands::ReFill);
}

void MainWindow::ClearAll(ClearMode mode) {
    Pages& p = pages_;
    p.spectrum->clear(mode);
    p.info->clear();
    p.settings->clear(mode);
    p.calibrationMasses->clear();
    p.calibrationCurve->clear();
    p.theoryCH->clear();
    p.theoryCF->clear();
    p.singlePeak->clear();
    p.testing->clear();
    const SpectrumState& s = session_.state().spectrum;
    p.settings->showSettings(s.KolUsred, s.KrivoMn);
    flags_.HoverIndex = -1;
}

void MainWindow::showAvailability() {
    const bool preliminaryRunning = spectrum_ && spectrum_->preliminaryRunning();
    ShowAvailability(AvailableCommands(session_.state(), flags_, preliminaryRunning), pages_, *menu_);
}

// Shown until the next file is opened; the whole text also as the hint.
void MainWindow::showReaderWarnings(const QStringList& warnings) {
    QStringList lines;
    for (const QString& warning : warnings) lines << QStringLiteral("Предупреждение: ") + warning;
    readerWarnings_->setText(lines.join(QLatin1Char(' ')));
    readerWarnings_->setToolTip(lines.join(QLatin1Char('\n')));
    readerWarnings_->setVisible(!lines.isEmpty());
}

void MainWindow::createPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(PageControl1);
    pages_.spectrum = new PageSpectrum(session_.state().run.peaks);
    pages_.info = new PageInfo;
    pages_.settings = new PageSettings;
    pages_.calibrationMasses = new PageCalibrationMasses;
    pages_.calibrationCurve = new PageCalibrationCurve;
    pages_.theoryCH = new PageTheory(TheoryKind::CH);
    pages_.theoryCF = new PageTheory(TheoryKind::CF);
    pages_.singlePeak = new PageSinglePeak;
    pages_.testing = new PageTesting;
    const std::pair<QWidget*, const char*> order[] = {
        {pages_.spectrum, "Спектр"},
        {pages_.info, "Информация"},
        {pages_.settings, "Настройка"},
        {pages_.calibrationMasses, "Калибровочные массы"},
        {pages_.calibrationCurve, "Калибровочная кривая"},
        {pages_.theoryCH, "Теория CH"},
        {pages_.theoryCF, "Теория CF"},
        {pages_.singlePeak, "Отдельный пик"},
        {pages_.testing, "Тестирование"},
    };
    for (const auto& [page, caption] : order) {
        PageControl1->addTab(page, QString::fromUtf8(caption));
        page->installEventFilter(this);  // the layout rule follows every page resize
    }
    pages_.settings->area()->installEventFilter(this);
}

// Start-up defaults, then everything but loading switched off.
void MainWindow::FormCreate() {
    flags_.HintyCHCF = true;
    pages_.theoryCH->setMarksShown(true);
    pages_.theoryCF->setMarksShown(true);
    flags_.Podskazka = true;
    pages_.settings->showSettings(session_.state().spectrum.KolUsred, session_.state().spectrum.KrivoMn);
    PageControl1->setCurrentIndex(0);
    flags_.ImyaKompyutera = ComputerName(QSysInfo::machineHostName().toStdString());
    flags_.NaServere1 = OnServer(flags_.ImyaKompyutera, 1);
    flags_.NaServere2 = OnServer(flags_.ImyaKompyutera, 2);
    applyLayoutRule();
    showAvailability();
}

void MainWindow::connectMenu() {
    MainMenu& m = *menu_;
    connect(m.N2, &QAction::triggered, this, [this] {
        flags_.StartPapka = CommandContext::programFolder().toStdString();
        spectrum_->ReadFromFile();
    });
    const auto& folders = PresetFolders();
    for (std::size_t i = 0; i < folders.size(); ++i)
        connect(m.presetFolders[i], &QAction::triggered, this, [this, i] { openPresetFolder(PresetFolders()[i]); });
    connect(m.N42, &QAction::triggered, this, [this] {
        flags_.StartPapka = CommandContext::programFolder().toStdString();
        spectrum_->WriteToFile();
    });
    connect(m.SaveMzML, &QAction::triggered, this, [this] {
        flags_.StartPapka = CommandContext::programFolder().toStdString();
        context_->run([this] { SaveAsMzML(*context_); });
    });
    connect(m.N3, &QAction::triggered, this, &QWidget::close);
    connect(spectrum_.get(), &SpectrumCommands::spectrumOpened, recent_.get(), &RecentFiles::remember);
    connect(m.N2, &QAction::changed, recent_.get(), &RecentFiles::followAvailability);
    connect(m.N11, &QAction::triggered, this, [this] { N11Click(); });
    connect(m.N44, &QAction::triggered, this, [this] { N44Click(); });
    connect(m.N31, &QAction::triggered, this, [this] { N31Click(); });
    connect(m.N14, &QAction::triggered, this, [this] { N14Click(); });
    const std::pair<QAction*, void (ReportCommands::*)()> reports[] = {
        {m.HTML1, &ReportCommands::HTML1Click}, {m.HTML2, &ReportCommands::HTML2Click},
        {m.BMP1, &ReportCommands::BMP1Click},   {m.BMP2, &ReportCommands::BMP2Click},
        {m.BMP3, &ReportCommands::BMP3Click},   {m.BMP4, &ReportCommands::BMP4Click},
        {m.N35, &ReportCommands::N35Click}};
    for (const auto& [action, handler] : reports) connect(action, &QAction::triggered, reports_.get(), handler);
    struct Picture {
        QAction* entry;
        ChartSurface* chart;
        const char* title;
        const char* name;
    };
    const Picture pictures[] = {{m.ImageSpectrum, &pages_.spectrum->chart(), kSpectrumBmpTitle, "График.png"},
                                {m.ImageCurve, &pages_.calibrationCurve->chart(), kCurveBmpTitle, "Кривая.png"},
                                {m.ImageCH, &pages_.theoryCH->chart(), kPilaCHBmpTitle, "Пила CH.png"},
                                {m.ImageCF, &pages_.theoryCF->chart(), kPilaCFBmpTitle, "Пила CF.png"},
                                {m.ImageZone, &pages_.settings->zoneChart(), "Сохранить зону пика", "Зона.png"},
                                {m.ImagePeak, &pages_.singlePeak->chart(), "Сохранить отдельный пик", "Пик.png"}};
    for (const Picture& p : pictures)
        connect(p.entry, &QAction::triggered, images_, [this, p] { images_->saveImage(*p.chart, p.title, p.name); });
    connect(m.TXT1, &QAction::triggered, theory_.get(), &TheoryCommands::TXT1Click);
    connect(m.XLS1, &QAction::triggered, theory_.get(), &TheoryCommands::XLS1Click);
    connect(m.HTML3, &QAction::triggered, theory_.get(), &TheoryCommands::HTML3Click);
}

void MainWindow::connectPages() {
    // The determinant self-tests behind the hidden buttons of "Тестирование".
    connect(pages_.testing, &PageTesting::op44Requested, this,
            [this] { context_->info(QString::fromStdString(Op44Message())); });
    connect(pages_.testing, &PageTesting::dopolnenieRequested, this,
            [this] { context_->info(QString::fromStdString(DopolnenieMessage())); });
    PageSettings* s = pages_.settings;
    connect(s, &PageSettings::preliminaryRequested, this, [this] {
        spectrum_->Button9Click();
        remembered_->rememberRunSettings();
    });
    connect(s, &PageSettings::finalRunRequested, this, [this] { finalRun_->Button13Click(); });
    connect(s, &PageSettings::takeHeightRequested, this, [this] { spectrum_->BitBtn1Click(); });
    connect(s, &PageSettings::autoHeightRequested, this, [this] { spectrum_->AutoHeightButtonClick(); });
    connect(s, &PageSettings::zoneChosen, this, [this] { spectrum_->ListBox1Click(); });
    connect(s, &PageSettings::gaussShapeChanged, this,
            [this](GaussShape shape) { remembered_->rememberGaussShape(shape); });
    PageSinglePeak* sp = pages_.singlePeak;
    connect(sp, &PageSinglePeak::peakChosen, this, [this] { singlePeak_->ListBox8Click(); });
    connect(sp, &PageSinglePeak::fitRequested, this, [this] { singlePeak_->Button16Click(); });
    connect(sp, &PageSinglePeak::saveRequested, this, [this] { singlePeak_->Button17Click(); });
    connect(pages_.theoryCH, &PageTheory::mouseMoved, theory_.get(), &TheoryCommands::Chart3MouseMove);
    connect(pages_.theoryCF, &PageTheory::mouseMoved, theory_.get(), &TheoryCommands::Chart4MouseMove);
    connect(form5_, &ProgressWindow::stopRequested, finalRun_.get(), &FinalRunCommands::requestCancel);
    connect(pages_.info, &PageInfo::messageRequested, this, [this](const QString& t) { context_->info(t); });
    connect(pages_.info, &PageInfo::copyToClipboardRequested, reports_.get(), &ReportCommands::N4Click);
    connect(pages_.info, &PageInfo::copyToFileRequested, reports_.get(), &ReportCommands::TXT2Click);

    // "Калибровочные массы" and "Калибровочная кривая".
    using M = PageCalibrationMasses;
    using K = PageCalibrationCurve;
    using Cal = CalibrationCommands;
    PageCalibrationMasses* masses = pages_.calibrationMasses;
    PageCalibrationCurve* curve = pages_.calibrationCurve;
    Cal* cal = calibration_.get();
    connect(masses, &M::takePeakRequested, cal, &Cal::Button1Click);
    connect(masses, &M::removeLineRequested, cal, &Cal::Button3Click);
    connect(masses, &M::typedMassRequested, cal, &Cal::Button2Click);
    connect(masses, &M::standardMassRequested, cal, &Cal::Button8Click);
    connect(masses, &M::clearListRequested, cal, &Cal::Button14Click);
    connect(masses, &M::createCurveRequested, cal, &Cal::Button15Click);
    connect(masses, &M::referenceChoiceChanged, cal, &Cal::ReFill);
    connect(masses, &M::ionMassesToggled, ionMasses_.get(), &IonMassesChoice::CheckBoxIonsClick);
    AutoCalibrationCommands* matcher = autoCalibration_.get();
    connect(masses, &M::autoCalibrateRequested, matcher, &AutoCalibrationCommands::ButtonAutoClick);
    connect(masses, &M::toleranceChanged, matcher, &AutoCalibrationCommands::rememberTolerance);
    connect(masses, &M::curveKindChanged, matcher, &AutoCalibrationCommands::rememberCurveKind);
    connect(curve, &K::fitLineRequested, cal, &Cal::Button6Click);
    connect(curve, &K::fitParabolaRequested, cal, &Cal::Button4Click);
    connect(curve, &K::recalculateRequested, cal, &Cal::Button5Click);
}

void MainWindow::connectViewToggles() {
    PageSpectrum* sp = pages_.spectrum;
    // Each entry inverts its layer's property from its current value, then its own check mark
    // (the action's automatic toggle is that second inversion).
    for (const auto& [layer, view] : LayerTogglesOf(*menu_)) {
        connect(view.shown, &QAction::triggered, sp, [sp, l = layer] { sp->toggleShown(l); });
        connect(view.markers, &QAction::triggered, sp, [sp, l = layer] { sp->toggleMarkers(l); });
    }
}

// Logarithmic scale of Chart1: minimum 0, then the flag inverted, then the check mark.
void MainWindow::N11Click() {
    ChartSurface& chart = pages_.spectrum->chart();
    chart.setValueAxisMinimum(0);
    chart.setLogarithmic(!chart.logarithmic());
}

void MainWindow::N31Click() {
    flags_.HintyCHCF = menu_->N31->isChecked();
    pages_.theoryCH->setMarksShown(flags_.HintyCHCF);
    pages_.theoryCF->setMarksShown(flags_.HintyCHCF);
}

void MainWindow::N44Click() { flags_.Podskazka = !flags_.Podskazka; }

void MainWindow::N14Click() {
    AboutBox box(this);
    box.exec();
}

void MainWindow::openPresetFolder(const PresetFolder& folder) {
    flags_.StartPapka = PresetFolderPath(folder, flags_.NaServere1, flags_.NaServere2, QDir::homePath().toStdString());
    spectrum_->ReadFromFile();
}

void MainWindow::applyLayoutRule() {
    auto size = [](QWidget* w) { return PageSize{w->width(), w->height()}; };
    LayoutPages pageSizes{size(pages_.settings->area()), size(pages_.calibrationMasses), size(pages_.calibrationCurve),
                          size(pages_.singlePeak), size(pages_.testing)};
    LayoutBoxes boxes;
    pages_.settings->readLayout(boxes);
    pages_.calibrationMasses->readLayout(boxes);
    pages_.calibrationCurve->readLayout(boxes);
    pages_.singlePeak->readLayout(boxes);
    pages_.testing->readLayout(boxes);
    const LayoutBoxes laid = ApplyLayoutRule(pageSizes, boxes);
    pages_.settings->applyLayout(laid);
    pages_.calibrationMasses->applyLayout(laid);
    pages_.calibrationCurve->applyLayout(laid);
    pages_.singlePeak->applyLayout(laid);
    pages_.testing->applyLayout(laid);
    pages_.calibrationCurve->placeCheck();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched->isWidgetType()) applyLayoutRule();
    return QMainWindow::eventFilter(watched, event);
}

// Closing during a final run cancels it between zones; the window closes once the worker has
// stopped (its pending progress step is served meanwhile, so nothing waits on anything).
void MainWindow::closeEvent(QCloseEvent* event) {
    if (spectrum_->preliminaryRunning()) {  // it cannot be interrupted; close when it ends
        closePending_ = true;
        event->ignore();
        return;
    }
    if (finalRun_->running()) {
        closePending_ = true;
        finalRun_->requestCancel();
        event->ignore();
        return;
    }
    closePending_ = false;
    if (!spectrum_->maySpectrumBeDiscarded()) {
        event->ignore();
        return;
    }
    form5_->hide();
    RememberGeometry(*settings_, *this);
    QMainWindow::closeEvent(event);
}

}  // namespace orvelo::ui
