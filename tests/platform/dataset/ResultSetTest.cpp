#include "dataset/ResultSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dataset::ResultSetEvent;

dataset::RowStore threeRows() {
    dataset::RowStore rows(
        {{"ID", dataset::FieldType::Float, 0, true}, {"LOG", dataset::FieldType::Memo, 0, false}});
    dataset::appendRow(rows, {1.0, "um"});
    dataset::appendRow(rows, {2.0, "dois"});
    dataset::appendRow(rows, {3.0, nullptr});
    return rows;
}

struct Recorder {
    explicit Recorder(dataset::ResultSet& set) : set(set) {
        set.subscribe([this](ResultSetEvent e) {
            events.push_back(e);
            rows.push_back(this->set.recNo());
        });
    }
    dataset::ResultSet& set;
    std::vector<ResultSetEvent> events;
    std::vector<std::size_t> rows;  // recNo as each listener saw it
};

TEST(ResultSet, CurrentRowIsSharedAndEveryMoveIsTold) {
    dataset::ResultSet set;
    Recorder a(set), b(set);
    EXPECT_FALSE(set.active());
    EXPECT_TRUE(set.eof());
    EXPECT_EQ(set.recNo(), 0u);

    set.open(threeRows(), dataset::PacketParams{{1}, {1}, {1}, 0});
    EXPECT_TRUE(set.active());
    EXPECT_EQ(set.recordCount(), 3u);
    EXPECT_EQ(set.recNo(), 1u);
    EXPECT_FALSE(set.eof());

    set.next();
    set.next();
    EXPECT_EQ(set.text(set.currentRow(), 1), "");
    EXPECT_TRUE(set.isNull(set.currentRow(), 1));
    set.next();  // past the last row: at the end, still on it, nothing moved
    EXPECT_TRUE(set.eof());
    EXPECT_EQ(set.recNo(), 3u);
    set.first();
    EXPECT_FALSE(set.eof());
    set.moveTo(1);
    set.moveTo(1);  // no move, no message
    EXPECT_EQ(set.text(set.currentRow(), 1), "dois");
    EXPECT_THROW(set.moveTo(3), std::out_of_range);
    EXPECT_EQ(set.recNo(), 2u);
    set.close();

    const std::vector<ResultSetEvent> expected = {
        ResultSetEvent::Opened,     ResultSetEvent::RowChanged, ResultSetEvent::RowChanged,
        ResultSetEvent::RowChanged, ResultSetEvent::RowChanged, ResultSetEvent::Closed};
    EXPECT_EQ(a.events, expected);
    EXPECT_EQ(b.events, expected);
    EXPECT_EQ(a.rows, (std::vector<std::size_t>{1, 2, 3, 1, 2, 0}));
}

TEST(ResultSet, ClosedOrEmptySetHasNoRowAndNoFields) {
    dataset::ResultSet set;
    Recorder seen(set);
    set.close();  // closing a closed set says nothing
    EXPECT_TRUE(seen.events.empty());
    EXPECT_THROW((void)set.text(0, 0), std::logic_error);
    EXPECT_TRUE(set.fields().empty());

    set.open(threeRows(), dataset::PacketParams{{1}, {}, {}, 0});
    EXPECT_EQ(set.fieldIndex("log"), 1);
    EXPECT_EQ(set.fieldIndex("NONE"), -1);
    EXPECT_EQ(set.params().defaultOrder, std::vector<int>{1});

    // Opening again replaces the rows: the views hear it closed, then opened.
    set.open(dataset::RowStore({{"ID", dataset::FieldType::Float, 0, true}}));
    EXPECT_EQ(set.recordCount(), 0u);
    EXPECT_TRUE(set.eof());
    EXPECT_TRUE(set.params().defaultOrder.empty());
    set.first();
    set.next();
    EXPECT_EQ(set.recNo(), 0u);
    EXPECT_EQ(seen.events,
              (std::vector<ResultSetEvent>{ResultSetEvent::Opened, ResultSetEvent::Closed,
                                           ResultSetEvent::Opened}));
}

TEST(ResultSet, ListenerMayUnsubscribeWhileBeingTold) {
    dataset::ResultSet set;
    int calls = 0;
    dataset::ResultSet::ListenerId id = 0;
    id = set.subscribe([&](ResultSetEvent) {
        ++calls;
        set.unsubscribe(id);
    });
    set.open(threeRows());
    set.next();
    EXPECT_EQ(calls, 1);
}

}  // namespace
