// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/ini_batch.h"
#include "core/storage/ini_text.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct Write {
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

QByteArray oneByOne(QByteArray text, const QList<Write>& writes) {
    for (const Write& w : writes) {
        IniText::setValue(text, w.section, w.key, w.value);
    }
    return text;
}

QByteArray batched(QByteArray text, const QList<Write>& writes) {
    IniBatch batch;
    for (const Write& w : writes) {
        batch.setValue(w.section, w.key, w.value);
    }
    batch.applyTo(text);
    return text;
}

// Existing files of every shape the INI reader accepts.
const QByteArray kTexts[] = {
    "",
    "no header line\r\n; comment\r\n",
    "[1]\r\nq=old\r\na1=x\r\n\r\n[inf]\r\nvsego=9\r\n",
    "[1]\r\nq=old",        // no final line end
    "[1]",                 // header only, no line end
    "[1]\r\nq=old\r\n   ", // trailing blanks without a line end
    "  [ 2 ]  \r\nQ=upper\r\nAP=3\r\n\r\n\r\n[Edit8]\nq=x\n",
    "[1]\rq=a\r[2]\rq=b\r",                  // lone CR line ends
    "[1]\r\nq=first\r\n[1]\r\nq=second\r\n", // a duplicate section: the first one counts
    "[x\r\nq=not a header\r\n[2]\r\n=no key\r\nkey without equals\r\n",
    "[inf]\r\nvsego=3\r\n[EDIT8]\r\nq=e\r\n[3]\r\n\r\n",
    "[a]]b]\r\nq=1\r\n\t[2]\t\r\n\r\n",
};

TEST(IniBatch, EqualsSetValueCallsOnAwkwardTexts) {
    const QList<Write> writes = {
        {"Edit8", "q", "pre"}, {"1", "q", "Q1"},      {"1", "a1", "A1"},     {"1", "ap", "1"},
        {"2", "q", "Q2"},      {"2", "a1", "B1"},     {"2", "AP", "2"},      {"1", "q", "Q1b"},
        {"3", "q", "Q3"},      {"inf", "vsego", "3"}, {"edit8", "a5", "e5"},
    };
    for (const QByteArray& text : kTexts) {
        EXPECT_EQ(batched(text, writes), oneByOne(text, writes)) << text.toStdString();
    }
}

TEST(IniBatch, RandomWritesEqualSetValueCalls) {
    QRandomGenerator random(20240501);
    const QByteArray sections[] = {"1", "2", "3", "12", "inf", "Edit8", "EDIT8", " 2", "x y"};
    const QByteArray keys[] = {"q", "a1", "a5", "ap", "AP", "vsego", " q"};
    const QByteArray values[] = {"", "v", "long value with = and [brackets]", "\x85\x86\xE0", "0"};
    for (int round = 0; round < 300; ++round) {
        QList<Write> writes;
        const int count = random.bounded(1, 40);
        for (int i = 0; i < count; ++i) {
            writes.append({sections[random.bounded(int(std::size(sections)))],
                           keys[random.bounded(int(std::size(keys)))],
                           values[random.bounded(int(std::size(values)))]});
        }
        const QByteArray& text = kTexts[random.bounded(int(std::size(kTexts)))];
        ASSERT_EQ(batched(text, writes), oneByOne(text, writes)) << "round " << round;
    }
}

TEST(IniBatch, NothingGatheredLeavesTheTextAsItWas) {
    for (const QByteArray& text : kTexts) {
        EXPECT_EQ(batched(text, {}), text);
    }
}

} // namespace
