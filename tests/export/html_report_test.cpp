#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "calibration/golden_file.h"
#include "calibration/reference_masses.h"
#include "export/ch_list_html.h"
#include "export/html_report.h"

namespace orvelo {
namespace {

using testing::ExpectMatchesGolden;
using Lines = std::vector<std::string>;

constexpr std::array<bool, kReportColumnCount> kAllColumns{true, true, true, true, true, true,
                                                           true, true, true, true, true, true};

// The header row and two peak rows as the results table shows them: a normal and a problem row.
HtmlTable SampleTable() {
    HtmlTable t;
    t.rows = {{"M", "Масса", "Ошибка", "Me", "DMe", "R", "dR", "A", "B", "Std Err", "Iter", "Kol"},
              {"28", "28.031300", "0.000120", "31.30", "", "1400", "12.5", "50.0", "7950.0", "0.01", "7", "40"},
              {"43", "Ошибка", " ", " ", " ", " ", " ", " ", " ", " ", " ", "35"}};
    t.columnWidths = EstimateColumnWidths(t.rows);
    return t;
}

TEST(HtmlReport, BothLooksOfAHeaderAndTwoRowsMatchTheirGoldenFiles) {
    const HtmlTable table = SampleTable();
    const Lines plain = WriteToHTML(table, "Спектр 12", kAllColumns, false);
    const Lines framed = WriteToHTML(table, "Спектр 12", kAllColumns, true);
    EXPECT_EQ(plain.size(), 67u);
    EXPECT_EQ(framed.size(), 75u);
    ExpectMatchesGolden(plain, "html-plain.htm");
    ExpectMatchesGolden(framed, "html-enhanced.htm");
}

TEST(HtmlReport, TemplateLinesKeepTheirBlanks) {
    const Lines plain = WriteToHTML(SampleTable(), "T", kAllColumns, false);
    EXPECT_EQ(plain[0], "<HTML>");
    EXPECT_EQ(plain[1], "  <HEAD>");
    EXPECT_EQ(plain[2], "    <TITLE>T</TITLE>");
    EXPECT_EQ(plain[3], "  </HEAD>");
    EXPECT_EQ((Lines{plain[4], plain[5], plain[6], plain[8]}), (Lines{" ", " ", " ", " "}));
    EXPECT_EQ(plain[10], "    <FONT SIZE=+3>T</FONT>");
    EXPECT_EQ(plain[13], " ");
    EXPECT_EQ(plain[14], "  <TR>");
    EXPECT_EQ(plain[15], "    <TH WIDTH=40>M</TH> ");  // "28": 2 * 7 + 21, plus 5
    EXPECT_EQ(plain[30], "    <TD WIDTH=40>28</TD> ");
    EXPECT_EQ(plain[34], "    <TD WIDTH=47></TD> ");  // the empty DMe of the first row
    EXPECT_EQ(plain[27], "  </TR>");
    EXPECT_EQ(plain[28], " ");
    EXPECT_EQ(plain.back(), "</HTML>");
}

TEST(HtmlReport, FramedLookDiffersOnlyInFrameAndCellColour) {
    const HtmlTable table = SampleTable();
    const Lines plain = WriteToHTML(table, "T", kAllColumns, false);
    Lines framed = WriteToHTML(table, "T", kAllColumns, true);
    EXPECT_EQ(framed[12], "<table cellSpacing=0 cellPadding=0 border=0>");
    EXPECT_EQ(framed[17], "<TABLE cellSpacing=1 cellPadding=3 border=0 WIDTH=\"100%\">");
    EXPECT_EQ(framed[19], "  <TR>");
    EXPECT_EQ(framed[20], "    <TH bgcolor=ffffff WIDTH=40>M</TH> ");

    // Drop the frame and the colour piece: what remains is the plain file without its table line.
    framed.erase(framed.end() - 8, framed.end() - 5);  // "</td>", "</tr>", "</table>"
    framed.erase(framed.begin() + 12, framed.begin() + 18);
    for (auto& line : framed) {
        const auto at = line.find(" bgcolor=ffffff");
        if (at != std::string::npos) line.erase(at, 15);
    }
    Lines expected = plain;
    expected.erase(expected.begin() + 12);
    EXPECT_EQ(framed, expected);
}

TEST(HtmlReport, ChosenColumnsAndOnScreenWidthsAreUsed) {
    HtmlTable table = SampleTable();
    table.columnWidths[1] = 100;  // widened on screen
    std::array<bool, kReportColumnCount> chosen{};
    chosen[1] = chosen[11] = true;
    const Lines lines = WriteToHTML(table, "T", chosen, false);
    EXPECT_EQ(lines.size(), 67u - 3 * 10);
    EXPECT_EQ(lines[15], "    <TH WIDTH=105>Масса</TH> ");
    EXPECT_EQ(lines[16], "    <TH WIDTH=47>Kol</TH> ");
    EXPECT_EQ(lines[20], "    <TD WIDTH=105>28.031300</TD> ");

    const Lines none = WriteToHTML(table, "T", std::array<bool, kReportColumnCount>{}, true);
    EXPECT_EQ(none.size(), 75u - 3 * 12);
    EXPECT_EQ((Lines{none[19], none[20], none[21]}), (Lines{"  <TR>", "  </TR>", " "}));
    EXPECT_EQ(none.back(), "</HTML>");
}

TEST(HtmlReport, TitleAndCellsAreEscaped) {
    HtmlTable table;
    table.rows = {{"a<b", "R&D"}, {"x>y", "&amp;"}};
    table.columnWidths = {10, 10};
    const Lines lines = WriteToHTML(table, std::string("A&B <i>\0tail", 13), std::array<bool, 2>{true, true}, false);
    EXPECT_EQ(lines[2], "    <TITLE>A&amp;B &lt;i&gt;</TITLE>");
    EXPECT_EQ(lines[10], "    <FONT SIZE=+3>A&amp;B &lt;i&gt;</FONT>");
    EXPECT_EQ(lines[15], "    <TH WIDTH=15>a&lt;b</TH> ");
    EXPECT_EQ(lines[16], "    <TH WIDTH=15>R&amp;D</TH> ");
    EXPECT_EQ(lines[20], "    <TD WIDTH=15>x&gt;y</TD> ");
    EXPECT_EQ(lines[21], "    <TD WIDTH=15>&amp;amp;</TD> ");
    EXPECT_EQ(EscapeHtml("\"quoted\" 'text'"), "\"quoted\" 'text'");
}

TEST(HtmlReport, WidthEstimateIsSevenPixelsPerCharacterPlusWww) {
    EXPECT_EQ(EstimateTextWidth("www"), 21);
    EXPECT_EQ(EstimateTextWidth("Масса"), 35);
    EXPECT_EQ(EstimateColumnWidths({{"M", "Масса"}, {"28", "28.031300", "extra"}}), (std::vector<int>{35, 84, 56}));
    EXPECT_TRUE(EstimateColumnWidths({}).empty());
}

TEST(HtmlReport, CHListPageUsesThePlainLook) {
    ReferenceTables t;
    PeakResults peaks(2);
    peaks[0].Centre = 14.2;
    peaks[1].Centre = 19.5;  // j = 15 .. 20
    StandartCH(peaks, ElementMasses{}, t);
    const auto rows = CHListTableRows(t.CHList);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Масса", "C", "H", "Вид"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"14.01566", "1", "2", "два"}));
    EXPECT_EQ(rows[6], (std::vector<std::string>{"31.05481", "2", "7", ""}));
    const Lines page = CHListHtml(t.CHList);
    EXPECT_EQ(page[2], "    <TITLE>Список CH</TITLE>");
    EXPECT_EQ(page.size(), 12u + 2 + 7 * 7 + 3 + 5);
    ExpectMatchesGolden(page, "html-ch-list.htm");
}

}  // namespace
}  // namespace orvelo
