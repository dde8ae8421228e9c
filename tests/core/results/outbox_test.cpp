// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/results/outbox.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QSet>
#include <QUuid>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace velmora {
namespace {

QByteArray statementLine(int n) {
    return QStringLiteral(R"({"id":"%1","n":%2})")
        .arg(QUuid::createUuid().toString(QUuid::WithoutBraces))
        .arg(n)
        .toUtf8();
}

TEST(Outbox, KeepsEveryLineUntilTakenOutAndSetsDamagedAndRefusedOnesAside) {
    const test::TempFolder folder;
    const Outbox outbox(folder.path());
    EXPECT_EQ(outbox.count(), 0);
    EXPECT_TRUE(outbox.waiting().isEmpty());

    const QByteArray first = statementLine(1);
    const QByteArray second = statementLine(2);
    const QByteArray third = statementLine(3);
    outbox.append({first, second});
    // A line cut short by a kill, then the next append: the cut line stays one line of its own.
    QByteArray bytes = folder.read(QStringLiteral("results.outbox"));
    folder.write(QStringLiteral("results.outbox"), bytes + "{\"id\":\"5a3e2f1c-11");
    outbox.append({third});
    EXPECT_EQ(outbox.count(), 4);

    QStringList setAside;
    const QList<Outbox::Entry> waiting = outbox.waiting(2, &setAside);
    ASSERT_EQ(waiting.size(), 2);
    EXPECT_EQ(waiting[0].line, first);
    EXPECT_EQ(waiting[1].line, second);
    EXPECT_EQ(setAside, QStringList{QStringLiteral("строка 3 очереди отложена в %1")
                                        .arg(QDir::toNativeSeparators(outbox.damagedPath()))});
    EXPECT_EQ(folder.read(QStringLiteral("results.damaged")), "{\"id\":\"5a3e2f1c-11\n");
    EXPECT_EQ(outbox.count(), 3) << "the damaged line is out, every other one stays";

    outbox.remove({waiting[0].id}, {{waiting[1].id, QStringLiteral("HTTP 400: bad\nverb")}});
    const QList<Outbox::Entry> left = outbox.waiting();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].line, third);
    EXPECT_EQ(folder.read(QStringLiteral("results.refused")),
              "# HTTP 400: bad verb\n" + second + "\n");
    EXPECT_EQ(outbox.refusedCount(), 1);
}

TEST(Outbox, AppendsOfManyWritersAndTakingOutNeverLoseALine) {
    const test::TempFolder folder;
    constexpr int kWriters = 4;
    constexpr int kLines = 50;
    std::vector<std::thread> writers;
    writers.reserve(kWriters);
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&folder, w] {
            for (int i = 0; i < kLines; ++i) {
                Outbox(folder.path()).append({statementLine(w * kLines + i)});
            }
        });
    }
    // A sender taking out what it finds while the writers go on.
    QSet<QString> taken;
    for (int round = 0; round < 20; ++round) {
        const QList<Outbox::Entry> entries = Outbox(folder.path()).waiting(10);
        QSet<QString> ids;
        for (const Outbox::Entry& entry : entries) {
            ids.insert(entry.id);
        }
        Outbox(folder.path()).remove(ids);
        taken += ids;
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    for (const Outbox::Entry& entry : Outbox(folder.path()).waiting()) {
        EXPECT_FALSE(taken.contains(entry.id)) << "taken out and still there";
        taken.insert(entry.id);
    }
    EXPECT_EQ(taken.size(), kWriters * kLines);
}

} // namespace
} // namespace velmora
