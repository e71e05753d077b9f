// A long random sequence of operator actions on the real window: enabled buttons, menu entries,
// list clicks, typed texts valid and not, good and broken spectrum files, dialogs answered at
// random. After every action: no table cell holds NaN or INF, the run lock is released whenever
// no run is alive, and every so often the operator reaches a final run on a good spectrum within
// a few actions (no lock-out).
//
//   ORVELO_RANDOM_ACTIONS  the number of actions (default 300)
//   ORVELO_RANDOM_SEED     replays a run; without it the seed comes from the clock
// The seed is printed first, so that any failure can be replayed.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <random>

#include "ui/final_run.h"
#include "ui/main_menu.h"
#include "ui/secondary_windows.h"
#include "ui/spectrum_commands.h"
#include "ui/support/window_fixture.h"

using namespace orvelo::ui;
using namespace orvelo::ui::testing;

namespace {

const char* const kButtons[] = {"Button9",  "Button13", "BitBtn1", "Button1", "Button2", "Button3",  "Button8",
                                "Button14", "Button15", "Button6", "Button4", "Button5", "Button16", "Button17"};
const char* const kLists[] = {"ListBox1", "ListBox2", "ListBox5", "ListBox6", "ListBox8"};
const char* const kToggles[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4", "CheckBox1",
                                "CheckBox2",    "CheckBox3",    "CheckBox4",    "CheckBox5"};

class Operator {
public:
    Operator(WindowFixture& f, uint64_t seed) : f_(f), random_(seed) {
        for (int k = 0; k < 3; ++k) {
            std::vector<double> heights;
            for (int p = 0; p < 3 + 2 * k; ++p) heights.push_back(400 + 700 * ((p * 5 + k) % 7));
            good_ << WriteSpectrum(f.dir.filePath(QStringLiteral("good%1.txt").arg(k)), heights,
                                   300 + 200 * (3 + 2 * k));
        }
        // Copies: a random save may write over any file the dialogs offer.
        for (const QFileInfo& bad : QDir(QStringLiteral(ORVELO_TEST_DATA "/bad")).entryInfoList(QDir::Files)) {
            const QString copy = f.dir.filePath(QStringLiteral("bad-") + bad.fileName());
            QFile::copy(bad.absoluteFilePath(), copy);
            QFile(copy).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            bad_ << copy;
        }
        // Every modal window that comes up (the column chooser, the About box) is answered at
        // random: OK or closed another way.
        QObject::connect(&modals_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (auto* chooser = qobject_cast<ColumnChooser*>(dialog)) {
                for (QCheckBox* box : chooser->boxes) box->setChecked(pick(2) == 0);
                if (pick(3) > 0) return chooser->Button1->click();
            }
            pick(2) ? dialog->accept() : dialog->reject();
        });
        modals_.start(2);
    }

    QString act() {
        planDialogs();
        switch (pick(11)) {
            case 10: return calibrate();
            case 0: return open();
            case 1:
            case 2:
            case 3: return clickButton();
            case 4: return triggerMenuEntry();
            case 5:
            case 6: return clickList();
            case 7: return type();
            case 8: return toggle();
            default: return setThreshold();
        }
    }

    // Waits for a run started by the action; a final run is sometimes stopped instead.
    void settle() {
        if (f_.window->finalRunCommands().running() && pick(5) == 0) f_.window->progressWindow().StopButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(!f_.window->finalRunCommands().running(), 120000);
        QTRY_VERIFY_WITH_TIMEOUT(!f_.window->spectrumCommands().preliminaryRunning(), 120000);
        QCoreApplication::processEvents();
    }

