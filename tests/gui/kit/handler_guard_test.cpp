// SPDX-License-Identifier: GPL-3.0-or-later
// The handler guard: a Failure, or any other std::exception, ends the handler and is shown in the
// default error box; what the handler did before stays.

#include "gui/kit/handler_guard.h"
#include "gui/kit/message_boxes.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace velmora::test {
namespace {

class HandlerGuard : public ::testing::Test {
protected:
    HandlerGuard() { MessageBoxes::clearShown(); }
    ~HandlerGuard() override { MessageBoxes::clearShown(); }
};

TEST_F(HandlerGuard, ShowsAFailureInTheDefaultErrorBox) {
    int steps = 0;
    guarded(nullptr, [&] {
        ++steps;
        throw Failure(QStringLiteral("Disk full"));
    });
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    const MessageBoxes::Shown& box = MessageBoxes::shown().front();
    EXPECT_EQ(box.kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(box.caption, applicationTitle());
    EXPECT_EQ(box.text, errorBoxText(QStringLiteral("Disk full")));
}

TEST_F(HandlerGuard, ShowsAnyOtherStdExceptionWithItsUtf8Text) {
    int steps = 0;
    guarded(nullptr, [&] {
        ++steps;
        throw std::runtime_error(QStringLiteral("Қате: файл жоқ").toStdString());
    });
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(MessageBoxes::shown().size(), 1);
    const MessageBoxes::Shown& box = MessageBoxes::shown().front();
    EXPECT_EQ(box.kind, MessageBoxes::Kind::Error);
    EXPECT_EQ(box.caption, applicationTitle());
    EXPECT_EQ(box.text, errorBoxText(QStringLiteral("Қате: файл жоқ")));
}

TEST_F(HandlerGuard, ShowsNothingWhenTheHandlerEndsNormally) {
    int steps = 0;
    guarded(nullptr, [&] { ++steps; });
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(MessageBoxes::shown().isEmpty());
}

} // namespace
} // namespace velmora::test
