// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/access/group_journal.h"
#include "core/storage/code_page.h"
#include "core/storage/scrambled_store.h"
#include "gui/windows/journal_grades_model.h"
#include "support/temp_folder.h"
#include "support/test_file_builder.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// What Qt's model tester reports while it watches a model.
QStringList reports;

void collectReports(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (QLatin1String(context.category) == QLatin1String("qt.modeltest")) {
        reports.append(message);
    }
}

class JournalGradesModelTest : public ::testing::Test {
protected:
    JournalGradesModelTest() {
        reports.clear();
        previous_ = qInstallMessageHandler(collectReports);
        writeTestFile(u"test1"_s, numberedQuestions({1, 2}), u"2"_s);
        writeTestFile(u"test3"_s, numberedQuestions({3}), u"1"_s);
        for (const QString& name : {u"Айгүл"_s, u"Бекзат"_s, u"Сәуле"_s}) {
            writeini(name, u"password"_s, u"p"_s, u"\\users.ini"_s);
        }
        writeini(u"Айгүл"_s, u"test1"_s, u"4"_s, u"\\users.ini"_s);
        writeini(u"Бекзат"_s, u"test3"_s, u"2"_s, u"\\users.ini"_s);
        folder_.write(u"users"_s, CodePage::encode(u"Айгүл\r\nБекзат\r\nСәуле\r\n"));
        folder_.write(u"report.txt"_s,
                      CodePage::encode(u"Айгүл | 10:00:00 | 01.02.2025 | test1 | 4\r\n"_s));
    }
    ~JournalGradesModelTest() override { qInstallMessageHandler(previous_); }

    TempFolder folder_;
    QtMessageHandler previous_ = nullptr;
};

// The model keeps Qt's rules through every change the window makes: an empty journal, a read
// one, a second read, an empty one again; alone and behind the sorting and filtering proxy.
TEST_F(JournalGradesModelTest, KeepsQtsModelRulesThroughEveryReload) {
    JournalGradesModel model;
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortRole(Qt::UserRole);
    const QAbstractItemModelTester direct(&model,
                                          QAbstractItemModelTester::FailureReportingMode::Warning);
    const QAbstractItemModelTester sorted(&proxy,
                                          QAbstractItemModelTester::FailureReportingMode::Warning);

    model.setJournal(GroupJournal::read(u"report.txt"_s));
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 4); // the name, tests 1 and 3, the mean
    proxy.sort(1, Qt::DescendingOrder);
    EXPECT_EQ(proxy.index(0, 0).data().toString(), u"Айгүл"_s);
    proxy.setFilterFixedString(u"Бек"_s);
    EXPECT_EQ(proxy.rowCount(), 1);
    model.setJournal(GroupJournal::read(u"report.txt"_s));
    model.setJournal(GroupJournal());
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(reports, QStringList());
}

} // namespace
