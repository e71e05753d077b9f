#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/markup_check.h"
#include "core/errors.h"

namespace {

using orvelo::CheckMarkup;
using orvelo::MarkupCheck;

// The message of the refusal, empty when `check` accepts.
template <class Check>
std::string ErrorText(Check check) {
    try {
        check();
    } catch (const orvelo::OrveloError& e) {
        return e.what();
    }
    return {};
}

// The refusal of `document`, given whole and given one byte at a time: the two must agree.
std::string Refusal(const std::string& document) {
    const std::string whole = ErrorText([&] { CheckMarkup(document, "d.mzML"); });
    const std::string bytewise = ErrorText([&] {
        MarkupCheck check;
        for (char c : document) check.Feed(std::string_view(&c, 1), "d.mzML");
        check.Finish("d.mzML");
    });
    EXPECT_EQ(whole, bytewise) << document;
    return whole;
}

const std::string kRefused = "Файл \"d.mzML\" не является документом mzML или mzXML: ";

TEST(MarkupCheck, ADocumentMustNotEndInsideMarkup) {
    // Closed markup of every kind, with the characters that close it elsewhere inside it.
    for (const char* closed : {"<?xml version=\"1.0\"?>\n<mzML a=\"x>y\" b='\"'>text</mzML>\n",
                               "<a><!-- -> -- > --></a>", "<a><![CDATA[ ] ]] > ]]]></a>",
                               "<?pi ? > ?"
                               "?>",
                               "<!DOCTYPE a><a/>", "<a/><!-x>", ""})
        EXPECT_EQ(Refusal(closed), "") << closed;

    EXPECT_EQ(Refusal("<mzML><run id=\"r\" defaul" + std::string(30000, 'A')),
              kRefused + "он обрывается внутри тега (начало в позиции 6)");
    EXPECT_EQ(Refusal("<a x=\"1>2\">"), "");
    EXPECT_EQ(Refusal("<a x=\"1>2>"), kRefused + "он обрывается внутри тега (начало в позиции 0)");
    EXPECT_EQ(Refusal("<a>  <"), kRefused + "он обрывается внутри тега (начало в позиции 5)");
    EXPECT_EQ(Refusal("<a><!-- x ->"), kRefused + "он обрывается внутри комментария (начало в позиции 3)");
    EXPECT_EQ(Refusal("<a><![CDATA[ ]>"), kRefused + "он обрывается внутри раздела CDATA (начало в позиции 3)");
    EXPECT_EQ(Refusal("<a><?pi >"), kRefused + "он обрывается внутри инструкции обработки (начало в позиции 3)");
    EXPECT_EQ(Refusal("<a><![CDAT"), kRefused + "он обрывается внутри тега (начало в позиции 3)");
    EXPECT_EQ(Refusal(std::string("<a>\0</a>", 8)), kRefused + "нулевой байт в позиции 3");
}

}  // namespace
