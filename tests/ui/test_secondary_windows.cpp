// The progress window, the column chooser and the modal helpers' texts.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "ui/dialogs.h"
#include "ui/secondary_windows.h"

using namespace orvelo::ui;

class SecondaryWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void progressWindowHasNoCloseButtonAndShowsPercent();
    void columnChooserBoxNSelectsColumnN();
    void columnChooserClosedOtherwiseStoresNothing();
    void programFilterBecomesQtFilter();
    void errorTextGetsFullStopAfterLettersAndDigits();
    void productionDialogsStartInTheFolderAndAddNoSuffix();
    void aboutBoxShowsNameVersionAndPicture();
};

void SecondaryWindowsTest::progressWindowHasNoCloseButtonAndShowsPercent() {
    ProgressWindow form5;
    QCOMPARE(form5.objectName(), QStringLiteral("Form5"));
    QCOMPARE(form5.windowTitle(), QStringLiteral("Пожалуйста, подождите..."));
    QVERIFY(!(form5.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(form5.windowFlags() & Qt::WindowMinMaxButtonsHint));
    QVERIFY(form5.isHidden());
    form5.Gauge1->setRange(0, 8);
    form5.Gauge1->setValue(3);
    QCOMPARE(form5.Gauge1->text(), QStringLiteral("37%"));
    form5.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form5));
    form5.Gauge1->setValue(8);
    QCOMPARE(form5.Gauge1->text(), QStringLiteral("100%"));
    const QImage image = form5.grab().toImage();
    QCOMPARE(QColor(image.pixel(form5.Gauge1->geometry().center() - QPoint(100, 0))), QColor(Qt::red));
}

void SecondaryWindowsTest::columnChooserBoxNSelectsColumnN() {
    ColumnChooser form3;
    QCOMPARE(form3.windowTitle(), QStringLiteral("Выбор столбцов"));
    const QStringList captions = {"M", "Масса", "Ошибка", "Me", "DMe", "R", "dR", "A", "B", "Std Err", "Iter", "Kol"};
    for (int n = 0; n < 12; ++n) {
        QCOMPARE(form3.boxes[n]->text(), captions[n]);
        QCOMPARE(form3.boxes[n]->objectName(), QStringLiteral("CheckBox%1").arg(n + 1));
        QCOMPARE(form3.boxes[n]->y(), 16 + 32 * n);
        QVERIFY(form3.boxes[n]->isChecked());
    }
    QTimer::singleShot(0, &form3, [&] {
        form3.boxes[8]->setChecked(false);  // column 9, the head "B"
        form3.Button1->click();
    });
    QCOMPARE(form3.exec(), int(QDialog::Accepted));
    std::array<bool, 12> expected;
    expected.fill(true);
    expected[8] = false;
    QVERIFY(form3.choice() == expected);
}

void SecondaryWindowsTest::columnChooserClosedOtherwiseStoresNothing() {
    ColumnChooser form3;
    QTimer::singleShot(0, &form3, [&] { form3.reject(); });
    QCOMPARE(form3.exec(), int(QDialog::Rejected));
}

void SecondaryWindowsTest::programFilterBecomesQtFilter() {
    QCOMPARE(QtFilterFromProgramFilter(QString::fromUtf8(kTextFilter)),
             QStringLiteral("Текст (*.txt) (*.TXT *.txt);;Все (*.*) (*.*)"));
    QCOMPARE(QtFilterFromProgramFilter("BMP (*.bmp)|*.BMP|Все (*.*)|*.*"),
             QStringLiteral("BMP (*.bmp) (*.BMP *.bmp);;Все (*.*) (*.*)"));
}