    // The operator's shortest road from wherever the window is: open a good spectrum (giving up
    // any unsaved one), "Предварительная", the lowest listed zone as threshold, "Последняя".
    // The spectrum is written afresh: the random saves may have written over the others.
    void reachFinalRun() {
        f_.messages->answers = {MessageBoxes::Answer::No};
        f_.files->answers = {WriteSpectrum(f_.dir.filePath(QStringLiteral("probe.txt")), {900, 3000, 1500, 700})};
        f_.messages->clear();
        f_.window->menu().N2->trigger();
        QVERIFY2(f_.messages->errors.isEmpty(), qPrintable(f_.messages->errors.join('|')));
        QVERIFY(f_.button("Button9")->isEnabled());
        f_.preliminary(10);
        QVERIFY2(f_.messages->errors.isEmpty(), qPrintable(f_.messages->errors.join('|')));
        QVERIFY(f_.list("ListBox1")->count() > 0 && f_.button("Button13")->isEnabled());
        f_.finalRun(0);
        QVERIFY2(f_.messages->errors.isEmpty(), qPrintable(f_.messages->errors.join('|')));
        QVERIFY(!f_.window->state().run.peaks.empty());
    }

    void checkInvariants() {
        const auto* grid = f_.find<QTableWidget>("StringGrid1");
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c < grid->columnCount(); ++c)
                if (const QTableWidgetItem* item = grid->item(r, c))
                    QVERIFY2(
                        !item->text().contains(QLatin1String("NAN")) && !item->text().contains(QLatin1String("INF")),
                        qPrintable(item->text()));
        if (!f_.window->finalRunCommands().running() && !f_.window->spectrumCommands().preliminaryRunning()) {
            QVERIFY(f_.window->menu().N2->isEnabled());
            QVERIFY(f_.list("ListBox1")->isEnabled() && f_.list("ListBox8")->isEnabled());
            QVERIFY(!f_.window->state().run.running);
        }
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    template <class T, std::size_t N>
    const T& any(const T (&items)[N]) {
        return items[pick(N)];
    }

    // Answers for the dialogs the next action may open: a file (good, broken, or a new one to
    // write) or a cancel; and the question about an unsaved spectrum.
    void planDialogs() {
        f_.files->answers.clear();
        for (int k = 0; k < 2; ++k) {
            switch (pick(5)) {
                case 0:
                case 4: f_.files->answers.push_back(good_[pick(good_.size())]); break;
                case 1: f_.files->answers.push_back(bad_[pick(bad_.size())]); break;
                case 2: f_.files->answers.push_back(f_.dir.filePath(QStringLiteral("out%1").arg(pick(4)))); break;
                default: f_.files->answers.push_back(QString()); break;
            }
        }
        const MessageBoxes::Answer answers[] = {MessageBoxes::Answer::Yes, MessageBoxes::Answer::No,
                                                MessageBoxes::Answer::Cancel};
        f_.messages->answers = {any(answers)};
    }

    QString open() {
        f_.window->menu().N2->trigger();
        return QStringLiteral("open");
    }

    // One of the enabled buttons, as an operator clicks only what is available.
    QString clickButton() {
        QList<QPushButton*> enabled;
        for (const char* name : kButtons)
            if (f_.button(name)->isEnabled()) enabled << f_.button(name);
        if (enabled.isEmpty()) return QString();
        QPushButton* b = enabled[static_cast<qsizetype>(pick(static_cast<std::size_t>(enabled.size())))];
        b->click();
        return b->objectName();
    }

    QString triggerMenuEntry() {
        QList<QAction*> entries;
        for (QAction* a : f_.window->findChildren<QAction*>())
            if (a->isEnabled() && a->isVisible() && !a->isSeparator() && !a->menu() && !a->objectName().isEmpty() &&
                a != f_.window->menu().N3)
                entries << a;
        if (entries.isEmpty()) return QString();
        QAction* a = entries[static_cast<qsizetype>(pick(static_cast<std::size_t>(entries.size())))];
        const QString name = a->objectName();  // an entry may go away with its own command
        a->trigger();
        return name;
    }

    QString clickList() {
        QListWidget* list = f_.list(any(kLists));
        if (!list->isEnabled() || list->count() == 0) return QString();
        const int row = static_cast<int>(pick(static_cast<std::size_t>(list->count())));
        list->setCurrentRow(row);
        emit list->itemClicked(list->item(row));
        return list->objectName() + QStringLiteral(":%1").arg(row);
    }

