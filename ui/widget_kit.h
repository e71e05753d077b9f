#pragma once
// Small helpers that create the page controls with their object name, caption, place at design
// size and the program's look: section labels bold green, main buttons with red captions, bold
// list boxes with 20-pixel rows.
#include <QColor>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace orvelo::ui {

enum class ButtonLook { Plain, Main };  // Main: red caption

QLabel* MakeSectionLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int pixelSize = 19,
                  const QColor& colour = Qt::black);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& place,
                        ButtonLook look = ButtonLook::Plain, const QString& hint = QString());
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const QRect& place);
QListWidget* MakeList(QWidget* parent, const char* name, const QRect& place);
QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& text, int left, int top,
                        bool checked = false);
QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text, int left, int top, bool checked = false);
QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& text, const QRect& place,
                     const QColor& captionColour = Qt::black, int pixelSize = 16);

// The lines of a list box, in order.
QStringList ListLines(const QListWidget* list);
// The same as the core's strings.
std::vector<std::string> ListLineStrings(const QListWidget* list);
// Appends the lines to the list in one go; SetLines replaces its lines with them.
void AddLines(QListWidget* list, const std::vector<std::string>& lines);
void SetLines(QListWidget* list, const std::vector<std::string>& lines);

}  // namespace orvelo::ui
