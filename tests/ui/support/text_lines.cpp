#include "ui/support/text_lines.h"

#include <QFile>
#include <QTest>

#include "core/cp1251.h"

namespace orvelo::ui::testing {

QStringList ReadCp1251Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QTest::qFail(qPrintable(QStringLiteral("cannot read ") + path), __FILE__, __LINE__);
        return {};
    }
    const QString text = QString::fromStdString(Cp1251ToUtf8(file.readAll().toStdString()));
    if (text.isEmpty()) return {};
    QStringList lines = text.split(QStringLiteral("\r\n"));
    const bool endsWithBreak = lines.last().isEmpty();
    lines.removeLast();
    for (const QString& l : lines)
        if (l.contains(QLatin1Char('\r')) || l.contains(QLatin1Char('\n'))) {
            QTest::qFail("a line break other than CR LF", __FILE__, __LINE__);
            return {};
        }
    if (!endsWithBreak) {
        QTest::qFail("the last line has no CR LF", __FILE__, __LINE__);
        return {};
    }
    return lines;
}

}  // namespace orvelo::ui::testing
