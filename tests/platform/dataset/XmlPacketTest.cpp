#include "dataset/ResultSet.h"
#include "dataset/XmlPacket.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using dataset::FieldType;
using dataset::TimeValue;
using dataset::Value;
using firebird::CivilDate;

const std::string kHead =
    "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
    "<FIELD attrname=\"ID\" fieldtype=\"r8\" required=\"true\"/>"
    "<FIELD attrname=\"DATA\" fieldtype=\"date\"/>"
    "<FIELD attrname=\"HORA\" fieldtype=\"time\"/>"
    "<FIELD attrname=\"USUARIO\" fieldtype=\"string\" WIDTH=\"30\"/>"
    "<FIELD attrname=\"ACAO\" fieldtype=\"string\" WIDTH=\"8\"/>"
    "<FIELD attrname=\"TABELA\" fieldtype=\"string\" WIDTH=\"31\"/>"
    "<FIELD attrname=\"LOG\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"
    "</FIELDS><PARAMS DEFAULT_ORDER=\"1\" PRIMARY_KEY=\"1\" UNIQUE_KEY=\"1\" "
    "LCID=\"0\"/></METADATA>"
    "<ROWDATA>";
const std::string kTail = "</ROWDATA></DATAPACKET>";

dataset::RowStore logRows() {
    return dataset::RowStore({{"ID", FieldType::Float, 0, true},
                              {"DATA", FieldType::Date, 0, false},
                              {"HORA", FieldType::Time, 0, false},
                              {"USUARIO", FieldType::String, 30, false},
                              {"ACAO", FieldType::String, 8, false},
                              {"TABELA", FieldType::String, 31, false},
                              {"LOG", FieldType::Memo, 0, false}});
}

std::string packetOf(dataset::RowStore rows, dataset::PacketParams params = {{1}, {1}, {1}, 0}) {
    dataset::ResultSet set;
    set.open(std::move(rows), std::move(params));
    return dataset::toXmlPacket(set);
}

TEST(XmlPacket, EmptyResultHasTheMetadataAndAnEmptyRowData) {
    EXPECT_EQ(packetOf(logRows()), kHead + kTail);
}

TEST(XmlPacket, EachRowWritesItsValuesEncodedAndEscaped) {
    struct Case {
        const char* what;
        std::initializer_list<Value> values;
        std::string row;
    };
    const CivilDate day{2014, 3, 4};
    const TimeValue at{10, 15, 30, 0};
    const Case cases[] = {
        {"a whole entry",
         {12.0, day, at, "ANA", "INCLUIU", "CLIENTE", "texto"},
         R"(<ROW ID="12" DATA="20140304" HORA="10:15:30000" USUARIO="ANA" ACAO="INCLUIU" TABELA="CLIENTE" LOG="texto"/>)"},
        {"no table",
         {1.0, day, at, "ANA", "ENTROU", nullptr, "x"},
         R"(<ROW ID="1" DATA="20140304" HORA="10:15:30000" USUARIO="ANA" ACAO="ENTROU" LOG="x"/>)"},
        {"empty text is left out, empty strings are not",
         {2.0, day, at, "", "", "", ""},
         R"(<ROW ID="2" DATA="20140304" HORA="10:15:30000" USUARIO="" ACAO="" TABELA=""/>)"},
        {"every value null but the key",
         {3.0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="3"/>)"},
        {"markup, line breaks and a backslash",
         {4.0, nullptr, nullptr, "D'AVILA", nullptr, nullptr, "A&B, <x>\r\nC:\\DIR\t\"q\""},
         R"(<ROW ID="4" USUARIO="D&apos;AVILA" LOG="A&amp;B, &lt;x&gt;&#013;&#010;C:&#092;DIR&#009;&quot;q&quot;"/>)"},
        {"8-bit bytes are copied as they are",
         {5.0, nullptr, nullptr, "JO\xC3O", nullptr, nullptr, "a\xE7\xE3o"},
         "<ROW ID=\"5\" USUARIO=\"JO\xC3O\" LOG=\"a\xE7\xE3o\"/>"},
        {"times pad seconds and milliseconds",
         {6.0, CivilDate{987, 12, 31}, TimeValue{0, 0, 5, 0}, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="6" DATA="09871231" HORA="00:00:05000"/>)"},
        {"milliseconds",
         {7.0, nullptr, TimeValue{8, 5, 7, 250}, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="7" HORA="08:05:07250"/>)"},
        {"1e16 in exponent form",
         {1e16, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="1e+16"/>)"},
        {"16 significant digits",
         {1234567890123456.0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="1234567890123456"/>)"},
        {"fractions and small numbers",
         {0.1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="0.1"/>)"},
        {"below 1e-4",
         {0.00001234, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="1.234e-05"/>)"},
        {"negative",
         {-2.5, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
         R"(<ROW ID="-2.5"/>)"},
    };
    for (const Case& c : cases) {
        dataset::RowStore rows = logRows();
        dataset::appendRow(rows, c.values);
        EXPECT_EQ(packetOf(std::move(rows)), kHead + c.row + kTail) << c.what;
    }
}

TEST(XmlPacket, RowsFollowInOrderAndLongTextsOutgrowTheEstimate) {
    dataset::RowStore rows = logRows();
    // Every byte escaped: six times the size the writer planned for.
    const std::string quotes(100'000, '"');
    dataset::appendRow(rows, {1.0, nullptr, nullptr, nullptr, nullptr, nullptr, quotes});
    dataset::appendRow(rows, {2.0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
    std::string expected = kHead + "<ROW ID=\"1\" LOG=\"";
    for (std::size_t i = 0; i < quotes.size(); ++i)
        expected += "&quot;";
    expected += "\"/><ROW ID=\"2\"/>" + kTail;
    EXPECT_EQ(packetOf(std::move(rows)), expected);
}

TEST(XmlPacket, ParamsLeaveOutEmptyListsAndJoinPositionsWithSpaces) {
    const std::string packet = packetOf(logRows(), dataset::PacketParams{{2, 3}, {}, {}, 0x416});
    EXPECT_NE(packet.find("<PARAMS DEFAULT_ORDER=\"2 3\" LCID=\"1046\"/>"), std::string::npos)
        << packet;

    dataset::ResultSet closed;
    EXPECT_THROW(dataset::toXmlPacket(closed), std::logic_error);
}

}  // namespace