    QString type() {
        static const char* const edits[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
        static const char* const texts[] = {"",    "0",   "5",           "10",    "150",     "-1",         "abc", "1.5",
                                            "1,5", "1e9", "99999999999", "57.07", "43.0548", "2147483648", "..",  " 7"};
        const char* name = any(edits);
        const char* text = any(texts);
        f_.find<QLineEdit>(name)->setText(QString::fromUtf8(text));
        return QStringLiteral("%1=%2").arg(QString::fromLatin1(name), QString::fromUtf8(text));
    }

    QString toggle() {
        QAbstractButton* b = f_.find<QAbstractButton>(any(kToggles));
        if (!b->isEnabled()) return QString();
        b->click();
        return b->objectName();
    }

    // The calibration road in one go, when results are there: the first and the last peak with
    // true masses near their measured ones, a line, and "Пересчитать данные".
    QString calibrate() {
        QListWidget* all = f_.list("ListBox5");
        if (!f_.button("Button1")->isEnabled() || all->count() < 2) return QString();
        f_.button("Button14")->click();
        for (int row : {0, all->count() - 1}) {
            all->setCurrentRow(row);
            f_.button("Button1")->click();
        }
        QListWidget* chosen = f_.list("ListBox6");
        for (int line = 0; line < chosen->count(); ++line) {
            chosen->setCurrentRow(line);
            const double measured = chosen->item(line)->text().section(QLatin1Char(','), 0, 0).toDouble();
            f_.find<QLineEdit>("Edit1")->setText(
                QString::number(measured + 0.001 * static_cast<double>(pick(9)), 'f', 4));
            f_.button("Button2")->click();
        }
        for (const char* name : {"Button15", "Button6", "Button5"})
            if (f_.button(name)->isEnabled()) f_.button(name)->click();
        return QStringLiteral("calibrate");
    }

    QString setThreshold() {
        static const char* const heights[] = {"0", "1", "100", "500", "1000000", "99999999"};
        f_.find<QLineEdit>("Edit4")->setText(QString::fromLatin1(any(heights)));
        return QStringLiteral("Edit4");
    }

    WindowFixture& f_;
    std::mt19937_64 random_;
    QStringList good_;
    QStringList bad_;
    QTimer modals_;
};

}  // namespace

class RandomisedOperatorTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinCommaLocale(); }
    void randomActionsKeepTheWindowSound();
};

void RandomisedOperatorTest::randomActionsKeepTheWindowSound() {
    bool ok = false;
    const uint64_t given = qEnvironmentVariable("ORVELO_RANDOM_SEED").toULongLong(&ok);
    const uint64_t seed = ok ? given : static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
    int actions = qEnvironmentVariableIntValue("ORVELO_RANDOM_ACTIONS", &ok);
    if (!ok || actions <= 0) actions = 300;
    qInfo("ORVELO_RANDOM_SEED=%llu ORVELO_RANDOM_ACTIONS=%d", static_cast<unsigned long long>(seed), actions);

    WindowFixture f;
    f.window->show();
    Operator op(f, seed);
    QSignalSpy finalRuns(&f.window->finalRunCommands(), &FinalRunCommands::runEnded);
    QStringList recent;  // the last actions, shown with a failure
    int effective = 0, errors = 0, questions = 0;
    for (int i = 0; i < actions; ++i) {
        f.messages->clear();
        const QString done = op.act();
        if (!done.isEmpty()) recent << done, ++effective;
        if (recent.size() > 12) recent.removeFirst();
        op.settle();
        errors += static_cast<int>(f.messages->errors.size());
        questions += static_cast<int>(f.messages->questions.size());
        op.checkInvariants();
        if (QTest::currentTestFailed()) {
            qWarning("action %d, seed %llu, after: %s", i, static_cast<unsigned long long>(seed),
                     qPrintable(recent.join(' ')));
            return;
        }
        if (i % 100 == 99 || i == actions - 1) {
            op.reachFinalRun();
            if (QTest::currentTestFailed()) {
                qWarning("no way to a final run after action %d, seed %llu, after: %s", i,
                         static_cast<unsigned long long>(seed), qPrintable(recent.join(' ')));
                return;
            }
        }
    }
    qInfo("%d actions, %d of them changed something; %d final runs ended, %d error messages, %d questions", actions,
          effective, static_cast<int>(finalRuns.size()), errors, questions);
}

QTEST_MAIN(RandomisedOperatorTest)
#include "test_randomised_operator.moc"