void SecondaryWindowsTest::errorTextGetsFullStopAfterLettersAndDigits() {
    QCOMPARE(ErrorText("Range check error"), QStringLiteral("Range check error."));
    QCOMPARE(ErrorText("'x' is not a valid floating point value"),
             QStringLiteral("'x' is not a valid floating point value."));
    QCOMPARE(ErrorText("Файл не найден"), QStringLiteral("Файл не найден."));
    QCOMPARE(ErrorText("ends 7"), QStringLiteral("ends 7."));
    QCOMPARE(ErrorText("done."), QStringLiteral("done."));
    QCOMPARE(ErrorText("quoted 'name'"), QStringLiteral("quoted 'name'"));  // ' comes before '.'
    QCOMPARE(ErrorText("what?"), QStringLiteral("what?."));                 // '?' comes after '.'
    QCOMPARE(ErrorText(""), QString());
    QCOMPARE(DisplayText("a\rb\r\nc"), QStringLiteral("a\nb\nc"));
}

// The real save dialog: title, start folder, filter, the typed name used as typed; reused.
void SecondaryWindowsTest::productionDialogsStartInTheFolderAndAddNoSuffix() {
    QTemporaryDir dir;
    QWidget parent;
    QtFileDialogs dialogs(&parent);
    QString title, folder;
    QStringList filters;
    QFileDialog* seen = nullptr;
    auto answer = [&](const QString& typed) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, [&, timer, typed] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d) return;
            timer->stop();
            timer->deleteLater();
            seen = d;
            title = d->windowTitle();
            folder = d->directory().absolutePath();
            filters = d->nameFilters();
            d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            static_cast<QDialog*>(d)->accept();
        });
        timer->start();
    };
    answer(QStringLiteral("Спектр"));
    const auto chosen = dialogs.saveFile(
        {QStringLiteral("Сохранить спектр"), QStringLiteral("Спектр.txt"), dir.path(), QString::fromUtf8(kTextFilter)});
    QCOMPARE(title, QStringLiteral("Сохранить спектр"));
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QCOMPARE(filters, (QStringList{"Текст (*.txt) (*.TXT *.txt)", "Все (*.*) (*.*)"}));
    QVERIFY(chosen.has_value());
    QCOMPARE(*chosen, QDir(dir.path()).filePath(QStringLiteral("Спектр")));
    QVERIFY(!seen->testOption(QFileDialog::DontConfirmOverwrite));  // overwriting asks first
    QFileDialog* first = seen;
    answer(QStringLiteral("x.txt"));
    QVERIFY(dialogs.saveFile({QStringLiteral("Сохранить отдельный пик"), QStringLiteral("57peak.txt"), dir.path(),
                              QString::fromUtf8(kTextFilter)}));
    QCOMPARE(seen, first);  // one shared save dialog
    QCOMPARE(title, QStringLiteral("Сохранить отдельный пик"));
}

void SecondaryWindowsTest::aboutBoxShowsNameVersionAndPicture() {
    AboutBox about;
    QCOMPARE(about.size(), QSize(478, 346));
    QCOMPARE(about.findChild<QLabel*>("Label1")->text(), QStringLiteral("Орвело"));
    QVERIFY(about.findChild<QPushButton*>("OKButton")->isDefault());
    const QPixmap picture = about.findChild<QLabel*>("Image1")->pixmap();
    QCOMPARE(picture.size(), QSize(217, 297));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QImage shot = about.grab().toImage();
    const QPoint name = about.findChild<QLabel*>("Label1")->geometry().center();
    bool red = false;  // some pixel of the name is drawn in red
    for (int dx = -20; dx <= 20 && !red; ++dx) {
        const QColor c = shot.pixelColor(name + QPoint(dx, 0));
        red = c.red() > 200 && c.green() < 80 && c.blue() < 80;
    }
    QVERIFY(red);
    const QString out = qEnvironmentVariable("ORVELO_SCREENSHOT_DIR");
    if (!out.isEmpty()) QVERIFY(shot.save(QDir(out).filePath("about.png")));
}

QTEST_MAIN(SecondaryWindowsTest)
#include "test_secondary_windows.moc"
