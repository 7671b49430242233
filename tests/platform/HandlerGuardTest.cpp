#include "platform/HandlerGuard.h"
#include "platform/MessageBox.h"
#include "platform/StrToInt.h"

#include <gtest/gtest.h>

#include <vector>

namespace krn310 {
namespace {

struct RecordingSink : IMessageBoxSink {
    struct Box {
        std::string text;
        MessageBoxKind kind;
    };
    std::vector<Box> boxes;
    void Show(const std::string& text, const std::string&, MessageBoxKind kind) override
    {
        boxes.push_back({text, kind});
    }
};

TEST(HandlerGuard, EscapedExceptionIsShownAndTheRestIsSkipped)
{
    RecordingSink sink;
    ScopedMessageBoxSink scope(sink);
    bool after = false;
    RunGuarded([&] {
        StrToInt("8,,16");
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].text, "''8,,16'' is not a valid integer value");
    EXPECT_EQ(sink.boxes[0].kind, MessageBoxKind::Error);
}

TEST(HandlerGuard, HandlerWithoutExceptionShowsNothing)
{
    RecordingSink sink;
    ScopedMessageBoxSink scope(sink);
    int runs = 0;
    RunGuarded([&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST(HandlerGuard, SinkIsRestoredWhenTheScopeEnds)
{
    RecordingSink outer, inner;
    ScopedMessageBoxSink a(outer);
    {
        ScopedMessageBoxSink b(inner);
        ShowMessageBox("inner");
    }
    ShowMessageBox("outer");
    ASSERT_EQ(inner.boxes.size(), 1u);
    ASSERT_EQ(outer.boxes.size(), 1u);
    EXPECT_EQ(outer.boxes[0].text, "outer");
}

} // namespace
} // namespace krn310
