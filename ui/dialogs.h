#pragma once
// The modal interactions of the program, behind two small interfaces so that tests can answer
// them: the file dialogs and the message boxes. Production implementations use Qt's own
// dialogs; tests use the scripted ones of tests/ui/support.
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/ms_data_file.h"

class QFileDialog;
class QPrinter;
class QWidget;

namespace orvelo::ui {

inline constexpr const char* kTextFilter = "Текст (*.txt)|*.TXT|Все (*.*)|*.*";
// The open dialog of a spectrum also offers the instrument files.
inline constexpr const char* kSpectrumOpenFilter =
    "Текст (*.txt)|*.TXT|mzML, mzXML (*.mzML *.mzXML *.gz)|*.mzML;*.mzXML;*.mzML.gz;*.mzXML.gz|"
    "Все (*.*)|*.*";

struct FileRequest {
    QString title;
    QString proposedName;  // save dialogs only
    QString startFolder;   // empty: the platform's default folder
    QString filter;        // the program's form: "Текст (*.txt)|*.TXT|Все (*.*)|*.*"
};

// The spectra of an instrument file, for the operator to choose one.
struct ScanRequest {
    QString fileName;
    std::vector<ScanInfo> scans;
    int preselected = 0;  // scan number
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file, or nothing when the operator cancels.
    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
    // The chosen scan number, or nothing when the operator cancels (ui/scan_chooser.*).
    virtual std::optional<int> chooseScan(const ScanRequest& request) = 0;
    // The caption of the file type chosen in the last save dialog ("PNG (*.png)"), or empty.
    virtual QString chosenType() const { return {}; }
    // The size of a chart picture: the on-screen size or one the operator types; nothing when
    // the operator cancels. Without a window to ask in, the on-screen size.
    virtual std::optional<QSize> imageSize(QSize onScreen) { return onScreen; }
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal, caption "Орвело", one OK button.
    virtual void info(const QString& text) = 0;
    // The same with an error icon; the text gets its full stop (ErrorText).
    virtual void error(const QString& text) = 0;
    // Modal, caption "Орвело", the buttons Yes, No and Cancel (closing the box is Cancel).
    enum class Answer { Yes, No, Cancel };
    virtual Answer question(const QString& text) = 0;
    // A print preview of what `paint` draws on `printer`, from which the operator prints or
    // cancels. Without a window to show it in, it prints at once.
    virtual void printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) { paint(printer); }
};

// "Текст (*.txt)|*.TXT|Все (*.*)|*.*" -> "Текст (*.txt) (*.TXT *.txt);;Все (*.*) (*.*)": each
// caption followed by the patterns it shows; an upper-case pattern also gets its lower-case
// spelling, because file names here are case-sensitive. The dialog hides the added part.
QString QtFilterFromProgramFilter(const QString& filter);

// A full stop is appended when the last character comes after '.' in character order, so a
// text ending in a letter or digit gets one and "Range check error" becomes "Range check error.".
QString ErrorText(const QString& text);

// Message-box texts break lines with carriage returns; Qt needs line feeds.
QString DisplayText(const QString& text);

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    ~QtFileDialogs() override;
    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;
    std::optional<int> chooseScan(const ScanRequest& request) override;
    QString chosenType() const override;
    std::optional<QSize> imageSize(QSize onScreen) override;

private:
    std::optional<QString> run(QFileDialog*& dialog, bool save, const FileRequest& request);
    QWidget* parent_;
    QFileDialog* openDialog_ = nullptr;  // OpenDialog: created on first use, then reused
    QFileDialog* saveDialog_ = nullptr;  // SaveDialog: shared by every save command
};

class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
    void info(const QString& text) override;
    void error(const QString& text) override;
    Answer question(const QString& text) override;
    void printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

private:
    QWidget* parent_;
};

}  // namespace orvelo::ui
